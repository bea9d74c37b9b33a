#include "COpenPictureCommand.h"

#include "CDocChangeSignals.h"
#include "CUndoStepTexts.h"
#include "document/CTrevalinDoc.h"

COpenPictureCommand::COpenPictureCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t image,
                                         CPictureFile before, CPictureFile after)
    : COpenPictureCommand(doc, changes, image, std::move(before), std::move(after), CUndoStepTexts::OpenPicture())
{
}

COpenPictureCommand::COpenPictureCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t image,
                                         CPictureFile before, CPictureFile after, const QString& text)
    : QUndoCommand(text), m_doc(doc), m_changes(changes), m_nImage(image), m_before(std::move(before)),
      m_after(std::move(after))
{
}

void COpenPictureCommand::Show(const CPictureFile& picture)
{
    *m_doc.GetPicture(m_nImage) = picture;
    m_changes.PictureChanged(m_nImage);
}

void COpenPictureCommand::undo()
{
    Show(m_before);
}

void COpenPictureCommand::redo()
{
    Show(m_after);
}
