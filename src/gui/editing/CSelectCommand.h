#pragma once

#include "CMorphCommand.h"
#include "geometry/CLineSnapshot.h"

#include <QElapsedTimer>
#include <QPoint>
#include <cstdint>

template <typename T> class CPointSet;

// The select tool: highlights the point or segment under the pointer,
// selects it on a left press, and drags it when the press falls on the
// element already selected. Works only on the lines of its pane's image; a
// drag is one step of the document's history.
//
// With direct drag on, what is under the pointer is ranked (CFeatureSet::
// PickAt, 5 screen pixels at every zoom, segments by their true distance:
// points before segments, the selected element before others), a press on
// an element followed by a move of more than 3 screen pixels with the button
// held drags it at once, and the drag keeps the dragged points on the
// picture. With direct drag off the tool keeps to the classic sequence: the
// first line the classic hit test finds (CFeatureSet::HitTest), a drag only
// from a press on the selected element, every drag step hit-testing first
// (which can take the selection away and stop the drag's moves) and moving
// the selection by the pointer's move since the step before (the pointer
// held to the picture).
//
// A dragged point snaps as CMorphCommand::Snap says (a dragged segment never
// does). Arrow keys nudge the selected element of the current line by 1
// picture pixel (Shift: 10), kept on the picture, a burst of them one step
// of the history; Tab and Shift+Tab select the next and previous line pair
// in both images.
class CSelectCommand : public CMorphCommand {
public:
    using CMorphCommand::CMorphCommand;

    void OnLButtonDown(uint32_t nFlags, int32_t x, int32_t y) override;
    void OnLButtonUp(uint32_t nFlags, int32_t x, int32_t y) override;
    void OnRButtonDown(uint32_t nFlags, int32_t x, int32_t y) override;
    void OnMouseMove(uint32_t nFlags, int32_t x, int32_t y) override;
    // A drag ends as a release ends it.
    void EndGesture() override;
    void OnLinesChanged() override;
    int32_t CurrentLine() const override { return m_nCurrent; }
    bool OnKeyDown(int key, uint32_t nFlags) override;
    void OnLinePairSelected(int32_t line) override;

    // How far the pointer must move with the button held before a press
    // becomes a drag, in screen pixels.
    static constexpr int kDragThreshold = 3;
    // A pause between arrow keys longer than this ends their burst.
    static constexpr int kNudgePauseMs = 700;

    int32_t m_nToolState = 0; // 0 idle, 1 a line is current, 2 dragging
    int32_t m_nHover = -1;    // line last highlighted, -1 none
    int32_t m_nCurrent = -1;  // current line, -1 none
    struct {
        int32_t x = 0;
        int32_t y = 0;
    } m_ptLast; // pointer position at the previous drag step

private:
    CPointSet<int>* Line(int32_t i);
    // What is under the pointer at (x, y) (see the class comment); repaints
    // every line whose highlight changed.
    int32_t HitTest(int32_t x, int32_t y);
    void RepaintLine(int32_t i);
    void Deselect(int32_t c);
    void Promote(int32_t h);
    void BeginDrag(int32_t x, int32_t y);
    void DragTo(uint32_t nFlags, int32_t x, int32_t y);
    void EndDrag();
    // (x, y) held to the pane's picture (as it is without a picture).
    QPoint OnPicture(int32_t x, int32_t y) const;
    // The points the selection of `line` moves: the first and how many.
    static bool SelectedPoints(const CPointSet<int>& line, int32_t& first, int32_t& count);
    bool Nudge(int32_t dx, int32_t dy);
    bool SelectNextPair(bool forward);

    bool m_bPressPending = false; // pressed on an element, not moved yet
    QPoint m_ptPressClient;       // where that press was, client pixels
    QPoint m_ptPress;             // and in picture pixels
    QPoint m_ptOrigin;            // pointer position where the drag began
    QPoint m_ptFree;              // where the dragged point goes unsnapped
    int32_t m_nDragLine = -1;     // the line the drag began on
    CLineSnapshot m_dragStart;    // the dragged line as the drag found it
    int32_t m_nBurst = -1;        // the nudges' burst, -1 when ended
    QElapsedTimer m_lastNudge;
};
