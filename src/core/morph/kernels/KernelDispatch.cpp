#include "KernelDispatch.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <strings.h>

bool CpuHasAvx2()
{
#if defined(__x86_64__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#else
    return false;
#endif
}

bool CpuHasAvx512()
{
#if defined(__x86_64__)
    __builtin_cpu_init();
    return CpuHasAvx2() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
           __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
#else
    return false;
#endif
}

bool CpuHasAvx512Vbmi()
{
#if defined(__x86_64__)
    __builtin_cpu_init();
    return CpuHasAvx512() && __builtin_cpu_supports("avx512vbmi");
#else
    return false;
#endif
}

MorphKernelPath ChooseKernelPath(MorphKernelPath wanted, MorphKernelPath named, KernelPathSupport support)
{
    if (wanted == MorphKernelPath::kAuto) {
        wanted = named;
    }
    if ((wanted == MorphKernelPath::kAuto || wanted == MorphKernelPath::kAvx512) && support.avx512) {
        return MorphKernelPath::kAvx512;
    }
    if (wanted != MorphKernelPath::kBaseline && support.avx2) {
        return MorphKernelPath::kAvx2;
    }
    return MorphKernelPath::kBaseline;
}

MorphKernelPath KernelPathFromName(const char* name, bool& known)
{
    known = true;
    if (name == nullptr || *name == '\0' || strcasecmp(name, "auto") == 0) {
        return MorphKernelPath::kAuto;
    }
    for (const MorphKernelPath path : {MorphKernelPath::kBaseline, MorphKernelPath::kAvx2, MorphKernelPath::kAvx512}) {
        if (strcasecmp(name, KernelPathName(path)) == 0) {
            return path;
        }
    }
    known = false;
    return MorphKernelPath::kAuto;
}

const char* KernelPathName(MorphKernelPath path)
{
    switch (path) {
    case MorphKernelPath::kBaseline:
        return "baseline";
    case MorphKernelPath::kAvx2:
        return "avx2";
    case MorphKernelPath::kAvx512:
        return "avx512";
    default:
        return "auto";
    }
}

namespace {

KernelPathSupport ProcessorSupport()
{
    return {CpuHasAvx2(), CpuHasAvx512()};
}

// The path TREVALIN_KERNEL_PATH names, read once, at the first frame
// computed on kAuto; a note on stderr where it cannot be followed.
MorphKernelPath NamedKernelPath()
{
    static const MorphKernelPath named = [] {
        const char* value = std::getenv("TREVALIN_KERNEL_PATH");
        bool known = true;
        const MorphKernelPath path = KernelPathFromName(value, known);
        if (!known) {
            std::fprintf(stderr, "TREVALIN_KERNEL_PATH=%s is none of baseline, avx2, avx512: ignored\n", value);
        } else if (path != MorphKernelPath::kAuto) {
            const MorphKernelPath taken = ChooseKernelPath(path, MorphKernelPath::kAuto, ProcessorSupport());
            if (taken != path) {
                std::fprintf(stderr, "TREVALIN_KERNEL_PATH=%s: this processor lacks it, the %s path is taken\n", value,
                             KernelPathName(taken));
            }
        }
        return path;
    }();
    return named;
}

} // namespace

MorphKernelPath ResolveKernelPath(MorphKernelPath wanted)
{
    const MorphKernelPath named = wanted == MorphKernelPath::kAuto ? NamedKernelPath() : MorphKernelPath::kAuto;
    return ChooseKernelPath(wanted, named, ProcessorSupport());
}

FBRowsKernel SelectFBKernel([[maybe_unused]] MorphKernelPath resolved)
{
#if defined(__x86_64__)
    switch (resolved) {
    case MorphKernelPath::kAvx512:
        return FBRowsAvx512;
    case MorphKernelPath::kAvx2:
        return FBRowsAvx2;
    default:
        break;
    }
#endif
    return FBRowsBaseline;
}

SmoothRowsKernel SelectSmoothKernel([[maybe_unused]] MorphKernelPath resolved)
{
#if defined(__x86_64__)
    switch (resolved) {
    case MorphKernelPath::kAvx512:
        return SmoothRowsAvx512;
    case MorphKernelPath::kAvx2:
        return SmoothRowsAvx2;
    default:
        break;
    }
#endif
    return SmoothRowsBaseline;
}

bool DissolveTakesWholeNumbers([[maybe_unused]] MorphKernelPath resolved)
{
#if defined(__x86_64__)
    return resolved != MorphKernelPath::kBaseline;
#else
    return false;
#endif
}

// The lookups have no AVX-512 kernel of their own: 16-lane gathers are no
// faster than the AVX2 ones. A corrected frame goes to the lookups where the
// corrected kernel cannot run (the caller then fills its table).
DissolveKernel SelectDissolveKernel([[maybe_unused]] MorphKernelPath resolved, [[maybe_unused]] DissolveForm form)
{
#if defined(__x86_64__)
    if (DissolveTakesWholeNumbers(resolved) && form != DissolveForm::kDoubles) {
        if (form == DissolveForm::kCorrected && resolved == MorphKernelPath::kAvx512 && CpuHasAvx512Vbmi()) {
            return DissolveCorrectedAvx512;
        }
        if (form == DissolveForm::kTable || form == DissolveForm::kCorrected) {
            return DissolveTableAvx2;
        }
        return resolved == MorphKernelPath::kAvx512 ? DissolveWholeAvx512 : DissolveWholeAvx2;
    }
#endif
    return DissolveBaseline;
}

bool DissolveKernelReadsTable([[maybe_unused]] DissolveKernel kernel)
{
#if defined(__x86_64__)
    return kernel == DissolveTableAvx2;
#else
    return false;
#endif
}
