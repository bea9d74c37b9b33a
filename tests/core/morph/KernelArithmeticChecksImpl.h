#pragma once

// The checks of KernelArithmeticChecks.h over a vector interface V. Included
// only by the sources compiled for V's instruction set; nothing here has
// external linkage and no standard template is instantiated, so nothing
// built for that instruction set can be shared with other code.

#include "KernelArithmeticChecks.h"

namespace {

struct XorShift {
    uint64_t state;
    uint64_t Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    // Uniform in [0, n).
    uint64_t Below(uint64_t n) { return Next() % n; }
};

inline bool SameDouble(double a, double b)
{
    return a == b; // +0 and -0 count as the same value
}

template <class V> KernelCheckResult CheckQuotient(uint32_t seed, int32_t rounds)
{
    using D = typename V::D;
    constexpr int32_t L = V::kLanes;
    XorShift rng{0x9e3779b97f4a7c15ull ^ seed};
    KernelCheckResult result;
    alignas(64) double a[L], b[L], y[L], q[L];
    for (int32_t round = 0; round < rounds; ++round) {
        const int32_t kind = static_cast<int32_t>(round % 5);
        for (int32_t i = 0; i < L; ++i) {
            // Whole numerators up to 2^50 (either sign), divisors: whole
            // numbers, single-precision lengths, or reals of at least 1.
            const double mag = static_cast<double>(rng.Below(uint64_t{1} << (1 + rng.Below(50))));
            a[i] = rng.Below(2) ? -mag : mag;
            switch (rng.Below(3)) {
            case 0:
                b[i] = static_cast<double>(1 + rng.Below(uint64_t{1} << (1 + rng.Below(48))));
                break;
            case 1:
                b[i] = static_cast<float>(1.0 + static_cast<double>(rng.Below(1u << 30)) / 64.0);
                break;
            default:
                b[i] = 1.0 + static_cast<double>(rng.Next() >> 11) * 0x1p-40;
                break;
            }
            const double good = 1.0 / b[i];
            // A refined quotient from the poorer ones is often a few units
            // in the last place off (0x1p-26), or far off.
            const double poor[] = {good, good * (1.0 + 0x1p-26), good * (1.0 - 0x1p-25), 0.0, good * 3.0};
            y[i] = poor[kind];
        }
        const D vb = V::Load(b);
        V::Store(q, Quotient<V>(V::Load(a), vb, V::Load(y), V::Mul(vb, V::Set(0x1p-53))));
        for (int32_t i = 0; i < L; ++i) {
            ++result.checked;
            result.wrong += SameDouble(q[i], a[i] / b[i]) ? 0 : 1;
        }
    }
    return result;
}

template <class V> KernelCheckResult CheckTruncDiv(uint32_t seed, int32_t rounds)
{
    constexpr int32_t L = V::kLanes;
    XorShift rng{0x2545f4914f6cdd1dull ^ seed};
    KernelCheckResult result;
    alignas(64) double m[L], c[L];
    for (int32_t round = 0; round < rounds; ++round) {
        FBLineConst::Side sd{};
        // Lengths as the engine makes them: sqrt of a whole sum of squares,
        // rounded to single precision; sometimes whole numbers.
        const double dx = static_cast<double>(rng.Below(1u << (1 + rng.Below(16))));
        const double dy = rng.Below(4) == 0 ? 0.0 : static_cast<double>(rng.Below(1u << (1 + rng.Below(16))));
        sd.len = static_cast<float>(__builtin_sqrt(dx * dx + dy * dy + 1.0));
        sd.invBelow = (1.0 / sd.len) * (1.0 - 0x1p-49);
        sd.invAbove = 1.0 / sd.len;
        if (__builtin_fma(sd.invAbove, sd.len, -1.0) < 0.0) {
            sd.invAbove = __builtin_nextafter(sd.invAbove, 2.0);
        }
        sd.quick = rng.Below(2) == 0;
        const double limit = sd.quick ? 0x1p26 : (sd.len * 0x1p28 < 0x1p30 ? sd.len * 0x1p28 : 0x1p30);
        for (int32_t i = 0; i < L; ++i) {
            double v;
            if (rng.Below(2)) {
                // Next to a multiple of the length.
                const double k = static_cast<double>(rng.Below(static_cast<uint64_t>(limit / sd.len) + 1));
                v = __builtin_floor(k * sd.len) + static_cast<double>(rng.Below(3)) - 1.0;
            } else {
                v = static_cast<double>(rng.Below(static_cast<uint64_t>(limit)));
            }
            m[i] = v < 0.0 ? 0.0 : (v > limit ? limit : v);
        }
        V::Store(c, TruncDivLength<V>(V::Load(m), sd));
        for (int32_t i = 0; i < L; ++i) {
            ++result.checked;
            result.wrong += c[i] == static_cast<double>(static_cast<int64_t>(m[i] / sd.len)) ? 0 : 1;
        }
    }
    return result;
}

} // namespace
