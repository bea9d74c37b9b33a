#include "CCurveCommands.h"

#include "CActionRegistry.h"
#include "CCurveDialog.h"
#include "Resource.h"
#include "editing/CDocController.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace {

using Kind = CTimingCurve::Kind;

constexpr Kind kKinds[CCurveCommands::kItems] = {Kind::kLinear, Kind::kEaseIn, Kind::kEaseOut, Kind::kSmooth,
                                                 Kind::kBezier};

int FirstId(bool shape)
{
    return shape ? ID_MORPH_SHAPE_CURVE_FIRST : ID_MORPH_COLOUR_CURVE_FIRST;
}

} // namespace

CCurveCommands::CCurveCommands(CActionRegistry& actions, CDocController& doc, QWidget& window)
    : QObject(&window), m_actions(actions), m_doc(doc), m_window(window)
{
    connect(&m_doc, &CDocController::commandStateChanged, this, &CCurveCommands::UpdateUI);
}

void CCurveCommands::Create(QMenu& menu)
{
    menu.addSeparator();
    CreateMenu(*menu.addMenu(tr("形状曲线(&H)")), true);
    CreateMenu(*menu.addMenu(tr("颜色曲线(&C)")), false);
    UpdateUI();
}

void CCurveCommands::CreateMenu(QMenu& menu, bool shape)
{
    const QString what = shape ? tr("中间特征线的位置") : tr("源图像与目标图像的溶解");
    const QString texts[kItems] = {tr("线性(&L)"), tr("缓入(&I)"), tr("缓出(&O)"), tr("平滑(&S)"), tr("自定义(&U)...")};
    const QString prompts[kItems] = {tr("%1匀速变化\n线性").arg(what), tr("%1开始时慢，然后加快\n缓入").arg(what),
                                     tr("%1开始时快，结束时放慢\n缓出").arg(what),
                                     tr("%1在开始和结束时放慢，中间加快\n平滑").arg(what),
                                     tr("用可拖动控制点的贝塞尔曲线决定%1的快慢\n自定义曲线").arg(what)};
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < kItems; ++i) {
        QAction* action = m_actions.MakeAction(FirstId(shape) + i, texts[i], QString(), prompts[i]);
        action->setCheckable(true);
        group->addAction(action);
        menu.addAction(action);
        if (kKinds[i] == Kind::kBezier) {
            connect(action, &QAction::triggered, this, [this, shape] { Customize(shape); });
        } else {
            connect(action, &QAction::triggered, this, [this, shape, i] { Choose(shape, kKinds[i]); });
        }
    }
}

void CCurveCommands::UpdateUI()
{
    const CMorphOptions& options = m_doc.GetMorphOptions();
    for (bool shape : {true, false}) {
        const Kind kind = (shape ? options.shape : options.colour).GetKind();
        for (int i = 0; i < kItems; ++i) {
            if (QAction* action = m_actions.GetAction(FirstId(shape) + i)) action->setChecked(kKinds[i] == kind);
        }
    }
}

void CCurveCommands::Choose(bool shape, CTimingCurve::Kind kind)
{
    CMorphOptions options = m_doc.GetMorphOptions();
    (shape ? options.shape : options.colour) = CTimingCurve(kind);
    m_doc.SetMorphOptions(options);
    UpdateUI();
}

void CCurveCommands::Customize(bool shape)
{
    CCurveDialog dialog(m_doc, shape, &m_window);
    dialog.exec();
    UpdateUI();
}
