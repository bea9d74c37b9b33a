#pragma once

#include <cstddef>
#include <cstdint>

// Per-frame data handed from the engines to their row kernels. The kernels
// exist once per instruction set (baseline, AVX2, AVX-512), each compiled in
// its own source file, and give byte-identical frames.

// Constants of one line pair taking part in a frame, as exact doubles: the
// in-between line P->Q and, per picture (0 source, 1 target), the line P'->Q'.
struct FBLineConst {
    double px, py; // P
    double qx, qy; // Q
    double dx, dy; // Q - P
    double ndy;    // P.y - Q.y
    double l2;     // dx^2 + dy^2
    double lenSD;  // sqrt(l2) rounded to single precision
    double lenW;   // sqrt of (l2 rounded to single precision), in single precision
    double invL2;  // 1 / l2, rounded
    double invSD;  // 1 / lenSD, rounded
    struct Side {
        double px, py;   // P'
        double dx, dy;   // Q' - P'
        double ndy;      // P'.y - Q'.y
        double adx;      // |dx|
        double ady;      // |dy|
        double sgnDx;    // +-0.0 carrying the sign of dx
        double sgnNdy;   // +-0.0 carrying the sign of ndy
        double len;      // sqrt(dx^2 + dy^2) rounded to single precision (>= 1)
        double invBelow; // a reciprocal of len a little below 1 / len
        double invAbove; // 1 / len rounded up
        bool quick;      // the perpendicular products stay within 2^26 (see the kernels)
    } side[2];
};

// Row constants a kernel keeps per line (scratch of kRowConstants doubles
// per line and thread).
constexpr int32_t kRowConstants = 8;

struct FBFrameJob {
    const FBLineConst* lines;
    int32_t count;   // line pairs taking part (>= 1)
    int32_t columns; // bmWidthBytes / B: pixel positions per row
    int32_t height;
    int32_t bpp;   // B, bytes per pixel
    size_t stride; // bmWidthBytes
    const uint8_t* pictures[2];
    uint8_t* out;              // stride x height bytes
    const uint8_t* contrib[2]; // 256 entries: trunc(byte x alpha) per picture
    // The same shares as (byte x scale) >> shift in 32-bit integers, and
    // whether the kernels may sample 4-byte pixels that way, 8 at a time.
    uint32_t shareScale[2];
    uint32_t shareShift[2];
    bool wholePixels;
    // Edges: 0, a sample outside the picture is black; otherwise the
    // picture's width, and such a sample takes the nearest edge pixel.
    int32_t clampColumns;
};

namespace {

// Moves a sample position outside the picture to the nearest pixel on its
// edge when the job extends edges; otherwise leaves it (internal linkage:
// each kernel source keeps its own copy for its instruction set).
inline void ClampToPicture(const FBFrameJob& job, int32_t& x, int32_t& y)
{
    if (job.clampColumns > 0) {
        x = x < 0 ? 0 : (x >= job.clampColumns ? job.clampColumns - 1 : x);
        y = y < 0 ? 0 : (y >= job.height ? job.height - 1 : y);
    }
}

} // namespace

// Computes rows [first, last) of a feature-morph frame whose lines passed
// the range check (every intermediate exact in double precision and inside
// the 32-bit range). `scratch` holds count x kRowConstants doubles.
using FBRowsKernel = void (*)(const FBFrameJob& job, int32_t first, int32_t last, double* scratch);

void FBRowsBaseline(const FBFrameJob& job, int32_t first, int32_t last, double* scratch);
void FBRowsAvx2(const FBFrameJob& job, int32_t first, int32_t last, double* scratch);
void FBRowsAvx512(const FBFrameJob& job, int32_t first, int32_t last, double* scratch);

struct DissolveJob {
    const uint8_t* source;
    const uint8_t* target;
    uint8_t* out;
    double weightSource;  // (N - k) / N
    double weightTarget;  // k / N
    const uint8_t* table; // 65536 entries, [t << 8 | s], for kernels that look up
};

// Dissolves bytes [first, last) of the job.
using DissolveKernel = void (*)(const DissolveJob& job, size_t first, size_t last);

void DissolveBaseline(const DissolveJob& job, size_t first, size_t last);
void DissolveAvx2(const DissolveJob& job, size_t first, size_t last);
