#include "CTestFrames.h"

#include <cstring>

CBitmap CTestFrames::Pattern(int32_t width, int32_t height, int32_t k)
{
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(width, height);
    uint8_t* p = bitmap.Bits();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* px = p + static_cast<size_t>(y) * bitmap.WidthBytes() + 4 * static_cast<size_t>(x);
            px[0] = static_cast<uint8_t>(x * 7 + k * 31);
            px[1] = static_cast<uint8_t>(y * 13 + k);
            px[2] = static_cast<uint8_t>((x ^ y) * 5 + k * 3);
            px[3] = 0;
        }
    }
    return bitmap;
}

CBitmap CTestFrames::Smooth(int32_t width, int32_t height, int32_t k)
{
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(width, height);
    uint8_t* p = bitmap.Bits();
    const int32_t left = (k * 8) % (width / 2);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* px = p + static_cast<size_t>(y) * bitmap.WidthBytes() + 4 * static_cast<size_t>(x);
            const bool square = x >= left && x < left + width / 4 && y >= height / 4 && y < height / 2;
            px[0] = square ? 40 : static_cast<uint8_t>(255 * x / width);
            px[1] = square ? 200 : static_cast<uint8_t>(255 * y / height);
            px[2] = square ? 220 : static_cast<uint8_t>(128 + k * 10);
            px[3] = 0;
        }
    }
    return bitmap;
}

std::vector<uint8_t> CTestFrames::BottomUp(const CBitmap& bitmap)
{
    const size_t pitch = static_cast<size_t>(bitmap.WidthBytes());
    std::vector<uint8_t> out(bitmap.SizeBytes());
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        std::memcpy(out.data() + (static_cast<size_t>(bitmap.Height() - 1 - y)) * pitch,
                    bitmap.Bits() + static_cast<size_t>(y) * pitch, pitch);
    }
    return out;
}
