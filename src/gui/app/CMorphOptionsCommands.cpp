#include "CMorphOptionsCommands.h"

#include "CActionRegistry.h"
#include "CCurveCommands.h"
#include "Resource.h"
#include "editing/CDocController.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

CMorphOptionsCommands::CMorphOptionsCommands(CActionRegistry& actions, CDocController& doc, QWidget& window)
    : QObject(&window), m_actions(actions), m_doc(doc), m_window(window)
{
}

void CMorphOptionsCommands::Create(QMenuBar& bar)
{
    m_menu = bar.addMenu(tr("变形(&M)"));
    QAction* warpOnly = m_actions.MakeAction(ID_MORPH_WARP_ONLY, tr("仅变形(&W)"), QString(),
                                             tr("只把源图像变形到中间特征线的位置，不与目标图像溶解\n仅变形"));
    QAction* extend = m_actions.MakeAction(ID_MORPH_EDGE_EXTEND, tr("延伸边缘(&X)"), QString(),
                                           tr("落在图像以外的点取最近的边缘像素；不选时为黑色\n延伸边缘"));
    QAction* classic = m_actions.MakeAction(ID_MORPH_QUALITY_CLASSIC, tr("经典(&C)"), QString(),
                                            tr("逐像素取最近点，与以往的结果完全相同\n经典质量"));
    QAction* fine =
        m_actions.MakeAction(ID_MORPH_QUALITY_SMOOTH, tr("平滑(&M)"), QString(),
                             tr("亚像素变形，双线性取样，边缘没有锯齿；第一帧和最后一帧就是两幅图像\n平滑质量"));
    for (QAction* action : {warpOnly, extend}) {
        action->setCheckable(true);
        m_menu->addAction(action);
    }
    // The curves of the shape and the dissolve: submenus of their own.
    (new CCurveCommands(m_actions, m_doc, m_window))->Create(*m_menu);
    m_menu->addSeparator();
    QMenu* quality = m_menu->addMenu(tr("质量(&Q)"));
    auto* group = new QActionGroup(this);
    for (QAction* action : {classic, fine}) {
        action->setCheckable(true);
        group->addAction(action);
        quality->addAction(action);
    }
    for (QAction* action : {warpOnly, extend, classic, fine})
        connect(action, &QAction::triggered, this, &CMorphOptionsCommands::OnChoice);
    UpdateCommandUI();
}

void CMorphOptionsCommands::OnChoice()
{
    // Only what the menu shows changes; the rest of the options stays.
    CMorphOptions options = m_doc.GetMorphOptions();
    options.warpOnly = m_actions.GetAction(ID_MORPH_WARP_ONLY)->isChecked();
    options.edge = m_actions.GetAction(ID_MORPH_EDGE_EXTEND)->isChecked() ? CMorphOptions::Edge::kExtend
                                                                          : CMorphOptions::Edge::kBlack;
    options.quality = m_actions.GetAction(ID_MORPH_QUALITY_SMOOTH)->isChecked() ? CMorphOptions::Quality::kSmooth
                                                                                : CMorphOptions::Quality::kClassic;
    m_doc.SetMorphOptions(options);
}

void CMorphOptionsCommands::UpdateCommandUI()
{
    const CMorphOptions& options = m_doc.GetMorphOptions();
    const bool smoothQuality = options.quality == CMorphOptions::Quality::kSmooth;
    m_actions.GetAction(ID_MORPH_WARP_ONLY)->setChecked(options.warpOnly);
    m_actions.GetAction(ID_MORPH_EDGE_EXTEND)->setChecked(options.edge == CMorphOptions::Edge::kExtend);
    // Smooth frames always take the nearest edge pixel outside a picture.
    m_actions.GetAction(ID_MORPH_EDGE_EXTEND)->setEnabled(!smoothQuality);
    m_actions.GetAction(ID_MORPH_QUALITY_CLASSIC)->setChecked(!smoothQuality);
    m_actions.GetAction(ID_MORPH_QUALITY_SMOOTH)->setChecked(smoothQuality);
}
