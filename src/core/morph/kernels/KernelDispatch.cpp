#include "KernelDispatch.h"

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

FBRowsKernel SelectFBKernel(MorphKernelPath resolved)
{
    switch (resolved) {
    case MorphKernelPath::kAvx512:
        return FBRowsAvx512;
    case MorphKernelPath::kAvx2:
        return FBRowsAvx2;
    default:
        return FBRowsBaseline;
    }
}

// The dissolve has no AVX-512 kernel of its own: its AVX2 table lookups
// are faster than 8-lane double arithmetic or 16-lane gathers.
DissolveKernel SelectDissolveKernel(MorphKernelPath resolved)
{
    return resolved == MorphKernelPath::kBaseline ? DissolveBaseline : DissolveAvx2;
}

bool DissolveUsesTable(MorphKernelPath resolved)
{
    return resolved != MorphKernelPath::kBaseline;
}
