#pragma once

#include <QObject>

class CDocController;
class CMainFrame;
class CZoom;
class QAction;
class QMenu;
class QSettings;

// The main window's editing commands beside the File menu: 编辑 (undo,
// redo, delete), 视图 (zoom and direct drag) and 图像 (open a picture into
// either pane). Owns the zoom both panes share; keeps the direct-drag choice
// in the settings ("Editing/DirectDrag", on unless turned off).
class CEditCommands : public QObject {
    Q_OBJECT

public:
    CEditCommands(CMainFrame& frame, CDocController& doc, QSettings& settings);

    // Makes the commands (registered with the frame under their ids).
    void CreateActions();
    // The three menus, after the menus already in the bar.
    void CreateMenus();
    // Enabled states of the commands.
    void UpdateCommandUI();

    CZoom& GetZoom() const { return *m_pZoom; }
    QMenu* GetEditMenu() const { return m_pEditMenu; }
    QMenu* GetViewMenu() const { return m_pViewMenu; }
    QMenu* GetImageMenu() const { return m_pImageMenu; }

    static constexpr const char* kDirectDragKey = "Editing/DirectDrag";

private:
    void OnDelete();
    void OnZoomFit();
    void OnDirectDrag(bool on);

    CMainFrame& m_frame;
    CDocController& m_doc;
    QSettings& m_settings;
    CZoom* m_pZoom;
    QMenu* m_pEditMenu = nullptr;
    QMenu* m_pViewMenu = nullptr;
    QMenu* m_pImageMenu = nullptr;
};
