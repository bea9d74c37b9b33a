#include "CAddLineCommand.h"

#include "CDocController.h"
#include "CEditTexts.h"
#include "geometry/CFeatureSet.h"

CAddLineCommand::CAddLineCommand(CDocController& doc, int32_t index)
    : QUndoCommand(CEditTexts::AddLine()), m_doc(doc), m_nIndex(index)
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
    m_doc.LinesChanged();
}

void CAddLineCommand::redo()
{
    if (m_bInPlace) {
        m_bInPlace = false;
        return;
    }
    for (int image : {0, 1})
        m_lines[image].ApplyTo(m_doc.GetFeatureSet()->m_sets[image].InsertAt(m_nIndex));
    m_doc.LinesChanged();
}
