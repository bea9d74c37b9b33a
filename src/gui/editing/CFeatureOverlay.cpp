#include "CFeatureOverlay.h"

#include "CZoom.h"
#include "geometry/CLineGrid.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdlib>

const QColor CFeatureOverlay::kSelected(255, 0, 0);
const QColor CFeatureOverlay::kHover(0, 0, 255);
const QColor CFeatureOverlay::kNormal(0, 255, 0);
const QColor CFeatureOverlay::kSnap(255, 0, 255);

namespace {

// Labels reach 40 pixels right of and below a point, markers 2 left of and
// above it: nothing of a point farther than this outside the area shows.
constexpr double kPointSpan = 42.0;

// What the painter can touch, in its own coordinates.
QRectF PaintArea(const QPainter& dc)
{
    if (dc.hasClipping()) return dc.clipBoundingRect();
    const QPaintDevice* device = dc.device();
    const QRectF all(0, 0, device ? device->width() : 0, device ? device->height() : 0);
    return dc.transform().inverted().mapRect(all);
}

// The screen position of a picture position, in double so that far-off
// points neither overflow nor wrap.
double Screen(int32_t v, double zoom)
{
    return zoom == 1.0 ? static_cast<double>(v) : std::floor((static_cast<double>(v) + 0.5) * zoom);
}

bool Near(double x, double y, const QRectF& area)
{
    return x >= area.left() - kPointSpan && x <= area.right() + kPointSpan && y >= area.top() - kPointSpan &&
           y <= area.bottom() + kPointSpan;
}

// Liang-Barsky: the part of (x0, y0)-(x1, y1) inside `area`, as parameters
// t0 <= t1 along it; false when nothing is inside.
bool Clip(double x0, double y0, double x1, double y1, const QRectF& area, double& t0, double& t1)
{
    t0 = 0.0;
    t1 = 1.0;
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - area.left(), area.right() - x0, y0 - area.top(), area.bottom() - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

// The pixels of a segment from a to b, as SegmentPixels gives them, each
// to `put` (x, y): rasterised from the end with the smaller coordinate
// along the longer axis, so that both directions give the same pixels; then
// b's pixel is left out. The other coordinate is the exact rational position
// rounded half up, kept as a quotient and remainder from step to step.
template <typename Put> void ForSegmentPixels(QPoint a, QPoint b, Put&& put)
{
    const bool alongX = std::llabs(int64_t{b.x()} - a.x()) >= std::llabs(int64_t{b.y()} - a.y());
    const QPoint s = (alongX ? a.x() <= b.x() : a.y() <= b.y()) ? a : b;
    const QPoint e = s == a ? b : a;
    const int64_t steps = alongX ? int64_t{e.x()} - s.x() : int64_t{e.y()} - s.y();
    if (steps <= 0) return;
    const int64_t minor = alongX ? int64_t{e.y()} - s.y() : int64_t{e.x()} - s.x();
    const int64_t absMinor = std::llabs(minor);
    const int sign = minor < 0 ? -1 : 1;
    // across(i) = (2 i |minor| + steps) / (2 steps), |minor| <= steps.
    const int64_t divisor = 2 * steps;
    int64_t quotient = steps / divisor;
    int64_t remainder = steps % divisor;
    for (int64_t i = 0; i <= steps; ++i) {
        const int64_t across = sign * quotient;
        const int x = static_cast<int>(alongX ? s.x() + i : s.x() + across);
        const int y = static_cast<int>(alongX ? s.y() + across : s.y() + i);
        if (x != b.x() || y != b.y()) put(x, y);
        remainder += 2 * absMinor;
        if (remainder >= divisor) {
            ++quotient;
            remainder -= divisor;
        }
    }
}

} // namespace

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

void CFeatureOverlay::DrawFeatures(QPainter& dc, const CFeatureSet& features, int32_t p, double zoom,
                                   const CLineGrid* index)
{
    const CPointSets<int>& lines = features.m_sets[p];
    const QRectF area = PaintArea(dc);
    const QRectF segmentArea = area.adjusted(-2, -2, 2, 2);
    std::vector<QPoint> pixels;
    auto draw = [&](int32_t i, bool labels) {
        const CPointSet<int>& line = lines.Line(i);
        for (int32_t j = 0; j < line.m_nCount; ++j)
            DrawPointIn(dc, line, j, zoom, area, labels);
        for (int32_t j = 0; j + 1 < line.m_nCount; ++j)
            DrawSegmentIn(dc, line, j, zoom, segmentArea, pixels);
    };
    if (index == nullptr || index->LineCount() != lines.m_nCount || zoom <= 0.0) {
        for (int32_t i = 0; i < lines.m_nCount; ++i)
            draw(i, true);
        return;
    }
    // Nothing of a line shows farther than a label's span from its points'
    // box: the lines whose box comes that near the area, in picture pixels
    // (a pixel more each way for the rounding of the screen position).
    std::vector<int32_t> near;
    const double margin = kPointSpan + 2.0;
    index->Candidates((area.left() - margin) / zoom - 1.0, (area.top() - margin) / zoom - 1.0,
                      (area.right() + margin) / zoom + 1.0, (area.bottom() + margin) / zoom + 1.0, near);
    if (near.size() > kMaxDetailed && dc.transform().type() <= QTransform::TxTranslate) {
        DrawCrowd(dc, lines, near, zoom, area);
        return;
    }
    const bool labels = near.size() <= kMaxLabelled;
    for (const int32_t i : near)
        draw(i, labels);
}

void CFeatureOverlay::DrawCrowd(QPainter& dc, const CPointSets<int>& lines, const std::vector<int32_t>& near,
                                double zoom, const QRectF& area)
{
    // Everything goes into one image of the paint area, pixel by pixel, in
    // the order the painter would have drawn it.
    const QRect box = area.toAlignedRect();
    if (box.isEmpty()) return;
    QImage canvas(box.size(), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    const bool fill = dc.brush().style() == Qt::SolidPattern;
    const QRgb fillColour = dc.brush().color().rgba();
    QRgb* const bits = reinterpret_cast<QRgb*>(canvas.bits());
    const qsizetype perLine = canvas.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    const int width = canvas.width();
    const int height = canvas.height();
    auto put = [&](int x, int y, QRgb colour) {
        x -= box.left();
        y -= box.top();
        if (x >= 0 && y >= 0 && x < width && y < height) bits[y * perLine + x] = colour;
    };
    const QRectF segmentArea = QRectF(box).adjusted(0, 0, -1, -1);
    for (const int32_t i : near) {
        const CPointSet<int>& line = lines.Line(i);
        for (int32_t j = 0; j < line.m_nCount; ++j) {
            const int x = static_cast<int>(std::clamp(Screen(line.Point(j).x, zoom), -1e6, 1e6));
            const int y = static_cast<int>(std::clamp(Screen(line.Point(j).y, zoom), -1e6, 1e6));
            const QRgb colour = PointColour(line, j).rgba();
            for (int d = -2; d <= 1; ++d) {
                put(x + d, y - 2, colour);
                put(x + d, y + 1, colour);
                put(x - 2, y + d, colour);
                put(x + 1, y + d, colour);
            }
            if (!fill) continue;
            for (int dy = -1; dy <= 0; ++dy)
                for (int dx = -1; dx <= 0; ++dx)
                    put(x + dx, y + dy, fillColour);
        }
        for (int32_t j = 0; j + 1 < line.m_nCount; ++j) {
            const CFeaturePoint& a = line.Point(j);
            const CFeaturePoint& b = line.Point(j + 1);
            double t0 = 0.0;
            double t1 = 1.0;
            const double x0 = Screen(a.x, zoom);
            const double y0 = Screen(a.y, zoom);
            const double x1 = Screen(b.x, zoom);
            const double y1 = Screen(b.y, zoom);
            if (!Clip(x0, y0, x1, y1, segmentArea, t0, t1)) continue;
            const QRgb colour = SegmentColour(line, j).rgba();
            ForSegmentPixels(QPoint(static_cast<int>(std::lround(x0 + t0 * (x1 - x0))),
                                    static_cast<int>(std::lround(y0 + t0 * (y1 - y0)))),
                             QPoint(static_cast<int>(std::lround(x0 + t1 * (x1 - x0))),
                                    static_cast<int>(std::lround(y0 + t1 * (y1 - y0)))),
                             [&put, colour](int x, int y) { put(x, y, colour); });
        }
    }
    dc.drawImage(box.topLeft(), canvas);
}

void CFeatureOverlay::DrawPoint(QPainter& dc, const CPointSet<int>& line, int32_t j, double zoom)
{
    DrawPointIn(dc, line, j, zoom, PaintArea(dc), true);
}

void CFeatureOverlay::DrawPointIn(QPainter& dc, const CPointSet<int>& line, int32_t j, double zoom, const QRectF& area,
                                  bool label)
{
    const CFeaturePoint& pt = line.Point(j);
    const double sx = Screen(pt.x, zoom);
    const double sy = Screen(pt.y, zoom);
    if (!Near(sx, sy, area)) return;
    const int x = static_cast<int>(sx);
    const int y = static_cast<int>(sy);
    // The label in the painter's text colour, clipped to its rectangle:
    // left x + 2, top y - 2, right x + 40, bottom y + 40 (exclusive).
    if (label) dc.drawText(QRect(x + 2, y - 2, 38, 42), Qt::AlignLeft | Qt::AlignTop, QString::number(pt.label));
    // The marker covers x - 2 .. x + 1 and y - 2 .. y + 1: a 1-pixel outline
    // in the state colour around the painter's brush.
    const QPen previous = dc.pen();
    QPen pen(PointColour(line, j));
    pen.setWidth(0);
    dc.setPen(pen);
    dc.drawRect(QRect(x - 2, y - 2, 3, 3));
    dc.setPen(previous);
}

void CFeatureOverlay::DrawSnapRing(QPainter& dc, const CFeaturePoint& pt, double zoom)
{
    const QPointF centre(Screen(pt.x, zoom), Screen(pt.y, zoom));
    dc.save();
    dc.setRenderHint(QPainter::Antialiasing, false);
    dc.setPen(QPen(kSnap, 2));
    dc.setBrush(Qt::NoBrush);
    dc.drawEllipse(centre, kSnapRingRadius - 1, kSnapRingRadius - 1);
    dc.restore();
}

void CFeatureOverlay::DrawSegment(QPainter& dc, const CPointSet<int>& line, int32_t j, double zoom)
{
    std::vector<QPoint> pixels;
    DrawSegmentIn(dc, line, j, zoom, PaintArea(dc).adjusted(-2, -2, 2, 2), pixels);
}

void CFeatureOverlay::DrawSegmentIn(QPainter& dc, const CPointSet<int>& line, int32_t j, double zoom,
                                    const QRectF& area, std::vector<QPoint>& pixels)
{
    const CFeaturePoint& a = line.Point(j);
    const CFeaturePoint& b = line.Point(j + 1);
    const double x0 = Screen(a.x, zoom);
    const double y0 = Screen(a.y, zoom);
    const double x1 = Screen(b.x, zoom);
    const double y1 = Screen(b.y, zoom);
    pixels.clear();
    if (area.contains(x0, y0) && area.contains(x1, y1)) {
        SegmentPixels(QPoint(static_cast<int>(x0), static_cast<int>(y0)),
                      QPoint(static_cast<int>(x1), static_cast<int>(y1)), area, pixels);
    } else {
        // Far off the paint area: only the part that can show, from where
        // it enters the area to where it leaves it.
        double t0 = 0.0;
        double t1 = 1.0;
        if (!Clip(x0, y0, x1, y1, area, t0, t1)) return;
        const QPoint from(static_cast<int>(std::lround(x0 + t0 * (x1 - x0))),
                          static_cast<int>(std::lround(y0 + t0 * (y1 - y0))));
        const QPoint to(static_cast<int>(std::lround(x0 + t1 * (x1 - x0))),
                        static_cast<int>(std::lround(y0 + t1 * (y1 - y0))));
        SegmentPixels(from, to, area, pixels);
    }
    if (pixels.empty()) return;
    const QPen previous = dc.pen();
    QPen pen(SegmentColour(line, j));
    pen.setWidth(0);
    dc.setPen(pen);
    dc.drawPoints(pixels.data(), static_cast<int>(pixels.size()));
    dc.setPen(previous);
}

void CFeatureOverlay::SegmentPixels(QPoint a, QPoint b, const QRectF& area, std::vector<QPoint>& out)
{
    ForSegmentPixels(a, b, [&area, &out](int x, int y) {
        if (area.contains(QPoint(x, y))) out.emplace_back(x, y);
    });
}
