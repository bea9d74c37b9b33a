#include "CDeleteLineCommand.h"

#include "CDocController.h"
#include "CEditTexts.h"
#include "geometry/CFeatureSet.h"

CDeleteLineCommand::CDeleteLineCommand(CDocController& doc, int32_t index)
    : QUndoCommand(CEditTexts::Delete()), m_doc(doc), m_nIndex(index)
{
    for (int image : {0, 1})
        m_before[image] = CLineSnapshot::TakeAll(m_doc.GetFeatureSet()->m_sets[image]);
}

void CDeleteLineCommand::redo()
{
    for (int image : {0, 1})
        m_doc.GetFeatureSet()->m_sets[image].RemoveAt(m_nIndex);
    m_doc.LinesChanged();
}

void CDeleteLineCommand::undo()
{
    for (int image : {0, 1}) {
        CPointSets<int>& lines = m_doc.GetFeatureSet()->m_sets[image];
        if (m_nIndex < static_cast<int32_t>(m_before[image].size())) lines.InsertAt(m_nIndex);
        CLineSnapshot::ApplyAll(m_before[image], lines);
    }
    m_doc.LinesChanged();
}
