#pragma once

#include "CMorphCommand.h"

#include <cstdint>

template <typename T> class CPointSet;

// The select tool: highlights the point or segment under the pointer,
// selects it on a left press, and drags it when the press falls on the
// element already selected. Works only on the lines of its pane's image.
class CSelectCommand : public CMorphCommand {
public:
    using CMorphCommand::CMorphCommand;

    void OnLButtonDown(uint32_t nFlags, int32_t x, int32_t y) override;
    void OnLButtonUp(uint32_t nFlags, int32_t x, int32_t y) override;
    void OnRButtonDown(uint32_t nFlags, int32_t x, int32_t y) override;
    void OnMouseMove(uint32_t nFlags, int32_t x, int32_t y) override;

    int32_t m_nToolState = 0; // 0 idle, 1 a line is current, 2 dragging
    int32_t m_nHover = -1;    // line last highlighted, -1 none
    int32_t m_nCurrent = -1;  // current line, -1 none
    struct {
        int32_t x = 0;
        int32_t y = 0;
    } m_ptLast; // pointer position at the previous drag step

private:
    CPointSet<int>* Line(int32_t i);
    int32_t HitTest(int32_t x, int32_t y);
    void RepaintLine(int32_t i);
    void Deselect(int32_t c);
    void Promote(int32_t h);
};
