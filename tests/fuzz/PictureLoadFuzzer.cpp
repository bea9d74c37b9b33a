// Fuzz target: loading a picture file (BMP or JPEG) into a picture holder
// through the Qt decoder. A load either succeeds with pixels that match the
// size within the limits, or fails with a message and an empty holder.
#include "document/CPictureFile.h"
#include "document/CPictureHeader.h"
#include "picture/CQtPictureDecoder.h"

#include <QtGlobal>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

// Smaller limits than the application's keep every run well inside the
// fuzzer's memory budget.
std::shared_ptr<const CQtPictureDecoder> Decoder()
{
    static const auto decoder = std::make_shared<const CQtPictureDecoder>(
        CQtPictureDecoder::Limits{2048, 2048, int64_t{2} * 1024 * 1024}, std::vector<std::string>{"bmp", "jpeg"});
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
    picture.SetDecoder(Decoder());
    const CQtPictureDecoder::Limits& limits = Decoder()->GetLimits();
    if (picture.LoadFromStream(data, size) == 1) {
        const SIZE s = picture.GetSizeInPixels();
        const CPictureImage* image = picture.GetImage();
        if (image == nullptr || s.cx <= 0 || s.cy <= 0 || s.cx > limits.maxWidth || s.cy > limits.maxHeight ||
            int64_t{s.cx} * s.cy > limits.maxPixels || image->pixels.size() != size_t(s.cx) * size_t(s.cy) * 4) {
            std::abort();
        }
        for (size_t i = 3; i < image->pixels.size(); i += 4) {
            if (image->pixels[i] != 255) {
                std::abort();
            }
        }
    } else if (picture.GetImage() != nullptr || picture.IsLoaded() != 0 || picture.GetLastError().empty()) {
        std::abort();
    }
    return 0;
}
