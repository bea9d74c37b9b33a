#pragma once

#include <QObject>

class CMainFrame;
class QLabel;
class QProgressBar;

// A run's progress in the status bar ("帧 k / N" and a bar) from Start to
// its end, and Esc to stop it as 停止 does (the key is free otherwise).
class CRunProgress : public QObject {
    Q_OBJECT

public:
    explicit CRunProgress(CMainFrame& frame);

    // The status-bar widgets (hidden until a run starts) and the key.
    void Create();

    QLabel* GetLabel() const { return m_pLabel; }
    QProgressBar* GetBar() const { return m_pBar; }

private:
    void OnRunStateChanged();
    void OnFrameProduced(int k, int n);

    CMainFrame& m_frame;
    QLabel* m_pLabel = nullptr;
    QProgressBar* m_pBar = nullptr;
};
