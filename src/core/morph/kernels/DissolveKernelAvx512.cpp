// Cross-dissolve with AVX-512 (BW) in whole numbers (see DissolveJob), 64
// bytes at a time as the AVX2 kernel does 32.
#include "DissolveKernelCommon.h"

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

void DissolveWholeAvx512(const DissolveJob& job, size_t first, size_t last)
{
    const __m512i weights = _mm512_set1_epi16(static_cast<int16_t>(job.stepsDone << 8 | job.stepsLeft));
    const __m512i magic = _mm512_set1_epi16(static_cast<int16_t>(job.divMagic));
    const __m128i shift = _mm_cvtsi32_si128(job.divShift);
    size_t i = first;
    for (; i + 64 <= last; i += 64) {
        const __m512i s = _mm512_loadu_si512(job.source + i);
        const __m512i t = _mm512_loadu_si512(job.target + i);
        const __m512i mLo = _mm512_maddubs_epi16(_mm512_unpacklo_epi8(s, t), weights);
        const __m512i mHi = _mm512_maddubs_epi16(_mm512_unpackhi_epi8(s, t), weights);
        const __m512i qLo = _mm512_srl_epi16(_mm512_mulhi_epu16(mLo, magic), shift);
        const __m512i qHi = _mm512_srl_epi16(_mm512_mulhi_epu16(mHi, magic), shift);
        _mm512_storeu_si512(job.out + i, _mm512_packus_epi16(qLo, qHi));
    }
    DissolveWholeTail(job, i, last);
}
