#include "CFrameScaler.h"

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

CFrameScaler::~CFrameScaler()
{
    sws_freeContext(m_pContext);
}

bool CFrameScaler::Convert(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height, AVFrame* out)
{
    const auto format = static_cast<AVPixelFormat>(out->format);
    // Accurate rounding and full chroma resolution on input keep colours
    // right; a lone conversion (same size) moves no pixel.
    m_pContext = sws_getCachedContext(m_pContext, width, height, AV_PIX_FMT_BGR0, out->width, out->height, format,
                                      SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INP, nullptr, nullptr, nullptr);
    if (m_pContext == nullptr) {
        return false;
    }
    const uint8_t* const planes[1] = {bgr0};
    const int strides[1] = {stride};
    return sws_scale(m_pContext, planes, strides, 0, height, out->data, out->linesize) == out->height;
}
