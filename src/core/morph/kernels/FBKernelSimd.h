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
//  - trunc(m / len') of the mapped point (m a whole number of at most 2^30
//    in magnitude, len' a single-precision length >= 1, quotient below
//    2^28), see TruncDivLength:
//    . trunc of the correctly rounded quotient equals trunc of the exact
//      one: a whole number c strictly between m / len' and its rounding
//      would need c len' - m (a non-zero multiple of 2^(exponent(len') - 23),
//      so at least len' 2^-24) to be at most c len' 2^-53, i.e. c >= 2^29;
//    . for |m| <= 2^26, trunc(m x inv) with inv = 1 / len' rounded up is
//      exact: rounding is symmetric, and |m| x inv is not below |m| / len',
//      and above it by less than |m| / len' 2^-51 <= 2^-25, while a quotient
//      that is not whole stays at least 2^-24 below the next whole number
//      (its denominator divides the 24-bit significand of len', or is len'
//      itself when len' >= 2^23 is whole), more than that error and the
//      rounding of the product together;
//    . for larger |m| (lines very far from the picture), q = |m| x inv with
//      inv in (1 - 2^-48, 1 - 2^-50) / len' is below |m| / len' by less
//      than 2^-18, so floor(q) is the answer or one less; r = |m| - floor(q)
//      len' is formed exactly by a fused multiply-add (|r| < 2 len' fits in
//      25 bits of len's last place) and r >= len' tells which; the sign of m
//      is put back last.
//  - u = dot / l2 and v = cross / lenSD (see DivideByLineConstant) as
//    q = q0 + r y, with y = 1 / b rounded to nearest, q0 = a y rounded and
//    r = a - b q0 (fused multiply-adds), for a a whole number with |a| <=
//    2^50 and b either a whole number in [1, 2^50] (l2) or a
//    single-precision number in [1, 2^26) (lenSD). Let Q = a / b, of
//    exponent e <= 50, 2^g b's last place and B = b 2^-min(0, g) (b itself
//    when whole, else its 24-bit significand; B <= 2^50 either way):
//    . |q0 - Q| <= |Q| 2^-52 (1 + 2^-53) (two roundings), so r is a
//      multiple of U = 2^(e - 53) 2^min(0, g) (q0's last place is at least
//      2^(e - 53)) of at most 4 B < 2^53 such units: r is exact;
//    . q0 + r y = Q + (Q - q0)(b y - 1) with |b y - 1| <= 2^-53, so it lies
//      within |Q| 2^-104.9 of Q;
//    . a number halfway between two doubles near Q is an odd multiple h of
//      2^(e - 53); Q - h = (a - b h) / b, and a - b h is a multiple of U,
//      not 0 (Q = h would need |a| >= 2^53), so |Q - h| >= U / b =
//      2^(e - 53) / B > |Q| 2^-54 / B >= |Q| 2^-104;
//    so q0 + r y and Q round to the same double: q is the quotient
//    correctly rounded. A zero dot or cross may give a zero of the other
//    sign, which the sums that take u and v in (each added to a non-zero
//    number or to +0) cannot tell apart.
// The other divisions (the weight, the final shifts) use the divider.

#include "FBKernelCommon.h"

#include <initializer_list>

namespace {

// trunc(m / len') for a whole number m of either sign (see the notes above).
// a / b for the constant b of a line, with y = 1 / b rounded to nearest
// (see the notes above for which a and b).
template <class V> inline typename V::D DivideByLineConstant(typename V::D a, typename V::D b, typename V::D y)
{
    const typename V::D q0 = V::Mul(a, y);
    return V::MulAdd(V::NegMulAdd(q0, b, a), y, q0);
}

template <class V> inline typename V::D TruncDivLength(typename V::D m, const FBLineConst::Side& sd)
{
    using D = typename V::D;
    if (sd.quick) {
        return V::Trunc(V::Mul(m, V::Set(sd.invAbove)));
    }
    const D am = V::Abs(m);
    const D vlen = V::Set(sd.len);
    const D c0 = V::TruncNonNegative(V::Mul(am, V::Set(sd.invBelow)));
    const D r = V::NegMulAdd(c0, vlen, am);
    return V::Xor(V::AddOneWhere(c0, V::Ge(r, vlen)), V::SignOf(m));
}

// A line pair's constants with each value in every lane, so that the
// arithmetic reads them as whole vectors (a broadcast per use costs a
// vector pipe on some processors); the row constants are refilled per row.
template <class V> struct WideLine {
    using D = typename V::D;
    D px, dx, ndy, l2, lenSD, lenW, recipL2, recipLenSD;
    struct Side {
        D px, dx, dy, ndy, invAbove;
    } side[2];
    const FBLineConst* line;
    bool quick[2]; // line->side[s].quick
    // Of the current row y: the parts of dot and cross that depend on y
    // only, the squared row distances from P and Q, and P'.y - y of both
    // pictures. All exact (whole numbers well inside 2^53).
    D row[6];
};

template <class V> inline void Widen(const FBLineConst& ln, WideLine<V>& w)
{
    w.line = &ln;
    w.quick[0] = ln.side[0].quick;
    w.quick[1] = ln.side[1].quick;
    w.px = V::Set(ln.px);
    w.dx = V::Set(ln.dx);
    w.ndy = V::Set(ln.ndy);
    w.l2 = V::Set(ln.l2);
    w.lenSD = V::Set(ln.lenSD);
    w.lenW = V::Set(ln.lenW);
    w.recipL2 = V::Set(ln.recipL2);
    w.recipLenSD = V::Set(ln.recipLenSD);
    for (int32_t s = 0; s < 2; ++s) {
        w.side[s].px = V::Set(ln.side[s].px);
        w.side[s].dx = V::Set(ln.side[s].dx);
        w.side[s].dy = V::Set(ln.side[s].dy);
        w.side[s].ndy = V::Set(ln.side[s].ndy);
        w.side[s].invAbove = V::Set(ln.side[s].invAbove);
    }
}

template <class V> inline void WidenRow(const FBLineConst& ln, int32_t y, WideLine<V>& w)
{
    double r[kRowConstants];
    RowConstants(ln, y, r);
    for (int32_t i = 0; i < 6; ++i) {
        w.row[i] = V::Set(r[i]);
    }
}

// Running sums of the kLanes pixels at X: the weights, and the truncated
// weighted displacements toward the source (x, y) and the target (x, y).
template <class V> struct Sums {
    typename V::D weight, sx, sy, tx, ty;
};

// A line pair's work for the pixels at X comes in three steps, so that the
// divisions of the next pairs can be under way while the rest of this one's
// is done (see FeatureRowsSimd): u and v (two divisions) and the distance
// from an end point; the weight (a division); the displacements.
template <class V> struct LinePairStart {
    typename V::D u, v, dist; // dist: the distance from the line
};

template <class V> struct LinePairQuotients {
    typename V::D u, v, w;
};

template <class V> inline LinePairStart<V> StartLinePair(const WideLine<V>& wl, typename V::D X)
{
    using D = typename V::D;
    using M = typename V::M;
    // Products and sums of whole numbers below 2^52 are exact, so fusing
    // them changes nothing.
    const D ex = V::Sub(X, wl.px);
    const D dot = V::MulAdd(ex, wl.dx, wl.row[0]);
    const D cross = V::MulAdd(ex, wl.ndy, wl.row[1]);
    LinePairStart<V> start;
    start.u = DivideByLineConstant<V>(dot, wl.l2, wl.recipL2);
    start.v = DivideByLineConstant<V>(cross, wl.lenSD, wl.recipLenSD);
    // u < 0 and u > 1 read off the exact whole numbers dot and l2: there
    // the distance is from P or Q, elsewhere |v|. Mostly a whole vector is
    // on one side of that, and nearer the same end.
    const M before = V::Lt(dot, V::Set(0.0));
    const M beyond = V::Gt(dot, wl.l2);
    const M beside = V::Or(before, beyond);
    if (V::None(beside)) {
        start.dist = V::Abs(start.v);
        return start;
    }
    const D exq = V::Sub(ex, wl.dx);
    D toEnd;
    if (V::None(beyond)) {
        toEnd = V::MulAdd(ex, ex, wl.row[2]);
    } else if (V::None(before)) {
        toEnd = V::MulAdd(exq, exq, wl.row[3]);
    } else {
        toEnd = V::Select(before, V::MulAdd(ex, ex, wl.row[2]), V::MulAdd(exq, exq, wl.row[3]));
    }
    toEnd = V::SqrtSingle(toEnd);
    start.dist = V::All(beside) ? toEnd : V::Select(beside, toEnd, V::Abs(start.v));
    return start;
}

template <class V> inline LinePairQuotients<V> WeighLinePair(const WideLine<V>& wl, const LinePairStart<V>& start)
{
    const typename V::D w = V::Div(wl.lenW, V::Add(V::Set(1.0), start.dist));
    return LinePairQuotients<V>{start.u, start.v, V::Mul(w, w)};
}

// Adds the line pair (its vectors `wl`, its quotients `q`) to the sums of
// the pixels at X: of the source alone (kSides 1) or of both pictures.
template <class V, int kSides>
inline void AddLinePair(const WideLine<V>& wl, typename V::D X, const LinePairQuotients<V>& q, Sums<V>& sums)
{
    using D = typename V::D;
    sums.weight = V::Add(sums.weight, q.w);
    D* const out[2][2] = {{&sums.sx, &sums.sy}, {&sums.tx, &sums.ty}};
    for (int32_t s = 0; s < kSides; ++s) {
        const typename WideLine<V>::Side& ws = wl.side[s];
        const D ax = V::Trunc(V::Mul(q.u, ws.dx));
        const D ay = V::Trunc(V::Mul(q.u, ws.dy));
        const D mx = V::Trunc(V::Mul(q.v, ws.ndy));
        const D my = V::Trunc(V::Mul(q.v, ws.dx));
        D cx, cy;
        if (wl.quick[s]) {
            cx = V::Trunc(V::Mul(mx, ws.invAbove));
            cy = V::Trunc(V::Mul(my, ws.invAbove));
        } else {
            cx = TruncDivLength<V>(mx, wl.line->side[s]);
            cy = TruncDivLength<V>(my, wl.line->side[s]);
        }
        const D dispX = V::Add(V::Add(V::Sub(ws.px, X), ax), cx);
        const D dispY = V::Add(V::Add(wl.row[4 + s], ay), cy);
        *out[s][0] = V::Add(*out[s][0], V::Trunc(V::Mul(dispX, q.w)));
        *out[s][1] = V::Add(*out[s][1], V::Trunc(V::Mul(dispY, q.w)));
    }
}

template <class V> inline Sums<V> NoSums()
{
    return Sums<V>{V::Set(0.0), V::Set(0.0), V::Set(0.0), V::Set(0.0), V::Set(0.0)};
}

// `sums` with the line pairs `wide` added for the pixels at X, in order
// (the pairs of a frame go through in blocks, each going on from the sums
// of the blocks before it). The three steps are staggered: while pair i is
// added, the weight of pair i + 1 and the start of pair i + 2 are computed,
// none of which waits for the others, so the divider always has work that
// the rest of the arithmetic does not wait for.
template <class V, int kSides>
inline Sums<V> SumLinePairs(const WideLine<V>* wide, int32_t count, typename V::D X, Sums<V> sums)
{
    LinePairQuotients<V> q = WeighLinePair<V>(wide[0], StartLinePair<V>(wide[0], X));
    if (count == 1) {
        AddLinePair<V, kSides>(wide[0], X, q, sums);
        return sums;
    }
    LinePairStart<V> next = StartLinePair<V>(wide[1], X);
    for (int32_t i = 0; i + 2 < count; ++i) {
        const LinePairStart<V> after = StartLinePair<V>(wide[i + 2], X);
        const LinePairQuotients<V> nextQ = WeighLinePair<V>(wide[i + 1], next);
        AddLinePair<V, kSides>(wide[i], X, q, sums);
        q = nextQ;
        next = after;
    }
    const LinePairQuotients<V> last = WeighLinePair<V>(wide[count - 1], next);
    AddLinePair<V, kSides>(wide[count - 2], X, q, sums);
    AddLinePair<V, kSides>(wide[count - 1], X, last, sums);
    return sums;
}

// Rows [first, last), in spans of kSpan pixels: first the sample positions
// of the whole span, kLanes pixels at a time with their sums in registers
// while they see the line pairs one after another; then the samples, whose
// memory reads are then independent of one another and of the arithmetic.
//
// The scratch holds the vectors of kLineBlock line pairs at most. A frame of
// one block widens its pairs once; with more, each block is widened for the
// span that uses it, and the sums of the span's pixels wait in `partial`
// between blocks (the pairs still come in order, so every sum is the same).
//
// A frame that takes nothing of the target (its share of every byte is 0,
// as in the first frame) needs no target positions: only the source's are
// computed (kSides 1), and the target's are set to them, which reads the
// same pixels whatever they are.
template <class V, int kSides>
void FeatureRowsSides(const FBFrameJob& job, int32_t first, int32_t last, double* scratch)
{
    using D = typename V::D;
    constexpr int32_t kLanes = V::kLanes;
    constexpr int32_t kSpan = 256;
    static_assert(kSpan % kLanes == 0, "spans of whole vectors");
    static_assert(sizeof(WideLine<V>) <= sizeof(double) * kScratchPerLine && alignof(WideLine<V>) <= kScratchAlign,
                  "the engine's scratch holds the vectors of a block of line pairs");
    auto* wide = reinterpret_cast<WideLine<V>*>(AlignScratch(scratch));
    const bool oneBlock = job.count <= kLineBlock;
    FBLineConst buffer[kLineBlock];
    const FBLineConst* lines = oneBlock ? LineBlock(job, 0, job.count, buffer) : nullptr;
    if (oneBlock) {
        for (int32_t i = 0; i < job.count; ++i) {
            Widen<V>(lines[i], wide[i]);
        }
    }
    alignas(64) int32_t pos[4][kSpan];
    Sums<V> partial[kSpan / kLanes];
    for (int32_t y = first; y < last; ++y) {
        if (oneBlock) {
            for (int32_t i = 0; i < job.count; ++i) {
                WidenRow<V>(lines[i], y, wide[i]);
            }
        }
        uint8_t* row = job.out + static_cast<size_t>(y) * job.stride;
        const D Y = V::Set(static_cast<double>(y));
        for (int32_t x0 = 0; x0 < job.columns; x0 += kSpan) {
            const int32_t span = job.columns - x0 < kSpan ? job.columns - x0 : kSpan;
            // The sample positions of the pixels at X from their sums over
            // every line pair.
            const auto place = [&job, &pos, &Y](int32_t at, D X, const Sums<V>& sums) {
                const D sx = V::Add(X, V::Trunc(V::Div(sums.sx, sums.weight)));
                const D sy = V::Add(Y, V::Trunc(V::Div(sums.sy, sums.weight)));
                V::StoreWhole(pos[0] + at, sx);
                V::StoreWhole(pos[1] + at, sy);
                if constexpr (kSides == 2) {
                    V::StoreWhole(pos[2] + at, V::Add(X, V::Trunc(V::Div(sums.tx, sums.weight))));
                    V::StoreWhole(pos[3] + at, V::Add(Y, V::Trunc(V::Div(sums.ty, sums.weight))));
                } else {
                    V::StoreWhole(pos[2] + at, sx);
                    V::StoreWhole(pos[3] + at, sy);
                }
                // The samples' cache lines are asked for now, so that they
                // arrive while the rest of the span is computed.
                if (job.wholePixels) {
                    for (const int32_t lane : std::initializer_list<int32_t>{0, kLanes - 1}) {
                        PrefetchPixel(job, 0, pos[0][at + lane], pos[1][at + lane]);
                        PrefetchPixel(job, 1, pos[2][at + lane], pos[3][at + lane]);
                    }
                }
            };
            if (oneBlock) {
                for (int32_t at = 0; at < span; at += kLanes) {
                    const D X = V::Iota(static_cast<double>(x0 + at));
                    place(at, X, SumLinePairs<V, kSides>(wide, job.count, X, NoSums<V>()));
                }
            } else {
                for (int32_t begin = 0; begin < job.count; begin += kLineBlock) {
                    const int32_t count = job.count - begin > kLineBlock ? kLineBlock : job.count - begin;
                    const FBLineConst* block = LineBlock(job, begin, count, buffer);
                    for (int32_t i = 0; i < count; ++i) {
                        Widen<V>(block[i], wide[i]);
                        WidenRow<V>(block[i], y, wide[i]);
                    }
                    const bool lastBlock = begin + count == job.count;
                    for (int32_t at = 0; at < span; at += kLanes) {
                        const D X = V::Iota(static_cast<double>(x0 + at));
                        Sums<V>& sums = partial[at / kLanes];
                        sums = SumLinePairs<V, kSides>(wide, count, X, begin == 0 ? NoSums<V>() : sums);
                        if (lastBlock) {
                            place(at, X, sums);
                        }
                    }
                }
            }
            uint8_t* dst = row + static_cast<size_t>(x0) * job.bpp;
            if (job.wholePixels) {
                for (int32_t at = 0; at < span; at += kLanes) {
                    V::SampleWholePixels(job, dst + static_cast<size_t>(at) * 4, pos[0] + at, pos[1] + at, pos[2] + at,
                                         pos[3] + at, span - at < kLanes ? span - at : kLanes);
                }
            } else {
                for (int32_t j = 0; j < span; ++j) {
                    SamplePixel(job, dst + static_cast<size_t>(j) * job.bpp, pos[0][j], pos[1][j], pos[2][j],
                                pos[3][j]);
                }
            }
        }
        ClearRowTail(job, row);
    }
}

template <class V> void FeatureRowsSimd(const FBFrameJob& job, int32_t first, int32_t last, double* scratch)
{
    if (job.targetUnused) {
        FeatureRowsSides<V, 1>(job, first, last, scratch);
    } else {
        FeatureRowsSides<V, 2>(job, first, last, scratch);
    }
}

} // namespace
