#pragma once

#include <cstdint>

// Description of a device-dependent bitmap, laid out as the platform's
// BITMAP record: type, size, row pitch, planes, depth and the pixel pointer.
struct BITMAP {
    int32_t bmType = 0;
    int32_t bmWidth = 0;
    int32_t bmHeight = 0;
    int32_t bmWidthBytes = 0;
    uint16_t bmPlanes = 0;
    uint16_t bmBitsPixel = 0;
    void* bmBits = nullptr;
};
