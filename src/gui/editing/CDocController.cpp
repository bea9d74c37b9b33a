#include "CDocController.h"

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

CDocController::~CDocController() = default;

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

void CDocController::OnToolDraw()
{
    if (!BothPicturesLoaded()) return;
    for (CDocView* view : m_views) {
        // Exactly the pane class: the result view never takes a tool.
        if (typeid(*view) != typeid(CImageView)) continue;
        auto* pane = static_cast<CImageView*>(view);
        pane->SetCommand(std::make_unique<CFBCommand>(this, pane));
        m_pDoc->m_bDrawTool = 1;
        m_pDoc->m_bSelectTool = 0;
    }
    emit commandStateChanged();
}

void CDocController::OnToolSelect()
{
    if (!BothPicturesLoaded()) return;
    for (CDocView* view : m_views) {
        if (typeid(*view) != typeid(CImageView)) continue;
        auto* pane = static_cast<CImageView*>(view);
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

void CDocController::SetMorphOptions(const CMorphOptions& options)
{
    if (options == m_morphOptions) return;
    m_morphOptions = options;
    emit commandStateChanged();
    emit contentChanged();
}
