#pragma once

// The feature-morph row kernel written once over a small vector interface
// V (lanes of doubles and their masks) and instantiated per instruction set.
// Included only by the kernel sources; internal linkage throughout.
//
// Each vector holds kLanes neighbouring pixels of a row; for every line pair
// in order it forms the operations of the reference computation, so every
// rounded result is the same bit for bit. Where a step is done differently,
// it is proven to give the same value:
//  - the whole-number products and sums of dot, cross and the squared
//    distances to P and Q (all below 2^52, so exact) are fused;
//  - u < 0 and u > 1 are read off dot < 0 and dot > l2 (whole numbers below
//    2^52: dot > l2 makes the quotient at least 1 + 2^-52);
//  - with 8 lanes u comes from Quotient, a checked reciprocal (see there),
//    which measured faster there than the divider; with 4 lanes the divider
//    is faster;
//  - trunc(m / len') of the mapped point (m a whole number of at most 2^30,
//    len' a single-precision length >= 1, quotient below 2^28), see
//    TruncDivLength:
//    . trunc of the correctly rounded quotient equals trunc of the exact
//      one: a whole number c strictly between m / len' and its rounding
//      would need c len' - m (a non-zero multiple of 2^(exponent(len') - 23),
//      so at least len' 2^-24) to be at most c len' 2^-53, i.e. c >= 2^29;
//    . for |m| <= 2^26, floor(|m| x inv) with inv = 1 / len' rounded up is
//      exact: the product is not below |m| / len', and above it by less than
//      |m| / len' 2^-51 <= 2^-25, while a quotient that is not whole stays
//      at least 2^-24 below the next whole number (its denominator divides
//      the 24-bit significand of len', or is len' itself when len' >= 2^23
//      is whole), more than that error and the rounding of the product
//      together;
//    . for larger |m| (lines very far from the picture), q = |m| x inv with
//      inv in (1 - 2^-48, 1 - 2^-50) / len' is below |m| / len' by less
//      than 2^-18, so floor(q) is the answer or one less; r = |m| - floor(q)
//      len' is formed exactly by a fused multiply-add (|r| < 2 len' fits in
//      25 bits of len's last place) and r >= len' tells which;
//    . the sign of m is that of v times the line component, applied last.
// The other divisions (v, the weight, the final shifts) use the divider.

#include "FBKernelCommon.h"

namespace {

template <class V> inline typename V::D TruncDivLength(typename V::D am, const FBLineConst::Side& sd)
{
    using D = typename V::D;
    if (sd.quick) {
        return V::TruncNonNegative(V::Mul(am, V::Set(sd.invAbove)));
    }
    const D vlen = V::Set(sd.len);
    const D c0 = V::TruncNonNegative(V::Mul(am, V::Set(sd.invBelow)));
    const D r = V::NegMulAdd(c0, vlen, am);
    return V::AddOneWhere(c0, V::Ge(r, vlen));
}

// The correctly rounded a / b (b > 0) from a near reciprocal y of b:
// q = a y is improved once with its remainder a - q b (one rounding, fused),
// and the result q' is taken only where its own remainder, again fused,
// proves it the double nearest to a / b: |a - q' b| < b g / 2, with g the
// smaller of the gaps between q' and its two neighbours (the gap below |q'|,
// from the exponent of |q'| (1 - 2^-53), which is that of the double below
// it), or a - q' b = 0. A rounded remainder below the exact bound b g / 2
// (a power of two times b) means the exact one is below it too. Any lane
// that is not proven sends the whole vector through the divider.
// bScaled is b x 2^-53.
template <class V>
inline typename V::D Quotient(typename V::D a, typename V::D b, typename V::D y, typename V::D bScaled)
{
    using D = typename V::D;
    const D q0 = V::Mul(a, y);
    const D q1 = V::MulAdd(V::NegMulAdd(q0, b, a), y, q0);
    const D r1 = V::NegMulAdd(q1, b, a);
    const D gap = V::Exponent(V::Mul(q1, V::Set(1.0 - 0x1p-53)));
    if (!V::All(V::Or(V::Lt(V::Abs(r1), V::Mul(gap, bScaled)), V::Eq(r1, V::Set(0.0))))) {
        return V::Div(a, b);
    }
    return q1;
}

// Adds line pair `ln` to the sums of the kLanes pixels at X (row constants
// r): the weight to acc[0], the truncated weighted displacements toward the
// source to acc[1], acc[2] and toward the target to acc[3], acc[4].
template <class V>
inline void AddLinePair(const FBLineConst& ln, const double* r, typename V::D X, double* const acc[5])
{
    using D = typename V::D;
    using M = typename V::M;
    const D zero = V::Set(0.0);
    const D one = V::Set(1.0);
    // Products and sums of whole numbers below 2^52 are exact, so fusing
    // them changes nothing.
    const D ex = V::Sub(X, V::Set(ln.px));
    const D dot = V::MulAdd(ex, V::Set(ln.dx), V::Set(r[0]));
    const D cross = V::MulAdd(ex, V::Set(ln.ndy), V::Set(r[1]));
    const D u = V::kCheckedQuotient ? Quotient<V>(dot, V::Set(ln.l2), V::Set(ln.invL2), V::Set(ln.l2 * 0x1p-53))
                                    : V::Div(dot, V::Set(ln.l2));
    const D v = V::Div(cross, V::Set(ln.lenSD));
    // u < 0 and u > 1 read off the exact whole numbers dot and l2 (below
    // 2^52, so dot > l2 gives a quotient of at least 1 + 2^-52).
    const M before = V::Lt(dot, zero);
    const M beyond = V::Gt(dot, V::Set(ln.l2));
    const D exq = V::Sub(ex, V::Set(ln.dx));
    const D toP = V::MulAdd(ex, ex, V::Set(r[2]));
    const D toQ = V::MulAdd(exq, exq, V::Set(r[3]));
    const D toEnd = V::SqrtSingle(V::Select(before, toP, toQ));
    const D av = V::Abs(v);
    const D dist = V::Select(V::Or(before, beyond), toEnd, av);
    const D below = V::Add(one, dist);
    D w = V::Div(V::Set(ln.lenW), below);
    w = V::Mul(w, w);
    V::Store(acc[0], V::Add(V::Load(acc[0]), w));
    const D vSign = V::SignOf(v);
    for (int32_t s = 0; s < 2; ++s) {
        const FBLineConst::Side& sd = ln.side[s];
        const D ax = V::Trunc(V::Mul(u, V::Set(sd.dx)));
        const D ay = V::Trunc(V::Mul(u, V::Set(sd.dy)));
        const D mx = V::TruncNonNegative(V::Mul(av, V::Set(sd.ady)));
        const D my = V::TruncNonNegative(V::Mul(av, V::Set(sd.adx)));
        const D cx = V::Xor(TruncDivLength<V>(mx, sd), V::Xor(vSign, V::Set(sd.sgnNdy)));
        const D cy = V::Xor(TruncDivLength<V>(my, sd), V::Xor(vSign, V::Set(sd.sgnDx)));
        const D dispX = V::Add(V::Add(V::Sub(V::Set(sd.px), X), ax), cx);
        const D dispY = V::Add(V::Add(V::Set(r[4 + s]), ay), cy);
        V::Store(acc[1 + 2 * s], V::Add(V::Load(acc[1 + 2 * s]), V::Trunc(V::Mul(dispX, w))));
        V::Store(acc[2 + 2 * s], V::Add(V::Load(acc[2 + 2 * s]), V::Trunc(V::Mul(dispY, w))));
    }
}

// Rows [first, last). The row is taken in chunks of kChunk pixels; for each
// line pair in order every vector of the chunk is brought up to date, so the
// vectors of one chunk are independent work for the processor while each
// pixel still sees the pairs one after another.
template <class V> void FeatureRowsSimd(const FBFrameJob& job, int32_t first, int32_t last, double* rc)
{
    using D = typename V::D;
    constexpr int32_t kLanes = V::kLanes;
    constexpr int32_t kChunk = 64;
    alignas(64) double acc[5][kChunk];
    for (int32_t y = first; y < last; ++y) {
        FillRowConstants(job, y, rc);
        uint8_t* row = job.out + static_cast<size_t>(y) * job.stride;
        const D Y = V::Set(static_cast<double>(y));
        for (int32_t x0 = 0; x0 < job.columns; x0 += kChunk) {
            const int32_t width = job.columns - x0 < kChunk ? job.columns - x0 : kChunk;
            const int32_t vectors = (width + kLanes - 1) / kLanes;
            for (int32_t a = 0; a < 5; ++a) {
                for (int32_t j = 0; j < kChunk; ++j) {
                    acc[a][j] = 0.0;
                }
            }
            for (int32_t i = 0; i < job.count; ++i) {
                const FBLineConst& ln = job.lines[i];
                const double* r = rc + static_cast<size_t>(i) * kRowConstants;
                for (int32_t vi = 0; vi < vectors; ++vi) {
                    const int32_t off = vi * kLanes;
                    double* const at[5] = {acc[0] + off, acc[1] + off, acc[2] + off, acc[3] + off, acc[4] + off};
                    AddLinePair<V>(ln, r, V::Iota(static_cast<double>(x0 + off)), at);
                }
            }
            for (int32_t vi = 0; vi < vectors; ++vi) {
                const int32_t off = vi * kLanes;
                const D X = V::Iota(static_cast<double>(x0 + off));
                const D W = V::Load(acc[0] + off);
                const D sx = V::Add(X, V::Trunc(V::Div(V::Load(acc[1] + off), W)));
                const D sy = V::Add(Y, V::Trunc(V::Div(V::Load(acc[2] + off), W)));
                const D tx = V::Add(X, V::Trunc(V::Div(V::Load(acc[3] + off), W)));
                const D ty = V::Add(Y, V::Trunc(V::Div(V::Load(acc[4] + off), W)));
                const int32_t lanes = width - off < kLanes ? width - off : kLanes;
                uint8_t* dst = row + static_cast<size_t>(x0 + off) * job.bpp;
                if (job.wholePixels) {
                    V::SampleWholePixels(job, dst, sx, sy, tx, ty, lanes);
                    continue;
                }
                alignas(64) double pos[4][kLanes];
                V::Store(pos[0], sx);
                V::Store(pos[1], sy);
                V::Store(pos[2], tx);
                V::Store(pos[3], ty);
                for (int32_t j = 0; j < lanes; ++j) {
                    SamplePixel(job, dst + static_cast<size_t>(j) * job.bpp, static_cast<int32_t>(pos[0][j]),
                                static_cast<int32_t>(pos[1][j]), static_cast<int32_t>(pos[2][j]),
                                static_cast<int32_t>(pos[3][j]));
                }
            }
        }
        ClearRowTail(job, row);
    }
}

} // namespace
