// The smooth feature-morph kernel for AVX2 and FMA: 8 pixels at a time in
// single precision. Compiled with AVX2 and FMA enabled; called only when the
// processor has both (see ResolveKernelPath).
#include "SmoothKernelSimd.h"

// Built for x86-64 processors only (see CMakeLists.txt).
#if !defined(__x86_64__)
#error "the AVX2 and AVX-512 kernels are for x86-64 processors only"
#endif
#include <immintrin.h>

namespace {

struct SmoothAvx2 {
    using D = __m256;
    static constexpr int32_t kLanes = 8;
    static constexpr bool kPixels4 = true;

    static D Set(float v) { return _mm256_set1_ps(v); }
    static D Iota(float base) { return _mm256_add_ps(_mm256_set1_ps(base), _mm256_setr_ps(0, 1, 2, 3, 4, 5, 6, 7)); }
    static D Add(D a, D b) { return _mm256_add_ps(a, b); }
    static D Sub(D a, D b) { return _mm256_sub_ps(a, b); }
    static D Mul(D a, D b) { return _mm256_mul_ps(a, b); }
    static D MulAdd(D a, D b, D c) { return _mm256_fmadd_ps(a, b, c); }
    // The second operand where the first is not a number.
    static D Min(D a, D b) { return _mm256_min_ps(a, b); }
    static D Max(D a, D b) { return _mm256_max_ps(a, b); }
    // The square root from the reciprocal square root's estimate and one
    // Newton step (relative error below 2^-21); 0 gives about 2^-60.
    static D Sqrt(D a)
    {
        const D x = _mm256_max_ps(a, Set(0x1p-120f));
        const D r = _mm256_rsqrt_ps(x);
        const D s = _mm256_mul_ps(x, r);
        const D h = _mm256_mul_ps(r, Set(0.5f));
        return _mm256_fmadd_ps(s, _mm256_fnmadd_ps(s, h, Set(0.5f)), s);
    }
    static D Div(D a, D b) { return _mm256_div_ps(a, b); }
    static D Load(const float* p) { return _mm256_loadu_ps(p); }
    static void Store(float* p, D a) { _mm256_storeu_ps(p, a); }

    // Byte c of every 32-bit lane as a float.
    static D Channel(__m256i pixels, int32_t c)
    {
        const __m256i pick = _mm256_set1_epi32(static_cast<int32_t>(0x80808000u | static_cast<uint32_t>(c)));
        return _mm256_cvtepi32_ps(_mm256_shuffle_epi8(pixels, _mm256_add_epi32(pick, Lanes())));
    }
    // Byte offsets of the 32-bit lanes within each 128-bit half.
    static __m256i Lanes() { return _mm256_setr_epi32(0, 4, 8, 12, 0, 4, 8, 12); }

    // Where the bilinear samples at (fx, fy) of a 4-byte picture of at least
    // 2 x 2 pixels read (job.gatherable): the byte offset of their top left
    // pixel and their fractions toward the pixels right of and below it.
    // Positions are first taken onto the picture (not a number: 0).
    static void Locate(const SmoothFrameJob& job, D fx, D fy, int32_t* offset, float* ax, float* ay)
    {
        const D x = _mm256_min_ps(_mm256_max_ps(fx, _mm256_setzero_ps()), Set(static_cast<float>(job.width - 1)));
        const D y = _mm256_min_ps(_mm256_max_ps(fy, _mm256_setzero_ps()), Set(static_cast<float>(job.height - 1)));
        const __m256i x0 = _mm256_min_epi32(_mm256_cvttps_epi32(x), _mm256_set1_epi32(job.width - 2));
        const __m256i y0 = _mm256_min_epi32(_mm256_cvttps_epi32(y), _mm256_set1_epi32(job.height - 2));
        _mm256_storeu_ps(ax, _mm256_sub_ps(x, _mm256_cvtepi32_ps(x0)));
        _mm256_storeu_ps(ay, _mm256_sub_ps(y, _mm256_cvtepi32_ps(y0)));
        const __m256i stride = _mm256_set1_epi32(static_cast<int32_t>(job.stride));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(offset),
                            _mm256_add_epi32(_mm256_mullo_epi32(y0, stride), _mm256_slli_epi32(x0, 2)));
    }

    // Pixels left (first) and right (second) of 8 samples from their pairs.
    static void Split(const uint64_t* pairs, __m256i& left, __m256i& right)
    {
        const __m256i order = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
        const __m256i a =
            _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(pairs)), order);
        const __m256i b =
            _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(pairs + 4)), order);
        left = _mm256_permute2x128_si256(a, b, 0x20);
        right = _mm256_permute2x128_si256(a, b, 0x31);
    }

    // Adds `scale` times the bilinear samples of the pixel pairs `top` and
    // `bottom` at fractions (ax, ay) to the channel sums `acc`.
    static void AddBilinear(const uint64_t* top, const uint64_t* bottom, D ax, D ay, float scale, D acc[4])
    {
        __m256i p00, p01, p10, p11;
        Split(top, p00, p01);
        Split(bottom, p10, p11);
        const D wy1 = _mm256_mul_ps(ay, Set(scale));
        const D wy0 = _mm256_sub_ps(Set(scale), wy1);
        const D w01 = _mm256_mul_ps(ax, wy0);
        const D w00 = _mm256_sub_ps(wy0, w01);
        const D w11 = _mm256_mul_ps(ax, wy1);
        const D w10 = _mm256_sub_ps(wy1, w11);
        for (int32_t c = 0; c < 4; ++c) {
            D sum = _mm256_fmadd_ps(w00, Channel(p00, c), acc[c]);
            sum = _mm256_fmadd_ps(w01, Channel(p01, c), sum);
            sum = _mm256_fmadd_ps(w10, Channel(p10, c), sum);
            acc[c] = _mm256_fmadd_ps(w11, Channel(p11, c), sum);
        }
    }

    // The channel sums rounded to bytes, as `lanes` 4-byte pixels at dst.
    static void StorePixels(uint8_t* dst, const D acc[4], int32_t lanes)
    {
        const D half = Set(0.5f);
        const __m256i top = _mm256_set1_epi32(255);
        __m256i pixels = _mm256_setzero_si256();
        for (int32_t c = 0; c < 4; ++c) {
            const __m256i b = _mm256_min_epi32(_mm256_cvttps_epi32(_mm256_add_ps(acc[c], half)), top);
            pixels = _mm256_or_si256(pixels, _mm256_slli_epi32(b, 8 * c));
        }
        if (lanes == kLanes) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), pixels);
        } else {
            alignas(32) uint8_t bytes[32];
            _mm256_store_si256(reinterpret_cast<__m256i*>(bytes), pixels);
            std::memcpy(dst, bytes, static_cast<size_t>(lanes) * 4);
        }
    }
};

} // namespace

void SmoothRowsAvx2(const SmoothFrameJob& job, int32_t first, int32_t last, float* scratch)
{
    SmoothRowsSimd<SmoothAvx2>(job, first, last, scratch);
}
