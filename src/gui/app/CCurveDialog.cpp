#include "CCurveDialog.h"

#include "CCurveWidget.h"
#include "editing/CDocController.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

CCurveDialog::CCurveDialog(CDocController& doc, bool shape, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_bShape(shape), m_original(doc.GetMorphOptions())
{
    setWindowTitle(shape ? tr("形状曲线") : tr("颜色曲线"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(shape ? tr("横轴为时间,纵轴为中间特征线从源到目标的位置。")
                                       : tr("横轴为时间,纵轴为目标图像在溶解中所占的比例。"),
                                 this));
    m_pCurve = new CCurveWidget(this);
    layout->addWidget(m_pCurve, 1);

    auto* form = new QFormLayout;
    const char* names[4] = {"x1", "y1", "x2", "y2"};
    for (int i = 0; i < 4; ++i) {
        m_points[i] = new QDoubleSpinBox(this);
        m_points[i]->setObjectName(QString::fromLatin1(names[i]));
        m_points[i]->setDecimals(3);
        m_points[i]->setSingleStep(0.05);
        if (i % 2 == 0) {
            m_points[i]->setRange(0.0, 1.0);
        } else {
            m_points[i]->setRange(CTimingCurve::kMinY, CTimingCurve::kMaxY);
        }
        connect(m_points[i], &QDoubleSpinBox::valueChanged, this, &CCurveDialog::OnPointsTyped);
    }
    auto* first = new QHBoxLayout;
    first->addWidget(m_points[0]);
    first->addWidget(m_points[1]);
    auto* second = new QHBoxLayout;
    second->addWidget(m_points[2]);
    second->addWidget(m_points[3]);
    form->addRow(tr("控制点 1 (x, y):"), first);
    form->addRow(tr("控制点 2 (x, y):"), second);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_pCurve, &CCurveWidget::curveEdited, this, &CCurveDialog::Apply);
    const CTimingCurve& kept = shape ? m_original.shape : m_original.colour;
    Apply(CTimingCurve::Bezier(kept.X1(), kept.Y1(), kept.X2(), kept.Y2()));
}

void CCurveDialog::Apply(const CTimingCurve& curve)
{
    m_pCurve->SetCurve(curve);
    const double values[4] = {curve.X1(), curve.Y1(), curve.X2(), curve.Y2()};
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker quiet(m_points[i]);
        m_points[i]->setValue(values[i]);
    }
    CMorphOptions options = m_doc.GetMorphOptions();
    (m_bShape ? options.shape : options.colour) = curve;
    m_doc.SetMorphOptions(options);
}

void CCurveDialog::OnPointsTyped()
{
    Apply(CTimingCurve::Bezier(m_points[0]->value(), m_points[1]->value(), m_points[2]->value(), m_points[3]->value()));
}

void CCurveDialog::reject()
{
    m_doc.SetMorphOptions(m_original);
    QDialog::reject();
}
