#include "CMorphCommand.h"

#include "CDocController.h"
#include "CFeatureOverlay.h"
#include "CToolPane.h"
#include "geometry/CPointSet.h"

#include <QPoint>
#include <QRect>

void CMorphCommand::OnLButtonDown(uint32_t, int32_t, int32_t) {}

void CMorphCommand::OnLButtonUp(uint32_t, int32_t, int32_t) {}

void CMorphCommand::OnMouseMove(uint32_t, int32_t, int32_t) {}

void CMorphCommand::EndGesture() {}

void CMorphCommand::OnLinesChanged() {}

int32_t CMorphCommand::CurrentLine() const
{
    return -1;
}

bool CMorphCommand::OnKeyDown(int, uint32_t)
{
    return false;
}

void CMorphCommand::OnLinePairSelected(int32_t) {}

void CMorphCommand::OnRButtonDown(uint32_t, int32_t x, int32_t y)
{
    m_pView->TrackImageMenu(m_pView->ClientToScreen(m_pView->PictureToClient(x, y)));
}

void CMorphCommand::InvalidateImageRect(const RECT& rc, bool bErase)
{
    const QPoint topLeft = m_pView->PictureToClient(rc.left, rc.top);
    const QPoint bottomRight = m_pView->PictureToClient(rc.right, rc.bottom);
    m_pView->InvalidateRect(QRect(topLeft, bottomRight - QPoint(1, 1)), bErase);
}

QRect CMorphCommand::LineArea(const CPointSet<int>& line) const
{
    return m_pView->LineClientRect(line);
}

void CMorphCommand::RepaintChange(const QRect& before, const CPointSet<int>& line)
{
    m_pView->InvalidateRect(before.united(LineArea(line)), false);
}

CFeatureSet::PointRef CMorphCommand::Snap(uint32_t nFlags, int32_t skipLine, int32_t& x, int32_t& y)
{
    CFeatureSet::PointRef target;
    if (m_pDoc && m_pDoc->IsSnapToPoints() && !(nFlags & kShiftHeld)) {
        const CFeatureSet* features = m_pDoc->GetFeatureSet();
        target = features->NearestPoint(m_pView->GetImageIndex(), x, y, m_pView->GrabRadius(), skipLine,
                                        &m_pDoc->GetLineGrid(m_pView->GetImageIndex()));
        if (target.IsValid()) {
            const CFeaturePoint& p = features->m_sets[m_pView->GetImageIndex()].Line(target.line).Point(target.point);
            x = p.x;
            y = p.y;
        }
    }
    ShowSnap(target);
    return target;
}

void CMorphCommand::ShowSnap(const CFeatureSet::PointRef& target)
{
    if (target == m_snap) return;
    m_pView->InvalidateRect(SnapArea(), false);
    m_snap = target;
    m_pView->InvalidateRect(SnapArea(), false);
}

const CFeaturePoint* CMorphCommand::SnapPoint() const
{
    if (!m_pDoc || !m_snap.IsValid()) return nullptr;
    // The lines may have changed since the target was found.
    const CPointSets<int>& lines = m_pDoc->GetFeatureSet()->m_sets[m_pView->GetImageIndex()];
    if (m_snap.line >= lines.m_nCount || m_snap.point >= lines.Line(m_snap.line).m_nCount) return nullptr;
    return &lines.Line(m_snap.line).Point(m_snap.point);
}

QRect CMorphCommand::SnapArea() const
{
    const CFeaturePoint* p = SnapPoint();
    if (!p) return QRect();
    const int reach = CFeatureOverlay::kSnapRingRadius + 2;
    return QRect(m_pView->PictureToClient(p->x, p->y) - QPoint(reach, reach), QSize(2 * reach + 1, 2 * reach + 1));
}

void CMorphCommand::DrawOver(QPainter& dc, double zoom) const
{
    if (const CFeaturePoint* p = SnapPoint()) CFeatureOverlay::DrawSnapRing(dc, *p, zoom);
}
