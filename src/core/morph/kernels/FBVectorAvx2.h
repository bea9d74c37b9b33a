#pragma once

// The vector interface of the feature-morph kernel for AVX2 and FMA: lanes
// of doubles, their masks, and whole-pixel sampling. Include only from
// sources compiled for that instruction set; internal linkage throughout.

#include "FBKernelSimd.h"

// Built for x86-64 processors only (see CMakeLists.txt).
#if !defined(__x86_64__)
#error "the AVX2 and AVX-512 kernels are for x86-64 processors only"
#endif
#include <immintrin.h>
#include <cstring>

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
    static D Trunc(D a) { return _mm256_round_pd(a, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC); }
    static D TruncNonNegative(D a) { return Trunc(a); }
    static D Abs(D a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
    static D SignOf(D a) { return _mm256_and_pd(_mm256_set1_pd(-0.0), a); }
    static D Xor(D a, D b) { return _mm256_xor_pd(a, b); }
    static M Lt(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
    static M Gt(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
    static M Ge(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }
    static M Or(M a, M b) { return _mm256_or_pd(a, b); }
    static bool None(M m) { return _mm256_testz_pd(m, m) != 0; }
    static bool All(M m) { return _mm256_movemask_pd(m) == 0xf; }
    static D Select(M m, D ifTrue, D ifFalse) { return _mm256_blendv_pd(ifFalse, ifTrue, m); }
    static D AddOneWhere(D a, M m) { return _mm256_add_pd(a, _mm256_and_pd(m, _mm256_set1_pd(1.0))); }
    // The square root in single precision of the value rounded to single
    // precision, widened back.
    static D SqrtSingle(D a) { return _mm256_cvtps_pd(_mm_sqrt_ps(_mm256_cvtpd_ps(a))); }
    static D Load(const double* p) { return _mm256_load_pd(p); }
    static void Store(double* p, D a) { _mm256_store_pd(p, a); }

    // Shares of 4 pixels of 4 bytes in 32-bit lanes: (byte x scale) >> shift.
    static __m256i Shares(__m128i bytes, const FBFrameJob& job, int image)
    {
        const __m256i scale = _mm256_set1_epi32(static_cast<int>(job.shareScale[image]));
        const __m128i shift = _mm_cvtsi32_si128(static_cast<int>(job.shareShift[image]));
        return _mm256_srl_epi32(_mm256_mullo_epi32(_mm256_cvtepu8_epi32(bytes), scale), shift);
    }
    // Whole numbers inside the 32-bit range as 32-bit integers (aligned).
    static void StoreWhole(int32_t* p, D a) { _mm_store_si128(reinterpret_cast<__m128i*>(p), _mm256_cvttpd_epi32(a)); }
    static __m128i LoadWhole(const int32_t* p) { return _mm_load_si128(reinterpret_cast<const __m128i*>(p)); }
    // Pixels of 4 bytes at the sample positions (stored by StoreWhole): a
    // position outside its picture reads as 0, which adds
    // nothing; outside the source picture the target is not read either.
    static void SampleWholePixels(const FBFrameJob& job, uint8_t* dst, const int32_t* sx, const int32_t* sy,
                                  const int32_t* tx, const int32_t* ty, int32_t lanes)
    {
        const __m128i cols = _mm_set1_epi32(job.columns);
        const __m128i rows = _mm_set1_epi32(job.height);
        const __m128i isx = LoadWhole(sx), isy = LoadWhole(sy);
        const __m128i itx = LoadWhole(tx), ity = LoadWhole(ty);
        // 0 <= v < n as one signed comparison after flipping the sign bits.
        const __m128i flip = _mm_set1_epi32(INT32_MIN);
        auto below = [&flip](__m128i v, __m128i n) {
            return _mm_cmpgt_epi32(_mm_xor_si128(n, flip), _mm_xor_si128(v, flip));
        };
        const __m128i live = _mm_cmpgt_epi32(_mm_set1_epi32(lanes), _mm_setr_epi32(0, 1, 2, 3));
        const __m128i inSource = _mm_and_si128(live, _mm_and_si128(below(isx, cols), below(isy, rows)));
        const __m128i inBoth = _mm_and_si128(inSource, _mm_and_si128(below(itx, cols), below(ity, rows)));
        const __m128i is = _mm_add_epi32(_mm_mullo_epi32(isy, cols), isx);
        const __m128i it = _mm_add_epi32(_mm_mullo_epi32(ity, cols), itx);
        const __m128i zero = _mm_setzero_si128();
        const __m128i ps =
            _mm_mask_i32gather_epi32(zero, reinterpret_cast<const int*>(job.pictures[0]), is, inSource, 4);
        const __m128i pt = _mm_mask_i32gather_epi32(zero, reinterpret_cast<const int*>(job.pictures[1]), it, inBoth, 4);
        const __m256i lo = _mm256_add_epi32(Shares(ps, job, 0), Shares(pt, job, 1));
        const __m256i hi =
            _mm256_add_epi32(Shares(_mm_unpackhi_epi64(ps, ps), job, 0), Shares(_mm_unpackhi_epi64(pt, pt), job, 1));
        // Low byte of each 32-bit lane, in order: 8 bytes from each half.
        const __m256i pick = _mm256_setr_epi8(0, 4, 8, 12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 4, 8, 12,
                                              -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
        const __m256i a = _mm256_shuffle_epi8(lo, pick);
        const __m256i b = _mm256_shuffle_epi8(hi, pick);
        alignas(16) uint8_t out[16];
        _mm_store_si128(
            reinterpret_cast<__m128i*>(out),
            _mm_unpacklo_epi64(_mm_unpacklo_epi32(_mm256_castsi256_si128(a), _mm256_extracti128_si256(a, 1)),
                               _mm_unpacklo_epi32(_mm256_castsi256_si128(b), _mm256_extracti128_si256(b, 1))));
        std::memcpy(dst, out, static_cast<size_t>(lanes) * 4);
    }
};

} // namespace
