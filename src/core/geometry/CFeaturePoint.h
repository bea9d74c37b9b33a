#pragma once

#include <cstdint>

// One point of a feature line: image pixel coordinates in homogeneous form
// (z is always 0, w always 1) and the label printed beside it.
struct CFeaturePoint {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
    int32_t w = 0;
    int32_t label = 0;

    // The point the fraction t of the way from this point to `other`; each
    // coordinate moves by the truncated product of its difference and t.
    // The result's label is left 0.
    CFeaturePoint Interpolate(double t, const CFeaturePoint& other) const;

    friend bool operator==(const CFeaturePoint&, const CFeaturePoint&) = default;
};
