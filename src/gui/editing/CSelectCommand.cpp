#include "CSelectCommand.h"

#include "CDocController.h"
#include "CImageView.h"
#include "geometry/CFeatureSet.h"

CPointSet<int>* CSelectCommand::Line(int32_t i)
{
    // A project opened meanwhile may hold fewer lines than the indices kept.
    CPointSets<int>& lines = m_pDoc->GetFeatureSet()->m_sets[m_pView->GetImageIndex()];
    if (i < 0 || i >= lines.m_nCount) return nullptr;
    return &lines.Line(i);
}

int32_t CSelectCommand::HitTest(int32_t x, int32_t y)
{
    CFeaturePoint pt;
    pt.x = x;
    pt.y = y;
    pt.z = 0;
    pt.w = 1;
    return m_pDoc->GetFeatureSet()->HitTest(pt, m_pView->GetImageIndex());
}

void CSelectCommand::RepaintLine(int32_t i)
{
    if (CPointSet<int>* line = Line(i)) InvalidateImageRect(line->GetBoundingRect(), false);
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
            m_pView->SetCapture();
            m_ptLast.x = x;
            m_ptLast.y = y;
            m_nToolState = 2;
        } else {
            m_nCurrent = hit;
        }
    } else if (m_nToolState == 2) {
        m_nCurrent = hit;
    }
}

void CSelectCommand::OnMouseMove(uint32_t, int32_t x, int32_t y)
{
    const int32_t hit = HitTest(x, y);
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
        if (CPointSet<int>* line = Line(m_nCurrent)) {
            CFeaturePoint delta;
            delta.x = x - m_ptLast.x;
            delta.y = y - m_ptLast.y;
            delta.z = 0;
            delta.w = 1;
            line->MoveSelection(delta);
            m_pDoc->NotifyContentChanged();
        }
        m_ptLast.x = x;
        m_ptLast.y = y;
        RepaintLine(m_nCurrent);
    }
}

void CSelectCommand::OnLButtonUp(uint32_t, int32_t, int32_t)
{
    if (m_nToolState == 2) {
        m_nToolState = 1;
        m_pView->ReleaseCapture();
    }
}

void CSelectCommand::OnRButtonDown(uint32_t, int32_t, int32_t) {}
