#pragma once

#include <cstdint>

// Conversions the engines share. Every real-to-integer step of the engines
// truncates toward zero; these helpers do so without undefined behaviour for
// values that do not fit: they saturate at the ends of the range (NaN gives 0).
namespace morph_arith {

// Truncation toward zero into 32 bits, saturating.
inline int32_t TruncToInt32(double v)
{
    if (!(v == v)) {
        return 0;
    }
    if (v >= 2147483647.0) {
        return INT32_MAX;
    }
    if (v <= -2147483648.0) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(v);
}

inline int32_t SaturateToInt32(int64_t v)
{
    if (v > INT32_MAX) {
        return INT32_MAX;
    }
    if (v < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(v);
}

// Bound of the 64-bit sums of weighted displacements: terms and running sums
// saturate at +-2^61, so adding two never overflows.
constexpr int64_t kSumLimit = int64_t{1} << 61;

inline int64_t TruncToSumTerm(double v)
{
    if (!(v == v)) {
        return 0;
    }
    if (v >= static_cast<double>(kSumLimit)) {
        return kSumLimit;
    }
    if (v <= -static_cast<double>(kSumLimit)) {
        return -kSumLimit;
    }
    return static_cast<int64_t>(v);
}

inline int64_t AddToSum(int64_t sum, int64_t term)
{
    const int64_t s = sum + term;
    return s > kSumLimit ? kSumLimit : (s < -kSumLimit ? -kSumLimit : s);
}

// b - a of two coordinates as an exact real (the 64-bit difference is exact,
// and so is its conversion).
inline double Diff(int32_t a, int32_t b)
{
    return static_cast<double>(static_cast<int64_t>(b) - a);
}

} // namespace morph_arith
