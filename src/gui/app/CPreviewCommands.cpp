#include "CPreviewCommands.h"

#include "CMainFrame.h"
#include "CMorphConfigDlg.h"
#include "Resource.h"
#include "editing/CImageView.h"
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
    connect(result, &CTrevalinView::engineChanged, m_pDock, [this, result] { m_pDock->SetEngineKind(result->GetEngineKind()); });
    connect(result, &CTrevalinView::runStateChanged, m_pDock,
            [this, result] { m_pDock->SetRunActive(result->GetDriver().IsRunning()); });

    QAction* preview = m_pDock->toggleViewAction();
    preview->setText(QStringLiteral("预览(&P)"));
    m_frame.RegisterAction(ID_VIEW_PREVIEW, preview, QStringLiteral("显示或隐藏预览窗口\n预览"));
    QAction* onion = m_frame.MakeAction(ID_VIEW_ONION_SKIN, QStringLiteral("洋葱皮(&K)"), QString(),
                                        QStringLiteral("在每个窗格中以 50% 透明度显示另一幅图像，便于对齐特征线\n洋葱皮"));
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
