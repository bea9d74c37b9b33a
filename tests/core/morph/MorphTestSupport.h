#pragma once

#include "geometry/CFeatureSet.h"
#include "morph/CBitmap.h"

#include <cstdint>
#include <functional>

namespace morph_test {

// A screen-compatible (32 bits per pixel) picture whose byte c of pixel
// (x, y) is fill(x, y, c).
CBitmap Picture(int32_t width, int32_t height, const std::function<uint8_t(int32_t, int32_t, int32_t)>& fill,
                uint16_t bitsPixel = 32);

// A 32-bit picture whose pixels name their own position: bytes x mod 256,
// y mod 256, the high bits of x and y, and `tag`. Decode reads it back.
CBitmap CoordinatePicture(int32_t width, int32_t height, uint8_t tag);
struct Decoded {
    int32_t x;
    int32_t y;
    uint8_t tag;
};
Decoded Decode(const CBitmap& frame, int32_t x, int32_t y);
const uint8_t* PixelAt(const CBitmap& bitmap, int32_t x, int32_t y);

// Appends a two-point line P->Q to a collection.
void AddLine(CPointSets<int>& set, int32_t px, int32_t py, int32_t qx, int32_t qy);
// Appends line pair i: P->Q to the source lines, P'->Q' to the target lines.
void AddPair(CFeatureSet& lines, int32_t px, int32_t py, int32_t qx, int32_t qy, int32_t tpx, int32_t tpy, int32_t tqx,
             int32_t tqy);

bool AllZero(const CBitmap& bitmap);

} // namespace morph_test
