#include "CDocController.h"

#include "CDeleteLineCommand.h"
#include "CFBCommand.h"
#include "CImageView.h"
#include "CSelectCommand.h"
#include "document/CTrevalinDoc.h"

#include <algorithm>
#include <typeinfo>

CDocController::CDocController(std::unique_ptr<CTrevalinDoc> doc, QObject* parent)
    : QObject(parent), m_pDoc(std::move(doc))
{
}

CDocController::~CDocController()
{
    // The steps refer to the document; they go first.
    m_undoStack.clear();
}

CFeatureSet* CDocController::GetFeatureSet()
{
    return m_pDoc->GetFeatureSet();
}

void CDocController::AddView(CDocView* view)
{
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end()) m_views.push_back(view);
}

void CDocController::RemoveView(CDocView* view)
{
    std::erase(m_views, view);
}

void CDocController::UpdateAllViews(CDocView* sender)
{
    // Copy: a view may detach itself while being told.
    const std::vector<CDocView*> views = m_views;
    for (CDocView* view : views) {
        if (view != sender) view->OnUpdate(sender);
    }
    emit contentChanged();
}

void CDocController::SendInitialUpdate()
{
    const std::vector<CDocView*> views = m_views;
    for (CDocView* view : views)
        view->OnInitialUpdate();
    emit commandStateChanged();
    emit contentChanged();
}

bool CDocController::BothPicturesLoaded()
{
    return m_pDoc->GetPicture(0)->IsLoaded() && m_pDoc->GetPicture(1)->IsLoaded();
}

std::vector<CImageView*> CDocController::ImagePanes() const
{
    std::vector<CImageView*> panes;
    for (CDocView* view : m_views) {
        // Exactly the pane class: the result view never takes a tool.
        if (typeid(*view) == typeid(CImageView)) panes.push_back(static_cast<CImageView*>(view));
    }
    return panes;
}

void CDocController::OnToolDraw()
{
    if (!BothPicturesLoaded()) return;
    for (CImageView* pane : ImagePanes()) {
        pane->SetCommand(std::make_unique<CFBCommand>(this, pane));
        m_pDoc->m_bDrawTool = 1;
        m_pDoc->m_bSelectTool = 0;
    }
    emit commandStateChanged();
}

void CDocController::OnToolSelect()
{
    if (!BothPicturesLoaded()) return;
    for (CImageView* pane : ImagePanes()) {
        pane->SetCommand(std::make_unique<CSelectCommand>(this, pane));
        m_pDoc->m_bSelectTool = 1;
        m_pDoc->m_bDrawTool = 0;
    }
    emit commandStateChanged();
}

bool CDocController::IsDrawToolChecked() const
{
    return m_pDoc->m_bDrawTool != 0;
}

bool CDocController::IsSelectToolChecked() const
{
    return m_pDoc->m_bSelectTool != 0;
}

void CDocController::EndGestures()
{
    for (CImageView* pane : ImagePanes())
        pane->GetCommand()->EndGesture();
}

void CDocController::OnEditUndo()
{
    EndGestures();
    m_undoStack.undo();
}

void CDocController::OnEditRedo()
{
    EndGestures();
    m_undoStack.redo();
}

int32_t CDocController::FindSelectedLine(int32_t image) const
{
    if (image < 0 || image > 1) return -1;
    const CPointSets<int>& lines = m_pDoc->GetFeatureSet()->m_sets[image];
    auto selected = [&](int32_t i) {
        return i >= 0 && i < lines.m_nCount && lines.Line(i).m_nState >= STATE_POINT_SELECTED;
    };
    for (CImageView* pane : ImagePanes()) {
        const auto* tool = dynamic_cast<const CSelectCommand*>(pane->GetCommand());
        if (pane->GetImageIndex() == image && tool && selected(tool->m_nCurrent)) return tool->m_nCurrent;
    }
    for (int32_t i = 0; i < lines.m_nCount; ++i) {
        if (selected(i)) return i;
    }
    return -1;
}

bool CDocController::HasSelectedLine() const
{
    return FindSelectedLine(0) >= 0 || FindSelectedLine(1) >= 0;
}

void CDocController::OnEditDelete(int32_t preferred)
{
    EndGestures();
    int32_t line = FindSelectedLine(preferred);
    if (line < 0) line = FindSelectedLine(1 - preferred);
    // Only a pair that exists in both images.
    if (line < 0 || line >= m_pDoc->GetFeatureSet()->m_sets[0].m_nCount ||
        line >= m_pDoc->GetFeatureSet()->m_sets[1].m_nCount)
        return;
    m_undoStack.push(new CDeleteLineCommand(*this, line));
}

void CDocController::LinesChanged()
{
    for (CImageView* pane : ImagePanes()) {
        pane->GetCommand()->OnLinesChanged();
        pane->viewport()->update();
    }
    emit selectionChanged();
    emit contentChanged();
}

void CDocController::PictureChanged(int32_t image)
{
    for (CImageView* pane : ImagePanes()) {
        if (pane->GetImageIndex() == image) pane->UpdateScrollSizes();
    }
    emit commandStateChanged();
    emit contentChanged();
}

void CDocController::RepaintImagePanes()
{
    for (CImageView* pane : ImagePanes())
        pane->viewport()->update();
}
void CDocController::SetMorphOptions(const CMorphOptions& options)
{
    if (options == m_morphOptions) return;
    m_morphOptions = options;
    emit commandStateChanged();
    emit contentChanged();
}
