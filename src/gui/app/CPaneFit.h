#pragma once

#include <QObject>
#include <array>

class CActionRegistry;
class CDocController;
class CImageView;
class CZoom;

// Keeps both pictures whole in their panes until the user zooms: while on,
// the zoom the panes share is set so that both pictures fit (as 视图 → 适合
// 窗口 sets it: as large as both fit) whenever a project or a picture is
// opened and whenever the panes change size. On at the start; 放大, 缩小,
// 实际大小 and Ctrl with the wheel turn it off, 适合窗口 on again.
class CPaneFit : public QObject {
    Q_OBJECT

public:
    // `panes`: source, then target, following `zoom`. The zoom commands
    // must be in `actions` already.
    CPaneFit(CActionRegistry& actions, CDocController& doc, CZoom& zoom, const std::array<CImageView*, 2>& panes,
             QObject* parent);

    bool IsOn() const { return m_on; }
    // Fits now (when on), as it does after the events it follows.
    void Fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Fits once the events now queued (the panes' layout) are done.
    void Schedule();

    CZoom& m_zoom;
    std::array<CImageView*, 2> m_panes;
    bool m_on = true;
    bool m_fitting = false; // the zoom is changed here, not by the user
    bool m_scheduled = false;
};
