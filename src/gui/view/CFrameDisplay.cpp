#include "CFrameDisplay.h"

#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

CFrameDisplay::CFrameDisplay(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void CFrameDisplay::SetFrame(const QImage& image, const QString& label, QSize frameSize)
{
    const QSize before = m_frameSize;
    m_image = image;
    m_label = label;
    m_frameSize = frameSize.isEmpty() ? image.size() : frameSize;
    if (m_frameSize != before) UpdateScrollRanges();
    viewport()->update();
}

void CFrameDisplay::Clear()
{
    SetFrame(QImage(), QString());
}

void CFrameDisplay::SetFit()
{
    m_bFit = true;
    UpdateScrollRanges();
    viewport()->update();
}

void CFrameDisplay::SetZoomFactor(double factor)
{
    if (!(factor > 0.0)) return;
    m_bFit = false;
    m_factor = factor;
    UpdateScrollRanges();
    viewport()->update();
}

double CFrameDisplay::GetScale() const
{
    if (!m_bFit) return m_factor;
    if (m_frameSize.isEmpty()) return 1.0;
    const QSize room = maximumViewportSize();
    const double fit = std::min(static_cast<double>(room.width()) / m_frameSize.width(),
                                static_cast<double>(room.height()) / m_frameSize.height());
    return std::min(1.0, fit);
}

QRect CFrameDisplay::FrameRect() const
{
    const double scale = GetScale();
    const int w = static_cast<int>(std::lround(m_frameSize.width() * scale));
    const int h = static_cast<int>(std::lround(m_frameSize.height() * scale));
    return QRect(-horizontalScrollBar()->value(), -verticalScrollBar()->value(), w, h);
}

void CFrameDisplay::UpdateScrollRanges()
{
    const QRect frame = FrameRect();
    const QSize client = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, std::max(0, frame.width() - client.width()));
    v->setRange(0, std::max(0, frame.height() - client.height()));
    h->setPageStep(std::max(1, client.width()));
    v->setPageStep(std::max(1, client.height()));
    h->setSingleStep(std::max(1, client.width() / 10));
    v->setSingleStep(std::max(1, client.height() / 10));
}

void CFrameDisplay::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

void CFrameDisplay::scrollContentsBy(int, int)
{
    viewport()->update();
}

void CFrameDisplay::paintEvent(QPaintEvent*)
{
    if (m_image.isNull()) return;
    QPainter dc(viewport());
    const QRect frame = FrameRect();
    // Scaled down, the frame is smoothed; at 100 % and above each pixel
    // stays a sharp block.
    dc.setRenderHint(QPainter::SmoothPixmapTransform, GetScale() < 1.0);
    dc.drawImage(frame, m_image, m_image.rect());
    if (m_label.isEmpty()) return;
    // The label is on screen only: centred at the top edge of the part of
    // the frame that is in view.
    const QRect shown = frame.intersected(viewport()->rect());
    dc.setPen(Qt::black);
    dc.setBackground(Qt::white);
    dc.setBackgroundMode(Qt::OpaqueMode);
    dc.drawText(shown, Qt::AlignHCenter | Qt::AlignTop, m_label);
}
