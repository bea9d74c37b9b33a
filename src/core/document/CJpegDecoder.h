#pragma once

#include "CPictureDecoder.h"
#include "CPictureLimits.h"

// Decodes JPEG files with TurboJPEG: grey, YCbCr and RGB pictures into
// blue, green, red, and CMYK / YCCK pictures with each of cyan, magenta and
// yellow scaled by black (the Adobe convention the platform's reader uses).
// The result is what Qt's JPEG reader (the same library underneath) makes of
// the same file, byte for byte.
//
// Any file the library only reads with warnings (damaged or cut data), or
// whose picture exceeds the limits, is refused, so that a caller can hand it
// to a decoder that knows what the platform does with it.
class CJpegDecoder : public CPictureDecoder {
public:
    explicit CJpegDecoder(CPictureLimits limits = {}) : m_limits(limits) {}

    bool Decode(const uint8_t* data, size_t size, CPictureImage& out, CMessage& error) const override;

    // Whether the data starts like a JPEG file.
    static bool Recognizes(const uint8_t* data, size_t size);

private:
    CPictureLimits m_limits;
};
