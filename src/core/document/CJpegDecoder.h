#pragma once

#include "CPictureDecoder.h"
#include "CPictureLimits.h"

// Decodes JPEG files with TurboJPEG: grey, YCbCr and RGB pictures into
// blue, green, red, and CMYK / YCCK pictures with each of cyan, magenta and
// yellow scaled by black (the Adobe convention the platform's reader uses).
// The result is what Qt's JPEG reader (the same library underneath) makes of
// the same file, byte for byte.
//
// Any file the library only reads with warnings (damaged or cut data), whose
// picture exceeds the limits, or whose header claims more pixels than the
// file can hold (CPictureHeader::JpegBeyondFile) is refused with the reason.
class CJpegDecoder : public CPictureDecoder {
public:
    explicit CJpegDecoder(CPictureLimits limits = {}) : m_limits(limits) {}

    bool Decode(const uint8_t* data, size_t size, CPictureImage& out, CMessage& error) const override;

    // Whether the data starts like a JPEG file.
    static bool Recognizes(const uint8_t* data, size_t size);

    // A header claiming more than the file can hold: %1 x %2 the size
    // claimed, %3 the file's bytes.
    static constexpr const char* kBeyondFile =
        TRV_TEXT("CoreText", "图片文件不完整:文件头声称 %1 x %2 像素,%3 字节的文件装不下这么多像素。");

private:
    CPictureLimits m_limits;
};
