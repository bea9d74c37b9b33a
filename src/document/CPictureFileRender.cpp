#include "CPictureFile.h"

#include <QImage>
#include <QPainter>
#include <QRect>

// Drawing the held picture through a QPainter, which stands in for the
// device context.
int32_t CPictureFile::Render(QPainter& dc, const RECT& r) const
{
    if (!m_bLoaded || !m_image) {
        return 0;
    }
    RECT target = r;
    if (target == RECT{}) {
        const SIZE size = GetSizeInPixels();
        target = RECT{0, 0, size.cx, size.cy};
    }
    // The pixels are B, G, R, 255 in memory: QImage's RGB32 on a
    // little-endian machine. Wrapped, not copied.
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixels are stored as B, G, R, 255 bytes");
    const QImage image(m_image->pixels.data(), m_image->width, m_image->height, m_image->width * 4,
                       QImage::Format_RGB32);
    const QRect dest(target.left, target.top, target.right - target.left, target.bottom - target.top);
    dc.drawImage(dest, image, image.rect());
    return 1;
}
