#include "CPicturePainter.h"

#include "document/CPictureFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRect>

int32_t CPicturePainter::Render(const CPictureFile& picture, QPainter& dc, const RECT& r)
{
    const CPictureImage* held = picture.IsLoaded() ? picture.GetImage() : nullptr;
    if (held == nullptr) {
        return 0;
    }
    RECT target = r;
    if (target == RECT{}) {
        const SIZE size = picture.GetSizeInPixels();
        target = RECT{0, 0, size.cx, size.cy};
    }
    // The pixels are B, G, R, 255 in memory: QImage's RGB32 on a
    // little-endian machine. Wrapped, not copied.
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixels are stored as B, G, R, 255 bytes");
    const QImage image(held->pixels.data(), held->width, held->height, held->width * 4, QImage::Format_RGB32);
    const QRect dest(target.left, target.top, target.right - target.left, target.bottom - target.top);
    dc.drawImage(dest, image, image.rect());
    return 1;
}

bool CPicturePainter::RenderMissing(const CPictureFile& picture, QPainter& dc, const QRect& area)
{
    if (!picture.IsMissing() || picture.IsLoaded()) {
        return false;
    }
    const QString name = QFileInfo(QFile::decodeName(picture.GetMissingPath().c_str())).fileName();
    dc.save();
    dc.setPen(Qt::gray);
    dc.setBackgroundMode(Qt::TransparentMode);
    dc.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                QCoreApplication::translate("CPicturePainter", "找不到图片 %1").arg(name));
    dc.restore();
    return true;
}
