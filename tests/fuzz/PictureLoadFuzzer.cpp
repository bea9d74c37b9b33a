// Fuzz target: loading a picture file into a picture holder through the
// programs' decoder: BMP and JPEG files decoded directly (CBmpDecoder,
// CJpegDecoder), the rest and the BMP files the direct decoder refuses by
// Qt's readers (a JPEG file TurboJPEG refuses stays refused). A load
// either succeeds with pixels that match the size within the limits, or
// fails with a message and an empty holder. Whenever the direct decoders
// take a file, Qt's reader takes it too and makes the same pixels.
#include "document/CDirectPictureDecoder.h"
#include "document/CPictureFile.h"
#include "document/CPictureHeader.h"
#include "document/CPictureImage.h"
#include "picture/CQtPictureDecoder.h"

#include <QtGlobal>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

// Smaller limits than the application's keep every run well inside the
// fuzzer's memory budget.
const CPictureLimits kLimits{2048, 2048, int64_t{2} * 1024 * 1024};

std::shared_ptr<const CQtPictureDecoder> Qt()
{
    static const auto decoder =
        std::make_shared<const CQtPictureDecoder>(kLimits, std::vector<std::string>{"bmp", "jpeg"});
    return decoder;
}

const CDirectPictureDecoder& Direct()
{
    static const CDirectPictureDecoder decoder(nullptr, kLimits);
    return decoder;
}

std::shared_ptr<const CDirectPictureDecoder> Program()
{
    static const auto decoder = std::make_shared<const CDirectPictureDecoder>(Qt(), kLimits);
    return decoder;
}

void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

// Qt's decoders warn about every damaged file; the fuzzer needs none of it.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qInstallMessageHandler(Quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int64_t w = 0;
    int64_t h = 0;
    CPictureHeader::ClaimedSize(data, size, w, h);

    CPictureFile picture;
    picture.SetDecoder(Program());
    if (picture.LoadFromStream(data, size) == 1) {
        const SIZE s = picture.GetSizeInPixels();
        const CPictureImage* image = picture.GetImage();
        if (image == nullptr || !kLimits.Within(s.cx, s.cy) ||
            image->pixels.size() != size_t(s.cx) * size_t(s.cy) * 4) {
            std::abort();
        }
        for (size_t i = 3; i < image->pixels.size(); i += 4) {
            if (image->pixels[i] != 255) {
                std::abort();
            }
        }
    } else if (picture.GetImage() != nullptr || picture.IsLoaded() != 0 || picture.GetLastError().Text().empty()) {
        std::abort();
    }

    CPictureImage ours;
    CMessage why;
    if (Direct().Decode(data, size, ours, why)) {
        CPictureImage theirs;
        if (!Qt()->Decode(data, size, theirs, why) || theirs.width != ours.width || theirs.height != ours.height ||
            !(theirs.pixels == ours.pixels)) {
            std::abort();
        }
    }
    return 0;
}
