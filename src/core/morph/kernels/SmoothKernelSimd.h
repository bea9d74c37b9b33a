#pragma once

// The smooth feature-morph row kernel written once over a small vector
// interface V (lanes of floats) and instantiated per instruction set.
// Included only by the kernel sources; internal linkage throughout.
//
// V provides: D, kLanes, kPixels4, Set, Iota (base, base + 1, ...), Add,
// Sub, Mul, MulAdd (a x b + c), Min, Max, Sqrt, Div, Load and Store (of
// kLanes floats); with kPixels4 also Locate, AddBilinear and StorePixels for
// 4-byte pixels (see the AVX2 interface).
//
// For kLanes neighbouring pixels of a row at a time, every line pair adds
// its weight w = (len / (1 + dist))^2 (scaled by the frame's weight scale)
// and its weighted displacements toward the pictures; the sample position
// in a picture is the pixel's position plus the weighted mean displacement.
// Each picture is sampled bilinearly there, a position outside it taken to
// the nearest point on its edge.

#include "SmoothKernels.h"

#include <cstring>

namespace {

// The row values of line pairs [begin, end) for row position y (a whole
// number, or a quarter off one when supersampling), kSmoothRowValues apart.
inline void SmoothRowValues(const SmoothFrameJob& job, double y, int32_t begin, int32_t end, float* rows)
{
    for (int32_t i = begin; i < end; ++i) {
        const SmoothLine& ln = job.lines[i];
        float* r = rows + static_cast<size_t>(i - begin) * kSmoothRowValues;
        r[0] = static_cast<float>(ln.uAt + ln.uPerY * y);
        r[1] = static_cast<float>(ln.vAt + ln.vPerY * y);
        for (int32_t s = 0; s < 2; ++s) {
            r[2 + 2 * s] = static_cast<float>(ln.dispAt[s][0] + ln.dispPerY[s][0] * y);
            r[3 + 2 * s] = static_cast<float>(ln.dispAt[s][1] + ln.dispPerY[s][1] * y);
        }
    }
}

// Running sums of the pixels at X: the weights, and the weighted
// displacements toward the source (x, y) and the target (x, y).
template <class V> struct SmoothSums {
    typename V::D weight;
    typename V::D sum[4];
};

// Adds line pairs [begin, end) (their row values at `rows`) to the sums of
// the pixels at X, in order.
template <class V, int kSides>
[[gnu::always_inline]] inline void AddSmoothLines(const SmoothFrameJob& job, int32_t begin, int32_t end,
                                                  const float* rows, typename V::D X, typename V::D& weight,
                                                  typename V::D sum[4])
{
    using D = typename V::D;
    const D zero = V::Set(0.0f), one = V::Set(1.0f);
    for (int32_t i = begin; i < end; ++i) {
        const SmoothLine& ln = job.lines[i];
        const float* r = rows + static_cast<size_t>(i - begin) * kSmoothRowValues;
        const D u = V::MulAdd(V::Set(ln.ux), X, V::Set(r[0]));
        const D v = V::MulAdd(V::Set(ln.vx), X, V::Set(r[1]));
        // Beyond an end (u < 0 or u > 1) the distance is from that end:
        // dist^2 = v^2 + (excess of u)^2 l2.
        const D excess = V::Sub(u, V::Min(V::Max(u, zero), one));
        const D dist2 = V::MulAdd(V::Mul(excess, excess), V::Set(ln.l2), V::Mul(v, v));
        const D near = V::Add(one, V::Sqrt(dist2));
        const D w = V::Div(V::Set(ln.weightL2), V::Mul(near, near));
        weight = V::Add(weight, w);
        for (int32_t s = 0; s < kSides; ++s) {
            const D dx = V::MulAdd(V::Set(ln.dispX[s][0]), X, V::Set(r[2 + 2 * s]));
            const D dy = V::MulAdd(V::Set(ln.dispX[s][1]), X, V::Set(r[3 + 2 * s]));
            sum[2 * s] = V::MulAdd(w, dx, sum[2 * s]);
            sum[2 * s + 1] = V::MulAdd(w, dy, sum[2 * s + 1]);
        }
    }
}

// The sample positions of the pixels at (X, Y) from their sums over every
// line pair: in the source (pos[0], pos[1]) and, with kSides 2, the target
// (pos[2], pos[3]).
template <class V, int kSides>
inline void SmoothPositions(typename V::D weight, const typename V::D sum[4], typename V::D X, typename V::D Y,
                            typename V::D pos[4])
{
    const typename V::D inv = V::Div(V::Set(1.0f), weight);
    for (int32_t s = 0; s < kSides; ++s) {
        pos[2 * s] = V::MulAdd(sum[2 * s], inv, X);
        pos[2 * s + 1] = V::MulAdd(sum[2 * s + 1], inv, Y);
    }
}

// The same over all the line pairs of a frame of one block (the row values
// of every pair at `rows`), its sums held in registers throughout.
template <class V, int kSides>
inline void SmoothPositions(const SmoothFrameJob& job, const float* rows, typename V::D X, typename V::D Y,
                            typename V::D pos[4])
{
    using D = typename V::D;
    const D zero = V::Set(0.0f);
    D weight = zero;
    D sum[4] = {zero, zero, zero, zero};
    AddSmoothLines<V, kSides>(job, 0, job.count, rows, X, weight, sum);
    SmoothPositions<V, kSides>(weight, sum, X, Y, pos);
}

// Adds `scale` times the bilinear sample of a picture at (fx, fy) to the
// byte sums acc[c][lane] of `lanes` pixels, for any bytes per pixel. A
// position outside the picture (or not a number) is taken to its edge.
inline void AddBilinearBytes(const SmoothFrameJob& job, int image, const float* fx, const float* fy, float scale,
                             float (*acc)[64], int32_t lanes)
{
    const float xMax = static_cast<float>(job.width - 1), yMax = static_cast<float>(job.height - 1);
    const int32_t bpp = job.bpp;
    for (int32_t j = 0; j < lanes; ++j) {
        const float x = fx[j] > 0.0f ? (fx[j] < xMax ? fx[j] : xMax) : 0.0f;
        const float y = fy[j] > 0.0f ? (fy[j] < yMax ? fy[j] : yMax) : 0.0f;
        const auto x0 = static_cast<int32_t>(x), y0 = static_cast<int32_t>(y);
        const int32_t x1 = x0 + 1 < job.width ? x0 + 1 : x0, y1 = y0 + 1 < job.height ? y0 + 1 : y0;
        const float ax = x - static_cast<float>(x0), ay = y - static_cast<float>(y0);
        const uint8_t* top = job.pictures[image] + static_cast<size_t>(y0) * job.stride;
        const uint8_t* bottom = job.pictures[image] + static_cast<size_t>(y1) * job.stride;
        const size_t a = static_cast<size_t>(x0) * bpp, b = static_cast<size_t>(x1) * bpp;
        for (int32_t c = 0; c < bpp; ++c) {
            const float t = top[a + c] + ax * (top[b + c] - top[a + c]);
            const float d = bottom[a + c] + ax * (bottom[b + c] - bottom[a + c]);
            acc[c][j] += scale * (t + ay * (d - t));
        }
    }
}

// The sums over every line pair of a frame of more than kSmoothLineBlock
// pairs for the pixels of a span (`width` pixels at x0 of row y), kLanes
// pixels at a time: sums[sub * kVectors + j / kLanes] for the pixels at j of
// sub-sample `sub`. The row values are made a block of pairs at a time in
// `rows`; the pairs still come in order, so every sum is the one a single
// pass would make. Kept apart from the rows of one block, whose sums stay in
// registers.
template <class V, int kSides, int32_t kVectors>
[[gnu::noinline]] void SmoothSpanSums(const SmoothFrameJob& job, int32_t y, int32_t x0, int32_t width,
                                      const float offsets[kSmoothMaxSupersample], int32_t ss, float* rows,
                                      SmoothSums<V>* sums)
{
    using D = typename V::D;
    constexpr int32_t kLanes = V::kLanes;
    const size_t perRow = static_cast<size_t>(kSmoothLineBlock) * kSmoothRowValues;
    for (int32_t begin = 0; begin < job.count; begin += kSmoothLineBlock) {
        const int32_t end = job.count - begin > kSmoothLineBlock ? begin + kSmoothLineBlock : job.count;
        for (int32_t r = 0; r < ss; ++r) {
            SmoothRowValues(job, static_cast<double>(y) + offsets[r], begin, end,
                            rows + perRow * static_cast<size_t>(r));
        }
        for (int32_t j = 0; j < width; j += kLanes) {
            for (int32_t sub = 0; sub < ss * ss; ++sub) {
                const D X = V::Iota(static_cast<float>(x0 + j) + offsets[sub % ss]);
                SmoothSums<V>& at = sums[sub * kVectors + j / kLanes];
                if (begin == 0) {
                    at.weight = V::Set(0.0f);
                    for (D& sum : at.sum) {
                        sum = V::Set(0.0f);
                    }
                }
                AddSmoothLines<V, kSides>(job, begin, end, rows + perRow * static_cast<size_t>(sub / ss), X, at.weight,
                                          at.sum);
            }
        }
    }
}

// The pixel spans of the 4-byte path: where each sample's 2 x 2 pixels
// start (byte offsets) and its fractions between them, per sub-sample and
// picture; then the pixel pairs of its two rows.
template <int32_t kSpan> struct SmoothSamples {
    static constexpr int32_t kSubs = kSmoothMaxSupersample * kSmoothMaxSupersample;
    alignas(64) int32_t offset[kSubs][2][kSpan];
    alignas(64) float ax[kSubs][2][kSpan];
    alignas(64) float ay[kSubs][2][kSpan];
    alignas(64) uint64_t top[kSubs][2][kSpan];
    alignas(64) uint64_t bottom[kSubs][2][kSpan];
};

// Rows [first, last) with kSides 1 (the source alone) or 2, in spans of
// kSpan pixels: first the sample positions of the whole span, kLanes pixels
// at a time with their sums in registers while they see the line pairs one
// after another; then the samples. With 4-byte pixels (V::kPixels4 and
// job.gatherable) the pixel pairs are read one sample at a time into a
// buffer, which the vectors then blend: plain loads, independent of one
// another and of the arithmetic, keep up better than vector gathers.
//
// The scratch holds the row values of kSmoothLineBlock line pairs at most:
// a frame of more pairs makes them a block at a time for the span that uses
// them, and the sums of the span's pixels wait in `partial` between blocks
// (the pairs still come in order, so every sum is the same).
template <class V, int kSides>
void SmoothRowsSides(const SmoothFrameJob& job, int32_t first, int32_t last, float* scratch)
{
    using D = typename V::D;
    constexpr int32_t kLanes = V::kLanes;
    constexpr int32_t kSpan = 64;
    constexpr int32_t kSubs = kSmoothMaxSupersample * kSmoothMaxSupersample;
    static_assert(kSpan % kLanes == 0 && kLanes <= 64, "spans of whole vectors; byte sums of 64 lanes");
    const int32_t ss = job.supersample == kSmoothMaxSupersample ? kSmoothMaxSupersample : 1;
    const int32_t subs = ss * ss;
    const float offsets[kSmoothMaxSupersample] = {ss == 1 ? 0.0f : -0.25f, 0.25f};
    const float scale[2] = {job.alpha[0] / static_cast<float>(subs), job.alpha[1] / static_cast<float>(subs)};
    const bool oneBlock = job.count <= kSmoothLineBlock;
    const size_t perRow = static_cast<size_t>(oneBlock ? job.count : kSmoothLineBlock) * kSmoothRowValues;
    const auto at = reinterpret_cast<uintptr_t>(scratch);
    float* rows = reinterpret_cast<float*>((at + kSmoothScratchAlign - 1) & ~uintptr_t{kSmoothScratchAlign - 1});
    const bool pixels4 = V::kPixels4 && job.gatherable;
    const size_t used = static_cast<size_t>(job.width) * static_cast<size_t>(job.bpp);
    // [sub-sample][source x, y, target x, y][pixel of the span]
    alignas(64) float pos[kSubs][4][kSpan];
    SmoothSamples<kSpan> samples;
    // The sums of a span's pixels over the blocks of a frame of many pairs.
    SmoothSums<V> partial[kSubs * (kSpan / kLanes)];
    for (int32_t y = first; y < last; ++y) {
        if (oneBlock) {
            for (int32_t r = 0; r < ss; ++r) {
                SmoothRowValues(job, static_cast<double>(y) + offsets[r], 0, job.count,
                                rows + perRow * static_cast<size_t>(r));
            }
        }
        uint8_t* row = job.out + static_cast<size_t>(y) * job.stride;
        for (int32_t x0 = 0; x0 < job.width; x0 += kSpan) {
            const int32_t span = job.width - x0 < kSpan ? job.width - x0 : kSpan;
            if (!oneBlock) {
                SmoothSpanSums<V, kSides, kSpan / kLanes>(job, y, x0, span, offsets, ss, rows, partial);
            }
            for (int32_t j = 0; j < span; j += kLanes) {
                for (int32_t sub = 0; sub < subs; ++sub) {
                    const D X = V::Iota(static_cast<float>(x0 + j) + offsets[sub % ss]);
                    const D Y = V::Set(static_cast<float>(y) + offsets[sub / ss]);
                    D p[4];
                    if (oneBlock) {
                        SmoothPositions<V, kSides>(job, rows + perRow * static_cast<size_t>(sub / ss), X, Y, p);
                    } else {
                        const SmoothSums<V>& sums = partial[sub * (kSpan / kLanes) + j / kLanes];
                        SmoothPositions<V, kSides>(sums.weight, sums.sum, X, Y, p);
                    }
                    for (int32_t s = 0; s < kSides; ++s) {
                        if constexpr (V::kPixels4) {
                            if (pixels4) {
                                V::Locate(job, p[2 * s], p[2 * s + 1], samples.offset[sub][s] + j,
                                          samples.ax[sub][s] + j, samples.ay[sub][s] + j);
                                continue;
                            }
                        }
                        V::Store(pos[sub][2 * s] + j, p[2 * s]);
                        V::Store(pos[sub][2 * s + 1] + j, p[2 * s + 1]);
                    }
                }
            }
            if constexpr (V::kPixels4) {
                if (pixels4) {
                    // Every lane of the last vector has its place (beyond the
                    // row, that of a position taken onto the picture).
                    const int32_t whole = (span + kLanes - 1) / kLanes * kLanes;
                    for (int32_t sub = 0; sub < subs; ++sub) {
                        for (int32_t s = 0; s < kSides; ++s) {
                            const uint8_t* picture = job.pictures[s];
                            for (int32_t j = 0; j < whole; ++j) {
                                const uint8_t* pair = picture + samples.offset[sub][s][j];
                                std::memcpy(&samples.top[sub][s][j], pair, 8);
                                std::memcpy(&samples.bottom[sub][s][j], pair + job.stride, 8);
                            }
                        }
                    }
                    for (int32_t j = 0; j < span; j += kLanes) {
                        D acc[4] = {V::Set(0.0f), V::Set(0.0f), V::Set(0.0f), V::Set(0.0f)};
                        for (int32_t sub = 0; sub < subs; ++sub) {
                            for (int32_t s = 0; s < kSides; ++s) {
                                V::AddBilinear(samples.top[sub][s] + j, samples.bottom[sub][s] + j,
                                               V::Load(samples.ax[sub][s] + j), V::Load(samples.ay[sub][s] + j),
                                               scale[s], acc);
                            }
                        }
                        V::StorePixels(row + static_cast<size_t>(x0 + j) * 4, acc,
                                       span - j < kLanes ? span - j : kLanes);
                    }
                    continue;
                }
            }
            for (int32_t j = 0; j < span; j += kLanes) {
                const int32_t lanes = span - j < kLanes ? span - j : kLanes;
                alignas(64) float acc[4][64] = {};
                for (int32_t sub = 0; sub < subs; ++sub) {
                    for (int32_t s = 0; s < kSides; ++s) {
                        AddBilinearBytes(job, s, pos[sub][2 * s] + j, pos[sub][2 * s + 1] + j, scale[s], acc, lanes);
                    }
                }
                uint8_t* dst = row + static_cast<size_t>(x0 + j) * job.bpp;
                for (int32_t l = 0; l < lanes; ++l) {
                    for (int32_t c = 0; c < job.bpp; ++c) {
                        const auto b = static_cast<int32_t>(acc[c][l] + 0.5f);
                        dst[static_cast<size_t>(l) * job.bpp + c] = static_cast<uint8_t>(b < 255 ? b : 255);
                    }
                }
            }
        }
        if (job.stride > used) {
            std::memset(row + used, 0, job.stride - used);
        }
    }
}

template <class V> void SmoothRowsSimd(const SmoothFrameJob& job, int32_t first, int32_t last, float* scratch)
{
    if (job.targetUnused) {
        SmoothRowsSides<V, 1>(job, first, last, scratch);
    } else {
        SmoothRowsSides<V, 2>(job, first, last, scratch);
    }
}

} // namespace
