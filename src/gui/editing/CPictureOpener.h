#pragma once

#include <QString>
#include <cstdint>

class CDocController;
class CUserPrompts;
class QWidget;

// Opens a picture file into one of the document's two pictures: the file is
// decoded first (a file that is no picture changes nothing), copied into the
// working folder's images/ and opened from there. When its size differs from
// the other picture's, the user chooses how to bring it to that size; the
// picture so made is written to images/ as a new PNG file and opened, and
// the lines drawn on that image move with it. Either way the change is one
// step of the document's history.
class CPictureOpener {
public:
    CPictureOpener(CDocController& doc, CUserPrompts& prompts, QWidget* parent)
        : m_doc(doc), m_prompts(prompts), m_pParent(parent)
    {
    }

    // 打开图像: the open dialog, then OpenFile.
    void Open(int32_t image);
    // Opens the picture file `path` (as chosen in the dialog or dropped on
    // the pane) into picture `image`.
    void OpenFile(int32_t image, const QString& path);

private:
    void Warn(const QString& text);

    CDocController& m_doc;
    CUserPrompts& m_prompts;
    QWidget* m_pParent;
};
