#pragma once

#include "document/CPictureFile.h"

#include <QString>
#include <QUndoCommand>
#include <cstdint>

class CDocChangeSignals;
class CTrevalinDoc;

// A picture opened into a pane: redo puts the new picture into the
// document's picture `image`, undo the one it replaced.
class COpenPictureCommand : public QUndoCommand {
public:
    COpenPictureCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t image, CPictureFile before,
                        CPictureFile after);

    void undo() override;
    void redo() override;

protected:
    COpenPictureCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, int32_t image, CPictureFile before,
                        CPictureFile after, const QString& text);
    // Puts the picture in place; the pane of that image takes it.
    void Show(const CPictureFile& picture);

    CTrevalinDoc& m_doc;
    CDocChangeSignals& m_changes;
    int32_t m_nImage;

private:
    CPictureFile m_before;
    CPictureFile m_after;
};
