#include "CCurveWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

// The fractions shown beyond 0 and 1, for curves that overshoot.
constexpr double kBelow = 0.25;
constexpr double kAbove = 0.25;
constexpr double kHandle = 6.0; // handle radius in pixels

} // namespace

CCurveWidget::CCurveWidget(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(160, 160);
}

void CCurveWidget::SetCurve(const CTimingCurve& curve)
{
    m_curve = curve;
    update();
}

QRectF CCurveWidget::Square() const
{
    const double side = std::min(width(), height()) - 2.0 * kHandle;
    const double unit = side / (1.0 + kBelow + kAbove);
    const double left = (width() - unit) / 2.0;
    const double top = (height() - side) / 2.0 + kAbove * unit;
    return {left, top, unit, unit};
}

QPointF CCurveWidget::ToWidget(double x, double y) const
{
    const QRectF r = Square();
    return {r.left() + x * r.width(), r.bottom() - y * r.height()};
}

QPointF CCurveWidget::ToCurve(const QPointF& at) const
{
    const QRectF r = Square();
    return {(at.x() - r.left()) / r.width(), (r.bottom() - at.y()) / r.height()};
}

void CCurveWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().base());
    p.setPen(QPen(palette().mid().color(), 1.0));
    p.drawRect(Square());
    p.setPen(QPen(palette().mid().color(), 1.0, Qt::DashLine));
    p.drawLine(ToWidget(0, 0), ToWidget(1, 1));

    const QPointF handles[2] = {ToWidget(m_curve.X1(), m_curve.Y1()), ToWidget(m_curve.X2(), m_curve.Y2())};
    p.setPen(QPen(palette().dark().color(), 1.0));
    p.drawLine(ToWidget(0, 0), handles[0]);
    p.drawLine(ToWidget(1, 1), handles[1]);

    QPainterPath path(ToWidget(0, 0));
    constexpr int kSegments = 100;
    for (int i = 1; i <= kSegments; ++i) {
        const double s = static_cast<double>(i) / kSegments;
        path.lineTo(ToWidget(s, m_curve.Apply(s)));
    }
    p.setPen(QPen(palette().highlight().color(), 2.0));
    p.drawPath(path);

    p.setPen(QPen(palette().text().color(), 1.0));
    p.setBrush(palette().highlight());
    for (const QPointF& at : handles)
        p.drawEllipse(at, kHandle, kHandle);
}

void CCurveWidget::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    const QPointF handles[2] = {ToWidget(m_curve.X1(), m_curve.Y1()), ToWidget(m_curve.X2(), m_curve.Y2())};
    m_dragged = -1;
    double nearest = 2.0 * kHandle;
    for (int i = 0; i < 2; ++i) {
        const double d = QLineF(at, handles[i]).length();
        if (d <= nearest) {
            nearest = d;
            m_dragged = i;
        }
    }
}

void CCurveWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragged < 0) return;
    const QPointF point = ToCurve(event->position());
    double p[4] = {m_curve.X1(), m_curve.Y1(), m_curve.X2(), m_curve.Y2()};
    p[2 * m_dragged] = point.x();
    p[2 * m_dragged + 1] = point.y();
    m_curve = CTimingCurve::Bezier(p[0], p[1], p[2], p[3]);
    update();
    emit curveEdited(m_curve);
}

void CCurveWidget::mouseReleaseEvent(QMouseEvent*)
{
    m_dragged = -1;
}
