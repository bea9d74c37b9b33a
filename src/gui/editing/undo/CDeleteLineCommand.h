#pragma once

#include "geometry/CLineSnapshot.h"

#include <QUndoCommand>
#include <cstdint>
#include <vector>

class CDocChangeSignals;
class CTrevalinDoc;

// Deletes line pair `index` from both images; the lines after it move down
// and are renumbered. Undo puts the pair back and gives every line of both
// images the points and labels it had.
class CDeleteLineCommand : public QUndoCommand {
public:
    CDeleteLineCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t index);

    void undo() override;
    void redo() override;

private:
    CTrevalinDoc& m_doc;
    CDocChangeSignals& m_changes;
    int32_t m_nIndex;
    std::vector<CLineSnapshot> m_before[2];
};
