#pragma once

#include "BITMAP.h"
#include "memory/CNoInitAllocator.h"

#include <cstddef>
#include <cstdint>

// A device-dependent pixel buffer: rows top to bottom, each row bmWidthBytes
// long (the pixel bytes padded to a multiple of 2). The screen-compatible
// form is 32 bits per pixel, bytes blue, green, red, 0, pitch 4 x width.
class CBitmap {
public:
    CBitmap() = default;

    // Makes a zero-filled bitmap; returns false (leaving it empty) for
    // negative sizes or depths that are not 1, 4, 8, 16, 24 or 32 bits.
    bool CreateBitmap(int32_t width, int32_t height, uint16_t planes, uint16_t bitsPixel);
    // The screen-compatible 32-bit form.
    bool CreateCompatibleBitmap(int32_t width, int32_t height);
    // Gives the bitmap this size and depth like CreateBitmap, but leaves the
    // pixel bytes as they are: for callers that write every byte. A bitmap
    // that already has the size keeps its buffer.
    bool Reshape(int32_t width, int32_t height, uint16_t bitsPixel);
    void DeleteObject();
    bool IsEmpty() const { return m_header.bmBitsPixel == 0; }

    // Fills `out` with the description (bmBits is left null) when size is
    // at least sizeof(BITMAP); returns the bytes written.
    int GetObject(int size, BITMAP* out) const;
    // Copies up to `count` pixel bytes out, or in; returns the bytes copied.
    long GetBitmapBits(long count, void* out) const;
    long SetBitmapBits(long count, const void* in);

    int32_t Width() const { return m_header.bmWidth; }
    int32_t Height() const { return m_header.bmHeight; }
    int32_t WidthBytes() const { return m_header.bmWidthBytes; }
    uint16_t BitsPixel() const { return m_header.bmBitsPixel; }
    uint8_t* Bits() { return m_bits.data(); }
    const uint8_t* Bits() const { return m_bits.data(); }
    size_t SizeBytes() const { return m_bits.size(); }

    // Row pitch the platform gives a bitmap of this width and depth.
    static int32_t RowPitch(int32_t width, uint16_t bitsPixel);

private:
    bool Shape(int32_t width, int32_t height, uint16_t planes, uint16_t bitsPixel, bool clear);

    BITMAP m_header;
    CByteVector m_bits;
};
