#include "CPictureFitter.h"

#include "document/CPictureImage.h"
#include "document/CPictureLimits.h"
#include "geometry/CFitTransform.h"

#include <QPainter>

#include <cstring>

QImage CPictureFitter::Fit(const CPictureImage& picture, const CFitTransform& transform)
{
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixels are stored as B, G, R, 255 bytes");
    if (!CPictureLimits{}.Within(transform.ToWidth(), transform.ToHeight()) || transform.KeptWidth() <= 0 ||
        transform.KeptHeight() <= 0 || transform.PlaceWidth() <= 0 || transform.PlaceHeight() <= 0) {
        return QImage();
    }
    const QImage whole(picture.pixels.data(), picture.width, picture.height, picture.width * 4, QImage::Format_RGB32);
    // Cut first (a view of the kept rows when it is whole columns), then
    // scale only what is kept.
    const QRect keptRect(transform.KeptX(), transform.KeptY(), transform.KeptWidth(), transform.KeptHeight());
    const QImage kept = keptRect == whole.rect() ? whole : whole.copy(keptRect);
    const QImage scaled = kept.isNull() ? QImage()
                                        : kept.scaled(transform.PlaceWidth(), transform.PlaceHeight(),
                                                      Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage canvas(transform.ToWidth(), transform.ToHeight(), QImage::Format_RGB32);
    if (scaled.isNull() || canvas.isNull()) return QImage();
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    painter.drawImage(transform.PlaceX(), transform.PlaceY(), scaled);
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
