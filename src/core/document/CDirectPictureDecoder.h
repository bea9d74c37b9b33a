#pragma once

#include "CBmpDecoder.h"
#include "CJpegDecoder.h"
#include "CPictureDecoder.h"
#include "CPictureLimits.h"

#include <memory>

// Decodes BMP and JPEG files itself (CBmpDecoder, CJpegDecoder), told apart
// by their first bytes, and hands every other file, and every BMP or JPEG
// file those two refuse, to the decoder it is given. With that decoder being
// the platform's, the outcome of every file, picture or message, is the
// platform's; only the common files skip it. Without one, refused files get
// this decoder's own message.
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
