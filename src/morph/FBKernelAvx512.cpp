// Compiled with AVX-512 (F, DQ, BW, VL) enabled; called only when the
// processor has it (see ResolveKernelPath).
#include "FBKernelSimd.h"

// GCC 12's AVX-512 headers trip -Wmaybe-uninitialized on their own
// placeholder values (fixed in GCC 13).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop

namespace {

struct Avx512 {
    using D = __m512d;
    using M = __mmask8;
    static constexpr int32_t kLanes = 8;

    static D Set(double v) { return _mm512_set1_pd(v); }
    static D Iota(double base)
    {
        return _mm512_add_pd(_mm512_set1_pd(base), _mm512_setr_pd(0.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0));
    }
    static D Add(D a, D b) { return _mm512_add_pd(a, b); }
    static D Sub(D a, D b) { return _mm512_sub_pd(a, b); }
    static D Mul(D a, D b) { return _mm512_mul_pd(a, b); }
    static D Div(D a, D b) { return _mm512_div_pd(a, b); }
    static D NegMulAdd(D a, D b, D c) { return _mm512_fnmadd_pd(a, b, c); }
    // a x b + c with one rounding.
    static D MulAdd(D a, D b, D c) { return _mm512_fmadd_pd(a, b, c); }
    static D Exponent(D a) { return _mm512_and_pd(a, _mm512_castsi512_pd(_mm512_set1_epi64(0x7ff0000000000000))); }
    static constexpr int32_t kNewtonSteps = 2;
    static D ReciprocalEstimate(D a) { return _mm512_rcp14_pd(a); }
    static M Eq(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_EQ_OQ); }
    static bool All(M m) { return m == 0xff; }
    static D Trunc(D a) { return _mm512_roundscale_pd(a, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC); }
    // For 0 <= a < 2^52: adding 2^52 rounded toward zero drops the fraction.
    static D TruncNonNegative(D a)
    {
        const D big = _mm512_set1_pd(4503599627370496.0);
        return _mm512_sub_pd(_mm512_add_round_pd(a, big, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC), big);
    }
    static D Abs(D a) { return _mm512_abs_pd(a); }
    static D SignOf(D a) { return _mm512_and_pd(_mm512_set1_pd(-0.0), a); }
    static D Xor(D a, D b) { return _mm512_xor_pd(a, b); }
    static M Lt(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
    static M Gt(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_GT_OQ); }
    static M Ge(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_GE_OQ); }
    static M Or(M a, M b) { return static_cast<M>(a | b); }
    static D Select(M m, D ifTrue, D ifFalse) { return _mm512_mask_blend_pd(m, ifFalse, ifTrue); }
    static D AddOneWhere(D a, M m) { return _mm512_mask_add_pd(a, m, a, _mm512_set1_pd(1.0)); }
    static D OneWhere(M m) { return _mm512_maskz_mov_pd(m, _mm512_set1_pd(1.0)); }
    static D SqrtSingle(D a) { return _mm512_cvtps_pd(_mm256_sqrt_ps(_mm512_cvtpd_ps(a))); }
    static D Load(const double* p) { return _mm512_load_pd(p); }
    static void Store(double* p, D a) { _mm512_store_pd(p, a); }
};

} // namespace

void FBRowsAvx512(const FBFrameJob& job, int32_t first, int32_t last, double* scratch)
{
    FeatureRowsSimd<Avx512>(job, first, last, scratch);
}
