// Compiled with AVX2 and FMA enabled; called only when the processor has
// both (see ResolveKernelPath).
#include "FBKernelSimd.h"

#include <immintrin.h>

namespace {

struct Avx2 {
    using D = __m256d;
    using M = __m256d;
    static constexpr int32_t kLanes = 4;

    static D Set(double v) { return _mm256_set1_pd(v); }
    static D Iota(double base) { return _mm256_add_pd(_mm256_set1_pd(base), _mm256_setr_pd(0.0, 1.0, 2.0, 3.0)); }
    static D Add(D a, D b) { return _mm256_add_pd(a, b); }
    static D Sub(D a, D b) { return _mm256_sub_pd(a, b); }
    static D Mul(D a, D b) { return _mm256_mul_pd(a, b); }
    static D Div(D a, D b) { return _mm256_div_pd(a, b); }
    // c - a x b with one rounding.
    static D NegMulAdd(D a, D b, D c) { return _mm256_fnmadd_pd(a, b, c); }
    // a x b + c with one rounding.
    static D MulAdd(D a, D b, D c) { return _mm256_fmadd_pd(a, b, c); }
    static D Exponent(D a) { return _mm256_and_pd(a, _mm256_castsi256_pd(_mm256_set1_epi64x(0x7ff0000000000000))); }
    static constexpr int32_t kNewtonSteps = 3;
    static D ReciprocalEstimate(D a) { return _mm256_cvtps_pd(_mm_rcp_ps(_mm256_cvtpd_ps(a))); }
    static M Eq(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_EQ_OQ); }
    static bool All(M m) { return _mm256_movemask_pd(m) == 0xf; }
    static D Trunc(D a) { return _mm256_round_pd(a, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC); }
    static D TruncNonNegative(D a) { return Trunc(a); }
    static D Abs(D a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
    static D SignOf(D a) { return _mm256_and_pd(_mm256_set1_pd(-0.0), a); }
    static D Xor(D a, D b) { return _mm256_xor_pd(a, b); }
    static M Lt(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
    static M Gt(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
    static M Ge(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }
    static M Or(M a, M b) { return _mm256_or_pd(a, b); }
    static D Select(M m, D ifTrue, D ifFalse) { return _mm256_blendv_pd(ifFalse, ifTrue, m); }
    static D AddOneWhere(D a, M m) { return _mm256_add_pd(a, _mm256_and_pd(m, _mm256_set1_pd(1.0))); }
    static D OneWhere(M m) { return _mm256_and_pd(m, _mm256_set1_pd(1.0)); }
    // The square root in single precision of the value rounded to single
    // precision, widened back.
    static D SqrtSingle(D a) { return _mm256_cvtps_pd(_mm_sqrt_ps(_mm256_cvtpd_ps(a))); }
    static D Load(const double* p) { return _mm256_load_pd(p); }
    static void Store(double* p, D a) { _mm256_store_pd(p, a); }
};

} // namespace

void FBRowsAvx2(const FBFrameJob& job, int32_t first, int32_t last, double* scratch)
{
    FeatureRowsSimd<Avx2>(job, first, last, scratch);
}
