#pragma once

#include "morph/CBitmap.h"

#include <cstdint>
#include <string>
#include <vector>

// Frames and files for the output tests.
class CTestFrames {
public:
    // A 32-bit screen-compatible bitmap (blue, green, red, 0; rows top to
    // bottom) whose every pixel depends on x, y and the frame number k.
    static CBitmap Pattern(int32_t width, int32_t height, int32_t k);
    // A smooth picture (gradients and a moving square) that JPEG keeps close.
    static CBitmap Smooth(int32_t width, int32_t height, int32_t k);
    // The bitmap's rows bottom to top, as a video frame of 32 bits per pixel.
    static std::vector<uint8_t> BottomUp(const CBitmap& bitmap);

    static std::vector<uint8_t> ReadFile(const std::string& path);
    static void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
    // Puts at `path` something an output must replace without opening it
    // ("fifo", "symlink" to the file `aside`, "read-only" file) or must
    // refuse ("folder").
    static void Plant(const std::string& path, const std::string& kind, const std::string& aside);
};
