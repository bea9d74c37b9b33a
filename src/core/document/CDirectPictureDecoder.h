#pragma once

#include "CBmpDecoder.h"
#include "CJpegDecoder.h"
#include "CPictureDecoder.h"
#include "CPictureLimits.h"

#include <memory>

// Decodes BMP and JPEG files itself (CBmpDecoder, CJpegDecoder), told apart
// by their first bytes, and hands every other file, and every BMP file the
// BMP decoder refuses, to the decoder it is given. With that decoder being
// the platform's, the outcome of every file but a JPEG one, picture or
// message, is the platform's; only the common files skip it. A JPEG file the
// JPEG decoder refuses (cut, damaged, its size beyond the limits or beyond
// what the file can hold) is refused with its reason. Without a decoder
// given, refused files get this decoder's own message.
class CDirectPictureDecoder : public CPictureDecoder {
public:
    // `limits` should be the fallback's.
    explicit CDirectPictureDecoder(std::shared_ptr<const CPictureDecoder> fallback, CPictureLimits limits = {});

    bool Decode(const uint8_t* data, size_t size, CPictureImage& out, CMessage& error) const override;

private:
    std::shared_ptr<const CPictureDecoder> m_fallback;
    CBmpDecoder m_bmp;
    CJpegDecoder m_jpeg;
};
