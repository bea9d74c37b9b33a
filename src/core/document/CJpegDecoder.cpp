#include "CJpegDecoder.h"

#include "CPictureHeader.h"
#include "CPictureImage.h"

#include <turbojpeg.h>

#include <climits>
#include <cstring>
#include <memory>
#include <new>

namespace {

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// Stop at progressive files of absurdly many scans (each scan costs a pass
// over the whole picture).
constexpr int kFlags = TJFLAG_LIMITSCANS;

// Whether a call of the library that returned `result` gave a whole
// picture. The library reads on past a warning and reports it after the
// call; stray bytes between markers, which many cameras and editors leave,
// cost no pixel, but any other warning (a cut file, damaged coded data)
// leaves part of the picture grey.
bool Succeeded(void* handle, int result)
{
    if (result == 0) return true;
    const char* why = tjGetErrorStr2(handle);
    return tjGetErrorCode(handle) == TJERR_WARNING && why != nullptr && std::strstr(why, "extraneous bytes") != nullptr;
}

// The damaged-file message with the library's own words.
CMessage LibraryError(void* handle)
{
    const char* why = handle != nullptr ? tjGetErrorStr2(handle) : nullptr;
    return CMessage(CPictureDecoder::kDamaged, {std::string(why != nullptr && *why != 0 ? why : "JPEG")});
}

} // namespace

bool CJpegDecoder::Recognizes(const uint8_t* data, size_t size)
{
    return data != nullptr && size >= 2 && data[0] == 0xFF && data[1] == 0xD8;
}

bool CJpegDecoder::Decode(const uint8_t* data, size_t size, CPictureImage& out, CMessage& error) const
{
    if (data == nullptr || size == 0) {
        error = CMessage(TRV_TEXT("CoreText", "图片文件是空的。"));
        return false;
    }
    if (!Recognizes(data, size) || size > ULONG_MAX) {
        error = CMessage(TRV_TEXT("CoreText", "无法识别的图片格式。"));
        return false;
    }
    // The first frame header's size decides before the library reads on,
    // as it does for the other decoders.
    int64_t claimedW = 0;
    int64_t claimedH = 0;
    if (CPictureHeader::ClaimedSize(data, size, claimedW, claimedH) && !m_limits.Within(claimedW, claimedH)) {
        error = m_limits.TooLargeText(claimedW, claimedH);
        return false;
    }
    if (CPictureHeader::JpegBeyondFile(data, size)) {
        error = CMessage(kBeyondFile, {claimedW, claimedH, static_cast<uint64_t>(size)});
        return false;
    }
    const Handle handle(tjInitDecompress());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourspace = 0;
    if (!handle || !Succeeded(handle.get(), tjDecompressHeader3(handle.get(), data, static_cast<unsigned long>(size),
                                                                &width, &height, &subsampling, &colourspace))) {
        error = LibraryError(handle.get());
        return false;
    }
    if (!m_limits.Within(width, height)) {
        error = m_limits.TooLargeText(width, height);
        return false;
    }
    const bool cmyk = colourspace == TJCS_CMYK || colourspace == TJCS_YCCK;
    if (!cmyk && colourspace != TJCS_RGB && colourspace != TJCS_YCbCr && colourspace != TJCS_GRAY) {
        error = CMessage(kDamaged, {std::string("JPEG")});
        return false;
    }
    try {
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        CByteVector pixels(count * 4);
        // Blue, green, red and an alpha of 255 straight from the library; CMYK
        // as the four inks, turned into colour below.
        if (!Succeeded(handle.get(), tjDecompress2(handle.get(), data, static_cast<unsigned long>(size), pixels.data(),
                                                   width, width * 4, height, cmyk ? TJPF_CMYK : TJPF_BGRA, kFlags))) {
            error = LibraryError(handle.get());
            return false;
        }
        if (cmyk) {
            uint8_t* p = pixels.data();
            for (size_t i = 0; i < count; ++i, p += 4) {
                const uint32_t c = p[0], m = p[1], y = p[2], k = p[3];
                p[0] = static_cast<uint8_t>(k * y / 255);
                p[1] = static_cast<uint8_t>(k * m / 255);
                p[2] = static_cast<uint8_t>(k * c / 255);
                p[3] = 255;
            }
        }
        out.width = width;
        out.height = height;
        out.pixels = std::move(pixels);
    } catch (const std::bad_alloc&) {
        error = CMessage(TRV_TEXT("CoreText", "内存不足,无法载入图片。"));
        return false;
    }
    return true;
}
