// The smooth feature-morph kernel for any processor: 8 pixels at a time as
// plain loops over arrays, which the compiler turns into vector code of the
// baseline instruction set, and pixels sampled one by one.
#include "SmoothKernelSimd.h"

#include <cmath>

namespace {

struct SmoothPlain {
    static constexpr int32_t kLanes = 8;
    static constexpr bool kPixels4 = false;
    struct D {
        float v[kLanes];
    };

    template <class F> static D Each(F f)
    {
        D r;
        for (int32_t j = 0; j < kLanes; ++j) {
            r.v[j] = f(j);
        }
        return r;
    }
    static D Set(float a)
    {
        return Each([a](int32_t) { return a; });
    }
    static D Iota(float base)
    {
        return Each([base](int32_t j) { return base + static_cast<float>(j); });
    }
    static D Add(D a, D b)
    {
        return Each([&](int32_t j) { return a.v[j] + b.v[j]; });
    }
    static D Sub(D a, D b)
    {
        return Each([&](int32_t j) { return a.v[j] - b.v[j]; });
    }
    static D Mul(D a, D b)
    {
        return Each([&](int32_t j) { return a.v[j] * b.v[j]; });
    }
    static D MulAdd(D a, D b, D c)
    {
        return Each([&](int32_t j) { return a.v[j] * b.v[j] + c.v[j]; });
    }
    // The second operand where the first is not a number.
    static D Min(D a, D b)
    {
        return Each([&](int32_t j) { return a.v[j] < b.v[j] ? a.v[j] : b.v[j]; });
    }
    static D Max(D a, D b)
    {
        return Each([&](int32_t j) { return a.v[j] > b.v[j] ? a.v[j] : b.v[j]; });
    }
    static D Sqrt(D a)
    {
        return Each([&](int32_t j) { return std::sqrt(a.v[j]); });
    }
    static D Div(D a, D b)
    {
        return Each([&](int32_t j) { return a.v[j] / b.v[j]; });
    }
    static D Load(const float* p)
    {
        D a;
        std::memcpy(a.v, p, sizeof(a.v));
        return a;
    }
    static void Store(float* p, D a) { std::memcpy(p, a.v, sizeof(a.v)); }
};

} // namespace

void SmoothRowsBaseline(const SmoothFrameJob& job, int32_t first, int32_t last, float* scratch)
{
    SmoothRowsSimd<SmoothPlain>(job, first, last, scratch);
}
