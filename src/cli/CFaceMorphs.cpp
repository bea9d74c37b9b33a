#include "CFaceMorphs.h"

#include "CCliLanguage.h"
#include "document/CTrevalinDoc.h"
#include "faces/CFaceJob.h"
#include "faces/CFaceModule.h"
#include "geometry/CFeatureSet.h"
#include "picture/CDocumentFitter.h"

#include <ostream>

bool CFaceMorphs::Make(const std::vector<std::string>& pictures, const std::string& workDir,
                       const std::shared_ptr<const CPictureDecoder>& decoder, FitMode fit,
                       std::vector<std::unique_ptr<CTrevalinDoc>>& docs, std::ostream& err,
                       const CCliLanguage& language)
{
    CMessage error;
    const std::unique_ptr<CFaceFinder> finder = CFaceModule::MakeFinder(error);
    if (finder == nullptr) {
        err << "--faces: " << language.Say(error) << "\n";
        return false;
    }
    SIZE size{};
    for (size_t i = 0; i + 1 < pictures.size(); ++i) {
        auto doc = std::make_unique<CTrevalinDoc>(workDir, decoder);
        for (int image : {0, 1}) {
            const std::string& path = pictures[i + static_cast<size_t>(image)];
            CPictureFile& picture = *doc->GetPicture(image);
            if (picture.LoadFromFile(path) != 1) {
                err << language.Say(picture.GetLastError()) << "\n";
                return false;
            }
            if (i == 0 && image == 0) size = picture.GetSizeInPixels();
            const SIZE own = picture.GetSizeInPixels();
            if (own != size) {
                if (!CDocumentFitter::Fit(*doc, image, size.cx, size.cy, fit)) {
                    err << CMessage::Shortened(path) << " (" << own.cx << " x " << own.cy << ") cannot be fitted to "
                        << size.cx << " x " << size.cy << ": not enough memory\n";
                    return false;
                }
                if (image == 1)
                    err << CMessage::Shortened(path) << " fitted from " << own.cx << " x " << own.cy << " to "
                        << size.cx << " x " << size.cy << "\n";
            }
        }
        const CFaceJob::Outcome outcome =
            CFaceJob::Run(*finder, {doc->GetPicture(0)->GetSharedImage(), doc->GetPicture(1)->GetSharedImage()},
                          CCancelToken::Ticket());
        if (!outcome.HasLines()) {
            err << "--faces: " << CMessage::Shortened(pictures[i]) << " to " << CMessage::Shortened(pictures[i + 1])
                << ": " << language.Say(outcome.error) << "\n";
            return false;
        }
        if (!outcome.note.IsEmpty())
            err << "--faces: " << CMessage::Shortened(pictures[i]) << " to " << CMessage::Shortened(pictures[i + 1])
                << ": " << language.Say(outcome.note) << "\n";
        CFaceLinePairs::Append(*doc->GetFeatureSet(), outcome.lines[0], outcome.lines[1]);
        docs.push_back(std::move(doc));
    }
    return true;
}
