// Compiled with AVX2 and FMA (see CMakeLists.txt); called only where the
// processor has them.
#include "morph/kernels/FBVectorAvx2.h"
#include "KernelArithmeticChecksImpl.h"

KernelCheckResult CheckTruncDivAvx2(uint32_t seed, int32_t rounds)
{
    return CheckTruncDiv<Avx2>(seed, rounds);
}

KernelCheckResult CheckDivideAvx2(uint32_t seed, int32_t rounds)
{
    return CheckDivide<Avx2>(seed, rounds);
}
