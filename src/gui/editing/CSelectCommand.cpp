#include "CSelectCommand.h"

#include "CDocController.h"
#include "CToolPane.h"
#include "editing/undo/CMoveCommand.h"
#include "editing/undo/CNudgeCommand.h"
#include "geometry/CFeatureSet.h"

#include <QRect>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// MK_LBUTTON: the left button is held.
constexpr uint32_t kLeftButtonHeld = 0x0001;

// The move (dx, dy) held so that none of points [first, first + count) of
// `points` leaves the picture `picture` (or goes farther off it).
void KeepOnPicture(const std::vector<CFeaturePoint>& points, int32_t first, int32_t count, const RECT& picture,
                   int64_t& dx, int64_t& dy)
{
    if (picture.right <= 0 || picture.bottom <= 0) return;
    for (int32_t j = first; j < first + count; ++j) {
        const CFeaturePoint& p = points[static_cast<size_t>(j)];
        dx =
            std::clamp(dx, std::min(-int64_t{p.x}, int64_t{0}), std::max(int64_t{picture.right} - 1 - p.x, int64_t{0}));
        dy = std::clamp(dy, std::min(-int64_t{p.y}, int64_t{0}),
                        std::max(int64_t{picture.bottom} - 1 - p.y, int64_t{0}));
    }
}

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
    CFeatureSet& features = *m_pDoc->GetFeatureSet();
    const int32_t image = m_pView->GetImageIndex();
    CPointSets<int>& lines = features.m_sets[image];
    const auto marks = [&lines](int32_t i) {
        const CPointSet<int>& line = lines.Line(i);
        return std::array<int32_t, 3>{line.m_nState, line.m_nSelPoint, line.m_nSelSegment};
    };
    // The lines whose marks the test may change: those marked now (a few,
    // when the feature set knows them) and the line it finds.
    std::vector<int32_t> watched;
    if (const std::vector<int32_t>* marked = features.MarkedLines(image)) {
        watched = *marked;
    } else {
        watched.resize(static_cast<size_t>(std::max(lines.m_nCount, 0)));
        for (int32_t i = 0; i < lines.m_nCount; ++i)
            watched[static_cast<size_t>(i)] = i;
    }
    std::vector<std::array<int32_t, 3>> before;
    before.reserve(watched.size());
    for (const int32_t i : watched)
        before.push_back(marks(i));
    int32_t hit = -1;
    if (m_pDoc->IsDirectDrag()) {
        const QPointF at = m_pView->PointerPicturePos(x, y);
        hit = features.PickAt(at.x(), at.y(), m_pView->GetImageIndex(), m_pView->GrabRadius(),
                              &m_pDoc->GetLineGrid(m_pView->GetImageIndex()));
    } else {
        hit = m_pDoc->GetFeatureSet()->HitTest(CFeaturePoint{x, y, 0, 1, 0}, m_pView->GetImageIndex(),
                                               &m_pDoc->GetLineGrid(m_pView->GetImageIndex()));
    }
    bool hitWatched = false;
    for (size_t w = 0; w < watched.size(); ++w) {
        hitWatched = hitWatched || watched[w] == hit;
        if (before[w] != marks(watched[w])) RepaintLine(watched[w]);
    }
    // A line found that was not marked before is marked now.
    if (hit >= 0 && !hitWatched) RepaintLine(hit);
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
    m_nBurst = -1;
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

QPoint CSelectCommand::OnPicture(int32_t x, int32_t y) const
{
    RECT picture;
    m_pView->GetImageRect(picture);
    if (picture.right <= 0 || picture.bottom <= 0) return QPoint(x, y);
    return QPoint(std::clamp(x, 0, picture.right - 1), std::clamp(y, 0, picture.bottom - 1));
}

bool CSelectCommand::SelectedPoints(const CPointSet<int>& line, int32_t& first, int32_t& count)
{
    first = -1;
    count = 0;
    if (line.m_nState == STATE_POINT_SELECTED) {
        first = line.m_nSelPoint;
        count = 1;
    } else if (line.m_nState == STATE_SEGMENT_SELECTED) {
        first = line.m_nSelSegment;
        count = 2;
    }
    return first >= 0 && first + count <= line.m_nCount;
}

void CSelectCommand::BeginDrag(int32_t x, int32_t y)
{
    m_pView->SetCapture();
    const QPoint last = OnPicture(x, y);
    m_ptLast.x = last.x();
    m_ptLast.y = last.y();
    m_ptOrigin = QPoint(x, y);
    m_nToolState = 2;
    m_nDragLine = m_nCurrent;
    m_dragStart = CLineSnapshot();
    m_ptFree = QPoint();
    if (const CPointSet<int>* line = Line(m_nCurrent)) {
        m_dragStart = CLineSnapshot::Take(*line);
        int32_t first = 0;
        int32_t count = 0;
        if (SelectedPoints(*line, first, count)) m_ptFree = QPoint(line->Point(first).x, line->Point(first).y);
    }
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
        DragTo(nFlags, x, y);
    }
}

void CSelectCommand::DragTo(uint32_t nFlags, int32_t x, int32_t y)
{
    // The pointer's move since the step before, held to the picture.
    const QPoint to = OnPicture(x, y);
    const QPoint step(to.x() - m_ptLast.x, to.y() - m_ptLast.y);
    m_ptLast.x = to.x();
    m_ptLast.y = to.y();
    CPointSet<int>* line = m_nCurrent == m_nDragLine ? Line(m_nCurrent) : nullptr;
    int32_t first = -1;
    int32_t count = 0;
    const int32_t known = static_cast<int32_t>(m_dragStart.points.size());
    if (!line || !SelectedPoints(*line, first, count) || first + count > known) {
        // The selection went (the classic hit test took it): the drag's
        // steps move nothing.
        ShowSnap({});
        return;
    }
    const CFeaturePoint& now = line->Point(first);
    int64_t dx = step.x();
    int64_t dy = step.y();
    if (m_pDoc->IsDirectDrag()) {
        // The points follow the pointer from the drag's origin, kept on the
        // picture so that they can always be grabbed again.
        const CFeaturePoint& start = m_dragStart.points[static_cast<size_t>(first)];
        dx = int64_t{x} - m_ptOrigin.x();
        dy = int64_t{y} - m_ptOrigin.y();
        RECT picture;
        m_pView->GetImageRect(picture);
        KeepOnPicture(m_dragStart.points, first, count, picture, dx, dy);
        dx = start.x + dx - now.x;
        dy = start.y + dy - now.y;
    }
    if (count == 1) {
        // A point goes where the pointer puts it, or onto the point it
        // snaps to.
        const QPoint moved(static_cast<int>(dx), static_cast<int>(dy));
        m_ptFree = m_pDoc->IsDirectDrag() ? QPoint(now.x, now.y) + moved : m_ptFree + moved;
        int32_t sx = m_ptFree.x();
        int32_t sy = m_ptFree.y();
        Snap(nFlags, m_nDragLine, sx, sy);
        dx = int64_t{sx} - now.x;
        dy = int64_t{sy} - now.y;
    }
    if (dx == 0 && dy == 0) return;
    const QRect before = LineArea(*line);
    line->MoveSelection(CFeaturePoint{static_cast<int32_t>(dx), static_cast<int32_t>(dy), 0, 1, 0});
    RepaintChange(before, *line);
    m_pDoc->NotifyLineChanged(m_nDragLine);
}

void CSelectCommand::EndDrag()
{
    m_nToolState = 1;
    m_pView->ReleaseCapture();
    ShowSnap({});
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
    m_nBurst = -1;
    const CPointSet<int>* current = Line(m_nCurrent);
    if (!current || current->m_nState < STATE_POINT_SELECTED) {
        m_nCurrent = -1;
        if (m_nToolState == 1) m_nToolState = 0;
    }
    if (!Line(m_nHover)) m_nHover = -1;
}

void CSelectCommand::OnRButtonDown(uint32_t, int32_t, int32_t)
{
    m_nBurst = -1;
}

bool CSelectCommand::OnKeyDown(int key, uint32_t nFlags)
{
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return SelectNextPair(key == Qt::Key_Tab && !(nFlags & kShiftHeld));
    const int32_t step = (nFlags & kShiftHeld) ? 10 : 1;
    switch (key) {
    case Qt::Key_Left:
        return Nudge(-step, 0);
    case Qt::Key_Right:
        return Nudge(step, 0);
    case Qt::Key_Up:
        return Nudge(0, -step);
    case Qt::Key_Down:
        return Nudge(0, step);
    default:
        return false;
    }
}

bool CSelectCommand::Nudge(int32_t dx, int32_t dy)
{
    // Not in the middle of a press or a drag.
    if (m_nToolState == 2 || m_bPressPending) return true;
    CPointSet<int>* line = Line(m_nCurrent);
    int32_t first = -1;
    int32_t count = 0;
    if (!line || !SelectedPoints(*line, first, count)) return false;
    CLineSnapshot before = CLineSnapshot::Take(*line);
    int64_t mx = dx;
    int64_t my = dy;
    RECT picture;
    m_pView->GetImageRect(picture);
    KeepOnPicture(before.points, first, count, picture, mx, my);
    if (mx == 0 && my == 0) return true;
    const QRect area = LineArea(*line);
    line->MoveSelection(CFeaturePoint{static_cast<int32_t>(mx), static_cast<int32_t>(my), 0, 1, 0});
    RepaintChange(area, *line);
    m_pDoc->NotifyContentChanged();
    if (m_nBurst < 0 || !m_lastNudge.isValid() || m_lastNudge.elapsed() > kNudgePauseMs)
        m_nBurst = m_pDoc->NewEditBurst();
    m_lastNudge.start();
    const int32_t element = count == 1 ? first : -1 - first;
    m_pDoc->GetUndoStack().push(new CNudgeCommand(m_pDoc->GetDoc(), m_pDoc->GetChangeSignals(),
                                                  m_pView->GetImageIndex(), m_nCurrent, element, m_nBurst,
                                                  std::move(before), CLineSnapshot::Take(*line)));
    return true;
}

bool CSelectCommand::SelectNextPair(bool forward)
{
    const CFeatureSet* features = m_pDoc->GetFeatureSet();
    const int32_t pairs = std::min(features->m_sets[0].m_nCount, features->m_sets[1].m_nCount);
    // The tool keeps the key even without lines: Tab never leaves the pane.
    if (pairs <= 0) return true;
    int32_t next = forward ? 0 : pairs - 1;
    if (m_nCurrent >= 0 && m_nCurrent < pairs) next = (m_nCurrent + (forward ? 1 : pairs - 1)) % pairs;
    m_pDoc->SelectLinePair(next);
    return true;
}

void CSelectCommand::OnLinePairSelected(int32_t line)
{
    m_bPressPending = false;
    m_nBurst = -1;
    m_nHover = -1;
    const CPointSet<int>* current = Line(line);
    m_nCurrent = current && current->m_nState >= STATE_POINT_SELECTED ? line : -1;
    if (m_nToolState != 2) m_nToolState = m_nCurrent >= 0 ? 1 : 0;
}
