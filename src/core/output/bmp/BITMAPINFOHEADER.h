#pragma once

#include <cstdint>

// The 40-byte bitmap header of device-independent bitmaps, laid out as the
// platform's BITMAPINFOHEADER. Files carry it little-endian; CBitmapInfo
// writes it field by field, so the in-memory layout never reaches a file.
struct BITMAPINFOHEADER {
    uint32_t biSize = 0;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 0;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER must be 40 bytes");

// Uncompressed RGB, the only compression the frame files use.
constexpr uint32_t BI_RGB = 0;
