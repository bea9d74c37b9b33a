#include "CAddLineCommand.h"

#include "CDocChangeSignals.h"
#include "CUndoStepTexts.h"
#include "document/CTrevalinDoc.h"
#include "geometry/CFeatureSet.h"

CAddLineCommand::CAddLineCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t index)
    : QUndoCommand(CUndoStepTexts::AddLine()), m_doc(doc), m_changes(changes), m_nIndex(index)
{
    for (int image : {0, 1}) {
        const CPointSets<int>& lines = m_doc.GetFeatureSet()->m_sets[image];
        if (index >= 0 && index < lines.m_nCount) m_lines[image] = CLineSnapshot::Take(lines.Line(index));
    }
}

void CAddLineCommand::undo()
{
    for (int image : {0, 1})
        m_doc.GetFeatureSet()->m_sets[image].RemoveAt(m_nIndex);
    m_changes.LinesChanged();
}

void CAddLineCommand::redo()
{
    if (m_bInPlace) {
        m_bInPlace = false;
        return;
    }
    for (int image : {0, 1})
        m_lines[image].ApplyTo(m_doc.GetFeatureSet()->m_sets[image].InsertAt(m_nIndex));
    m_changes.LinesChanged();
}
