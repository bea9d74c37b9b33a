#pragma once

#include "morph/CMorphOptions.h"

#include <QDialog>

class CCurveWidget;
class CDocController;
class QDoubleSpinBox;

// 自定义… of 形状曲线 or 颜色曲线: the curve drawn with its two control points
// (dragged, or typed in four boxes), applied to the document's options as
// it changes so the preview shows it; 确定 keeps it, 取消 puts the options
// back as they were.
class CCurveDialog : public QDialog {
    Q_OBJECT

public:
    // `shape`: the shape curve, else the colour curve.
    CCurveDialog(CDocController& doc, bool shape, QWidget* parent = nullptr);

    CCurveWidget* Curve() const { return m_pCurve; }
    // x1, y1, x2, y2.
    QDoubleSpinBox* PointBox(int i) const { return m_points[i]; }

    void reject() override;

private:
    void Apply(const CTimingCurve& curve);
    void OnPointsTyped();

    CDocController& m_doc;
    bool m_bShape;
    CMorphOptions m_original;
    CCurveWidget* m_pCurve;
    QDoubleSpinBox* m_points[4] = {};
};
