#pragma once

#include "MorphKernels.h"

#include <cstdint>

// The one place that chooses the row kernels of both engines for the
// processor. Tests and the benchmark force a path to compare them.

// Instruction-set paths of the kernels. kAuto takes the best one the
// processor offers.
enum class MorphKernelPath : int32_t { kAuto = 0, kBaseline = 1, kAvx2 = 2, kAvx512 = 3 };

// Which paths this processor can run.
bool CpuHasAvx2();
bool CpuHasAvx512();
// The AVX-512 path's extra for the corrected dissolve (VBMI).
bool CpuHasAvx512Vbmi();

// The path `wanted` resolves to on this processor: kAuto picks the best, a
// path the processor lacks falls back to the best below it.
MorphKernelPath ResolveKernelPath(MorphKernelPath wanted);

// The kernels of a resolved path.
FBRowsKernel SelectFBKernel(MorphKernelPath resolved);
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
