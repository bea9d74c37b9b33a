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

// The mapped-point part of one picture's line for one pixel: the weighted,
// truncated displacement (x, y) toward where the pixel samples.
struct SideConst {
    double px, dx, dy, ndy, len;
};

inline void Displacement(const SideConst& sd, double dispYBase, double x, double u, double v, double w, double& sx,
                         double& sy)
{
    const double ax = TruncExact(u * sd.dx);
    const double ay = TruncExact(u * sd.dy);
    const double cx = TruncExact(TruncExact(v * sd.ndy) / sd.len);
    const double cy = TruncExact(TruncExact(v * sd.dx) / sd.len);
    sx += TruncExact((((sd.px - x) + ax) + cx) * w);
    sy += TruncExact(((dispYBase + ay) + cy) * w);
}

void AddLine(Chunk& ch, const FBLineConst& ln, const double* r)
{
    const double px = ln.px, dx = ln.dx, ndy = ln.ndy, l2 = ln.l2, lenSD = ln.lenSD, lenW = ln.lenW;
    const double r0 = r[0], r1 = r[1], r2 = r[2], r3 = r[3], r4 = r[4], r5 = r[5];
    const SideConst s0{ln.side[0].px, ln.side[0].dx, ln.side[0].dy, ln.side[0].ndy, ln.side[0].len};
    const SideConst s1{ln.side[1].px, ln.side[1].dx, ln.side[1].dy, ln.side[1].ndy, ln.side[1].len};
    for (int32_t j = 0; j < kChunk; ++j) {
        const double x = ch.x[j];
        const double ex = x - px;
        const double dot = ex * dx + r0;
        const double cross = ex * ndy + r1;
        const double u = dot / l2;
        const double v = cross / lenSD;
        const bool before = u < 0.0;
        const bool outside = before | (u > 1.0);
        const double exq = ex - dx;
        const double toP = ex * ex + r2;
        const double toQ = exq * exq + r3;
        const double toEnd = std::sqrt(static_cast<float>(before ? toP : toQ));
        const double dist = outside ? toEnd : std::fabs(v);
        double w = lenW / (1.0 + dist);
        w = w * w;
        ch.weight[j] += w;
        Displacement(s0, r4, x, u, v, w, ch.sum[0][j], ch.sum[1][j]);
        Displacement(s1, r5, x, u, v, w, ch.sum[2][j], ch.sum[3][j]);
    }
}

} // namespace

void FBRowsBaseline(const FBFrameJob& job, int32_t first, int32_t last, double* scratch)
{
    // The row constants of a block of line pairs at a time; a frame of one
    // block makes them once per row.
    const bool oneBlock = job.count <= kLineBlock;
    FBLineConst buffer[kLineBlock];
    const FBLineConst* lines = oneBlock ? LineBlock(job, 0, job.count, buffer) : nullptr;
    Chunk ch;
    for (int32_t y = first; y < last; ++y) {
        if (oneBlock) {
            FillRowConstants(lines, y, job.count, scratch);
        }
        uint8_t* row = job.out + static_cast<size_t>(y) * job.stride;
        for (int32_t x0 = 0; x0 < job.columns; x0 += kChunk) {
            for (int32_t j = 0; j < kChunk; ++j) {
                ch.x[j] = static_cast<double>(x0 + j);
                ch.weight[j] = 0.0;
                ch.sum[0][j] = ch.sum[1][j] = ch.sum[2][j] = ch.sum[3][j] = 0.0;
            }
            for (int32_t begin = 0; begin < job.count; begin += kLineBlock) {
                const int32_t end = job.count - begin > kLineBlock ? begin + kLineBlock : job.count;
                const FBLineConst* block = oneBlock ? lines + begin : LineBlock(job, begin, end - begin, buffer);
                if (!oneBlock) {
                    FillRowConstants(block, y, end - begin, scratch);
                }
                for (int32_t i = begin; i < end; ++i) {
                    AddLine(ch, block[i - begin], scratch + static_cast<size_t>(i - begin) * kRowConstants);
                }
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
