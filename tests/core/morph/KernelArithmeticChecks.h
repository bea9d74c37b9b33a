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

// Quotient: the correctly rounded a / b from good, poor and useless
// reciprocals (the poor ones must be caught and divided instead).
KernelCheckResult CheckQuotientAvx2(uint32_t seed, int32_t rounds);
KernelCheckResult CheckQuotientAvx512(uint32_t seed, int32_t rounds);
// TruncDivLength: trunc(m / len') for whole m and single-precision len',
// by both of its ways, with m near multiples of len'.
KernelCheckResult CheckTruncDivAvx2(uint32_t seed, int32_t rounds);
KernelCheckResult CheckTruncDivAvx512(uint32_t seed, int32_t rounds);
