#pragma once

#include "faces/CFaceJob.h"
#include "morph/CCancelToken.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <memory>

class CActionRegistry;
class CDocController;
class CFaceFinder;
class CUserPrompts;
class QMenu;
class QStatusBar;
class QThread;
class QWidget;

// 图像 → 自动人脸特征线 (Ctrl+Shift+F): finds the largest face in each picture
// (CFaceJob, through the face module loaded on first use) and adds the
// face's line pairs after the lines there, as one undo step. The search
// runs on a thread of its own while the status bar says so and the pointer
// shows it is busy; Esc cancels it. When a picture shows no face, a message
// names it and nothing changes; a picture with several faces gives the
// largest, and the status bar says so. The finder (with its model, slow to
// read) is kept for the next search.
class CFaceCommands : public QObject {
    Q_OBJECT

public:
    CFaceCommands(CActionRegistry& actions, CDocController& doc, CUserPrompts& prompts, QStatusBar& statusBar,
                  QWidget& window, QObject* parent);
    ~CFaceCommands() override;

    // Makes the command and appends it to the 图像 menu `menu`.
    void AddImageItems(QMenu& menu);
    // Enabled while both panes are shown and no search is running.
    void SetInputsShown(bool shown);
    bool IsBusy() const { return m_thread != nullptr; }

    // Starts a search (the menu command).
    void OnAutoFace();
    // Abandons the search in progress (Esc).
    void Cancel();

signals:
    // A search ended, whatever its outcome.
    void finished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnFinished();
    void UpdateCommandUI();

    CActionRegistry& m_actions;
    CDocController& m_doc;
    CUserPrompts& m_prompts;
    QStatusBar& m_statusBar;
    QWidget& m_window;
    bool m_inputsShown = true;

    CCancelToken m_cancel;
    QThread* m_thread = nullptr;
    // Touched by the search's thread only while it runs.
    std::unique_ptr<CFaceFinder> m_finder;
    CMessage m_finderError;
    std::array<std::shared_ptr<const CPictureImage>, 2> m_pictures;
    CFaceJob::Outcome m_outcome;
};
