#include "morph/kernels/KernelDispatch.h"

#include <gtest/gtest.h>

namespace {

using P = MorphKernelPath;

// Values of TREVALIN_KERNEL_PATH and the paths they name.
TEST(KernelDispatch, PathFromName)
{
    const struct {
        const char* name;
        P path;
        bool known;
    } cases[] = {
        {nullptr, P::kAuto, true},        {"", P::kAuto, true},      {"auto", P::kAuto, true},
        {"baseline", P::kBaseline, true}, {"AVX2", P::kAvx2, true},  {"avx512", P::kAvx512, true},
        {"avx-512", P::kAuto, false},     {"sse4", P::kAuto, false}, {"avx2 ", P::kAuto, false},
    };
    for (const auto& c : cases) {
        bool known = !c.known;
        EXPECT_EQ(KernelPathFromName(c.name, known), c.path) << (c.name ? c.name : "(none)");
        EXPECT_EQ(known, c.known) << (c.name ? c.name : "(none)");
    }
    for (const P path : {P::kAuto, P::kBaseline, P::kAvx2, P::kAvx512}) {
        bool known = false;
        EXPECT_EQ(KernelPathFromName(KernelPathName(path), known), path);
    }
}

// The path taken for a wanted path, the one the variable names, and what a
// processor supports: a forced path wins over the variable, and a path the
// processor lacks falls back to the best below it.
TEST(KernelDispatch, ChoiceWithNamedPath)
{
    const KernelPathSupport none{false, false}, avx2{true, false}, all{true, true};
    const struct {
        P wanted, named;
        KernelPathSupport support;
        P taken;
    } cases[] = {
        {P::kAuto, P::kAuto, all, P::kAvx512},         {P::kAuto, P::kAuto, avx2, P::kAvx2},
        {P::kAuto, P::kAuto, none, P::kBaseline},      {P::kAuto, P::kBaseline, all, P::kBaseline},
        {P::kAuto, P::kAvx2, all, P::kAvx2},           {P::kAuto, P::kAvx512, avx2, P::kAvx2},
        {P::kAuto, P::kAvx512, none, P::kBaseline},    {P::kAvx2, P::kBaseline, all, P::kAvx2},
        {P::kBaseline, P::kAvx512, all, P::kBaseline}, {P::kAvx512, P::kAuto, none, P::kBaseline},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseKernelPath(c.wanted, c.named, c.support), c.taken)
            << KernelPathName(c.wanted) << " wanted, " << KernelPathName(c.named) << " named, support "
            << c.support.avx2 << c.support.avx512;
    }
}

// Each resolved path has its own smooth kernel (x86-64 only: elsewhere all
// are the baseline).
TEST(KernelDispatch, SmoothKernelOfEachPath)
{
#if defined(__x86_64__)
    const SmoothRowsKernel expected[] = {SmoothRowsBaseline, SmoothRowsAvx2, SmoothRowsAvx512};
#else
    const SmoothRowsKernel expected[] = {SmoothRowsBaseline, SmoothRowsBaseline, SmoothRowsBaseline};
#endif
    const P paths[] = {P::kBaseline, P::kAvx2, P::kAvx512};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(SelectSmoothKernel(paths[i]), expected[i]) << KernelPathName(paths[i]);
    }
}

} // namespace
