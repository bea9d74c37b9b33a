#pragma once

#include "BITMAPINFOHEADER.h"
#include "morph/BITMAP.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CBitmap;

// A bitmap-info block: the 40-byte header followed by a colour table of
// header.biClrUsed entries (blue, green, red, 0 packed little-endian into
// one 32-bit value each). Frame files carry it whole; the video's frame
// format is its header.
class CBitmapInfo {
public:
    BITMAPINFOHEADER header;
    std::vector<uint32_t> colours;

    // The rounded colour depth c for d = planes x bits per pixel, the product
    // taken as a 16-bit value: 1 -> 1; 0, 2..4 -> 4; 5..8 -> 8; 9..16 -> 16;
    // 17..24 -> 24; above -> 32.
    static uint16_t RoundedDepth(uint16_t planes, uint16_t bitsPixel);
    // Bytes of one row of `width` pixels at `bits` per pixel, padded to a
    // multiple of 4 bytes (0 for negative widths).
    static uint64_t RowBytes(int32_t width, uint32_t bits);

    // 40 + 4 x biClrUsed.
    size_t BlockSize() const;
    // The block as stored in files: the header fields little-endian, then
    // biClrUsed colour entries (missing entries are written as 0).
    std::vector<uint8_t> Block() const;
};

// Describes `bitmap` as a bitmap-info block: header per the rounded-depth
// rule, a zero colour table of 2^c entries when c < 24. Null when the
// bitmap holds nothing (no description to read).
std::unique_ptr<CBitmapInfo> MakeBitmapInfo(const CBitmap& bitmap);

// The same rule applied to a bitmap description. Null for negative sizes or
// an image size that does not fit the header's 32-bit field.
std::unique_ptr<CBitmapInfo> MakeBitmapHeader(const BITMAP& description);
