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

// The path `wanted` resolves to on this processor: kAuto picks the best, a
// path the processor lacks falls back to the best below it.
MorphKernelPath ResolveKernelPath(MorphKernelPath wanted);

// The kernels of a resolved path.
FBRowsKernel SelectFBKernel(MorphKernelPath resolved);
DissolveKernel SelectDissolveKernel(MorphKernelPath resolved);

// Whether the dissolve kernel of a resolved path looks its bytes up in
// DissolveJob::table (which the engine then fills).
bool DissolveUsesTable(MorphKernelPath resolved);
