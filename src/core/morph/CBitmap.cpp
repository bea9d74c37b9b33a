#include "CBitmap.h"

#include <algorithm>
#include <cstring>

int32_t CBitmap::RowPitch(int32_t width, uint16_t bitsPixel)
{
    const int64_t bits = static_cast<int64_t>(width) * bitsPixel;
    return static_cast<int32_t>(((bits + 15) / 16) * 2);
}

bool CBitmap::CreateBitmap(int32_t width, int32_t height, uint16_t planes, uint16_t bitsPixel)
{
    DeleteObject();
    const bool depthOk = bitsPixel == 1 || bitsPixel == 4 || bitsPixel == 8 || bitsPixel == 16 ||
                         bitsPixel == 24 || bitsPixel == 32;
    if (width < 0 || height < 0 || planes != 1 || !depthOk) {
        return false;
    }
    const int64_t pitch = (static_cast<int64_t>(width) * bitsPixel + 15) / 16 * 2;
    const int64_t bytes = pitch * height;
    if (pitch > INT32_MAX || bytes > static_cast<int64_t>(SIZE_MAX / 2)) {
        return false;
    }
    m_bits.assign(static_cast<size_t>(bytes), 0);
    m_header.bmType = 0;
    m_header.bmWidth = width;
    m_header.bmHeight = height;
    m_header.bmWidthBytes = static_cast<int32_t>(pitch);
    m_header.bmPlanes = planes;
    m_header.bmBitsPixel = bitsPixel;
    m_header.bmBits = nullptr;
    return true;
}

bool CBitmap::CreateCompatibleBitmap(int32_t width, int32_t height)
{
    return CreateBitmap(width, height, 1, 32);
}

void CBitmap::DeleteObject()
{
    m_header = BITMAP{};
    m_bits.clear();
    m_bits.shrink_to_fit();
}

int CBitmap::GetObject(int size, BITMAP* out) const
{
    if (out == nullptr || size < static_cast<int>(sizeof(BITMAP))) {
        return 0;
    }
    *out = m_header;
    out->bmBits = nullptr;
    return static_cast<int>(sizeof(BITMAP));
}

long CBitmap::GetBitmapBits(long count, void* out) const
{
    if (out == nullptr || count <= 0) {
        return 0;
    }
    const size_t n = std::min(static_cast<size_t>(count), m_bits.size());
    if (n > 0) {
        std::memcpy(out, m_bits.data(), n);
    }
    return static_cast<long>(n);
}

long CBitmap::SetBitmapBits(long count, const void* in)
{
    if (in == nullptr || count <= 0) {
        return 0;
    }
    const size_t n = std::min(static_cast<size_t>(count), m_bits.size());
    if (n > 0) {
        std::memcpy(m_bits.data(), in, n);
    }
    return static_cast<long>(n);
}
