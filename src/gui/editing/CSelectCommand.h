#pragma once

#include "CMorphCommand.h"
#include "geometry/CLineSnapshot.h"

#include <QPoint>
#include <cstdint>

template <typename T> class CPointSet;

// The select tool: highlights the point or segment under the pointer,
// selects it on a left press, and drags it when the press falls on the
// element already selected. With direct drag on, a press on an element
// followed by a move of more than 3 screen pixels with the button held drags
// it at once. Points win over segments under the pointer, and the selected
// element over others. A drag keeps the dragged points on the picture and is
// one step of the document's history. Works only on the lines of its pane's
// image.
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

    // How far the pointer must move with the button held before a press
    // becomes a drag, in screen pixels.
    static constexpr int kDragThreshold = 3;

    int32_t m_nToolState = 0; // 0 idle, 1 a line is current, 2 dragging
    int32_t m_nHover = -1;    // line last highlighted, -1 none
    int32_t m_nCurrent = -1;  // current line, -1 none
    struct {
        int32_t x = 0;
        int32_t y = 0;
    } m_ptLast; // pointer position at the previous drag step

private:
    CPointSet<int>* Line(int32_t i);
    // What is under the pointer at (x, y): the ranked pick of the feature
    // lines, with the grab radius of 5 screen pixels; repaints every line
    // whose highlight changed.
    int32_t HitTest(int32_t x, int32_t y);
    void RepaintLine(int32_t i);
    void Deselect(int32_t c);
    void Promote(int32_t h);
    void BeginDrag(int32_t x, int32_t y);
    void DragTo(int32_t x, int32_t y);
    void EndDrag();

    bool m_bPressPending = false; // pressed on an element, not moved yet
    QPoint m_ptPressClient;       // where that press was, client pixels
    QPoint m_ptPress;             // and in picture pixels
    QPoint m_ptOrigin;            // pointer position where the drag began
    int32_t m_nDragLine = -1;     // the line the drag began on
    CLineSnapshot m_dragStart;    // the dragged line as the drag found it
};
