// Cross-dissolve with AVX-512: the reference arithmetic on 8 doubles at a
// time, 16 bytes per step.
#include "MorphKernels.h"

// GCC 12's AVX-512 headers trip -Wmaybe-uninitialized on their own
// placeholder values (fixed in GCC 13).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop

void DissolveAvx512(const DissolveJob& job, size_t first, size_t last)
{
    const __m512d ws = _mm512_set1_pd(job.weightSource);
    const __m512d wt = _mm512_set1_pd(job.weightTarget);
    size_t i = first;
    for (; i + 16 <= last; i += 16) {
        const __m512i s = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(job.source + i)));
        const __m512i t = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(job.target + i)));
        const __m512d s0 = _mm512_cvtepi32_pd(_mm512_castsi512_si256(s));
        const __m512d s1 = _mm512_cvtepi32_pd(_mm512_extracti64x4_epi64(s, 1));
        const __m512d t0 = _mm512_cvtepi32_pd(_mm512_castsi512_si256(t));
        const __m512d t1 = _mm512_cvtepi32_pd(_mm512_extracti64x4_epi64(t, 1));
        const __m256i r0 = _mm512_cvttpd_epi32(_mm512_add_pd(_mm512_mul_pd(s0, ws), _mm512_mul_pd(t0, wt)));
        const __m256i r1 = _mm512_cvttpd_epi32(_mm512_add_pd(_mm512_mul_pd(s1, ws), _mm512_mul_pd(t1, wt)));
        const __m512i r = _mm512_inserti64x4(_mm512_castsi256_si512(r0), r1, 1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(job.out + i), _mm512_cvtepi32_epi8(r));
    }
    for (; i < last; ++i) {
        job.out[i] = static_cast<uint8_t>(
            static_cast<int32_t>(job.source[i] * job.weightSource + job.target[i] * job.weightTarget));
    }
}
