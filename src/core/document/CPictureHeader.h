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
    // end of the (padded) pixel rows its header declares. Such a file would
    // decode with rows of whatever memory the decoder happened to hold.
    static bool BmpPixelsMissing(const uint8_t* data, size_t size);
    // True when the data is a Huffman-coded JPEG file whose frame header
    // claims more pixels than kJpegPixelsPerByte for each byte of the file:
    // such a file is cut or forged, and its size is not believed. Every
    // scan of a Huffman-coded JPEG spends at least one bit on each 8 x 8
    // block of the components it codes, and a block stands for at most
    // 256 pixels (sampling factors go up to 4), so a real file holds at most
    // 2048 pixels a byte. Arithmetic-coded files can shrink a plain picture
    // far more and are not judged.
    static bool JpegBeyondFile(const uint8_t* data, size_t size);
    static constexpr int64_t kJpegPixelsPerByte = 4096;
};
