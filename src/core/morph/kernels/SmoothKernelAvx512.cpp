// The smooth feature-morph kernel for AVX-512 (F, DQ, BW, VL): 16 pixels at
// a time in single precision. Called only when the processor has that
// instruction set (see ResolveKernelPath).
#include "SmoothKernelSimd.h"

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

struct SmoothAvx512 {
    using D = __m512;
    static constexpr int32_t kLanes = 16;
    static constexpr bool kPixels4 = true;

    static D Set(float v) { return _mm512_set1_ps(v); }
    static D Iota(float base)
    {
        return _mm512_add_ps(_mm512_set1_ps(base),
                             _mm512_setr_ps(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
    }
    static D Add(D a, D b) { return _mm512_add_ps(a, b); }
    static D Sub(D a, D b) { return _mm512_sub_ps(a, b); }
    static D Mul(D a, D b) { return _mm512_mul_ps(a, b); }
    static D MulAdd(D a, D b, D c) { return _mm512_fmadd_ps(a, b, c); }
    // The second operand where the first is not a number.
    static D Min(D a, D b) { return _mm512_min_ps(a, b); }
    static D Max(D a, D b) { return _mm512_max_ps(a, b); }
    // The square root from the reciprocal square root's estimate and one
    // Newton step (relative error below 2^-21); 0 gives about 2^-60.
    static D Sqrt(D a)
    {
        const D x = _mm512_max_ps(a, Set(0x1p-120f));
        const D r = _mm512_rsqrt14_ps(x);
        const D s = _mm512_mul_ps(x, r);
        const D h = _mm512_mul_ps(r, Set(0.5f));
        return _mm512_fmadd_ps(s, _mm512_fnmadd_ps(s, h, Set(0.5f)), s);
    }
    static D Div(D a, D b) { return _mm512_div_ps(a, b); }
    static D Load(const float* p) { return _mm512_loadu_ps(p); }
    static void Store(float* p, D a) { _mm512_storeu_ps(p, a); }

    // Byte c of every 32-bit lane as a float.
    static D Channel(__m512i pixels, int32_t c)
    {
        const __m512i pick = _mm512_set1_epi32(static_cast<int32_t>(0x80808000u | static_cast<uint32_t>(c)));
        const __m512i lanes = _mm512_setr_epi32(0, 4, 8, 12, 0, 4, 8, 12, 0, 4, 8, 12, 0, 4, 8, 12);
        return _mm512_cvtepi32_ps(_mm512_shuffle_epi8(pixels, _mm512_add_epi32(pick, lanes)));
    }

    // As the AVX2 interface's.
    static void Locate(const SmoothFrameJob& job, D fx, D fy, int32_t* offset, float* ax, float* ay)
    {
        const D x = _mm512_min_ps(_mm512_max_ps(fx, _mm512_setzero_ps()), Set(static_cast<float>(job.width - 1)));
        const D y = _mm512_min_ps(_mm512_max_ps(fy, _mm512_setzero_ps()), Set(static_cast<float>(job.height - 1)));
        const __m512i x0 = _mm512_min_epi32(_mm512_cvttps_epi32(x), _mm512_set1_epi32(job.width - 2));
        const __m512i y0 = _mm512_min_epi32(_mm512_cvttps_epi32(y), _mm512_set1_epi32(job.height - 2));
        _mm512_storeu_ps(ax, _mm512_sub_ps(x, _mm512_cvtepi32_ps(x0)));
        _mm512_storeu_ps(ay, _mm512_sub_ps(y, _mm512_cvtepi32_ps(y0)));
        const __m512i stride = _mm512_set1_epi32(static_cast<int32_t>(job.stride));
        _mm512_storeu_si512(offset, _mm512_add_epi32(_mm512_mullo_epi32(y0, stride), _mm512_slli_epi32(x0, 2)));
    }

    // Pixels left (first) and right (second) of 16 samples from their pairs.
    static void Split(const uint64_t* pairs, __m512i& left, __m512i& right)
    {
        const __m512i a = _mm512_loadu_si512(pairs), b = _mm512_loadu_si512(pairs + 8);
        const __m512i even = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
        left = _mm512_permutex2var_epi32(a, even, b);
        right = _mm512_permutex2var_epi32(a, _mm512_add_epi32(even, _mm512_set1_epi32(1)), b);
    }

    // As the AVX2 interface's.
    static void AddBilinear(const uint64_t* top, const uint64_t* bottom, D ax, D ay, float scale, D acc[4])
    {
        __m512i p00, p01, p10, p11;
        Split(top, p00, p01);
        Split(bottom, p10, p11);
        const D wy1 = _mm512_mul_ps(ay, Set(scale));
        const D wy0 = _mm512_sub_ps(Set(scale), wy1);
        const D w01 = _mm512_mul_ps(ax, wy0);
        const D w00 = _mm512_sub_ps(wy0, w01);
        const D w11 = _mm512_mul_ps(ax, wy1);
        const D w10 = _mm512_sub_ps(wy1, w11);
        for (int32_t c = 0; c < 4; ++c) {
            D sum = _mm512_fmadd_ps(w00, Channel(p00, c), acc[c]);
            sum = _mm512_fmadd_ps(w01, Channel(p01, c), sum);
            sum = _mm512_fmadd_ps(w10, Channel(p10, c), sum);
            acc[c] = _mm512_fmadd_ps(w11, Channel(p11, c), sum);
        }
    }

    // The channel sums rounded to bytes, as `lanes` 4-byte pixels at dst.
    static void StorePixels(uint8_t* dst, const D acc[4], int32_t lanes)
    {
        const D half = Set(0.5f);
        const __m512i top = _mm512_set1_epi32(255);
        __m512i pixels = _mm512_setzero_si512();
        for (int32_t c = 0; c < 4; ++c) {
            const __m512i b = _mm512_min_epi32(_mm512_cvttps_epi32(_mm512_add_ps(acc[c], half)), top);
            pixels = _mm512_or_si512(pixels, _mm512_slli_epi32(b, static_cast<unsigned>(8 * c)));
        }
        const __mmask16 live = lanes >= kLanes ? __mmask16{0xffff} : static_cast<__mmask16>((1u << lanes) - 1u);
        _mm512_mask_storeu_epi32(dst, live, pixels);
    }
};

} // namespace

void SmoothRowsAvx512(const SmoothFrameJob& job, int32_t first, int32_t last, float* scratch)
{
    SmoothRowsSimd<SmoothAvx512>(job, first, last, scratch);
}
