#include "CAddLinePairsCommand.h"

#include "CDocChangeSignals.h"
#include "document/CTrevalinDoc.h"
#include "geometry/CFeatureSet.h"

CAddLinePairsCommand::CAddLinePairsCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, const QString& text,
                                           std::array<std::vector<Line>, 2> lines)
    : QUndoCommand(text), m_doc(doc), m_changes(changes), m_lines(std::move(lines))
{
}

void CAddLinePairsCommand::undo()
{
    for (int image : {0, 1}) {
        CPointSets<int>& sets = m_doc.GetFeatureSet()->m_sets[image];
        for (size_t i = m_lines[image].size(); i > 0; --i)
            sets.RemoveAt(m_first + static_cast<int32_t>(i) - 1);
    }
    m_changes.LinesChanged();
}

void CAddLinePairsCommand::redo()
{
    m_first = m_doc.GetFeatureSet()->m_sets[0].m_nCount;
    for (int image : {0, 1}) {
        CPointSets<int>& sets = m_doc.GetFeatureSet()->m_sets[image];
        for (const Line& line : m_lines[image]) {
            CPointSet<int>& added = sets.InsertAt(sets.m_nCount);
            for (const CFeaturePoint& p : line)
                added.AddPoint(p.x, p.y, 0, 1);
        }
    }
    m_changes.LinesChanged();
}
