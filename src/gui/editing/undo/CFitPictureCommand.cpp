#include "CFitPictureCommand.h"

#include "CDocChangeSignals.h"
#include "CUndoStepTexts.h"
#include "document/CTrevalinDoc.h"
#include "geometry/CFeatureSet.h"

CFitPictureCommand::CFitPictureCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t image,
                                       CPictureFile before, CPictureFile after, std::vector<CLineSnapshot> linesBefore,
                                       std::vector<CLineSnapshot> linesAfter)
    : COpenPictureCommand(doc, changes, image, std::move(before), std::move(after), CUndoStepTexts::FitPicture()),
      m_linesBefore(std::move(linesBefore)), m_linesAfter(std::move(linesAfter))
{
}

void CFitPictureCommand::undo()
{
    CLineSnapshot::ApplyAll(m_linesBefore, m_doc.GetFeatureSet()->m_sets[m_nImage]);
    COpenPictureCommand::undo();
    m_changes.LinesChanged();
}

void CFitPictureCommand::redo()
{
    CLineSnapshot::ApplyAll(m_linesAfter, m_doc.GetFeatureSet()->m_sets[m_nImage]);
    COpenPictureCommand::redo();
    m_changes.LinesChanged();
}
