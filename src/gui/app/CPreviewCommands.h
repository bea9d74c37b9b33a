#pragma once

#include <QObject>
#include <array>

class CActionRegistry;
class CDocController;
class CImageView;
class CMorphConfigDlg;
class CPreviewDock;
class CRowPool;
class CTrevalinView;
class CZoom;
class QMainWindow;
class QMenu;

// The preview panel and the items of the 视图 menu that go with it: 预览
// shows or hides the panel, 洋葱皮 shows each pane's partner picture at
// 50 % under its lines. The panel follows the control bar's step count, the
// result view's engine and its runs (it waits while one goes); the result
// view's frames follow the panes' zoom, the panel's have their own.
class CPreviewCommands : public QObject {
    Q_OBJECT

public:
    // `window` takes the panel; `panes`: source, then target. The commands
    // are registered in `actions`, where the zoom commands already are.
    CPreviewCommands(CActionRegistry& actions, CDocController& doc, CRowPool& pool, QMainWindow& window,
                     CTrevalinView& result, CMorphConfigDlg& config, const CZoom& zoom,
                     const std::array<CImageView*, 2>& panes);

    // Makes the panel, docked at the window's right, and the commands.
    void Create();
    // Adds 预览 and 洋葱皮 to `menu`.
    void AddViewItems(QMenu& menu);

    CPreviewDock* GetDock() const { return m_pDock; }

private:
    CActionRegistry& m_actions;
    CDocController& m_doc;
    CRowPool& m_pool;
    QMainWindow& m_window;
    CTrevalinView& m_result;
    CMorphConfigDlg& m_config;
    const CZoom& m_zoom;
    std::array<CImageView*, 2> m_panes;
    CPreviewDock* m_pDock = nullptr;
};
