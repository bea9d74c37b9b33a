#include "CMorphCommand.h"

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
