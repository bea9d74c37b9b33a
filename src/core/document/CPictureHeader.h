#pragma once

#include <cstddef>
#include <cstdint>

// The pixel size a BMP or JPEG file claims in its header, read without
// decoding anything, so that a picture too large to hold can be refused
// before its pixels are allocated.
class CPictureHeader {
public:
    // True with width and height (absolute values) when the data starts
    // like a BMP or JPEG file and its size field could be read.
    static bool ClaimedSize(const uint8_t* data, size_t size, int64_t& width, int64_t& height);
    // True when the data is an uncompressed BMP file that ends before the
    // last row of pixels its header declares (the last row's padding may be
    // missing). Such a file would decode with rows of whatever memory the
    // decoder happened to hold.
    static bool BmpPixelsMissing(const uint8_t* data, size_t size);
};
