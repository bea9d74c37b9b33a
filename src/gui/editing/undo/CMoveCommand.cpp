#include "CMoveCommand.h"

#include "CDocChangeSignals.h"
#include "CUndoStepTexts.h"
#include "document/CTrevalinDoc.h"
#include "geometry/CFeatureSet.h"

CMoveCommand::CMoveCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t image, int32_t index,
                           CLineSnapshot before, CLineSnapshot after)
    : QUndoCommand(CUndoStepTexts::Move()), m_doc(doc), m_changes(changes), m_nImage(image), m_nIndex(index),
      m_before(std::move(before)), m_after(std::move(after))
{
}

void CMoveCommand::Apply(const CLineSnapshot& points)
{
    CPointSets<int>& lines = m_doc.GetFeatureSet()->m_sets[m_nImage];
    if (m_nIndex >= 0 && m_nIndex < lines.m_nCount) points.ApplyTo(lines.Line(m_nIndex));
    m_changes.LinesChanged();
}

void CMoveCommand::undo()
{
    Apply(m_before);
}

void CMoveCommand::redo()
{
    if (m_bInPlace) {
        m_bInPlace = false;
        return;
    }
    Apply(m_after);
}
