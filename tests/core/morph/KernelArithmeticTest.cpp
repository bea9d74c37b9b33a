#include "KernelArithmeticChecks.h"
#include "morph/kernels/KernelDispatch.h"

#include <gtest/gtest.h>

namespace {

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

} // namespace
