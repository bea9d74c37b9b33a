// Cross-dissolve kernels of the baseline instruction set, and the choice of
// kernel path for the processor.
#include "MorphKernels.h"

void DissolveBaseline(const DissolveJob& job, size_t first, size_t last)
{
    const double ws = job.weightSource;
    const double wt = job.weightTarget;
    const uint8_t* s = job.source;
    const uint8_t* t = job.target;
    uint8_t* o = job.out;
    // With 0 <= k <= N the sum lies in [0, 256): the conversion is in range.
    for (size_t i = first; i < last; ++i) {
        o[i] = static_cast<uint8_t>(static_cast<int32_t>(s[i] * ws + t[i] * wt));
    }
}

bool CpuHasAvx2()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#else
    return false;
#endif
}

bool CpuHasAvx512()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    return CpuHasAvx2() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
           __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
#else
    return false;
#endif
}

MorphKernelPath ResolveKernelPath(MorphKernelPath wanted)
{
    if ((wanted == MorphKernelPath::kAuto || wanted == MorphKernelPath::kAvx512) && CpuHasAvx512()) {
        return MorphKernelPath::kAvx512;
    }
    if (wanted != MorphKernelPath::kBaseline && CpuHasAvx2()) {
        return MorphKernelPath::kAvx2;
    }
    return MorphKernelPath::kBaseline;
}
