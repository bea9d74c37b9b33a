#include "CDirectPictureDecoder.h"

CDirectPictureDecoder::CDirectPictureDecoder(std::shared_ptr<const CPictureDecoder> fallback, CPictureLimits limits)
    : m_fallback(std::move(fallback)), m_bmp(limits), m_jpeg(limits)
{
}

bool CDirectPictureDecoder::Decode(const uint8_t* data, size_t size, CPictureImage& out, CMessage& error) const
{
    CMessage own(TRV_TEXT("CoreText", "无法识别的图片格式。"));
    if (CBmpDecoder::Recognizes(data, size) && m_bmp.Decode(data, size, out, own)) {
        return true;
    }
    if (CJpegDecoder::Recognizes(data, size)) {
        // TurboJPEG's verdict stands: the platform's reader would take a cut
        // or damaged file and fill what is missing with grey.
        if (m_jpeg.Decode(data, size, out, own)) return true;
        error = own;
        return false;
    }
    if (data == nullptr || size == 0) {
        own = CMessage(TRV_TEXT("CoreText", "图片文件是空的。"));
    }
    if (m_fallback) {
        return m_fallback->Decode(data, size, out, error);
    }
    error = own;
    return false;
}
