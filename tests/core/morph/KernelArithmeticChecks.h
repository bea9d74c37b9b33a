#pragma once

#include <cstdint>

// Checks of the vector kernels' exact arithmetic against plain scalar
// division and truncation. Each set is compiled for its instruction set and
// must be called only where the processor has it (CpuHasAvx2 and
// CpuHasAvx512). Results count the values compared and the wrong ones.
struct KernelCheckResult {
    int64_t checked = 0;
    int64_t wrong = 0;
};

// TruncDivLength: trunc(m / len') for whole m of either sign and
// single-precision len', by both of its ways, with m near multiples of len'.
KernelCheckResult CheckTruncDivAvx2(uint32_t seed, int32_t rounds);
KernelCheckResult CheckTruncDivAvx512(uint32_t seed, int32_t rounds);
// DivideByLineConstant: a / b for whole |a| <= 2^50 and b a whole number
// up to 2^50 or a single-precision length, mostly with a / b next to a
// number halfway between two doubles.
KernelCheckResult CheckDivideAvx2(uint32_t seed, int32_t rounds);
KernelCheckResult CheckDivideAvx512(uint32_t seed, int32_t rounds);
