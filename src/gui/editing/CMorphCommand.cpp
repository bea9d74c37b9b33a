#include "CMorphCommand.h"

#include "CImageView.h"

#include <QPoint>
#include <QRect>

void CMorphCommand::OnLButtonDown(uint32_t, int32_t, int32_t) {}

void CMorphCommand::OnLButtonUp(uint32_t, int32_t, int32_t) {}

void CMorphCommand::OnMouseMove(uint32_t, int32_t, int32_t) {}

void CMorphCommand::OnRButtonDown(uint32_t, int32_t x, int32_t y)
{
    const QPoint client(x - m_pView->GetScrollPos(Qt::Horizontal), y - m_pView->GetScrollPos(Qt::Vertical));
    m_pView->TrackImageMenu(m_pView->ClientToScreen(client));
}

void CMorphCommand::InvalidateImageRect(const RECT& rc, bool bErase)
{
    const int32_t sx = m_pView->GetScrollPos(Qt::Horizontal);
    const int32_t sy = m_pView->GetScrollPos(Qt::Vertical);
    m_pView->InvalidateRect(QRect(QPoint(rc.left - sx, rc.top - sy), QPoint(rc.right - sx - 1, rc.bottom - sy - 1)),
                            bErase);
}
