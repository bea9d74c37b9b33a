// Cross-dissolve with AVX2 in the lookup form (see DissolveJob): the
// frame's 65536 results looked up 8 bytes per gather.
#include "MorphKernels.h"

// Built for x86-64 processors only (see CMakeLists.txt).
#if !defined(__x86_64__)
#error "the AVX2 and AVX-512 kernels are for x86-64 processors only"
#endif
#include <immintrin.h>

void DissolveTableAvx2(const DissolveJob& job, size_t first, size_t last)
{
    const auto* table = reinterpret_cast<const int*>(job.table);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i low = _mm256_set1_epi32(0xff);
    size_t i = first;
    for (; i + 32 <= last; i += 32) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(job.source + i));
        const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(job.target + i));
        // Indices t << 8 | s as 16-bit words, then 32-bit lanes; the unpacks
        // and the packs below work within 128-bit halves alike, so the bytes
        // come back in their order.
        const __m256i w0 = _mm256_unpacklo_epi8(s, t);
        const __m256i w1 = _mm256_unpackhi_epi8(s, t);
        __m256i d0 = _mm256_unpacklo_epi16(w0, zero);
        __m256i d1 = _mm256_unpackhi_epi16(w0, zero);
        __m256i d2 = _mm256_unpacklo_epi16(w1, zero);
        __m256i d3 = _mm256_unpackhi_epi16(w1, zero);
        d0 = _mm256_and_si256(_mm256_i32gather_epi32(table, d0, 1), low);
        d1 = _mm256_and_si256(_mm256_i32gather_epi32(table, d1, 1), low);
        d2 = _mm256_and_si256(_mm256_i32gather_epi32(table, d2, 1), low);
        d3 = _mm256_and_si256(_mm256_i32gather_epi32(table, d3, 1), low);
        const __m256i e0 = _mm256_packus_epi32(d0, d1);
        const __m256i e1 = _mm256_packus_epi32(d2, d3);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(job.out + i), _mm256_packus_epi16(e0, e1));
    }
    for (; i < last; ++i) {
        job.out[i] = job.table[static_cast<size_t>(job.target[i]) << 8 | job.source[i]];
    }
}
