#pragma once

#include "geometry/CFeatureSet.h"
#include "geometry/RECT.h"

#include <cstdint>

class CDocController;
class CToolPane;
class QPainter;
class QRect;
template <typename T> class CPointSet;

// An editing tool of an image pane. The pane hands it every left press, left
// release, right press and pointer move with the position in image pixels
// (the picture pixel under the pointer: client position plus scroll
// position, divided by the zoom). Used by itself it is the pane's default
// tool: the right button opens the pane's context menu and everything else
// is ignored. Keys reach it from the pane that has the focus.
class CMorphCommand {
public:
    CMorphCommand(CDocController* pDoc, CToolPane* pView) : m_pDoc(pDoc), m_pView(pView) {}
    CMorphCommand(const CMorphCommand&) = delete;
    CMorphCommand& operator=(const CMorphCommand&) = delete;

    virtual void OnLButtonDown(uint32_t nFlags, int32_t x, int32_t y);
    virtual void OnLButtonUp(uint32_t nFlags, int32_t x, int32_t y);
    virtual void OnRButtonDown(uint32_t nFlags, int32_t x, int32_t y);
    virtual void OnMouseMove(uint32_t nFlags, int32_t x, int32_t y);
    virtual ~CMorphCommand() = default;
    // A gesture in progress (a line being drawn, a drag) ends as the user
    // would have ended it, before the lines change under the tool.
    virtual void EndGesture();
    // The lines changed under the tool (undo, redo, delete, another
    // project): it drops line indices that no longer hold.
    virtual void OnLinesChanged();
    // The line the tool holds as its current one (the select tool's), or
    // -1; what 删除 takes first.
    virtual int32_t CurrentLine() const;
    // A key pressed in the pane (Qt::Key, key flags as the pointer's);
    // false when the tool has no use for it.
    virtual bool OnKeyDown(int key, uint32_t nFlags);
    // Line pair `line` was selected in both images (CDocController).
    virtual void OnLinePairSelected(int32_t line);
    // Paints what the tool shows over the lines (the point an end snaps
    // onto); `dc` and `zoom` as CFeatureOverlay has them.
    void DrawOver(QPainter& dc, double zoom) const;

    // MK_SHIFT: Shift is held.
    static constexpr uint32_t kShiftHeld = 0x0004;

protected:
    // Invalidates a rectangle given in image pixels, shifted by the pane's
    // scroll position into client coordinates (and scaled by its zoom).
    void InvalidateImageRect(const RECT& rc, bool bErase);
    // The client area a line's markers, labels and segments cover on screen.
    QRect LineArea(const CPointSet<int>& line) const;
    // Invalidates what a line covered before a change (`before`) and what
    // it covers now.
    void RepaintChange(const QRect& before, const CPointSet<int>& line);
    // Snapping: with the document's snapping on and Shift not held in
    // `nFlags`, (x, y) in the pane's image moves onto the nearest point
    // within the grab radius of any line but `skipLine`, which is shown as
    // the snap target until ShowSnap changes it. Returns that point, or
    // none with (x, y) left as it is.
    CFeatureSet::PointRef Snap(uint32_t nFlags, int32_t skipLine, int32_t& x, int32_t& y);
    void ShowSnap(const CFeatureSet::PointRef& target);

    CDocController* m_pDoc; // null in a pane's default tool
    CToolPane* m_pView;

private:
    // The client area the ring around the snap target covers.
    QRect SnapArea() const;
    const CFeaturePoint* SnapPoint() const;

    CFeatureSet::PointRef m_snap; // the point an end lands on, shown
};
