#pragma once

#include <QObject>

class CDocController;
class CMainFrame;
class CPreviewDock;
class CRowPool;
class QMenu;

// The preview panel and the items of the 视图 menu that go with it: 预览
// shows or hides the panel, 洋葱皮 shows each pane's partner picture at
// 50 % under its lines. The panel follows the control bar's step count, the
// result view's engine and its runs (it waits while one goes).
class CPreviewCommands : public QObject {
    Q_OBJECT

public:
    CPreviewCommands(CMainFrame& frame, CDocController& doc, CRowPool& pool);

    // Makes the panel, docked at the frame's right, and the commands.
    void Create();
    // Adds 预览 and 洋葱皮 to `menu`.
    void AddViewItems(QMenu& menu);

    CPreviewDock* GetDock() const { return m_pDock; }

private:
    CMainFrame& m_frame;
    CDocController& m_doc;
    CRowPool& m_pool;
    CPreviewDock* m_pDock = nullptr;
};
