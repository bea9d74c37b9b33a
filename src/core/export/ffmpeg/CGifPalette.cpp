#include "CGifPalette.h"

#include <algorithm>
#include <cstring>
#include <string>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

CGifPalette::~CGifPalette()
{
    Close();
}

void CGifPalette::Close()
{
    avfilter_graph_free(&m_pGraph);
    m_pSource = nullptr;
    m_pSink = nullptr;
    m_pushed = 0;
}

int32_t CGifPalette::ColourCount(int32_t quality)
{
    return 16 + (240 * std::clamp(quality, 0, 100) + 50) / 100;
}

int CGifPalette::Open(int32_t width, int32_t height, int32_t quality)
{
    Close();
    m_pGraph = avfilter_graph_alloc();
    if (m_pGraph == nullptr) {
        return AVERROR(ENOMEM);
    }
    const std::string args = "video_size=" + std::to_string(width) + "x" + std::to_string(height) +
                             ":pix_fmt=" + std::to_string(AV_PIX_FMT_BGRA) + ":time_base=1/100:pixel_aspect=1/1";
    // The frames carry no transparency: every colour goes to the picture.
    const std::string gen =
        "max_colors=" + std::to_string(ColourCount(quality)) + ":reserve_transparent=0:stats_mode=full";
    AVFilterContext* palettegen = nullptr;
    int rc =
        avfilter_graph_create_filter(&m_pSource, avfilter_get_by_name("buffer"), "in", args.c_str(), nullptr, m_pGraph);
    if (rc >= 0) {
        rc = avfilter_graph_create_filter(&palettegen, avfilter_get_by_name("palettegen"), "palettegen", gen.c_str(),
                                          nullptr, m_pGraph);
    }
    if (rc >= 0) {
        rc = avfilter_graph_create_filter(&m_pSink, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                          m_pGraph);
    }
    if (rc >= 0) rc = avfilter_link(m_pSource, 0, palettegen, 0);
    if (rc >= 0) rc = avfilter_link(palettegen, 0, m_pSink, 0);
    if (rc >= 0) rc = avfilter_graph_config(m_pGraph, nullptr);
    if (rc < 0) {
        Close();
    }
    return rc < 0 ? rc : 0;
}

int CGifPalette::Push(AVFrame* frame)
{
    if (m_pSource == nullptr) {
        return AVERROR(EINVAL);
    }
    // Times only need to rise.
    frame->pts = m_pushed++;
    return av_buffersrc_add_frame_flags(m_pSource, frame, AV_BUFFERSRC_FLAG_KEEP_REF);
}

int CGifPalette::Make(Colours& colours)
{
    if (m_pSource == nullptr || m_pushed == 0) {
        return AVERROR(EINVAL);
    }
    int rc = av_buffersrc_add_frame_flags(m_pSource, nullptr, 0);
    AVFrame* palette = av_frame_alloc();
    if (palette == nullptr) {
        rc = AVERROR(ENOMEM);
    }
    if (rc >= 0) {
        rc = av_buffersink_get_frame(m_pSink, palette);
    }
    // palettegen gives a 16 x 16 picture, one colour a pixel, in the
    // native 0xAARRGGBB words.
    if (rc >= 0 && (palette->width * palette->height != 256 || palette->format != AV_PIX_FMT_RGB32)) {
        rc = AVERROR(EINVAL);
    }
    if (rc >= 0) {
        for (int32_t y = 0; y < 16; ++y) {
            std::memcpy(&colours[static_cast<size_t>(y) * 16], palette->data[0] + y * palette->linesize[0],
                        16 * sizeof(uint32_t));
        }
        for (uint32_t& c : colours)
            c |= 0xff000000u;
    }
    av_frame_free(&palette);
    Close();
    return rc < 0 ? rc : 0;
}
