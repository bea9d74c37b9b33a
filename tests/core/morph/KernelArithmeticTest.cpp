#include "KernelArithmeticChecks.h"
#include "morph/kernels/KernelDispatch.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kRounds = 200000;

TEST(KernelArithmetic, TruncatedDivisionByALength)
{
    if (CpuHasAvx2()) {
        const KernelCheckResult r = CheckTruncDivAvx2(3, kRounds);
        EXPECT_EQ(r.checked, 4 * kRounds);
        EXPECT_EQ(r.wrong, 0);
    }
    if (CpuHasAvx512()) {
        const KernelCheckResult r = CheckTruncDivAvx512(4, kRounds);
        EXPECT_EQ(r.checked, 8 * kRounds);
        EXPECT_EQ(r.wrong, 0);
    }
    if (!CpuHasAvx2()) {
        GTEST_SKIP() << "no AVX2 on this processor";
    }
}

TEST(KernelArithmetic, DivisionByALineConstant)
{
    if (CpuHasAvx2()) {
        const KernelCheckResult r = CheckDivideAvx2(5, kRounds);
        EXPECT_EQ(r.checked, 4 * kRounds);
        EXPECT_EQ(r.wrong, 0);
    }
    if (CpuHasAvx512()) {
        const KernelCheckResult r = CheckDivideAvx512(6, kRounds);
        EXPECT_EQ(r.checked, 8 * kRounds);
        EXPECT_EQ(r.wrong, 0);
    }
    if (!CpuHasAvx2()) {
        GTEST_SKIP() << "no AVX2 on this processor";
    }
}

} // namespace
