#pragma once

#include <QObject>

class CActionRegistry;
class CTrevalinView;
class QLabel;
class QProgressBar;
class QStatusBar;
class QWidget;

// A run's progress in the status bar ("帧 k / N" and a bar) from Start to
// its end, what the result view tells about a run as it starts, and Esc to
// stop it as 停止 does (the key is free otherwise).
class CRunProgress : public QObject {
    Q_OBJECT

public:
    // `window` takes the key, `bar` the widgets; `result` is the view whose
    // runs are shown. The key's command is registered in `actions`.
    CRunProgress(CActionRegistry& actions, QWidget& window, QStatusBar& bar, CTrevalinView& result);

    // The status-bar widgets (hidden until a run starts) and the key.
    void Create();

    QLabel* GetLabel() const { return m_pLabel; }
    QProgressBar* GetBar() const { return m_pBar; }

signals:
    // Esc while a run goes.
    void stopRequested();

private:
    void OnRunStateChanged();
    void OnFrameProduced(int k, int n);

    CActionRegistry& m_actions;
    QWidget& m_window;
    QStatusBar& m_statusBar;
    CTrevalinView& m_result;
    QLabel* m_pLabel = nullptr;
    QProgressBar* m_pBar = nullptr;
};
