#include "CFeatureOverlay.h"

#include <QPainter>
#include <QPen>
#include <QRect>
#include <QString>

const QColor CFeatureOverlay::kSelected(255, 0, 0);
const QColor CFeatureOverlay::kHover(0, 0, 255);
const QColor CFeatureOverlay::kNormal(0, 255, 0);

QColor CFeatureOverlay::PointColour(const CPointSet<int>& line, int32_t j)
{
    if (line.m_nState == STATE_POINT_SELECTED && j == line.m_nSelPoint) return kSelected;
    if (line.m_nState == STATE_POINT_HOVER && j == line.m_nSelPoint) return kHover;
    return kNormal;
}

QColor CFeatureOverlay::SegmentColour(const CPointSet<int>& line, int32_t j)
{
    if (line.m_nState == STATE_SEGMENT_SELECTED && j == line.m_nSelSegment) return kSelected;
    if (line.m_nState == STATE_SEGMENT_HOVER && j == line.m_nSelSegment) return kHover;
    return kNormal;
}

void CFeatureOverlay::DrawFeatures(QPainter& dc, const CFeatureSet& features, int32_t p)
{
    const CPointSets<int>& lines = features.m_sets[p];
    for (int32_t i = 0; i < lines.m_nCount; ++i) {
        const CPointSet<int>& line = lines.Line(i);
        for (int32_t j = 0; j < line.m_nCount; ++j)
            DrawPoint(dc, line, j);
        for (int32_t j = 0; j + 1 < line.m_nCount; ++j)
            DrawSegment(dc, line, j);
    }
}

void CFeatureOverlay::DrawPoint(QPainter& dc, const CPointSet<int>& line, int32_t j)
{
    const CFeaturePoint& pt = line.Point(j);
    // The label in the painter's text colour, clipped to its rectangle:
    // left x + 2, top y - 2, right x + 40, bottom y + 40 (exclusive).
    dc.drawText(QRect(pt.x + 2, pt.y - 2, 38, 42), Qt::AlignLeft | Qt::AlignTop, QString::number(pt.label));
    // The marker covers x - 2 .. x + 1 and y - 2 .. y + 1: a 1-pixel outline
    // in the state colour around the painter's brush.
    const QPen previous = dc.pen();
    QPen pen(PointColour(line, j));
    pen.setWidth(0);
    dc.setPen(pen);
    dc.drawRect(QRect(pt.x - 2, pt.y - 2, 3, 3));
    dc.setPen(previous);
}

void CFeatureOverlay::DrawSegment(QPainter& dc, const CPointSet<int>& line, int32_t j)
{
    const CFeaturePoint& a = line.Point(j);
    const CFeaturePoint& b = line.Point(j + 1);
    const QPen previous = dc.pen();
    QPen pen(SegmentColour(line, j));
    pen.setWidth(0);
    // From point j up to, but not including, point j + 1: the end pixel
    // stays as the marker left it.
    pen.setCapStyle(Qt::FlatCap);
    dc.setPen(pen);
    dc.drawLine(a.x, a.y, b.x, b.y);
    dc.setPen(previous);
}
