// Cross-dissolve with AVX2 in whole numbers (see DissolveJob), 32 bytes at a
// time: M of the byte pairs (s, t) by one multiply-add of their bytes with
// the weights, the quotient by a 16-bit multiply and shift.
#include "DissolveKernelCommon.h"

// Built for x86-64 processors only (see CMakeLists.txt).
#if !defined(__x86_64__)
#error "the AVX2 and AVX-512 kernels are for x86-64 processors only"
#endif
#include <immintrin.h>

void DissolveWholeAvx2(const DissolveJob& job, size_t first, size_t last)
{
    // The weights as byte pairs (N - k, k) against the pairs (s, t); both
    // fit a signed byte and M (at most 255 N) an unsigned 16-bit word.
    const __m256i weights = _mm256_set1_epi16(static_cast<int16_t>(job.stepsDone << 8 | job.stepsLeft));
    const __m256i magic = _mm256_set1_epi16(static_cast<int16_t>(job.divMagic));
    const __m128i shift = _mm_cvtsi32_si128(job.divShift);
    size_t i = first;
    for (; i + 32 <= last; i += 32) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(job.source + i));
        const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(job.target + i));
        // The unpacks and the pack work within 128-bit halves alike, so the
        // bytes come back in their order.
        const __m256i mLo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(s, t), weights);
        const __m256i mHi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(s, t), weights);
        const __m256i qLo = _mm256_srl_epi16(_mm256_mulhi_epu16(mLo, magic), shift);
        const __m256i qHi = _mm256_srl_epi16(_mm256_mulhi_epu16(mHi, magic), shift);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(job.out + i), _mm256_packus_epi16(qLo, qHi));
    }
    DissolveWholeTail(job, i, last);
}
