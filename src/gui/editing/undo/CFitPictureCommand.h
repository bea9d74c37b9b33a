#pragma once

#include "COpenPictureCommand.h"
#include "geometry/CLineSnapshot.h"

#include <vector>

// A picture opened into a pane and brought to the other picture's size, with
// the lines already drawn on that image moved the same way: one step.
class CFitPictureCommand : public COpenPictureCommand {
public:
    CFitPictureCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t image, CPictureFile before,
                       CPictureFile after, std::vector<CLineSnapshot> linesBefore,
                       std::vector<CLineSnapshot> linesAfter);

    void undo() override;
    void redo() override;

private:
    std::vector<CLineSnapshot> m_linesBefore;
    std::vector<CLineSnapshot> m_linesAfter;
};
