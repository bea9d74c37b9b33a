#include "CPictureOpener.h"

#include "language/CCoreText.h"
#include "CDocController.h"
#include "CEditTexts.h"
#include "CUserPrompts.h"
#include "document/CPictureFile.h"
#include "document/CTrevalinDoc.h"
#include "editing/undo/CFitPictureCommand.h"
#include "editing/undo/COpenPictureCommand.h"
#include "geometry/CFeatureSet.h"
#include "geometry/CFitTransform.h"
#include "geometry/CLineSnapshot.h"
#include "picture/CPictureFitter.h"

#include <QFile>
#include <QImage>

#include <filesystem>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

QString Shown(const fs::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

// A name in `folder` no file has yet: <stem>-<w>x<h>.png, then -2, -3, ...
fs::path FittedName(const fs::path& folder, const fs::path& stem, int32_t w, int32_t h)
{
    const std::string base = stem.string() + "-" + std::to_string(w) + "x" + std::to_string(h);
    fs::path candidate = folder / (base + ".png");
    std::error_code ec;
    for (int n = 2; fs::exists(candidate, ec); ++n)
        candidate = folder / (base + "-" + std::to_string(n) + ".png");
    return candidate;
}

} // namespace

void CPictureOpener::Warn(const QString& text)
{
    m_prompts.MessageBox(m_pParent, text, CUserPrompts::Icon::kWarning);
}

void CPictureOpener::Open(int32_t image)
{
    m_doc.EndGestures();
    const QString chosen = m_prompts.GetOpenFileName(m_pParent, CEditTexts::PictureFilter());
    if (!chosen.isEmpty()) OpenFile(image, chosen);
}

void CPictureOpener::OpenFile(int32_t image, const QString& chosen)
{
    m_doc.EndGestures();
    const fs::path source = fs::path(QFile::encodeName(chosen).toStdString());
    const fs::path folder = fs::path(m_doc.GetDoc().GetWorkDir()) / "images";
    CPictureFile* picture = m_doc.GetDoc().GetPicture(image);
    // The chosen file is decoded before anything is copied: a file that is
    // no picture must neither replace the pane's picture nor overwrite a
    // picture of the same name in images/.
    CPictureFile probe;
    probe.SetDecoder(picture->GetDecoder());
    if (!probe.LoadFromFile(source.string())) {
        Warn(CCoreText::Translate(probe.GetLastError()));
        return;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);

    const CPictureFile* other = m_doc.GetDoc().GetPicture(1 - image);
    const SIZE size = probe.GetSizeInPixels();
    const SIZE otherSize = other->GetSizeInPixels();
    CUserPrompts::FitAnswer answer = CUserPrompts::FitAnswer::kKeep;
    if (other->IsLoaded() && size != otherSize) {
        answer = m_prompts.ChooseFit(m_pParent, CEditTexts::FitQuestion(Shown(source.filename()), size.cx, size.cy,
                                                                        1 - image, otherSize.cx, otherSize.cy));
    }

    CPictureFile opened = *picture;
    if (answer == CUserPrompts::FitAnswer::kKeep) {
        const fs::path destination = folder / source.filename();
        ec.clear();
        // A file picked from images/ itself is opened as it stands.
        if (!fs::equivalent(source, destination, ec))
            fs::copy_file(source, destination, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            Warn(CEditTexts::CopyFailed(Shown(destination), QString::fromStdString(ec.message())));
            return;
        }
        if (!opened.LoadFromFile(destination.string())) {
            Warn(CCoreText::Translate(opened.GetLastError()));
            return;
        }
        m_doc.GetUndoStack().push(
            new COpenPictureCommand(m_doc.GetDoc(), m_doc.GetChangeSignals(), image, *picture, opened));
        return;
    }

    const FitMode mode = answer == CUserPrompts::FitAnswer::kPad    ? FitMode::kPad
                         : answer == CUserPrompts::FitAnswer::kCrop ? FitMode::kCrop
                                                                    : FitMode::kStretch;
    const CFitTransform transform(mode, size.cx, size.cy, otherSize.cx, otherSize.cy);
    const fs::path destination = FittedName(folder, source.stem(), otherSize.cx, otherSize.cy);
    // PNG: the fitted copy loses nothing more than the scaling did.
    const QImage fitted = CPictureFitter::Fit(*probe.GetImage(), transform);
    if (fitted.isNull()) {
        Warn(CEditTexts::FitFailed(otherSize.cx, otherSize.cy));
        return;
    }
    if (!fitted.save(Shown(destination), "PNG")) {
        Warn(CEditTexts::FittedNotSaved(Shown(destination)));
        return;
    }
    if (!opened.LoadFromFile(destination.string())) {
        Warn(CCoreText::Translate(opened.GetLastError()));
        return;
    }
    // The lines drawn on this image move with the picture.
    CPointSets<int>& lines = m_doc.GetFeatureSet()->m_sets[image];
    std::vector<CLineSnapshot> before = CLineSnapshot::TakeAll(lines);
    transform.Apply(lines);
    std::vector<CLineSnapshot> after = CLineSnapshot::TakeAll(lines);
    CLineSnapshot::ApplyAll(before, lines);
    m_doc.GetUndoStack().push(new CFitPictureCommand(m_doc.GetDoc(), m_doc.GetChangeSignals(), image, *picture, opened,
                                                     std::move(before), std::move(after)));
}
