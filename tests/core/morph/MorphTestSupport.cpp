#include "MorphTestSupport.h"

namespace morph_test {

CBitmap Picture(int32_t width, int32_t height, const std::function<uint8_t(int32_t, int32_t, int32_t)>& fill,
                uint16_t bitsPixel)
{
    CBitmap bitmap;
    bitmap.CreateBitmap(width, height, 1, bitsPixel);
    const int32_t bpp = bitsPixel / 8;
    const int32_t columns = bitmap.WidthBytes() / (bpp > 0 ? bpp : 1);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < columns; ++x) {
            for (int32_t c = 0; c < bpp; ++c) {
                bitmap.Bits()[static_cast<size_t>(y) * bitmap.WidthBytes() + static_cast<size_t>(x) * bpp + c] =
                    fill(x, y, c);
            }
        }
    }
    return bitmap;
}

CBitmap CoordinatePicture(int32_t width, int32_t height, uint8_t tag)
{
    return Picture(width, height, [tag](int32_t x, int32_t y, int32_t c) -> uint8_t {
        switch (c) {
        case 0:
            return static_cast<uint8_t>(x & 0xff);
        case 1:
            return static_cast<uint8_t>(y & 0xff);
        case 2:
            return static_cast<uint8_t>(((x >> 8) & 0x0f) | ((y >> 8) & 0x0f) << 4);
        default:
            return tag;
        }
    });
}

const uint8_t* PixelAt(const CBitmap& bitmap, int32_t x, int32_t y)
{
    const int32_t bpp = bitmap.BitsPixel() / 8;
    return bitmap.Bits() + static_cast<size_t>(y) * bitmap.WidthBytes() + static_cast<size_t>(x) * bpp;
}

Decoded Decode(const CBitmap& frame, int32_t x, int32_t y)
{
    const uint8_t* p = PixelAt(frame, x, y);
    return Decoded{p[0] | (p[2] & 0x0f) << 8, p[1] | (p[2] >> 4) << 8, p[3]};
}

void AddLine(CPointSets<int>& set, int32_t px, int32_t py, int32_t qx, int32_t qy)
{
    CPointSet<int>& line = set.Line(set.Add());
    line.AddPoint(px, py, 0, 1);
    line.AddPoint(qx, qy, 0, 1);
}

void AddPair(CFeatureSet& lines, int32_t px, int32_t py, int32_t qx, int32_t qy, int32_t tpx, int32_t tpy, int32_t tqx,
             int32_t tqy)
{
    AddLine(lines.m_sets[0], px, py, qx, qy);
    AddLine(lines.m_sets[1], tpx, tpy, tqx, tqy);
}

bool AllZero(const CBitmap& bitmap)
{
    for (size_t i = 0; i < bitmap.SizeBytes(); ++i) {
        if (bitmap.Bits()[i] != 0) {
            return false;
        }
    }
    return true;
}

} // namespace morph_test
