#include "CRunProgress.h"

#include "CMainFrame.h"
#include "Resource.h"
#include "view/CTrevalinView.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

CRunProgress::CRunProgress(CMainFrame& frame) : QObject(&frame), m_frame(frame) {}

void CRunProgress::Create()
{
    QStatusBar* bar = m_frame.statusBar();
    m_pLabel = new QLabel(bar);
    m_pLabel->setObjectName(QStringLiteral("m_wndProgressText"));
    m_pBar = new QProgressBar(bar);
    m_pBar->setObjectName(QStringLiteral("m_wndProgress"));
    m_pBar->setTextVisible(false);
    m_pBar->setMaximumWidth(160);
    // Right of the message pane, left of the lock-key indicators.
    bar->insertPermanentWidget(1, m_pLabel);
    bar->insertPermanentWidget(2, m_pBar);
    m_pLabel->hide();
    m_pBar->hide();

    QAction* stopKey = m_frame.MakeAction(ID_MORPH_STOP_KEY, QString(), QString(), QString());
    stopKey->setShortcut(QKeySequence(Qt::Key_Escape));
    stopKey->setEnabled(false);
    m_frame.addAction(stopKey);
    connect(stopKey, &QAction::triggered, &m_frame, &CMainFrame::OnMorphStop);

    CTrevalinView* result = m_frame.GetResultView();
    connect(result, &CTrevalinView::runStateChanged, this, &CRunProgress::OnRunStateChanged);
    connect(result, &CTrevalinView::frameProduced, this, &CRunProgress::OnFrameProduced);
}

void CRunProgress::OnRunStateChanged()
{
    const bool active = m_frame.GetResultView()->IsRunActive();
    m_frame.GetAction(ID_MORPH_STOP_KEY)->setEnabled(active);
    m_pLabel->setVisible(active);
    m_pBar->setVisible(active);
}

void CRunProgress::OnFrameProduced(int k, int n)
{
    m_pLabel->setText(tr("帧 %1 / %2").arg(k).arg(n));
    m_pBar->setRange(0, n);
    m_pBar->setValue(k);
}
