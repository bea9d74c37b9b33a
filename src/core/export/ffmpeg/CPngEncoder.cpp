#include "CPngEncoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
}

CPngEncoder::~CPngEncoder()
{
    Release();
}

void CPngEncoder::Release()
{
    avcodec_free_context(&m_pCodec);
    av_frame_free(&m_pFrame);
    av_packet_free(&m_pPacket);
}

int CPngEncoder::Start(int32_t width, int32_t height)
{
    Release();
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PNG);
    if (codec == nullptr) {
        return AVERROR_ENCODER_NOT_FOUND;
    }
    m_pCodec = avcodec_alloc_context3(codec);
    m_pFrame = av_frame_alloc();
    m_pPacket = av_packet_alloc();
    if (m_pCodec == nullptr || m_pFrame == nullptr || m_pPacket == nullptr) {
        return AVERROR(ENOMEM);
    }
    m_pCodec->width = width;
    m_pCodec->height = height;
    m_pCodec->pix_fmt = AV_PIX_FMT_RGB24;
    m_pCodec->time_base = AVRational{1, 25};
    // Each row picks the filter that suits it: smaller files than none.
    av_opt_set(m_pCodec->priv_data, "pred", "mixed", 0);
    int rc = avcodec_open2(m_pCodec, codec, nullptr);
    if (rc < 0) {
        return rc;
    }
    m_pFrame->format = AV_PIX_FMT_RGB24;
    m_pFrame->width = width;
    m_pFrame->height = height;
    rc = av_frame_get_buffer(m_pFrame, 0);
    return rc < 0 ? rc : 0;
}

int CPngEncoder::Encode(const uint8_t* bgr0, int32_t stride, int32_t width, int32_t height, std::vector<uint8_t>& png)
{
    if (m_pCodec == nullptr || m_pCodec->width != width || m_pCodec->height != height) {
        const int rc = Start(width, height);
        if (rc < 0) {
            Release();
            return rc;
        }
    }
    int rc = av_frame_make_writable(m_pFrame);
    if (rc < 0) {
        return rc;
    }
    // Blue, green, red, 0 to red, green, blue: every byte kept as it is.
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = bgr0 + static_cast<ptrdiff_t>(y) * stride;
        uint8_t* out = m_pFrame->data[0] + static_cast<ptrdiff_t>(y) * m_pFrame->linesize[0];
        for (int32_t x = 0; x < width; ++x, in += 4, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    rc = avcodec_send_frame(m_pCodec, m_pFrame);
    if (rc >= 0) {
        rc = avcodec_receive_packet(m_pCodec, m_pPacket);
    }
    if (rc < 0) {
        // A failed encoder may hold a half-made state: start afresh next time.
        Release();
        return rc;
    }
    png.assign(m_pPacket->data, m_pPacket->data + m_pPacket->size);
    av_packet_unref(m_pPacket);
    return 0;
}
