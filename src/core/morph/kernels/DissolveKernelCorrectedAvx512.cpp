// Cross-dissolve with AVX-512 (BW, VBMI2) in whole numbers, corrected where
// they may be wrong (see DissolveJob and CDissolveSetup): every byte is
// M div N, except where M is a non-zero multiple of N, whose bytes are
// computed as the reference computes them, in doubles. Those are the bytes
// with t - s a multiple of N / gcd(N, k), so they are compressed into the
// low lanes, computed, and expanded back over their quotients. (Looking them
// up in the frame's table is slower: gathers on this kind of processor cost
// as much for a few lanes as for all.)
#include "MorphKernels.h"

// GCC 12's AVX-512 headers trip -Wmaybe-uninitialized on their own
// placeholder values (fixed in GCC 13).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop

namespace {

// trunc(s ws + t wt) of the 16 byte pairs (t << 8 | s) in the words of
// `pairs`, each product and the sum rounded to double.
inline __m256i Exact16(__m256i pairs, __m512d ws, __m512d wt)
{
    const __m512i wide = _mm512_cvtepu16_epi32(pairs);
    const __m512i s = _mm512_and_si512(wide, _mm512_set1_epi32(0xff));
    const __m512i t = _mm512_srli_epi32(wide, 8);
    const auto half = [ws, wt](__m256i s8, __m256i t8) {
        const __m512d sum =
            _mm512_add_pd(_mm512_mul_pd(_mm512_cvtepi32_pd(s8), ws), _mm512_mul_pd(_mm512_cvtepi32_pd(t8), wt));
        return _mm512_cvttpd_epi32(sum);
    };
    const __m256i lo = half(_mm512_castsi512_si256(s), _mm512_castsi512_si256(t));
    const __m256i hi = half(_mm512_extracti64x4_epi64(s, 1), _mm512_extracti64x4_epi64(t, 1));
    return _mm512_cvtepi32_epi16(_mm512_inserti64x4(_mm512_castsi256_si512(lo), hi, 1));
}

// The same of 8 byte pairs.
inline __m128i Exact8(__m128i pairs, __m512d ws, __m512d wt)
{
    const __m256i wide = _mm256_cvtepu16_epi32(pairs);
    const __m256i s = _mm256_and_si256(wide, _mm256_set1_epi32(0xff));
    const __m256i t = _mm256_srli_epi32(wide, 8);
    const __m512d sum =
        _mm512_add_pd(_mm512_mul_pd(_mm512_cvtepi32_pd(s), ws), _mm512_mul_pd(_mm512_cvtepi32_pd(t), wt));
    return _mm256_cvtepi32_epi16(_mm512_cvttpd_epi32(sum));
}

// The frame's whole-number constants (see DissolveJob) and weights.
struct Frame {
    __m512i weights, magic, steps;
    __m128i shift;
    __m512d ws, wt;
};

// M div N of 32 byte pairs (t << 8 | s) in words, and in `multiple` those
// whose M is a multiple of N, M = 0 excepted (it is exact: 0, as for the
// fourth byte of every 32-bit pixel).
inline __m512i Quotients(const Frame& f, __m512i pairs, __mmask32& multiple)
{
    const __m512i m = _mm512_maddubs_epi16(pairs, f.weights);
    const __m512i q = _mm512_srl_epi16(_mm512_mulhi_epu16(m, f.magic), f.shift);
    multiple = _mm512_mask_cmpeq_epi16_mask(_mm512_test_epi16_mask(m, m), m, _mm512_mullo_epi16(q, f.steps));
    return q;
}

// The results of 32 byte pairs in words. The pairs to compute come kRound
// at a time: 8 where a few of every 32 are expected, 16 where many are.
template <int kRound> inline __m512i Results(const Frame& f, __m512i pairs)
{
    __mmask32 multiple;
    const __m512i q = Quotients(f, pairs, multiple);
    if (multiple == 0) {
        return q;
    }
    const int count = __builtin_popcount(multiple);
    const __m512i packed = _mm512_maskz_compress_epi16(multiple, pairs);
    __m512i exact;
    if constexpr (kRound == 8) {
        exact = _mm512_castsi128_si512(Exact8(_mm512_castsi512_si128(packed), f.ws, f.wt));
        if (count > 8) {
            exact = _mm512_inserti32x4(exact, Exact8(_mm512_extracti32x4_epi32(packed, 1), f.ws, f.wt), 1);
            if (count > 16) {
                exact = _mm512_inserti32x4(exact, Exact8(_mm512_extracti32x4_epi32(packed, 2), f.ws, f.wt), 2);
                exact = _mm512_inserti32x4(exact, Exact8(_mm512_extracti32x4_epi32(packed, 3), f.ws, f.wt), 3);
            }
        }
    } else {
        exact = _mm512_castsi256_si512(Exact16(_mm512_castsi512_si256(packed), f.ws, f.wt));
        if (count > 16) {
            exact = _mm512_inserti64x4(exact, Exact16(_mm512_extracti64x4_epi64(packed, 1), f.ws, f.wt), 1);
        }
    }
    return _mm512_mask_expand_epi16(q, multiple, exact);
}

template <int kRound> void Corrected(const DissolveJob& job, const Frame f, size_t first, size_t last)
{
    size_t i = first;
    for (; i + 64 <= last; i += 64) {
        const __m512i s = _mm512_loadu_si512(job.source + i);
        const __m512i t = _mm512_loadu_si512(job.target + i);
        _mm512_storeu_si512(job.out + i, _mm512_packus_epi16(Results<kRound>(f, _mm512_unpacklo_epi8(s, t)),
                                                             Results<kRound>(f, _mm512_unpackhi_epi8(s, t))));
    }
    // With 0 <= k <= N the sum lies in [0, 256): the conversion is in range.
    for (; i < last; ++i) {
        job.out[i] = static_cast<uint8_t>(
            static_cast<int32_t>(job.source[i] * job.weightSource + job.target[i] * job.weightTarget));
    }
}

// Whether more than 6 byte pairs of every 32 are to be computed in the
// first kilobyte of [first, last).
bool ManyToCompute(const DissolveJob& job, const Frame& f, size_t first, size_t last)
{
    int32_t found = 0;
    size_t i = first;
    for (; i + 64 <= last && i < first + 1024; i += 64) {
        const __m512i s = _mm512_loadu_si512(job.source + i);
        const __m512i t = _mm512_loadu_si512(job.target + i);
        __mmask32 lo, hi;
        Quotients(f, _mm512_unpacklo_epi8(s, t), lo);
        Quotients(f, _mm512_unpackhi_epi8(s, t), hi);
        found += __builtin_popcount(lo) + __builtin_popcount(hi);
    }
    return found * 32 > 6 * static_cast<int32_t>(i - first);
}

} // namespace

void DissolveCorrectedAvx512(const DissolveJob& job, size_t first, size_t last)
{
    const Frame f{_mm512_set1_epi16(static_cast<int16_t>(job.stepsDone << 8 | job.stepsLeft)),
                  _mm512_set1_epi16(static_cast<int16_t>(job.divMagic)),
                  _mm512_set1_epi16(static_cast<int16_t>(job.stepsLeft + job.stepsDone)),
                  _mm_cvtsi32_si128(job.divShift),
                  _mm512_set1_pd(job.weightSource),
                  _mm512_set1_pd(job.weightTarget)};
    // About one byte pair in N / gcd(N, k) of pictures that differ
    // everywhere is computed; many more where both have the same bytes.
    if (ManyToCompute(job, f, first, last)) {
        Corrected<16>(job, f, first, last);
    } else {
        Corrected<8>(job, f, first, last);
    }
}
