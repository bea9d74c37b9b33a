#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// BMP files made by the tests, in any of the layouts the format allows:
// header kind, depth, compression, bit-field masks, colour table, row order.
struct CBmpBuilder {
    int32_t width = 4;
    int32_t height = 3; // rows; the header holds -height for top-down files
    uint16_t bits = 24;
    bool topDown = false;
    uint32_t headerSize = 40;      // 12 (core), 40 (info), 108 (V4) or 124 (V5)
    uint32_t compression = 0;      // 0 plain, 1 RLE8, 2 RLE4, 3 bit fields
    uint32_t masks[4] = {};        // red, green, blue, alpha (bit fields; V4/V5 hold them)
    uint32_t colourCount = 0;      // the header's count of colours (0: all)
    std::vector<uint32_t> palette; // 0xRRGGBB entries, all written
    uint32_t gap = 0;              // bytes between the table and the pixels
    int64_t imageSize = -1;        // the header's image size (-1: that of the pixel data)

    // Pixel values row by row from the top: colour indices, 16-bit values,
    // 0xRRGGBB (24 bits) or 32-bit values, packed into padded rows in file
    // order.
    std::vector<uint8_t> Build(const std::vector<uint32_t>& values) const;
    // The same around pixel data as given (run-length data, cut data).
    std::vector<uint8_t> BuildRaw(const std::vector<uint8_t>& pixelData) const;

    // A plain 24-bit file claiming width x height pixels (its image size that
    // of all their rows), followed by `pixelBytes` bytes of mid grey (0x80):
    // all the pixels, or fewer than the header claims.
    static std::vector<uint8_t> Grey24(int32_t width, int32_t height);
    static std::vector<uint8_t> Grey24(int32_t width, int32_t height, size_t pixelBytes);

    // Bytes of a row of `width` pixels of `bits` bits, padded to 4 bytes.
    static size_t Stride(int32_t width, uint16_t bits);
};
