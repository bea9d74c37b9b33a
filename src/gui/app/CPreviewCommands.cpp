#include "CPreviewCommands.h"

#include "CEditCommands.h"
#include "CMainFrame.h"
#include "CMorphConfigDlg.h"
#include "Resource.h"
#include "editing/CImageView.h"
#include "editing/CZoom.h"
#include "view/CFrameDisplay.h"
#include "view/CPreviewDock.h"
#include "view/CTrevalinView.h"

#include <QAction>
#include <QMenu>

CPreviewCommands::CPreviewCommands(CMainFrame& frame, CDocController& doc, CRowPool& pool)
    : QObject(&frame), m_frame(frame), m_doc(doc), m_pool(pool)
{
}

void CPreviewCommands::Create()
{
    CTrevalinView* result = m_frame.GetResultView();
    m_pDock = new CPreviewDock(m_doc, &m_frame);
    m_pDock->SetRowPool(&m_pool);
    m_pDock->SetEngineKind(result->GetEngineKind());
    m_pDock->SetSteps(m_frame.GetConfigDlg()->m_nSteps);
    m_frame.addDockWidget(Qt::RightDockWidgetArea, m_pDock);
    m_frame.resizeDocks({m_pDock}, {320}, Qt::Horizontal);
    connect(m_frame.GetConfigDlg(), &CMorphConfigDlg::stepsEdited, m_pDock, &CPreviewDock::SetSteps);
    connect(result, &CTrevalinView::engineChanged, m_pDock,
            [this, result] { m_pDock->SetEngineKind(result->GetEngineKind()); });
    connect(result, &CTrevalinView::runStateChanged, m_pDock,
            [this, result] { m_pDock->SetRunActive(result->GetDriver().IsRunning()); });

    // The frames follow the panes' zoom; 适合窗口 shows them whole again.
    const CZoom& zoom = m_frame.GetEditCommands().GetZoom();
    CFrameDisplay* displays[] = {result->GetDisplay(), m_pDock->GetDisplay()};
    const auto follow = [&zoom, displays] {
        for (CFrameDisplay* display : displays)
            display->SetZoomFactor(zoom.Factor());
    };
    connect(&zoom, &CZoom::zoomChanged, this, follow);
    // 实际大小 at 100 % already changes no factor, yet ends the fit.
    for (int id : {ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_ACTUAL})
        connect(m_frame.GetAction(id), &QAction::triggered, this, follow);
    connect(m_frame.GetAction(ID_VIEW_ZOOM_FIT), &QAction::triggered, this, [displays] {
        for (CFrameDisplay* display : displays)
            display->SetFit();
    });

    QAction* preview = m_pDock->toggleViewAction();
    preview->setText(tr("预览(&P)"));
    m_frame.RegisterAction(ID_VIEW_PREVIEW, preview, tr("显示或隐藏预览窗口\n预览"));
    QAction* onion = m_frame.MakeAction(ID_VIEW_ONION_SKIN, tr("洋葱皮(&K)"), QString(),
                                        tr("在每个窗格中以 50% 透明度显示另一幅图像，便于对齐特征线\n洋葱皮"));
    onion->setCheckable(true);
    connect(onion, &QAction::toggled, this, [this](bool on) {
        m_frame.GetPane(0)->SetOnionSkin(on);
        m_frame.GetPane(1)->SetOnionSkin(on);
    });
}

void CPreviewCommands::AddViewItems(QMenu& menu)
{
    menu.addAction(m_frame.GetAction(ID_VIEW_PREVIEW));
    menu.addAction(m_frame.GetAction(ID_VIEW_ONION_SKIN));
}
