#pragma once

#include "geometry/CLineSnapshot.h"

#include <QUndoCommand>
#include <cstdint>

class CDocChangeSignals;
class CTrevalinDoc;

// One drag of a point or segment of one line of one image, pushed when the
// drag ends (the line is already where it was dragged to: the first redo
// does nothing).
class CMoveCommand : public QUndoCommand {
public:
    CMoveCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t image, int32_t index, CLineSnapshot before,
                 CLineSnapshot after);

    void undo() override;
    void redo() override;

protected:
    // Whether `other` moves the same line of the same image; this step then
    // ends where `other` ends.
    bool IsSameLine(const CMoveCommand& other) const
    {
        return other.m_nImage == m_nImage && other.m_nIndex == m_nIndex;
    }
    void TakeEnd(const CMoveCommand& other) { m_after = other.m_after; }

private:
    void Apply(const CLineSnapshot& points);

    CTrevalinDoc& m_doc;
    CDocChangeSignals& m_changes;
    int32_t m_nImage;
    int32_t m_nIndex;
    CLineSnapshot m_before;
    CLineSnapshot m_after;
    bool m_bInPlace = true;
};
