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
            v = v < 0.0 ? 0.0 : (v > limit ? limit : v);
            m[i] = rng.Below(2) ? -v : v;
        }
        V::Store(c, TruncDivLength<V>(V::Load(m), sd));
        for (int32_t i = 0; i < L; ++i) {
            ++result.checked;
            result.wrong += c[i] == static_cast<double>(static_cast<int64_t>(m[i] / sd.len)) ? 0 : 1;
        }
    }
    return result;
}

template <class V> KernelCheckResult CheckDivide(uint32_t seed, int32_t rounds)
{
    constexpr int32_t L = V::kLanes;
    XorShift rng{0x9e3779b97f4a7c15ull ^ seed};
    KernelCheckResult result;
    alignas(64) double a[L], q[L];
    for (int32_t round = 0; round < rounds; ++round) {
        // l2 = dx^2 + dy^2 up to 2^50, or lenSD = sqrt(l2) in single precision.
        const double dx = static_cast<double>(rng.Below(1u << (1 + rng.Below(25))));
        const double dy = static_cast<double>(rng.Below(1u << (1 + rng.Below(25))));
        const double l2 = dx * dx + dy * dy + 1.0;
        const double b = rng.Below(2) ? l2 : static_cast<double>(static_cast<float>(__builtin_sqrt(l2)));
        for (int32_t i = 0; i < L; ++i) {
            // A quotient of up to 50 bits with its last bits random, then
            // the whole number nearest to b times the point halfway above it.
            const double top = __builtin_ldexp(1.0, static_cast<int>(rng.Below(51)));
            const double wanted = static_cast<double>(rng.Below(1ull << 52)) * 0x1p-52 * top;
            const double halfway = wanted + __builtin_ldexp(__builtin_nextafter(wanted, 2 * top) - wanted, -1);
            double v = __builtin_nearbyint(halfway * b) + static_cast<double>(rng.Below(3)) - 1.0;
            v = v < 0.0 ? 0.0 : (v > 0x1p50 ? 0x1p50 : v);
            a[i] = rng.Below(2) ? -v : v;
        }
        V::Store(q, DivideByLineConstant<V>(V::Load(a), V::Set(b), V::Set(1.0 / b)));
        for (int32_t i = 0; i < L; ++i) {
            ++result.checked;
            result.wrong += q[i] == a[i] / b ? 0 : 1;
        }
    }
    return result;
}

} // namespace
