#include "CToolSwitcher.h"

#include "CDocController.h"
#include "CFBCommand.h"
#include "CImageView.h"
#include "CSelectCommand.h"
#include "document/CTrevalinDoc.h"
#include "geometry/CFeatureSet.h"

#include <memory>

CToolSwitcher::CToolSwitcher(CDocController& doc, const std::array<CImageView*, 2>& panes) : m_doc(doc), m_panes(panes)
{
}

bool CToolSwitcher::BothPicturesLoaded() const
{
    const CTrevalinDoc& doc = m_doc.GetDoc();
    return doc.GetPicture(0)->IsLoaded() && doc.GetPicture(1)->IsLoaded();
}

void CToolSwitcher::OnToolDraw()
{
    if (!BothPicturesLoaded()) return;
    for (CImageView* pane : m_panes)
        pane->SetCommand(std::make_unique<CFBCommand>(&m_doc, pane));
    m_doc.GetDoc().m_bDrawTool = 1;
    m_doc.GetDoc().m_bSelectTool = 0;
    m_doc.NotifyCommandStateChanged();
}

void CToolSwitcher::OnToolSelect()
{
    if (!BothPicturesLoaded()) return;
    for (CImageView* pane : m_panes)
        pane->SetCommand(std::make_unique<CSelectCommand>(&m_doc, pane));
    m_doc.GetDoc().m_bSelectTool = 1;
    m_doc.GetDoc().m_bDrawTool = 0;
    m_doc.NotifyCommandStateChanged();
}

bool CToolSwitcher::IsDrawToolChecked() const
{
    return m_doc.GetDoc().m_bDrawTool != 0;
}

bool CToolSwitcher::IsSelectToolChecked() const
{
    return m_doc.GetDoc().m_bSelectTool != 0;
}

int32_t CToolSwitcher::FindSelectedLine(int32_t image) const
{
    if (image < 0 || image > 1) return -1;
    const CPointSets<int>& lines = m_doc.GetDoc().GetFeatureSet()->m_sets[image];
    auto selected = [&](int32_t i) {
        return i >= 0 && i < lines.m_nCount && lines.Line(i).m_nState >= STATE_POINT_SELECTED;
    };
    for (const CImageView* pane : m_panes) {
        const int32_t current = pane->GetCommand()->CurrentLine();
        if (pane->GetImageIndex() == image && selected(current)) return current;
    }
    for (int32_t i = 0; i < lines.m_nCount; ++i) {
        if (selected(i)) return i;
    }
    return -1;
}

bool CToolSwitcher::HasSelectedLine() const
{
    return FindSelectedLine(0) >= 0 || FindSelectedLine(1) >= 0;
}

void CToolSwitcher::OnEditDelete(int32_t preferred)
{
    m_doc.EndGestures();
    int32_t line = FindSelectedLine(preferred);
    if (line < 0) line = FindSelectedLine(1 - preferred);
    m_doc.DeleteLine(line);
}
