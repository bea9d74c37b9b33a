#pragma once

#include <cstdint>

// A width and a height in pixels.
struct SIZE {
    int32_t cx = 0;
    int32_t cy = 0;

    friend bool operator==(const SIZE&, const SIZE&) = default;
};
