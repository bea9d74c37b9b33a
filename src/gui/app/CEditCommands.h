#pragma once

#include <QObject>
#include <array>
#include <cstdint>

class CActionRegistry;
class CDocController;
class CImageView;
class CToolSwitcher;
class CZoom;
class QMenu;
class QMenuBar;
class QSettings;

// The main window's editing commands beside the File menu: 编辑 (undo,
// redo, delete), 视图 (zoom, direct drag and snapping) and 图像 (open a
// picture into either pane). Works on the zoom both panes share; keeps the
// direct-drag and snapping choices in the settings ("Editing/DirectDrag",
// "Editing/SnapToPoints", each on unless turned off).
class CEditCommands : public QObject {
    Q_OBJECT

public:
    // `panes`: source, then target. The commands are registered in `actions`.
    CEditCommands(CActionRegistry& actions, CDocController& doc, CToolSwitcher& tools,
                  const std::array<CImageView*, 2>& panes, CZoom& zoom, QSettings& settings, QObject* parent);

    // Makes the commands.
    void CreateActions();
    // The three menus, after the menus already in `bar`.
    void CreateMenus(QMenuBar& bar);
    // Enabled states of the commands.
    void UpdateCommandUI();

    // What the window shows: the panes (delete and the 图像 commands work
    // then) or the result view; and the image of the pane last active,
    // whose selected line 删除 takes first.
    void SetInputsShown(bool shown) { m_bInputsShown = shown; }
    void SetActiveImage(int32_t image) { m_nActiveImage = image; }

    QMenu* GetEditMenu() const { return m_pEditMenu; }
    QMenu* GetViewMenu() const { return m_pViewMenu; }
    QMenu* GetImageMenu() const { return m_pImageMenu; }

    static constexpr const char* kDirectDragKey = "Editing/DirectDrag";
    static constexpr const char* kSnapToPointsKey = "Editing/SnapToPoints";

private:
    void OnDelete();
    void OnZoomFit();
    void OnDirectDrag(bool on);
    void OnSnapToPoints(bool on);

    CActionRegistry& m_actions;
    CDocController& m_doc;
    CToolSwitcher& m_tools;
    std::array<CImageView*, 2> m_panes;
    CZoom& m_zoom;
    QSettings& m_settings;
    bool m_bInputsShown = true;
    int32_t m_nActiveImage = 0;
    QMenu* m_pEditMenu = nullptr;
    QMenu* m_pViewMenu = nullptr;
    QMenu* m_pImageMenu = nullptr;
};
