// The feature-morph row kernel for any x86-64 (or other) processor: plain
// loops over a chunk of pixels, line pair by line pair, that the compiler
// turns into vector code of the baseline instruction set. Each pixel goes
// through exactly the operations of the reference computation.
#include "FBKernelCommon.h"

#include <cmath>

namespace {

constexpr int32_t kChunk = 32;

// Truncation toward zero of |v| < 2^52, from operations every vector
// instruction set has: round to the nearest whole number with 2^52, then
// step back toward zero where that went past v.
inline double TruncExact(double v)
{
    const double big = v < 0.0 ? -4503599627370496.0 : 4503599627370496.0;
    const double nearest = (v + big) - big;
    const double back = v < 0.0 ? -1.0 : 1.0;
    return std::fabs(nearest) > std::fabs(v) ? nearest - back : nearest;
}

struct Chunk {
    alignas(64) double x[kChunk];
    alignas(64) double weight[kChunk];
    alignas(64) double sum[4][kChunk];
};

void AddLine(Chunk& ch, const FBLineConst& ln, const double* r)
{
    for (int32_t j = 0; j < kChunk; ++j) {
        const double ex = ch.x[j] - ln.px;
        const double dot = ex * ln.dx + r[0];
        const double cross = ex * ln.ndy + r[1];
        const double u = dot / ln.l2;
        const double v = cross / ln.lenSD;
        const bool before = u < 0.0;
        const bool outside = before | (u > 1.0);
        const double exq = ex - ln.dx;
        const double toP = ex * ex + r[2];
        const double toQ = exq * exq + r[3];
        const double toEnd = std::sqrt(static_cast<float>(before ? toP : toQ));
        const double dist = outside ? toEnd : std::fabs(v);
        double w = ln.lenW / (1.0 + dist);
        w = w * w;
        ch.weight[j] += w;
        for (int32_t s = 0; s < 2; ++s) {
            const FBLineConst::Side& sd = ln.side[s];
            const double ax = TruncExact(u * sd.dx);
            const double ay = TruncExact(u * sd.dy);
            const double cx = TruncExact(TruncExact(v * sd.ndy) / sd.len);
            const double cy = TruncExact(TruncExact(v * sd.dx) / sd.len);
            const double dispX = ((sd.px - ch.x[j]) + ax) + cx;
            const double dispY = (r[4 + s] + ay) + cy;
            ch.sum[2 * s][j] += TruncExact(dispX * w);
            ch.sum[2 * s + 1][j] += TruncExact(dispY * w);
        }
    }
}

} // namespace

void FBRowsBaseline(const FBFrameJob& job, int32_t first, int32_t last, double* scratch)
{
    Chunk ch;
    for (int32_t y = first; y < last; ++y) {
        FillRowConstants(job, y, scratch);
        uint8_t* row = job.out + static_cast<size_t>(y) * job.stride;
        for (int32_t x0 = 0; x0 < job.columns; x0 += kChunk) {
            for (int32_t j = 0; j < kChunk; ++j) {
                ch.x[j] = static_cast<double>(x0 + j);
                ch.weight[j] = 0.0;
                ch.sum[0][j] = ch.sum[1][j] = ch.sum[2][j] = ch.sum[3][j] = 0.0;
            }
            for (int32_t i = 0; i < job.count; ++i) {
                AddLine(ch, job.lines[i], scratch + static_cast<size_t>(i) * kRowConstants);
            }
            const int32_t lanes = job.columns - x0 < kChunk ? job.columns - x0 : kChunk;
            for (int32_t j = 0; j < lanes; ++j) {
                const double w = ch.weight[j];
                const auto sx = static_cast<int32_t>(ch.x[j] + TruncExact(ch.sum[0][j] / w));
                const auto sy = static_cast<int32_t>(y + TruncExact(ch.sum[1][j] / w));
                const auto tx = static_cast<int32_t>(ch.x[j] + TruncExact(ch.sum[2][j] / w));
                const auto ty = static_cast<int32_t>(y + TruncExact(ch.sum[3][j] / w));
                SamplePixel(job, row + static_cast<size_t>(x0 + j) * job.bpp, sx, sy, tx, ty);
            }
        }
        ClearRowTail(job, row);
    }
}
