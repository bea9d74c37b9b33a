#pragma once

#include <cstdint>

// Rectangle in pixels: left and top inclusive, right and bottom exclusive.
struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    friend bool operator==(const RECT&, const RECT&) = default;
};
