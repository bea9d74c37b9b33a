#include "CFitPictureCommand.h"

#include "CDocController.h"
#include "CEditTexts.h"
#include "geometry/CFeatureSet.h"

CFitPictureCommand::CFitPictureCommand(CDocController& doc, int32_t image, CPictureFile before, CPictureFile after,
                                       std::vector<CLineSnapshot> linesBefore, std::vector<CLineSnapshot> linesAfter)
    : COpenPictureCommand(doc, image, std::move(before), std::move(after), CEditTexts::FitPicture()),
      m_linesBefore(std::move(linesBefore)), m_linesAfter(std::move(linesAfter))
{
}

void CFitPictureCommand::undo()
{
    CLineSnapshot::ApplyAll(m_linesBefore, m_doc.GetFeatureSet()->m_sets[m_nImage]);
    COpenPictureCommand::undo();
    m_doc.LinesChanged();
}

void CFitPictureCommand::redo()
{
    CLineSnapshot::ApplyAll(m_linesAfter, m_doc.GetFeatureSet()->m_sets[m_nImage]);
    COpenPictureCommand::redo();
    m_doc.LinesChanged();
}
