#include "CDeleteLineCommand.h"

#include "CDocChangeSignals.h"
#include "CUndoStepTexts.h"
#include "document/CTrevalinDoc.h"
#include "geometry/CFeatureSet.h"

CDeleteLineCommand::CDeleteLineCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t index)
    : QUndoCommand(CUndoStepTexts::Delete()), m_doc(doc), m_changes(changes), m_nIndex(index)
{
    for (int image : {0, 1})
        m_before[image] = CLineSnapshot::TakeAll(m_doc.GetFeatureSet()->m_sets[image]);
}

void CDeleteLineCommand::redo()
{
    for (int image : {0, 1})
        m_doc.GetFeatureSet()->m_sets[image].RemoveAt(m_nIndex);
    m_changes.LinesChanged();
}

void CDeleteLineCommand::undo()
{
    for (int image : {0, 1}) {
        CPointSets<int>& lines = m_doc.GetFeatureSet()->m_sets[image];
        if (m_nIndex < static_cast<int32_t>(m_before[image].size())) lines.InsertAt(m_nIndex);
        CLineSnapshot::ApplyAll(m_before[image], lines);
    }
    m_changes.LinesChanged();
}
