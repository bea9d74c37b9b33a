#pragma once

#include <cstddef>
#include <cstdint>

// Per-frame data handed from the engines to their row kernels. The kernels
// exist once per instruction set (baseline, AVX2, AVX-512), each compiled in
// its own source file, and give byte-identical frames.

// Constants of one line pair taking part in a frame, as exact doubles: the
// in-between line P->Q and, per picture (0 source, 1 target), the line P'->Q'.
struct FBLineConst {
    double px, py;     // P
    double qx, qy;     // Q
    double dx, dy;     // Q - P
    double ndy;        // P.y - Q.y
    double l2;         // dx^2 + dy^2
    double lenSD;      // sqrt(l2) rounded to single precision
    double lenW;       // sqrt of (l2 rounded to single precision), in single precision
    double recipL2;    // 1 / l2, rounded to nearest
    double recipLenSD; // 1 / lenSD, rounded to nearest
    struct Side {
        double px, py;   // P'
        double dx, dy;   // Q' - P'
        double ndy;      // P'.y - Q'.y
        double len;      // sqrt(dx^2 + dy^2) rounded to single precision (>= 1)
        double invBelow; // a reciprocal of len a little below 1 / len
        double invAbove; // 1 / len rounded up
        bool quick;      // the perpendicular products stay within 2^26 (see the kernels)
    } side[2];
};

// Row constants of a line pair (the baseline kernel keeps kRowConstants
// doubles per line).
constexpr int32_t kRowConstants = 8;
// Scratch a kernel needs per line pair and thread, in doubles (the vector
// kernels keep each constant in every lane), and the alignment it makes of
// the scratch it is given, which therefore needs kScratchAlign bytes more.
constexpr int32_t kScratchPerLine = 256;
constexpr size_t kScratchAlign = 64;
// Line pairs a kernel holds in its scratch at a time: a frame of more pairs
// goes through them a block at a time, its sums kept between blocks, so the
// scratch of a thread does not grow with the pairs of a project.
constexpr int32_t kLineBlock = 64;
// Doubles of scratch a kernel call needs for `count` line pairs.
constexpr size_t FBScratchDoubles(int32_t count)
{
    const int32_t held = count < kLineBlock ? count : kLineBlock;
    return static_cast<size_t>(held > 0 ? held : 0) * kScratchPerLine + kScratchAlign / sizeof(double);
}

struct FBFrameJob {
    // The constants of the line pairs taking part: all of them in `lines`,
    // or, when `block` is set, made a block at a time by
    // block(blockSource, begin, n, out) into out[0 .. n) for pairs
    // [begin, begin + n) (n <= kLineBlock), so that a frame of very many
    // pairs needs no table of them all.
    const FBLineConst* lines;
    void (*block)(const void* blockSource, int32_t begin, int32_t n, FBLineConst* out);
    const void* blockSource;
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
    // Every share of the target is 0 (contrib[1] all 0): the target's
    // sample positions do not matter.
    bool targetUnused;
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

// The constants of pairs [begin, begin + n) of `job`: in its table, or made
// into `buffer` (kLineBlock of them at most).
inline const FBLineConst* LineBlock(const FBFrameJob& job, int32_t begin, int32_t n, FBLineConst* buffer)
{
    if (job.block == nullptr) return job.lines + begin;
    job.block(job.blockSource, begin, n, buffer);
    return buffer;
}

// Computes rows [first, last) of a feature-morph frame whose lines passed
// the range check (every intermediate exact in double precision and inside
// the 32-bit range). `scratch` holds FBScratchDoubles(count) doubles.
using FBRowsKernel = void (*)(const FBFrameJob& job, int32_t first, int32_t last, double* scratch);

void FBRowsBaseline(const FBFrameJob& job, int32_t first, int32_t last, double* scratch);
void FBRowsAvx2(const FBFrameJob& job, int32_t first, int32_t last, double* scratch);
void FBRowsAvx512(const FBFrameJob& job, int32_t first, int32_t last, double* scratch);

struct DissolveJob {
    const uint8_t* source;
    const uint8_t* target;
    uint8_t* out;
    double weightSource; // (N - k) / N
    double weightTarget; // k / N
    // The whole-number form (see CDissolveSetup): the byte is M div N with
    // M = s (N - k) + t k, the quotient taken as (M x divMagic) >> 16 >>
    // divShift.
    uint8_t stepsLeft; // N - k
    uint8_t stepsDone; // k
    uint16_t divMagic;
    uint16_t divShift;
    // The lookup form: the frame's result for every byte pair, [t << 8 | s]
    // (65536 entries and 4 bytes to spare).
    const uint8_t* table;
    // The corrected form's test in whole numbers (see CDissolveSetup).
    const struct DissolveRounding* rounding;
};

// Where M = s (N - k) + t k is a non-zero multiple j N of N, the byte is j
// less 1 exactly when (a + b - j) 2^59 < -2^(c + 5), where a and b are the
// rounded products s (N - k) / N and t k / N and c = ceil(log2 j): the sum
// then lies below the point halfway between j and the double before it.
// The left side is below 2^15 in size, so it is the 16-bit sum of a 2^59
// and b 2^59 taken modulo 2^16 (j 2^59 vanishes modulo 2^16). The tables
// hold those products' low and high bytes by s and t, and the low byte of
// -2^c by quotient j (its high byte is 0xff).
struct DissolveRounding {
    uint8_t sourceLow[256];
    uint8_t sourceHigh[256];
    uint8_t targetLow[256];
    uint8_t targetHigh[256];
    uint8_t limit[256];
};

// Dissolves bytes [first, last) of the job.
using DissolveKernel = void (*)(const DissolveJob& job, size_t first, size_t last);

// Doubles as the reference computes them; any frame.
void DissolveBaseline(const DissolveJob& job, size_t first, size_t last);
// The whole-number form.
void DissolveWholeAvx2(const DissolveJob& job, size_t first, size_t last);
void DissolveWholeAvx512(const DissolveJob& job, size_t first, size_t last);
// The lookup form, 8 bytes per gather (also takes the corrected form).
void DissolveTableAvx2(const DissolveJob& job, size_t first, size_t last);
// The corrected form: the whole-number fields and the rounding tables set.
void DissolveCorrectedAvx512(const DissolveJob& job, size_t first, size_t last);
