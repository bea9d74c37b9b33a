#include "CBitmapImage.h"

#include "morph/CBitmap.h"

#include <cstring>

QImage CBitmapImage::ToImage(const CBitmap& bitmap)
{
    QImage image;
    CopyInto(bitmap, image);
    return image;
}

void CBitmapImage::CopyInto(const CBitmap& bitmap, QImage& image)
{
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "frame pixels are stored as B, G, R, 0 bytes");
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0 || bitmap.BitsPixel() != 32 || bitmap.Bits() == nullptr) {
        image = QImage();
        return;
    }
    const QSize size(bitmap.Width(), bitmap.Height());
    if (image.size() != size || image.format() != QImage::Format_RGB32 || !image.isDetached())
        image = QImage(size, QImage::Format_RGB32);
    if (image.isNull()) return;
    const auto width = static_cast<size_t>(bitmap.Width());
    for (int32_t row = 0; row < bitmap.Height(); ++row) {
        const uint8_t* src = bitmap.Bits() + static_cast<size_t>(row) * static_cast<size_t>(bitmap.WidthBytes());
        auto* dst = reinterpret_cast<uint32_t*>(image.scanLine(row));
        std::memcpy(dst, src, width * 4);
        for (size_t col = 0; col < width; ++col)
            dst[col] |= 0xff000000u;
    }
}
