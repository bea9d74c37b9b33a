#include "PictureSamples.h"

#include <QBuffer>

namespace picturesamples {

QImage Blocks(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int bx = x / 4;
            const int by = y / 4;
            image.setPixel(x, y, qRgb((bx * 53 + 17) % 256, (by * 97 + 5) % 256, ((bx + by) * 31) % 256));
        }
    }
    return image;
}

QImage Gradient(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixel(x, y, qRgb(x * 255 / (w > 1 ? w - 1 : 1), y * 255 / (h > 1 ? h - 1 : 1), 128));
        }
    }
    return image;
}

std::vector<uint8_t> Encode(const QImage& image, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

CByteVector Bgra(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    CByteVector out;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            out.insert(out.end(), {static_cast<uint8_t>(qBlue(p)), static_cast<uint8_t>(qGreen(p)),
                                   static_cast<uint8_t>(qRed(p)), 255});
        }
    }
    return out;
}

} // namespace picturesamples
