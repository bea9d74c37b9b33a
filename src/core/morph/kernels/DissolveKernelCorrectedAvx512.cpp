// Cross-dissolve with AVX-512 (BW, VBMI) in whole numbers, corrected where
// they may be wrong (see DissolveJob and CDissolveSetup): every byte is
// M div N, less one where M is a non-zero multiple of N and the rounding of
// the reference's doubles falls short of M / N. That test is done in whole
// numbers too (see DissolveRounding), its 256-entry byte tables looked up
// 64 bytes at a time by two-register byte permutes.
#include "MorphKernels.h"

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

// A 256-entry byte table in four registers.
struct ByteTable {
    __m512i part[4];

    explicit ByteTable(const uint8_t* entries)
    {
        for (int i = 0; i < 4; ++i) {
            part[i] = _mm512_loadu_si512(entries + 64 * i);
        }
    }

    // The entries of 64 bytes; `high` holds their top bits.
    __m512i Look(__m512i index, __mmask64 high) const
    {
        return _mm512_mask_blend_epi8(high, _mm512_permutex2var_epi8(part[0], index, part[1]),
                                      _mm512_permutex2var_epi8(part[2], index, part[3]));
    }
};

} // namespace

void DissolveCorrectedAvx512(const DissolveJob& job, size_t first, size_t last)
{
    const __m512i weights = _mm512_set1_epi16(static_cast<int16_t>(job.stepsDone << 8 | job.stepsLeft));
    const __m512i magic = _mm512_set1_epi16(static_cast<int16_t>(job.divMagic));
    const __m512i steps = _mm512_set1_epi16(static_cast<int16_t>(job.stepsLeft + job.stepsDone));
    const __m128i shift = _mm_cvtsi32_si128(job.divShift);
    const __m512i one = _mm512_set1_epi16(1);
    const __m512i ones = _mm512_set1_epi8(-1);
    const DissolveRounding& r = *job.rounding;
    const ByteTable sourceLow(r.sourceLow), sourceHigh(r.sourceHigh);
    const ByteTable targetLow(r.targetLow), targetHigh(r.targetHigh);
    const ByteTable limit(r.limit);

    size_t i = first;
    for (; i + 64 <= last; i += 64) {
        const __m512i s = _mm512_loadu_si512(job.source + i);
        const __m512i t = _mm512_loadu_si512(job.target + i);
        // M and M div N of the pairs (t << 8 | s) in words, and which M are
        // non-zero multiples of N.
        const __m512i mLo = _mm512_maddubs_epi16(_mm512_unpacklo_epi8(s, t), weights);
        const __m512i mHi = _mm512_maddubs_epi16(_mm512_unpackhi_epi8(s, t), weights);
        __m512i qLo = _mm512_srl_epi16(_mm512_mulhi_epu16(mLo, magic), shift);
        __m512i qHi = _mm512_srl_epi16(_mm512_mulhi_epu16(mHi, magic), shift);
        const __mmask32 multipleLo =
            _mm512_mask_cmpeq_epi16_mask(_mm512_test_epi16_mask(mLo, mLo), mLo, _mm512_mullo_epi16(qLo, steps));
        const __mmask32 multipleHi =
            _mm512_mask_cmpeq_epi16_mask(_mm512_test_epi16_mask(mHi, mHi), mHi, _mm512_mullo_epi16(qHi, steps));
        const __m512i q = _mm512_packus_epi16(qLo, qHi);
        if ((multipleLo | multipleHi) == 0) {
            _mm512_storeu_si512(job.out + i, q);
            continue;
        }
        // (a + b - j) 2^59 in words, and -2^c.
        const __mmask64 sTop = _mm512_movepi8_mask(s);
        const __mmask64 tTop = _mm512_movepi8_mask(t);
        const __m512i aLow = sourceLow.Look(s, sTop), aHigh = sourceHigh.Look(s, sTop);
        const __m512i bLow = targetLow.Look(t, tTop), bHigh = targetHigh.Look(t, tTop);
        const __m512i dLo = _mm512_add_epi16(_mm512_unpacklo_epi8(aLow, aHigh), _mm512_unpacklo_epi8(bLow, bHigh));
        const __m512i dHi = _mm512_add_epi16(_mm512_unpackhi_epi8(aLow, aHigh), _mm512_unpackhi_epi8(bLow, bHigh));
        const __m512i power = limit.Look(q, _mm512_movepi8_mask(q));
        const __mmask32 downLo =
            _mm512_mask_cmplt_epi16_mask(multipleLo, _mm512_srai_epi16(dLo, 5), _mm512_unpacklo_epi8(power, ones));
        const __mmask32 downHi =
            _mm512_mask_cmplt_epi16_mask(multipleHi, _mm512_srai_epi16(dHi, 5), _mm512_unpackhi_epi8(power, ones));
        qLo = _mm512_mask_sub_epi16(qLo, downLo, qLo, one);
        qHi = _mm512_mask_sub_epi16(qHi, downHi, qHi, one);
        _mm512_storeu_si512(job.out + i, _mm512_packus_epi16(qLo, qHi));
    }
    // With 0 <= k <= N the sum lies in [0, 256): the conversion is in range.
    for (; i < last; ++i) {
        job.out[i] = static_cast<uint8_t>(
            static_cast<int32_t>(job.source[i] * job.weightSource + job.target[i] * job.weightTarget));
    }
}
