#include "CPreviewCommands.h"

#include "CActionRegistry.h"
#include "CMorphConfigDlg.h"
#include "Resource.h"
#include "editing/CImageView.h"
#include "editing/CZoom.h"
#include "view/CFrameDisplay.h"
#include "view/CPreviewDock.h"
#include "view/CTrevalinView.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

CPreviewCommands::CPreviewCommands(CActionRegistry& actions, CDocController& doc, CRowPool& pool, QMainWindow& window,
                                   CTrevalinView& result, CMorphConfigDlg& config, const CZoom& zoom,
                                   const std::array<CImageView*, 2>& panes)
    : QObject(&window), m_actions(actions), m_doc(doc), m_pool(pool), m_window(window), m_result(result),
      m_config(config), m_zoom(zoom), m_panes(panes)
{
}

void CPreviewCommands::Create()
{
    m_pDock = new CPreviewDock(m_doc, &m_window);
    m_pDock->SetRowPool(&m_pool);
    m_pDock->SetEngineKind(m_result.GetEngineKind());
    m_pDock->SetSteps(m_config.m_nSteps);
    m_window.addDockWidget(Qt::RightDockWidgetArea, m_pDock);
    m_window.resizeDocks({m_pDock}, {320}, Qt::Horizontal);
    connect(&m_config, &CMorphConfigDlg::stepsEdited, m_pDock, &CPreviewDock::SetSteps);
    connect(&m_config, &CMorphConfigDlg::stepsValidityChanged, m_pDock,
            [this](bool valid) { m_pDock->SetStepsOutOfRange(!valid); });
    connect(&m_result, &CTrevalinView::engineChanged, m_pDock,
            [this] { m_pDock->SetEngineKind(m_result.GetEngineKind()); });
    connect(&m_result, &CTrevalinView::runStateChanged, m_pDock,
            [this] { m_pDock->SetRunActive(m_result.GetDriver().IsRunning()); });

    // The result view's frames follow the panes' zoom; 适合窗口 shows them
    // whole again. The panel has its own fit / 100 % choice.
    CFrameDisplay* display = m_result.GetDisplay();
    const auto follow = [this, display] { display->SetZoomFactor(m_zoom.Factor()); };
    // Ctrl and the wheel over a pane (the panes' own fits leave the view
    // whole).
    connect(&m_zoom, &CZoom::zoomChanged, this, [follow](double, const QObject* source, QPoint) {
        if (source) follow();
    });
    // The zoom commands; 实际大小 at 100 % changes no factor, yet ends the fit.
    for (int id : {ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_ACTUAL})
        connect(m_actions.GetAction(id), &QAction::triggered, this, follow);
    connect(m_actions.GetAction(ID_VIEW_ZOOM_FIT), &QAction::triggered, display, &CFrameDisplay::SetFit);

    QAction* preview = m_pDock->toggleViewAction();
    preview->setText(tr("预览(&P)"));
    m_actions.RegisterAction(ID_VIEW_PREVIEW, preview, tr("显示或隐藏预览窗口\n预览"));
    QAction* onion = m_actions.MakeAction(ID_VIEW_ONION_SKIN, tr("洋葱皮(&K)"), QString(),
                                          tr("在每个窗格中以 50% 透明度显示另一幅图像，便于对齐特征线\n洋葱皮"));
    onion->setCheckable(true);
    connect(onion, &QAction::toggled, this, [this](bool on) {
        m_panes[0]->SetOnionSkin(on);
        m_panes[1]->SetOnionSkin(on);
    });
}

void CPreviewCommands::AddViewItems(QMenu& menu)
{
    menu.addAction(m_actions.GetAction(ID_VIEW_PREVIEW));
    menu.addAction(m_actions.GetAction(ID_VIEW_ONION_SKIN));
}
