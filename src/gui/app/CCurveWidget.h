#pragma once

#include "morph/CTimingCurve.h"

#include <QWidget>

// A timing curve drawn in the unit square (s to the right, the fraction up,
// with room above and below for a curve that overshoots), its two Bezier
// control points as handles that the mouse drags.
class CCurveWidget : public QWidget {
    Q_OBJECT

public:
    explicit CCurveWidget(QWidget* parent = nullptr);

    void SetCurve(const CTimingCurve& curve);
    const CTimingCurve& GetCurve() const { return m_curve; }
    // The widget position of a curve point, and back.
    QPointF ToWidget(double x, double y) const;
    QPointF ToCurve(const QPointF& at) const;

    QSize sizeHint() const override { return {240, 240}; }

signals:
    // A handle was dragged: the curve is the Bezier of the new points.
    void curveEdited(const CTimingCurve& curve);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRectF Square() const;

    CTimingCurve m_curve;
    int m_dragged = -1; // 0: the first control point, 1: the second
};
