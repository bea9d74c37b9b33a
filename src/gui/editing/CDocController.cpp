#include "CDocController.h"

#include "document/CTrevalinDoc.h"
#include "editing/undo/CDeleteLineCommand.h"
#include "geometry/CFeatureSet.h"

#include <algorithm>

CDocController::CDocController(std::unique_ptr<CTrevalinDoc> doc, QObject* parent)
    : QObject(parent), m_pDoc(std::move(doc))
{
    // Connected first, so that every view told of a change finds the grids
    // stale.
    connect(this, &CDocController::contentChanged, this, [this] {
        if (!m_bGridsKept) m_gridStale[0] = m_gridStale[1] = true;
    });
    connect(&m_changeSignals, &CDocChangeSignals::linesChanged, this, &CDocController::OnLinesChanged);
    connect(&m_changeSignals, &CDocChangeSignals::pictureChanged, this, &CDocController::OnPictureChanged);
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

const CLineGrid& CDocController::GetLineGrid(int32_t image)
{
    if (m_gridStale[image] || m_grids[image].LineCount() != m_pDoc->GetFeatureSet()->m_sets[image].m_nCount) {
        m_grids[image].Build(m_pDoc->GetFeatureSet()->m_sets[image]);
        m_gridStale[image] = false;
    }
    return m_grids[image];
}

void CDocController::NotifyLineChanged(int32_t line)
{
    for (int32_t image = 0; image < 2; ++image) {
        const bool sound =
            !m_gridStale[image] && m_grids[image].LineCount() == m_pDoc->GetFeatureSet()->m_sets[image].m_nCount;
        if (!sound || !m_grids[image].Touch(line)) m_gridStale[image] = true;
    }
    m_bGridsKept = true;
    emit contentChanged();
    m_bGridsKept = false;
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

void CDocController::DeleteLine(int32_t line)
{
    // Only a pair that exists in both images.
    if (line < 0 || line >= m_pDoc->GetFeatureSet()->m_sets[0].m_nCount ||
        line >= m_pDoc->GetFeatureSet()->m_sets[1].m_nCount)
        return;
    m_undoStack.push(new CDeleteLineCommand(*m_pDoc, m_changeSignals, line));
}

void CDocController::SelectLinePair(int32_t line)
{
    CFeatureSet* features = m_pDoc->GetFeatureSet();
    if (line < 0 || line >= features->m_sets[0].m_nCount || line >= features->m_sets[1].m_nCount) return;
    EndGestures();
    features->SelectPair(line);
    emit linePairSelected(line);
    emit selectionChanged();
    emit panesRepaintRequested();
}

void CDocController::OnLinesChanged()
{
    emit linesChanged();
    emit selectionChanged();
    emit contentChanged();
}

void CDocController::OnPictureChanged(int32_t image)
{
    emit pictureChanged(image);
    emit commandStateChanged();
    emit contentChanged();
}

void CDocController::SetMorphOptions(const CMorphOptions& options)
{
    if (options == m_morphOptions) return;
    m_morphOptions = options;
    emit commandStateChanged();
    emit contentChanged();
}
