#include "CPictureFitter.h"

#include "document/CPictureImage.h"
#include "geometry/CFitTransform.h"

#include <QPainter>

#include <cstring>

QImage CPictureFitter::Fit(const CPictureImage& picture, const CFitTransform& transform)
{
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixels are stored as B, G, R, 255 bytes");
    const QImage source(picture.pixels.data(), picture.width, picture.height, picture.width * 4, QImage::Format_RGB32);
    QImage canvas(transform.ToWidth(), transform.ToHeight(), QImage::Format_RGB32);
    if (canvas.isNull()) return canvas;
    canvas.fill(Qt::black);
    const QImage scaled = source.scaled(transform.ScaledWidth(), transform.ScaledHeight(), Qt::IgnoreAspectRatio,
                                        Qt::SmoothTransformation);
    QPainter painter(&canvas);
    painter.drawImage(transform.OffsetX(), transform.OffsetY(), scaled);
    painter.end();
    return canvas;
}

std::shared_ptr<CPictureImage> CPictureFitter::ToPictureImage(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    auto out = std::make_shared<CPictureImage>();
    out->width = rgb.width();
    out->height = rgb.height();
    const size_t row = static_cast<size_t>(rgb.width()) * 4;
    out->pixels.resize(row * static_cast<size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(out->pixels.data() + row * static_cast<size_t>(y), rgb.constScanLine(y), row);
    return out;
}
