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

bool CpuHasAvx512Vbmi()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    return CpuHasAvx512() && __builtin_cpu_supports("avx512vbmi");
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

bool DissolveTakesWholeNumbers(MorphKernelPath resolved)
{
    return resolved != MorphKernelPath::kBaseline;
}

// The lookups have no AVX-512 kernel of their own: 16-lane gathers are no
// faster than the AVX2 ones. A corrected frame goes to the lookups where the
// corrected kernel cannot run (the caller then fills its table).
DissolveKernel SelectDissolveKernel(MorphKernelPath resolved, DissolveForm form)
{
    if (!DissolveTakesWholeNumbers(resolved) || form == DissolveForm::kDoubles) {
        return DissolveBaseline;
    }
    if (form == DissolveForm::kCorrected && resolved == MorphKernelPath::kAvx512 && CpuHasAvx512Vbmi()) {
        return DissolveCorrectedAvx512;
    }
    if (form == DissolveForm::kTable || form == DissolveForm::kCorrected) {
        return DissolveTableAvx2;
    }
    return resolved == MorphKernelPath::kAvx512 ? DissolveWholeAvx512 : DissolveWholeAvx2;
}

bool DissolveKernelReadsTable(DissolveKernel kernel)
{
    return kernel == DissolveTableAvx2;
}
