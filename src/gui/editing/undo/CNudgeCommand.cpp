#include "CNudgeCommand.h"

CNudgeCommand::CNudgeCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t image, int32_t index,
                             int32_t element, int32_t burst, CLineSnapshot before, CLineSnapshot after)
    : CMoveCommand(doc, changes, image, index, std::move(before), std::move(after)), m_nElement(element),
      m_nBurst(burst)
{
}

bool CNudgeCommand::mergeWith(const QUndoCommand* other)
{
    // The stack merges only steps of the same id: a nudge.
    const auto* next = static_cast<const CNudgeCommand*>(other);
    if (next->m_nBurst != m_nBurst || next->m_nElement != m_nElement || !IsSameLine(*next)) return false;
    TakeEnd(*next);
    return true;
}
