// Compiled with AVX-512 (F, DQ, BW, VL) enabled; called only when the
// processor has it (see ResolveKernelPath).
#include "FBVectorAvx512.h"

void FBRowsAvx512(const FBFrameJob& job, int32_t first, int32_t last, double* scratch)
{
    FeatureRowsSimd<Avx512>(job, first, last, scratch);
}
