#include "CBitmapInfo.h"

#include "files/CByteBuffer.h"
#include "morph/CBitmap.h"

uint16_t CBitmapInfo::RoundedDepth(uint16_t planes, uint16_t bitsPixel)
{
    const auto d = static_cast<uint16_t>(planes * bitsPixel);
    if (d == 1) {
        return 1;
    }
    if (d <= 4) {
        return 4;
    }
    if (d <= 8) {
        return 8;
    }
    if (d <= 16) {
        return 16;
    }
    if (d <= 24) {
        return 24;
    }
    return 32;
}

uint64_t CBitmapInfo::RowBytes(int32_t width, uint32_t bits)
{
    if (width < 0) {
        return 0;
    }
    return ((static_cast<uint64_t>(bits) * static_cast<uint64_t>(width) + 31) & ~uint64_t{31}) / 8;
}

size_t CBitmapInfo::BlockSize() const
{
    return 40 + 4 * static_cast<size_t>(header.biClrUsed);
}

std::vector<uint8_t> CBitmapInfo::Block() const
{
    CByteBuffer out;
    out.Vector().reserve(BlockSize());
    out.U32(header.biSize);
    out.I32(header.biWidth);
    out.I32(header.biHeight);
    out.U16(header.biPlanes);
    out.U16(header.biBitCount);
    out.U32(header.biCompression);
    out.U32(header.biSizeImage);
    out.I32(header.biXPelsPerMeter);
    out.I32(header.biYPelsPerMeter);
    out.U32(header.biClrUsed);
    out.U32(header.biClrImportant);
    for (uint32_t i = 0; i < header.biClrUsed; ++i) {
        out.U32(i < colours.size() ? colours[i] : 0);
    }
    return std::move(out.Vector());
}

std::unique_ptr<CBitmapInfo> MakeBitmapHeader(const BITMAP& description)
{
    if (description.bmWidth < 0 || description.bmHeight < 0) {
        return nullptr;
    }
    const uint16_t c = CBitmapInfo::RoundedDepth(description.bmPlanes, description.bmBitsPixel);
    const uint64_t imageSize =
        CBitmapInfo::RowBytes(description.bmWidth, c) * static_cast<uint64_t>(description.bmHeight);
    if (imageSize > UINT32_MAX) {
        return nullptr;
    }
    auto info = std::make_unique<CBitmapInfo>();
    BITMAPINFOHEADER& h = info->header;
    h.biSize = 40;
    h.biWidth = description.bmWidth;
    h.biHeight = description.bmHeight;
    h.biPlanes = description.bmPlanes;
    h.biBitCount = description.bmBitsPixel;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<uint32_t>(imageSize);
    h.biClrUsed = c < 24 ? (uint32_t{1} << c) : 0;
    info->colours.assign(h.biClrUsed, 0);
    return info;
}

std::unique_ptr<CBitmapInfo> MakeBitmapInfo(const CBitmap& bitmap)
{
    BITMAP description;
    if (bitmap.IsEmpty() || bitmap.GetObject(sizeof(BITMAP), &description) == 0) {
        return nullptr;
    }
    return MakeBitmapHeader(description);
}
