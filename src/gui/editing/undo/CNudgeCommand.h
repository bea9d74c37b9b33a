#pragma once

#include "CMoveCommand.h"

// Arrow-key moves of a point or segment of one line, pushed after each key
// (the line already moved). A burst of them is one step: a nudge merges
// into the step before it when both move the same element of the same line
// in the same burst (a number the tool hands out, CDocController::
// NewEditBurst).
class CNudgeCommand : public CMoveCommand {
public:
    // `element`: the point's index, or -1 - the segment's.
    CNudgeCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t image, int32_t index, int32_t element,
                  int32_t burst, CLineSnapshot before, CLineSnapshot after);

    static constexpr int kId = 0x4e44;
    int id() const override { return kId; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    int32_t m_nElement;
    int32_t m_nBurst;
};
