#include "CRunProgress.h"

#include "CActionRegistry.h"
#include "Resource.h"
#include "view/CTrevalinView.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

CRunProgress::CRunProgress(CActionRegistry& actions, QWidget& window, QStatusBar& bar, CTrevalinView& result)
    : QObject(&window), m_actions(actions), m_window(window), m_statusBar(bar), m_result(result)
{
}

void CRunProgress::Create()
{
    m_pLabel = new QLabel(&m_statusBar);
    m_pLabel->setObjectName(QStringLiteral("m_wndProgressText"));
    m_pBar = new QProgressBar(&m_statusBar);
    m_pBar->setObjectName(QStringLiteral("m_wndProgress"));
    m_pBar->setTextVisible(false);
    m_pBar->setMaximumWidth(160);
    // Right of the message pane, left of the lock-key indicators.
    m_statusBar.insertPermanentWidget(1, m_pLabel);
    m_statusBar.insertPermanentWidget(2, m_pBar);
    m_pLabel->hide();
    m_pBar->hide();

    QAction* stopKey = m_actions.MakeAction(ID_MORPH_STOP_KEY, QString(), QString(), QString());
    stopKey->setShortcut(QKeySequence(Qt::Key_Escape));
    stopKey->setEnabled(false);
    m_window.addAction(stopKey);
    connect(stopKey, &QAction::triggered, this, &CRunProgress::stopRequested);

    connect(&m_result, &CTrevalinView::runStateChanged, this, &CRunProgress::OnRunStateChanged);
    connect(&m_result, &CTrevalinView::frameProduced, this, &CRunProgress::OnFrameProduced);
    connect(&m_result, &CTrevalinView::runNotice, this, [this](const QString& text) { m_statusBar.showMessage(text); });
}

void CRunProgress::OnRunStateChanged()
{
    const bool active = m_result.IsRunActive();
    m_actions.GetAction(ID_MORPH_STOP_KEY)->setEnabled(active);
    m_pLabel->setVisible(active);
    m_pBar->setVisible(active);
}

void CRunProgress::OnFrameProduced(int k, int n)
{
    m_pLabel->setText(tr("帧 %1 / %2").arg(k).arg(n));
    m_pBar->setRange(0, n);
    m_pBar->setValue(k);
}
