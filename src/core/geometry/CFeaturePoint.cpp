#include "CFeaturePoint.h"

namespace {
int32_t Step(int32_t from, int32_t to, double t)
{
    // The difference is formed in 64 bits so that coordinates far apart do
    // not wrap before they reach the double product.
    const double d = static_cast<double>(static_cast<int64_t>(to) - from) * t;
    return static_cast<int32_t>(static_cast<int64_t>(from) + static_cast<int64_t>(d));
}
} // namespace

CFeaturePoint CFeaturePoint::Interpolate(double t, const CFeaturePoint& other) const
{
    CFeaturePoint r;
    r.x = Step(x, other.x, t);
    r.y = Step(y, other.y, t);
    r.z = Step(z, other.z, t);
    r.w = 1;
    return r;
}
