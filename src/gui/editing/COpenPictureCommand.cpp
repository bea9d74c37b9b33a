#include "COpenPictureCommand.h"

#include "CDocController.h"
#include "CEditTexts.h"
#include "document/CTrevalinDoc.h"

COpenPictureCommand::COpenPictureCommand(CDocController& doc, int32_t image, CPictureFile before, CPictureFile after)
    : COpenPictureCommand(doc, image, std::move(before), std::move(after), CEditTexts::OpenPicture())
{
}

COpenPictureCommand::COpenPictureCommand(CDocController& doc, int32_t image, CPictureFile before, CPictureFile after,
                                         const QString& text)
    : QUndoCommand(text), m_doc(doc), m_nImage(image), m_before(std::move(before)), m_after(std::move(after))
{
}

void COpenPictureCommand::Show(const CPictureFile& picture)
{
    *m_doc.GetDoc().GetPicture(m_nImage) = picture;
    m_doc.PictureChanged(m_nImage);
}

void COpenPictureCommand::undo()
{
    Show(m_before);
}

void COpenPictureCommand::redo()
{
    Show(m_after);
}
