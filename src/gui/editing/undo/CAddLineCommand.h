#pragma once

#include "geometry/CLineSnapshot.h"

#include <QUndoCommand>
#include <cstdint>

class CDocChangeSignals;
class CTrevalinDoc;

// A line pair drawn by the draw tool. Pushed once the line is finished, when
// it is already in place: the first redo does nothing; undo takes the pair
// out again and redo puts it back at the same index.
class CAddLineCommand : public QUndoCommand {
public:
    CAddLineCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t index);

    void undo() override;
    void redo() override;

private:
    CTrevalinDoc& m_doc;
    CDocChangeSignals& m_changes;
    int32_t m_nIndex;
    CLineSnapshot m_lines[2];
    bool m_bInPlace = true;
};
