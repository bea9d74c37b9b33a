#pragma once

#include "MorphKernels.h"
#include "SmoothKernels.h"

#include <cstdint>

// The one place that chooses the row kernels of both engines for the
// processor. Tests and the benchmark force a path to compare them
// (ImageMorphing::SetKernelPath). The AVX2 and AVX-512 kernels exist on
// x86-64 only; elsewhere every path resolves to the baseline.
//
// The environment variable TREVALIN_KERNEL_PATH=baseline|avx2|avx512 makes
// the engines take that path where they would take the best one (kAuto), for
// benchmarks and bug reports. Where the processor lacks it, the best path
// below it is taken, and a one-line note on stderr says so (once per
// process); so does a value the variable does not know, which is ignored.

// Instruction-set paths of the kernels. kAuto takes the best one the
// processor offers.
enum class MorphKernelPath : int32_t { kAuto = 0, kBaseline = 1, kAvx2 = 2, kAvx512 = 3 };

// Which paths this processor can run.
bool CpuHasAvx2();
bool CpuHasAvx512();
// The AVX-512 path's extra for the corrected dissolve (VBMI).
bool CpuHasAvx512Vbmi();

// The path `wanted` resolves to on this processor: kAuto picks the one
// TREVALIN_KERNEL_PATH names, else the best; a path the processor lacks
// falls back to the best below it.
MorphKernelPath ResolveKernelPath(MorphKernelPath wanted);

// The paths a processor can run (AVX-512 only together with AVX2).
struct KernelPathSupport {
    bool avx2 = false;
    bool avx512 = false;
};
// ResolveKernelPath's choice for a processor with `support`: `wanted`, or
// for kAuto the path `named` (by TREVALIN_KERNEL_PATH; kAuto for none),
// falling back to the best path below it that the processor has.
MorphKernelPath ChooseKernelPath(MorphKernelPath wanted, MorphKernelPath named, KernelPathSupport support);
// The path a value of TREVALIN_KERNEL_PATH names, in any case: "baseline",
// "avx2" or "avx512", and kAuto for "auto", an empty value or none
// (nullptr). Any other value gives kAuto and sets `known` to false.
MorphKernelPath KernelPathFromName(const char* name, bool& known);
// The name of a path as TREVALIN_KERNEL_PATH takes it ("auto" for kAuto).
const char* KernelPathName(MorphKernelPath path);

// The kernels of a resolved path.
FBRowsKernel SelectFBKernel(MorphKernelPath resolved);
SmoothRowsKernel SelectSmoothKernel(MorphKernelPath resolved);
// The forms a cross-dissolve frame is handed to its kernel in (see
// DissolveJob): as the reference's doubles, in whole numbers, looked up in
// a table of the frame's results, or in whole numbers where they are exact
// and looked up where they may not be.
enum class DissolveForm : int32_t { kDoubles = 0, kWhole = 1, kTable = 2, kCorrected = 3 };

// Whether the resolved path takes frames in the whole-number and lookup
// forms (else it takes doubles).
bool DissolveTakesWholeNumbers(MorphKernelPath resolved);
// The dissolve kernel of a resolved path for a frame in `form`.
DissolveKernel SelectDissolveKernel(MorphKernelPath resolved, DissolveForm form);
// Whether the kernel looks the frame's results up in its table (which the
// caller then fills first).
bool DissolveKernelReadsTable(DissolveKernel kernel);
