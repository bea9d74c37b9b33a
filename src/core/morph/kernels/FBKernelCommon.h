#pragma once

// Pieces shared by the feature-morph row kernels. Included only by the
// kernel sources, each compiled for its own instruction set: everything here
// has internal linkage so that no copy built for one instruction set can be
// picked up by the code of another.

#include "MorphKernels.h"

#include <cstdint>
#include <cstring>

namespace {

// Row constants of a line for row y: the parts of the dot and cross
// products that depend on y only, the squared row distances from P and Q,
// and P'.y - y of both pictures. All exact (integers well inside 2^53).
inline void RowConstants(const FBLineConst& ln, int32_t y, double* r)
{
    const double yd = y;
    const double ey = yd - ln.py;
    const double eyq = yd - ln.qy;
    r[0] = ey * ln.dy;
    r[1] = ey * ln.dx;
    r[2] = ey * ey;
    r[3] = eyq * eyq;
    r[4] = ln.side[0].py - yd;
    r[5] = ln.side[1].py - yd;
    r[6] = 0.0;
    r[7] = 0.0;
}

// The row constants of the `n` lines of `lines`, kRowConstants apart.
inline void FillRowConstants(const FBLineConst* lines, int32_t y, int32_t n, double* rc)
{
    for (int32_t i = 0; i < n; ++i) {
        RowConstants(lines[i], y, rc + static_cast<size_t>(i) * kRowConstants);
    }
}

// The scratch of a kernel call, aligned for vectors.
inline double* AlignScratch(double* scratch)
{
    const auto at = reinterpret_cast<uintptr_t>(scratch);
    return reinterpret_cast<double*>((at + kScratchAlign - 1) & ~uintptr_t{kScratchAlign - 1});
}

inline bool Inside(const FBFrameJob& job, int32_t x, int32_t y)
{
    return x >= 0 && x < job.columns && y >= 0 && y < job.height;
}

// Writes the pixel at `dst` from the sample positions: nothing (black) when
// the source position is outside, the source's share alone when only the
// target position is outside, otherwise both shares added as bytes. With
// edges extended, positions outside are first moved onto the edge.
inline void SamplePixel(const FBFrameJob& job, uint8_t* dst, int32_t sx, int32_t sy, int32_t tx, int32_t ty)
{
    const int32_t bpp = job.bpp;
    ClampToPicture(job, sx, sy);
    ClampToPicture(job, tx, ty);
    if (!Inside(job, sx, sy)) {
        std::memset(dst, 0, static_cast<size_t>(bpp));
        return;
    }
    const uint8_t* a = job.pictures[0] + static_cast<size_t>(sy) * job.stride + static_cast<size_t>(sx) * bpp;
    const uint8_t* ca = job.contrib[0];
    if (!Inside(job, tx, ty)) {
        for (int32_t c = 0; c < bpp; ++c) {
            dst[c] = ca[a[c]];
        }
        return;
    }
    const uint8_t* b = job.pictures[1] + static_cast<size_t>(ty) * job.stride + static_cast<size_t>(tx) * bpp;
    const uint8_t* cb = job.contrib[1];
    if (bpp == 4) {
        dst[0] = static_cast<uint8_t>(ca[a[0]] + cb[b[0]]);
        dst[1] = static_cast<uint8_t>(ca[a[1]] + cb[b[1]]);
        dst[2] = static_cast<uint8_t>(ca[a[2]] + cb[b[2]]);
        dst[3] = static_cast<uint8_t>(ca[a[3]] + cb[b[3]]);
        return;
    }
    for (int32_t c = 0; c < bpp; ++c) {
        dst[c] = static_cast<uint8_t>(ca[a[c]] + cb[b[c]]);
    }
}

// Asks for the cache line of the 4-byte pixel at (x, y) of a picture. A
// position outside the picture is harmless: a prefetch never faults.
inline void PrefetchPixel(const FBFrameJob& job, int image, int32_t x, int32_t y)
{
    const auto offset = static_cast<uintptr_t>((int64_t{y} * job.columns + x) * 4);
    __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(job.pictures[image]) + offset));
}

// Bytes of a row after its last pixel position (fewer than B) stay 0.
inline void ClearRowTail(const FBFrameJob& job, uint8_t* row)
{
    const size_t used = static_cast<size_t>(job.columns) * static_cast<size_t>(job.bpp);
    if (job.stride > used) {
        std::memset(row + used, 0, job.stride - used);
    }
}

} // namespace
