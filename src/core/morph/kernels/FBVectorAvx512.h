#pragma once

// The vector interface of the feature-morph kernel for AVX-512 (F, DQ, BW,
// VL): lanes of doubles, their masks, and whole-pixel sampling. Include only
// from sources compiled for that instruction set; internal linkage
// throughout.

#include "FBKernelSimd.h"

// Built for x86-64 processors only (see CMakeLists.txt).
#if !defined(__x86_64__)
#error "the AVX2 and AVX-512 kernels are for x86-64 processors only"
#endif
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
    static bool None(M m) { return m == 0; }
    static bool All(M m) { return m == 0xff; }
    static D Select(M m, D ifTrue, D ifFalse) { return _mm512_mask_blend_pd(m, ifFalse, ifTrue); }
    static D AddOneWhere(D a, M m) { return _mm512_mask_add_pd(a, m, a, _mm512_set1_pd(1.0)); }
    static D SqrtSingle(D a) { return _mm512_cvtps_pd(_mm256_sqrt_ps(_mm512_cvtpd_ps(a))); }
    static D Load(const double* p) { return _mm512_load_pd(p); }
    static void Store(double* p, D a) { _mm512_store_pd(p, a); }

    // Shares of 8 pixels of 4 bytes in 32-bit lanes: (byte x scale) >> shift.
    static __m512i Shares(__m128i bytes, const FBFrameJob& job, int image)
    {
        const __m512i wide = _mm512_cvtepu8_epi32(bytes);
        const __m512i scaled = _mm512_mullo_epi32(wide, _mm512_set1_epi32(static_cast<int>(job.shareScale[image])));
        return _mm512_srl_epi32(scaled, _mm_cvtsi32_si128(static_cast<int>(job.shareShift[image])));
    }
    // Whole numbers inside the 32-bit range as 32-bit integers (aligned).
    static void StoreWhole(int32_t* p, D a)
    {
        _mm256_store_si256(reinterpret_cast<__m256i*>(p), _mm512_cvttpd_epi32(a));
    }
    static __m256i LoadWhole(const int32_t* p) { return _mm256_load_si256(reinterpret_cast<const __m256i*>(p)); }
    // Pixels of 4 bytes at the sample positions (stored by StoreWhole): a
    // position outside its picture reads as 0, which adds
    // nothing; outside the source picture the target is not read either.
    static void SampleWholePixels(const FBFrameJob& job, uint8_t* dst, const int32_t* sx, const int32_t* sy,
                                  const int32_t* tx, const int32_t* ty, int32_t lanes)
    {
        const __m256i cols = _mm256_set1_epi32(job.columns);
        const __m256i rows = _mm256_set1_epi32(job.height);
        const __m256i isx = LoadWhole(sx), isy = LoadWhole(sy);
        const __m256i itx = LoadWhole(tx), ity = LoadWhole(ty);
        const __mmask8 live = static_cast<__mmask8>((1u << lanes) - 1u);
        const __mmask8 inSource = live & _mm256_cmplt_epu32_mask(isx, cols) & _mm256_cmplt_epu32_mask(isy, rows);
        const __mmask8 inBoth = inSource & _mm256_cmplt_epu32_mask(itx, cols) & _mm256_cmplt_epu32_mask(ity, rows);
        const __m256i is = _mm256_add_epi32(_mm256_mullo_epi32(isy, cols), isx);
        const __m256i it = _mm256_add_epi32(_mm256_mullo_epi32(ity, cols), itx);
        const __m256i zero = _mm256_setzero_si256();
        const __m256i ps = _mm256_mmask_i32gather_epi32(zero, inSource, is, job.pictures[0], 4);
        const __m256i pt = _mm256_mmask_i32gather_epi32(zero, inBoth, it, job.pictures[1], 4);
        const __m512i lo =
            _mm512_add_epi32(Shares(_mm256_castsi256_si128(ps), job, 0), Shares(_mm256_castsi256_si128(pt), job, 1));
        const __m512i hi = _mm512_add_epi32(Shares(_mm256_extracti128_si256(ps, 1), job, 0),
                                            Shares(_mm256_extracti128_si256(pt, 1), job, 1));
        const __m256i bytes =
            _mm256_inserti128_si256(_mm256_castsi128_si256(_mm512_cvtepi32_epi8(lo)), _mm512_cvtepi32_epi8(hi), 1);
        _mm256_mask_storeu_epi8(dst, (lanes >= 8 ? 0xffffffffu : (1u << (4 * lanes)) - 1u), bytes);
    }
};

} // namespace
