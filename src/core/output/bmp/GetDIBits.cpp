#include "GetDIBits.h"

#include "morph/CBitmap.h"

#include <algorithm>
#include <cstring>

namespace {

// Colour entry blue, green, red, 0 for a grey level.
uint32_t Grey(uint32_t level)
{
    return level | (level << 8) | (level << 16);
}

void FillColourTable(CBitmapInfo& info, uint16_t bits)
{
    const uint32_t entries = info.header.biClrUsed;
    info.colours.assign(entries, 0);
    if (bits > 8 || entries == 0) {
        return; // a 16-bit table stays zero
    }
    const uint32_t levels = uint32_t{1} << bits;
    for (uint32_t i = 0; i < entries && i < levels; ++i) {
        info.colours[i] = Grey(i * 255 / (levels - 1));
    }
}

template <class Bytes> CMessage Read(const CBitmap& bitmap, CBitmapInfo& info, Bytes& pixels)
{
    const BITMAPINFOHEADER& h = info.header;
    if (bitmap.IsEmpty()) {
        return CMessage::Plain("the bitmap is empty");
    }
    if (h.biWidth != bitmap.Width() || h.biHeight != bitmap.Height() || h.biPlanes != 1 ||
        h.biBitCount != bitmap.BitsPixel() || h.biCompression != BI_RGB) {
        return CMessage::Plain("the bitmap header does not describe the bitmap");
    }
    const uint64_t dibRow = CBitmapInfo::RowBytes(h.biWidth, h.biBitCount);
    const uint64_t rows = static_cast<uint64_t>(h.biHeight);
    if (dibRow * rows > h.biSizeImage) {
        return CMessage::Plain("the image size of the bitmap header is too small");
    }
    const size_t pitch = static_cast<size_t>(bitmap.WidthBytes());
    // The pixel bytes proper of a row; the device pitch and the file row
    // differ only in padding.
    const size_t used = static_cast<size_t>((static_cast<uint64_t>(h.biWidth) * h.biBitCount + 7) / 8);
    const size_t copy = std::min({used, pitch, static_cast<size_t>(dibRow)});
    pixels.resize(h.biSizeImage);
    const uint8_t* src = bitmap.Bits();
    for (uint64_t y = 0; y < rows; ++y) {
        const uint8_t* from = src + static_cast<size_t>(y) * pitch;
        uint8_t* to = pixels.data() + static_cast<size_t>((rows - 1 - y) * dibRow);
        std::memcpy(to, from, copy);
        std::memset(to + copy, 0, static_cast<size_t>(dibRow) - copy);
    }
    const size_t filled = static_cast<size_t>(dibRow * rows);
    std::memset(pixels.data() + filled, 0, pixels.size() - filled);
    FillColourTable(info, h.biBitCount);
    return CMessage();
}

} // namespace

CMessage GetDIBits(const CBitmap& bitmap, CBitmapInfo& info, std::vector<uint8_t>& pixels)
{
    return Read(bitmap, info, pixels);
}

CMessage GetDIBits(const CBitmap& bitmap, CBitmapInfo& info, CByteVector& pixels)
{
    return Read(bitmap, info, pixels);
}
