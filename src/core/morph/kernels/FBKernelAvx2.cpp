// Compiled with AVX2 and FMA enabled; called only when the processor has
// both (see ResolveKernelPath).
#include "FBVectorAvx2.h"

void FBRowsAvx2(const FBFrameJob& job, int32_t first, int32_t last, double* scratch)
{
    FeatureRowsSimd<Avx2>(job, first, last, scratch);
}
