#pragma once

#include "memory/CNoInitAllocator.h"

#include <cstdint>

// A decoded picture: width x height pixels, 4 bytes each (blue, green, red,
// 255), rows top to bottom with a pitch of 4 x width.
struct CPictureImage {
    int32_t width = 0;
    int32_t height = 0;
    CByteVector pixels;
};
