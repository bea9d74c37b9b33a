// Compiled with AVX-512 (see CMakeLists.txt); called only where the
// processor has it.
#include "morph/kernels/FBVectorAvx512.h"
#include "KernelArithmeticChecksImpl.h"

KernelCheckResult CheckTruncDivAvx512(uint32_t seed, int32_t rounds)
{
    return CheckTruncDiv<Avx512>(seed, rounds);
}

KernelCheckResult CheckDivideAvx512(uint32_t seed, int32_t rounds)
{
    return CheckDivide<Avx512>(seed, rounds);
}
