#pragma once

#include <cstddef>
#include <cstdint>

// Per-frame data of the smooth feature morph handed from the engine to its
// row kernels (see CSmoothFrame). A smooth frame is computed in single
// precision; the paths (baseline, AVX2, AVX-512) agree within rounding, not
// byte for byte.
//
// Every line pair takes frame position X to X + D(X), an affine map, so u,
// v and the displacements D toward both pictures are affine in (x, y): the
// engine reduces them to a step per pixel along a row (single precision)
// and a value at x = 0 of each row (from the doubles below, rounded once
// per row).

// One line pair taking part in a frame.
struct SmoothLine {
    float ux, vx;      // u and v per pixel along a row
    float l2;          // squared length of the in-between line
    float weightL2;    // that squared length times the frame's weight scale
    float dispX[2][2]; // [picture][x, y]: the displacement per pixel along a row
    // The values at (0, Y): at + Y perY, in double precision.
    double uAt, uPerY;
    double vAt, vPerY;
    double dispAt[2][2], dispPerY[2][2];
};

// Row values of a line pair (floats per row in a kernel's scratch): u, v
// and the displacements (x, y) toward the source and the target at x = 0.
constexpr int32_t kSmoothRowValues = 6;
// The most samples per pixel side (2 x 2 supersampling).
constexpr int32_t kSmoothMaxSupersample = 2;
// Scratch a kernel needs per line pair and thread, in floats, and the
// alignment it makes of it (which therefore needs that many bytes more).
constexpr int32_t kSmoothScratchPerLine = kSmoothRowValues * kSmoothMaxSupersample;
constexpr size_t kSmoothScratchAlign = 64;
// Line pairs whose row values a kernel holds at a time: a frame of more
// pairs goes through them a block at a time, so the scratch of a thread
// does not grow with the pairs of a project.
constexpr int32_t kSmoothLineBlock = 256;
// Floats of scratch a kernel call needs for `count` line pairs.
constexpr size_t SmoothScratchFloats(int32_t count)
{
    const int32_t held = count < kSmoothLineBlock ? count : kSmoothLineBlock;
    return static_cast<size_t>(held > 0 ? held : 0) * kSmoothScratchPerLine + kSmoothScratchAlign / sizeof(float);
}

struct SmoothFrameJob {
    const SmoothLine* lines;
    int32_t count;  // line pairs taking part (>= 1)
    int32_t width;  // pixels per row
    int32_t height; // rows
    int32_t bpp;    // bytes per pixel, 1 to 4
    size_t stride;  // bytes per row (both pictures and the frame)
    const uint8_t* pictures[2];
    uint8_t* out;
    // Each picture's share of a frame byte: out = round(alpha[0] S + alpha[1] T).
    float alpha[2];
    // alpha[1] is 0: the target's positions are not needed.
    bool targetUnused;
    // 1, or 2: each pixel is the average of the samples at x -/+ 1/4,
    // y -/+ 1/4.
    int32_t supersample;
    // 4-byte pixels of a picture of at least 2 x 2 whose pixel indices fit
    // in 31 bits: the vector kernels may gather them.
    bool gatherable;
};

// Computes rows [first, last) of a smooth frame. `scratch` holds
// SmoothScratchFloats(count) floats.
using SmoothRowsKernel = void (*)(const SmoothFrameJob& job, int32_t first, int32_t last, float* scratch);

void SmoothRowsBaseline(const SmoothFrameJob& job, int32_t first, int32_t last, float* scratch);
void SmoothRowsAvx2(const SmoothFrameJob& job, int32_t first, int32_t last, float* scratch);
void SmoothRowsAvx512(const SmoothFrameJob& job, int32_t first, int32_t last, float* scratch);
