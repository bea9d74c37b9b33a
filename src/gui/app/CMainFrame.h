#pragma once

#include "CActionRegistry.h"

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>

class CDocController;
class CDocManager;
class CEditCommands;
class CFaceCommands;
class CExportCommand;
class CImageView;
class CMorphConfigDlg;
class CPaneFit;
class CPaneScrollSync;
class CPreviewCommands;
class CPreviewDock;
class CRecentFileList;
class CRowPool;
class CToolSwitcher;
class CTrevalinView;
class CUserPrompts;
class CWindowLayout;
class CMorphOptionsCommands;
class CZoom;
class QAction;
class QLabel;
class QMenu;
class QSettings;
class QSplitter;
class QStackedWidget;
class QToolBar;

// The main window: the tool bar, the control bar in a bar area below it,
// the status bar, the menus (文件, then 编辑, 视图 and 图像), and a client
// area showing either the two image panes side by side (source left, target
// right) or the result view. The control bar's Start, Pause and Stop reach
// the result view through it. Closing it asks first when the project has
// changes that would be lost. While a run goes the status bar shows its
// progress and Esc stops it (CRunProgress); the preview panel docks at its
// side (CPreviewCommands).
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // `settings` keeps the editing choices (CEditCommands); `pool` is the
    // application's row pool, for the result view and the preview.
    CMainFrame(CDocController& doc, CDocManager& docManager, CRecentFileList& recent, CUserPrompts& prompts,
               QSettings& settings, CRowPool& pool, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // ID_VIEW_INPUTS / ID_VIEW_RESULT.
    void OnViewInputs();
    void OnViewResult();
    bool IsShowingInputs() const { return m_bShowInputs; }

    // The control bar's three commands.
    void OnMorphStart();
    void OnMorphPause();
    void OnMorphStop();

    // Enabled state and check marks of every command, from the state of
    // the document, the client area and the result view.
    void UpdateCommandUI();

    // The window's commands by id.
    CActionRegistry& GetActions() { return m_actions; }
    QAction* GetAction(int id) const { return m_actions.GetAction(id); }
    CEditCommands& GetEditCommands() const { return *m_pEditCommands; }
    CFaceCommands& GetFaceCommands() const { return *m_faces; }
    // The draw and select tools of the two panes.
    CToolSwitcher& GetTools() const { return *m_pTools; }
    QToolBar* GetToolBar() const { return m_pToolBar; }
    QMenu* GetFileMenu() const { return m_pFileMenu; }
    CImageView* GetPane(int column) const { return column == 0 ? m_pLeftPane : m_pRightPane; }
    CTrevalinView* GetResultView() const { return m_pResultView; }
    CMorphConfigDlg* GetConfigDlg() const { return m_pConfigDlg; }
    CPreviewDock* GetPreview() const;
    CRowPool& GetRowPool() const { return m_rowPool; }

    // The window's arrangement and the choices that go with it, kept in
    // `settings` (CWindowLayout). A new user gets the preview shown at the
    // right.
    void RestoreLayout(QSettings& settings);
    void SaveLayout(QSettings& settings) const;
    QSplitter* GetSplitter() const { return m_pSplitter; }
    CPaneScrollSync& GetScrollSync() const { return *m_scrollSync; }
    CPaneFit& GetPaneFit() const { return *m_fit; }
    QLabel* GetIdleLabel() const { return m_pIdleLabel; }
    QWidget* GetActiveView() const { return m_pActiveView; }
    // The recent-file entries of the File menu, in order.
    QList<QAction*> RecentFileActions() const { return m_recentActions; }

    QMenu* createPopupMenu() override;

    // Where 文件 → 导出… goes (none: the command does nothing).
    void SetExportCommand(CExportCommand* command) { m_pExport = command; }
    // 文件 → 导出…: the steps from the control bar, the result view's engine.
    void OnFileExport();
    void OnFileExportSequence();
    QMenu* GetMorphMenu() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A project file dropped on the window opens as 打开 does (after the
    // question about unsaved changes).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Makes one of the frame's own commands in its registry.
    QAction* MakeAction(int id, const QString& text, const QString& icon, const QString& prompt)
    {
        return m_actions.MakeAction(id, text, icon, prompt);
    }
    void CreateToolBar();
    void CreateMenu();
    void CreateStatusBar();
    void CreateControlBar();
    void CreateClient();
    void RebuildRecentFileMenu();
    void ActivateView(QWidget* view);
    // The active view, with the image of the pane (if it is one) for 删除.
    void SetActiveView(QWidget* view);
    void OnNextPane();
    // The panes' tools and the commands of 编辑, 视图 and 图像.
    void CreateEditCommands(QSettings& settings);
    // 文件 → 导出… and the 变形 menu of the morph options.
    void CreateExportMenu();

    CDocController& m_doc;
    CDocManager& m_docManager;
    CRecentFileList& m_recent;
    CUserPrompts& m_prompts;

    CActionRegistry m_actions{*this};
    CZoom* m_pZoom = nullptr; // both panes', the result view's and the preview's
    std::unique_ptr<CToolSwitcher> m_pTools;
    CEditCommands* m_pEditCommands = nullptr;
    CFaceCommands* m_faces = nullptr; // 图像 → 自动人脸特征线
    QToolBar* m_pToolBar = nullptr;
    QToolBar* m_pReBar = nullptr;
    CMorphConfigDlg* m_pConfigDlg = nullptr;
    QMenu* m_pFileMenu = nullptr;
    QAction* m_pRecentPlace = nullptr;
    QAction* m_pRecentEnd = nullptr;
    QList<QAction*> m_recentActions;
    QLabel* m_pIdleLabel = nullptr;
    CMorphOptionsCommands* m_pMorphOptions = nullptr;
    CExportCommand* m_pExport = nullptr;

    // One pool of threads for the rows of runs and previews alike.
    CRowPool& m_rowPool; // the application's
    CPreviewCommands* m_pPreviewCommands = nullptr;
    CPaneScrollSync* m_scrollSync = nullptr;
    CPaneFit* m_fit = nullptr;
    CWindowLayout* m_layout = nullptr;

    QStackedWidget* m_pClient = nullptr;
    QSplitter* m_pSplitter = nullptr;
    int32_t m_nViewCount = 0; // panes made so far: the next one's image index
    CImageView* m_pLeftPane = nullptr;
    CImageView* m_pRightPane = nullptr;
    CTrevalinView* m_pResultView = nullptr;
    QPointer<QWidget> m_pActiveView;
    bool m_bShowInputs = true;
    bool m_bFocusSet = false; // the panes had the focus at the first show
};
