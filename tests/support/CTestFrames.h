#pragma once

#include "morph/CBitmap.h"

#include <cstdint>
#include <vector>

// Frames for the output tests.
class CTestFrames {
public:
    // A 32-bit screen-compatible bitmap (blue, green, red, 0; rows top to
    // bottom) whose every pixel depends on x, y and the frame number k.
    static CBitmap Pattern(int32_t width, int32_t height, int32_t k);
    // A smooth picture (gradients and a moving square) that JPEG keeps close.
    static CBitmap Smooth(int32_t width, int32_t height, int32_t k);
    // The bitmap's rows bottom to top, as a video frame of 32 bits per pixel.
    static std::vector<uint8_t> BottomUp(const CBitmap& bitmap);
};
