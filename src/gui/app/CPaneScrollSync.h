#pragma once

#include <QObject>
#include <array>

class CActionRegistry;
class CImageView;
class CZoom;
class QMenu;
class QSettings;

// 视图 → 同步滚动: the two image panes scroll together. Both draw their
// pictures at the zoom they share from the same origin, so one scroll
// position puts the same picture point under the same place in both:
// scrolling either pane (bars, wheel, keys) moves the other to its position,
// as far as the other's picture reaches. A zoom about the pointer in one
// pane keeps that point still there, and the other pane follows it. On
// unless turned off; the choice is kept in the settings ("View/SyncScroll").
class CPaneScrollSync : public QObject {
    Q_OBJECT

public:
    // `panes`: source, then target, both following `zoom`. The command is
    // registered in `actions`.
    CPaneScrollSync(CActionRegistry& actions, CZoom& zoom, const std::array<CImageView*, 2>& panes, QSettings& settings,
                    QObject* parent);

    // Adds 同步滚动 to `menu`.
    void AddViewItems(QMenu& menu);
    bool IsOn() const { return m_on; }
    // Turns it on or off and remembers the choice; turned on, the target
    // pane moves to the source pane's position.
    void SetOn(bool on);

    static constexpr const char* kKey = "View/SyncScroll";

private:
    // Pane `from` has scrolled: the other takes its position.
    void Follow(int from);

    CActionRegistry& m_actions;
    std::array<CImageView*, 2> m_panes;
    QSettings& m_settings;
    bool m_on = true;
    bool m_zooming = false; // each pane keeps its own anchor until the zoom is done
    bool m_following = false;
};
