#pragma once

// The feature-morph row kernel written once over a small vector interface
// V (lanes of doubles and their masks) and instantiated per instruction set.
// Included only by the kernel sources; internal linkage throughout.
//
// Each vector holds kLanes neighbouring pixels of a row; for every line pair
// in order it forms exactly the operations of the reference computation, so
// every rounded result is the same bit for bit. The one step done
// differently is trunc(m / len') of the mapped point (m an integer of at
// most 2^30, len' a single-precision length >= 1, quotient below 2^28):
//  - trunc of the correctly rounded quotient equals trunc of the exact one:
//    a whole number c strictly between m / len' and its rounding would need
//    c len' - m (a non-zero multiple of 2^(exponent(len') - 23), so at least
//    len' 2^-24) to be at most c len' 2^-53, i.e. c >= 2^29;
//  - the exact trunc(|m| / len') comes from q = |m| x inv, where inv lies
//    in (1 - 2^-48, 1 - 2^-50) / len', so q is below |m| / len' by less than
//    2^-18 and floor(q) is the answer or one less; r = |m| - floor(q) len' is
//    formed exactly by a fused multiply-add (|r| < 2 len' fits in 25 bits of
//    len's last place) and r >= len' tells which.
// The sign of m is that of v times the line component, applied last.

#include "FBKernelCommon.h"

namespace {

template <class V> inline typename V::D TruncDivLength(typename V::D am, double len, double inv)
{
    using D = typename V::D;
    const D vlen = V::Set(len);
    const D c0 = V::Trunc(V::Mul(am, V::Set(inv)));
    const D r = V::NegMulAdd(c0, vlen, am);
    return V::Add(c0, V::OneWhere(V::Ge(r, vlen)));
}

template <class V> void FeatureRowsSimd(const FBFrameJob& job, int32_t first, int32_t last, double* rc)
{
    using D = typename V::D;
    using M = typename V::M;
    constexpr int32_t kLanes = V::kLanes;
    alignas(64) double pos[4][kLanes];
    const D zero = V::Set(0.0);
    const D one = V::Set(1.0);

    for (int32_t y = first; y < last; ++y) {
        FillRowConstants(job, y, rc);
        uint8_t* row = job.out + static_cast<size_t>(y) * job.stride;
        const D Y = V::Set(static_cast<double>(y));
        for (int32_t x0 = 0; x0 < job.columns; x0 += kLanes) {
            const D X = V::Iota(static_cast<double>(x0));
            D W = zero;
            D sum[4] = {zero, zero, zero, zero};
            for (int32_t i = 0; i < job.count; ++i) {
                const FBLineConst& ln = job.lines[i];
                const double* r = rc + static_cast<size_t>(i) * kRowConstants;
                const D ex = V::Sub(X, V::Set(ln.px));
                const D dot = V::Add(V::Mul(ex, V::Set(ln.dx)), V::Set(r[0]));
                const D cross = V::Add(V::Mul(ex, V::Set(ln.ndy)), V::Set(r[1]));
                const D u = V::Div(dot, V::Set(ln.l2));
                const D v = V::Div(cross, V::Set(ln.lenSD));
                const M before = V::Lt(u, zero);
                const M beyond = V::Gt(u, one);
                const D exq = V::Sub(ex, V::Set(ln.dx));
                const D toP = V::Add(V::Mul(ex, ex), V::Set(r[2]));
                const D toQ = V::Add(V::Mul(exq, exq), V::Set(r[3]));
                const D toEnd = V::SqrtSingle(V::Select(before, toP, toQ));
                const D av = V::Abs(v);
                const D dist = V::Select(V::Or(before, beyond), toEnd, av);
                D w = V::Div(V::Set(ln.lenW), V::Add(one, dist));
                w = V::Mul(w, w);
                W = V::Add(W, w);
                const D vSign = V::SignOf(v);
                for (int32_t s = 0; s < 2; ++s) {
                    const FBLineConst::Side& sd = ln.side[s];
                    const D ax = V::Trunc(V::Mul(u, V::Set(sd.dx)));
                    const D ay = V::Trunc(V::Mul(u, V::Set(sd.dy)));
                    const D mx = V::Trunc(V::Mul(av, V::Set(sd.ady)));
                    const D my = V::Trunc(V::Mul(av, V::Set(sd.adx)));
                    const D cx = V::Xor(TruncDivLength<V>(mx, sd.len, sd.inv), V::Xor(vSign, V::Set(sd.sgnNdy)));
                    const D cy = V::Xor(TruncDivLength<V>(my, sd.len, sd.inv), V::Xor(vSign, V::Set(sd.sgnDx)));
                    const D dispX = V::Add(V::Add(V::Sub(V::Set(sd.px), X), ax), cx);
                    const D dispY = V::Add(V::Add(V::Set(r[4 + s]), ay), cy);
                    sum[2 * s] = V::Add(sum[2 * s], V::Trunc(V::Mul(dispX, w)));
                    sum[2 * s + 1] = V::Add(sum[2 * s + 1], V::Trunc(V::Mul(dispY, w)));
                }
            }
            V::Store(pos[0], V::Add(X, V::Trunc(V::Div(sum[0], W))));
            V::Store(pos[1], V::Add(Y, V::Trunc(V::Div(sum[1], W))));
            V::Store(pos[2], V::Add(X, V::Trunc(V::Div(sum[2], W))));
            V::Store(pos[3], V::Add(Y, V::Trunc(V::Div(sum[3], W))));
            const int32_t lanes = job.columns - x0 < kLanes ? job.columns - x0 : kLanes;
            for (int32_t j = 0; j < lanes; ++j) {
                SamplePixel(job, row + static_cast<size_t>(x0 + j) * job.bpp, static_cast<int32_t>(pos[0][j]),
                            static_cast<int32_t>(pos[1][j]), static_cast<int32_t>(pos[2][j]),
                            static_cast<int32_t>(pos[3][j]));
            }
        }
        ClearRowTail(job, row);
    }
}

} // namespace
