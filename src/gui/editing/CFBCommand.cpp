#include "CFBCommand.h"

#include "CDocController.h"
#include "CToolPane.h"
#include "editing/undo/CAddLineCommand.h"
#include "geometry/CFeatureSet.h"

#include <QRect>

void CFBCommand::OnLButtonDown(uint32_t, int32_t x, int32_t y)
{
    CFeatureSet* features = m_pDoc->GetFeatureSet();
    if (m_nToolState == 0) {
        m_pView->SetCapture();
        m_nToolState = 1;
        // Each collection's own new line: with collections of equal length
        // (the only kind this system writes) both indices are the same.
        const int32_t j = features->m_sets[0].Add();
        const int32_t i = features->m_sets[1].Add();
        CPointSet<int>& source = features->m_sets[0].Line(j);
        source.AddPoint(x, y, 0, 1);
        source.AddPoint(x, y, 0, 1);
        CPointSet<int>& target = features->m_sets[1].Line(i);
        target.AddPoint(x, y, 0, 1);
        target.AddPoint(x, y, 0, 1);
        m_pDoc->NotifyContentChanged();
    } else if (m_nToolState == 1) {
        m_pView->ReleaseCapture();
        m_nToolState = 0;
        m_pView->UpdateOtherViews();
        PushLine();
    }
}

void CFBCommand::OnRButtonDown(uint32_t, int32_t, int32_t)
{
    if (m_nToolState == 1) EndGesture();
}

void CFBCommand::EndGesture()
{
    if (m_nToolState != 1) return;
    m_nToolState = 0;
    m_pView->ReleaseCapture();
    // The other pane has not shown the line yet.
    m_pDoc->RepaintImagePanes();
    PushLine();
}

void CFBCommand::PushLine()
{
    const CFeatureSet* features = m_pDoc->GetFeatureSet();
    const int32_t newest = features->m_sets[0].m_nCount - 1;
    if (newest < 0 || newest != features->m_sets[1].m_nCount - 1) return;
    m_pDoc->GetUndoStack().push(new CAddLineCommand(m_pDoc->GetDoc(), m_pDoc->GetChangeSignals(), newest));
}

void CFBCommand::OnMouseMove(uint32_t, int32_t x, int32_t y)
{
    if (m_nToolState != 1) return;
    CFeatureSet* features = m_pDoc->GetFeatureSet();
    // A project opened while drawing may have replaced the lines.
    if (features->m_sets[0].m_nCount < 1 || features->m_sets[1].m_nCount < 1) return;
    // The newest line of each image, the one the press made.
    CPointSet<int>& source = features->m_sets[0].Line(features->m_sets[0].m_nCount - 1);
    CPointSet<int>& target = features->m_sets[1].Line(features->m_sets[1].m_nCount - 1);
    if (source.m_nCount < 2 || target.m_nCount < 2) return;
    const QRect before = LineArea(m_pView->GetImageIndex() == 0 ? source : target);
    // The point that follows the pointer is the line's first point (count - 2);
    // the press position stays in the second.
    for (CPointSet<int>* line : {&source, &target}) {
        CFeaturePoint& pt = line->Point(line->m_nCount - 2);
        pt.x = x;
        pt.y = y;
        pt.z = 0;
        pt.w = 1;
    }
    RepaintChange(before, m_pView->GetImageIndex() == 0 ? source : target);
    m_pDoc->NotifyContentChanged();
}
