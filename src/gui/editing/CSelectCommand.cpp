#include "CSelectCommand.h"

#include "CDocController.h"
#include "CToolPane.h"
#include "editing/undo/CMoveCommand.h"
#include "geometry/CFeatureSet.h"

#include <QRect>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// MK_LBUTTON: the left button is held.
constexpr uint32_t kLeftButtonHeld = 0x0001;

} // namespace

CPointSet<int>* CSelectCommand::Line(int32_t i)
{
    // A project opened meanwhile may hold fewer lines than the indices kept.
    CPointSets<int>& lines = m_pDoc->GetFeatureSet()->m_sets[m_pView->GetImageIndex()];
    if (i < 0 || i >= lines.m_nCount) return nullptr;
    return &lines.Line(i);
}

int32_t CSelectCommand::HitTest(int32_t x, int32_t y)
{
    CPointSets<int>& lines = m_pDoc->GetFeatureSet()->m_sets[m_pView->GetImageIndex()];
    std::vector<std::array<int32_t, 3>> before;
    before.reserve(static_cast<size_t>(std::max(lines.m_nCount, 0)));
    for (int32_t i = 0; i < lines.m_nCount; ++i)
        before.push_back({lines.Line(i).m_nState, lines.Line(i).m_nSelPoint, lines.Line(i).m_nSelSegment});
    const QPointF at = m_pView->PointerPicturePos(x, y);
    const int32_t hit =
        m_pDoc->GetFeatureSet()->PickAt(at.x(), at.y(), m_pView->GetImageIndex(), m_pView->GrabRadius());
    for (int32_t i = 0; i < lines.m_nCount; ++i) {
        const CPointSet<int>& line = lines.Line(i);
        if (before[static_cast<size_t>(i)] !=
            std::array<int32_t, 3>{line.m_nState, line.m_nSelPoint, line.m_nSelSegment})
            RepaintLine(i);
    }
    return hit;
}

void CSelectCommand::RepaintLine(int32_t i)
{
    if (CPointSet<int>* line = Line(i)) m_pView->InvalidateRect(LineArea(*line), false);
}

void CSelectCommand::Deselect(int32_t c)
{
    if (CPointSet<int>* line = Line(c)) {
        line->m_nState = STATE_NONE;
        line->m_nSelPoint = -1;
        line->m_nSelSegment = -1;
        RepaintLine(c);
    }
}

void CSelectCommand::Promote(int32_t h)
{
    if (CPointSet<int>* line = Line(h)) {
        if (line->m_nState == STATE_POINT_HOVER)
            line->m_nState = STATE_POINT_SELECTED;
        else if (line->m_nState == STATE_SEGMENT_HOVER)
            line->m_nState = STATE_SEGMENT_SELECTED;
        RepaintLine(h);
    }
}

void CSelectCommand::OnLButtonDown(uint32_t, int32_t x, int32_t y)
{
    m_bPressPending = false;
    const int32_t hit = HitTest(x, y);
    if (m_nToolState == 0) {
        if (hit < 0) {
            m_nCurrent = -1;
            return;
        }
        if (m_nCurrent >= 0) Deselect(m_nCurrent);
        Promote(hit);
        m_nToolState = 1;
        m_nCurrent = hit;
    } else if (m_nToolState == 1) {
        if (m_nCurrent >= 0 && hit != m_nCurrent) Deselect(m_nCurrent);
        if (hit < 0) {
            m_nCurrent = -1;
            m_nToolState = 0;
            return;
        }
        const int32_t before = Line(hit)->m_nState;
        Promote(hit);
        if (hit == m_nCurrent && Line(hit)->m_nState == before) {
            // The press fell on the element already selected: drag it.
            BeginDrag(x, y);
            return;
        }
        m_nCurrent = hit;
    } else if (m_nToolState == 2) {
        m_nCurrent = hit;
        return;
    }
    // Pressed on an element that is now selected: moving on with the button
    // held drags it.
    if (m_pDoc->IsDirectDrag() && m_nToolState == 1 && Line(m_nCurrent) &&
        Line(m_nCurrent)->m_nState >= STATE_POINT_SELECTED) {
        m_bPressPending = true;
        m_ptPressClient = m_pView->PointerClientPos();
        m_ptPress = QPoint(x, y);
    }
}

void CSelectCommand::BeginDrag(int32_t x, int32_t y)
{
    m_pView->SetCapture();
    m_ptLast.x = x;
    m_ptLast.y = y;
    m_ptOrigin = QPoint(x, y);
    m_nToolState = 2;
    m_nDragLine = m_nCurrent;
    m_dragStart = CLineSnapshot();
    if (const CPointSet<int>* line = Line(m_nCurrent)) m_dragStart = CLineSnapshot::Take(*line);
}

void CSelectCommand::OnMouseMove(uint32_t nFlags, int32_t x, int32_t y)
{
    if (m_bPressPending) {
        const QPoint moved = m_pView->PointerClientPos() - m_ptPressClient;
        if (!(nFlags & kLeftButtonHeld)) {
            m_bPressPending = false;
        } else if (moved.x() * moved.x() + moved.y() * moved.y() > kDragThreshold * kDragThreshold) {
            m_bPressPending = false;
            BeginDrag(m_ptPress.x(), m_ptPress.y());
        } else {
            // Still within reach of the press: nothing moves, nothing
            // changes its highlight.
            return;
        }
    }
    // With direct drag the dragged element keeps its selection whatever
    // the pointer passes over (the drag may have begun away from it, and
    // the picture's edge may hold it back); otherwise the hit test may take
    // the selection away and end the drag's moves.
    CPointSet<int>* dragged = m_nToolState == 2 && m_pDoc->IsDirectDrag() ? Line(m_nDragLine) : nullptr;
    const std::array<int32_t, 3> kept =
        dragged ? std::array<int32_t, 3>{dragged->m_nState, dragged->m_nSelPoint, dragged->m_nSelSegment}
                : std::array<int32_t, 3>{};
    const int32_t hit = HitTest(x, y);
    if (dragged && kept[0] >= STATE_POINT_SELECTED) {
        dragged->m_nState = kept[0];
        dragged->m_nSelPoint = kept[1];
        dragged->m_nSelSegment = kept[2];
    }
    if (m_nToolState == 0 || m_nToolState == 1) {
        if (m_nHover >= 0) {
            RepaintLine(m_nHover);
            m_nHover = -1;
        }
        if (hit >= 0) {
            RepaintLine(hit);
            m_nHover = hit;
        }
    } else if (m_nToolState == 2) {
        DragTo(x, y);
    }
}

void CSelectCommand::DragTo(int32_t x, int32_t y)
{
    m_ptLast.x = x;
    m_ptLast.y = y;
    CPointSet<int>* line = m_nCurrent == m_nDragLine ? Line(m_nCurrent) : nullptr;
    if (!line) return;
    // The points the selection moves, and where they were when the drag
    // began.
    int32_t first = -1;
    int32_t count = 0;
    if (line->m_nState == STATE_POINT_SELECTED) {
        first = line->m_nSelPoint;
        count = 1;
    } else if (line->m_nState == STATE_SEGMENT_SELECTED) {
        first = line->m_nSelSegment;
        count = 2;
    }
    const int32_t known = static_cast<int32_t>(m_dragStart.points.size());
    if (first < 0 || first + count > std::min(line->m_nCount, known)) return;
    // They follow the pointer from the drag's origin, kept on the picture
    // so that they can always be grabbed again.
    int64_t dx = int64_t{x} - m_ptOrigin.x();
    int64_t dy = int64_t{y} - m_ptOrigin.y();
    RECT picture;
    m_pView->GetImageRect(picture);
    if (picture.right > 0 && picture.bottom > 0) {
        int64_t loX = INT64_MIN, hiX = INT64_MAX, loY = INT64_MIN, hiY = INT64_MAX;
        for (int32_t j = first; j < first + count; ++j) {
            const CFeaturePoint& p = m_dragStart.points[static_cast<size_t>(j)];
            loX = std::max(loX, -int64_t{p.x});
            hiX = std::min(hiX, int64_t{picture.right} - 1 - p.x);
            loY = std::max(loY, -int64_t{p.y});
            hiY = std::min(hiY, int64_t{picture.bottom} - 1 - p.y);
        }
        dx = std::clamp(dx, std::min(loX, hiX), std::max(loX, hiX));
        dy = std::clamp(dy, std::min(loY, hiY), std::max(loY, hiY));
    }
    const CFeaturePoint& start = m_dragStart.points[static_cast<size_t>(first)];
    const CFeaturePoint& now = line->Point(first);
    CFeaturePoint delta;
    delta.x = static_cast<int32_t>(start.x + dx - now.x);
    delta.y = static_cast<int32_t>(start.y + dy - now.y);
    delta.z = 0;
    delta.w = 1;
    if (delta.x == 0 && delta.y == 0) return;
    const QRect before = LineArea(*line);
    line->MoveSelection(delta);
    RepaintChange(before, *line);
    m_pDoc->NotifyContentChanged();
}

void CSelectCommand::EndDrag()
{
    m_nToolState = 1;
    m_pView->ReleaseCapture();
    const CPointSet<int>* line = Line(m_nDragLine);
    if (!line) return;
    CLineSnapshot after = CLineSnapshot::Take(*line);
    if (after == m_dragStart) return;
    m_pDoc->GetUndoStack().push(new CMoveCommand(m_pDoc->GetDoc(), m_pDoc->GetChangeSignals(), m_pView->GetImageIndex(),
                                                 m_nDragLine, m_dragStart, std::move(after)));
}

void CSelectCommand::OnLButtonUp(uint32_t, int32_t, int32_t)
{
    m_bPressPending = false;
    if (m_nToolState == 2) EndDrag();
}

void CSelectCommand::EndGesture()
{
    m_bPressPending = false;
    if (m_nToolState == 2) EndDrag();
}

void CSelectCommand::OnLinesChanged()
{
    m_bPressPending = false;
    const CPointSet<int>* current = Line(m_nCurrent);
    if (!current || current->m_nState < STATE_POINT_SELECTED) {
        m_nCurrent = -1;
        if (m_nToolState == 1) m_nToolState = 0;
    }
    if (!Line(m_nHover)) m_nHover = -1;
}

void CSelectCommand::OnRButtonDown(uint32_t, int32_t, int32_t) {}
