#include "CFBCommand.h"

#include "CDocController.h"
#include "CToolPane.h"
#include "editing/undo/CAddLineCommand.h"
#include "geometry/CFeatureSet.h"

#include <QRect>

void CFBCommand::OnLButtonDown(uint32_t nFlags, int32_t x, int32_t y)
{
    CFeatureSet* features = m_pDoc->GetFeatureSet();
    if (m_nToolState == 0) {
        const CFeatureSet::PointRef snap = Snap(nFlags, -1, x, y);
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
        Place(1, x, y, snap);
        Place(0, x, y, snap);
        m_pDoc->NotifyContentChanged();
    } else if (m_nToolState == 1) {
        m_pView->ReleaseCapture();
        m_nToolState = 0;
        ShowSnap({});
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
    ShowSnap({});
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

void CFBCommand::Place(int32_t j, int32_t x, int32_t y, const CFeatureSet::PointRef& snap)
{
    CFeatureSet* features = m_pDoc->GetFeatureSet();
    const int32_t image = m_pView->GetImageIndex();
    for (int32_t k : {0, 1}) {
        CPointSets<int>& lines = features->m_sets[k];
        CPointSet<int>& line = lines.Line(lines.m_nCount - 1);
        CFeaturePoint& pt = line.Point(line.m_nCount - 2 + j);
        pt.x = x;
        pt.y = y;
        pt.z = 0;
        pt.w = 1;
        // The partner of the point snapped onto, where the other image has it.
        if (k != image && snap.IsValid() && snap.line < lines.m_nCount - 1 &&
            snap.point < lines.Line(snap.line).m_nCount) {
            pt.x = lines.Line(snap.line).Point(snap.point).x;
            pt.y = lines.Line(snap.line).Point(snap.point).y;
        }
    }
}

void CFBCommand::OnMouseMove(uint32_t nFlags, int32_t x, int32_t y)
{
    if (m_nToolState != 1) return;
    CFeatureSet* features = m_pDoc->GetFeatureSet();
    // A project opened while drawing may have replaced the lines.
    if (features->m_sets[0].m_nCount < 1 || features->m_sets[1].m_nCount < 1) return;
    // The newest line of each image, the one the press made.
    CPointSet<int>& source = features->m_sets[0].Line(features->m_sets[0].m_nCount - 1);
    CPointSet<int>& target = features->m_sets[1].Line(features->m_sets[1].m_nCount - 1);
    if (source.m_nCount < 2 || target.m_nCount < 2) return;
    const int32_t image = m_pView->GetImageIndex();
    const QRect before = LineArea(image == 0 ? source : target);
    // The point that follows the pointer is the line's first point (count - 2);
    // the press position stays in the second.
    const CFeatureSet::PointRef snap = Snap(nFlags, features->m_sets[image].m_nCount - 1, x, y);
    Place(0, x, y, snap);
    RepaintChange(before, image == 0 ? source : target);
    if (features->m_sets[0].m_nCount == features->m_sets[1].m_nCount)
        m_pDoc->NotifyLineChanged(features->m_sets[image].m_nCount - 1);
    else
        m_pDoc->NotifyContentChanged();
}
