#include "KernelArithmeticChecks.h"
#include "morph/CDissolveSetup.h"
#include "morph/kernels/KernelDispatch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The AVX2 and AVX-512 kernels and these checks of them are built for x86-64
// only (see the kernels' CMakeLists.txt).
#if defined(__x86_64__)
constexpr int32_t kRounds = 200000;

using CheckFunction = KernelCheckResult (*)(uint32_t seed, int32_t rounds);

// The vector kernels' exact divisions against scalar ones, on each
// instruction set the processor has.
TEST(KernelArithmetic, ExactDivisions)
{
    const struct {
        const char* name;
        CheckFunction avx2, avx512;
    } checks[] = {
        {"trunc(m / len')", CheckTruncDivAvx2, CheckTruncDivAvx512},
        {"a / line constant", CheckDivideAvx2, CheckDivideAvx512},
    };
    if (!CpuHasAvx2()) {
        GTEST_SKIP() << "no AVX2 on this processor";
    }
    uint32_t seed = 3;
    for (const auto& check : checks) {
        const KernelCheckResult r2 = check.avx2(seed++, kRounds);
        EXPECT_EQ(r2.checked, 4 * kRounds) << check.name;
        EXPECT_EQ(r2.wrong, 0) << check.name << ", AVX2";
        if (CpuHasAvx512()) {
            const KernelCheckResult r512 = check.avx512(seed++, kRounds);
            EXPECT_EQ(r512.checked, 8 * kRounds) << check.name;
            EXPECT_EQ(r512.wrong, 0) << check.name << ", AVX-512";
        }
    }
}
#else
TEST(KernelArithmetic, ExactDivisions)
{
    GTEST_SKIP() << "no AVX2 kernels on this processor";
}
#endif

// The AVX-512 dissolve decides in whole numbers where the rounding of the
// doubles makes a result one less: every byte pair of every such frame of
// up to the largest whole-number step count, against the doubles.
TEST(KernelArithmetic, CorrectedDissolveOnEveryFrame)
{
    const DissolveKernel kernel = SelectDissolveKernel(MorphKernelPath::kAvx512, DissolveForm::kCorrected);
    if (!CpuHasAvx512Vbmi()) {
        GTEST_SKIP() << "no AVX-512 VBMI on this processor";
    }
    std::vector<uint8_t> s(65536), t(65536), out(65536);
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] = static_cast<uint8_t>(i);
        t[i] = static_cast<uint8_t>(i >> 8);
    }
    int32_t corrected = 0;
    for (int32_t n = 2; n <= CDissolveSetup::kMaxSteps; ++n) {
        CDissolveSetup setup;
        for (int32_t k = 1; k < n; ++k) {
            DissolveJob job{};
            job.source = s.data();
            job.target = t.data();
            job.out = out.data();
            job.weightSource = (static_cast<double>(n) - k) / n;
            job.weightTarget = static_cast<double>(k) / n;
            if (setup.Prepare(static_cast<float>(n), k, job) != CDissolveSetup::Form::kCorrected) {
                continue;
            }
            ++corrected;
            kernel(job, 0, out.size());
            size_t i = 0;
            while (i < out.size() &&
                   out[i] == static_cast<uint8_t>(s[i] * job.weightSource + t[i] * job.weightTarget)) {
                ++i;
            }
            ASSERT_EQ(i, out.size()) << "s=" << int{s[i]} << " t=" << int{t[i]} << ", frame " << k << " of " << n;
        }
    }
    EXPECT_GT(corrected, 5000);
}

} // namespace
