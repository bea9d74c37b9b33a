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

std::vector<uint8_t> BmpHeader(int32_t w, int32_t h, size_t pixelBytes)
{
    std::vector<uint8_t> b;
    auto put = [&b](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) {
            b.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    };
    const uint32_t imageSize =
        static_cast<uint32_t>((static_cast<uint64_t>(w) * 3 + 3) / 4 * 4 * static_cast<uint64_t>(h));
    b.push_back('B');
    b.push_back('M');
    put(54 + static_cast<uint32_t>(pixelBytes), 4); // file size
    put(0, 4);
    put(54, 4); // offset of the pixels
    put(40, 4); // info header size
    put(static_cast<uint32_t>(w), 4);
    put(static_cast<uint32_t>(h), 4);
    put(1, 2);  // planes
    put(24, 2); // bits per pixel
    put(0, 4);  // BI_RGB
    put(imageSize, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    b.insert(b.end(), pixelBytes, 0x80);
    return b;
}

std::vector<uint8_t> Bgra(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<uint8_t> out;
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
