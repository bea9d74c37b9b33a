#include "CGifPaletteGraph.h"

#include <algorithm>
#include <string>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/pixfmt.h>
}

namespace {

// Quality 0 keeps 16 colours, 100 the format's full 256. The palette is
// made from the sampled frames only (CVideoSettings::IsPaletteSample): a
// morph's colours run from one picture's to the other's, so a few frames
// across it find them at a fraction of a pass over all of them.
std::string FilterSpec(int32_t quality, CVideoSettings::GifDither dither, int64_t frames)
{
    const int32_t q = std::clamp(quality, 0, 100);
    const int32_t colours = 16 + (240 * q + 50) / 100;
    const char* how = dither == CVideoSettings::GifDither::kOrdered ? "bayer:bayer_scale=2" : "sierra2_4a";
    std::string sample;
    if (frames > CVideoSettings::kGifPaletteSamples) {
        for (int64_t n = 0; n < frames; ++n) {
            if (CVideoSettings::IsPaletteSample(n, frames)) {
                sample += (sample.empty() ? "" : "+") + std::string("eq(n\\,") + std::to_string(n) + ")";
            }
        }
        sample = "select=" + sample + ", ";
    }
    // The frames carry no transparency: every colour goes to the picture.
    return "[in] split [a][b]; [a] " + sample + "palettegen=max_colors=" + std::to_string(colours) +
           ":reserve_transparent=0:stats_mode=full [p]; [b][p] paletteuse=dither=" + how + " [out]";
}

} // namespace

CGifPaletteGraph::~CGifPaletteGraph()
{
    Close();
}

void CGifPaletteGraph::Close()
{
    avfilter_graph_free(&m_pGraph);
    m_pSource = nullptr;
    m_pSink = nullptr;
}

int CGifPaletteGraph::Open(int32_t width, int32_t height, int32_t timeBaseDen, int32_t quality,
                           CVideoSettings::GifDither dither, int64_t frames)
{
    Close();
    m_pGraph = avfilter_graph_alloc();
    if (m_pGraph == nullptr) {
        return AVERROR(ENOMEM);
    }
    const std::string args = "video_size=" + std::to_string(width) + "x" + std::to_string(height) +
                             ":pix_fmt=" + std::to_string(AV_PIX_FMT_BGRA) + ":time_base=1/" +
                             std::to_string(timeBaseDen) + ":pixel_aspect=1/1";
    int rc =
        avfilter_graph_create_filter(&m_pSource, avfilter_get_by_name("buffer"), "in", args.c_str(), nullptr, m_pGraph);
    if (rc >= 0) {
        rc = avfilter_graph_create_filter(&m_pSink, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                          m_pGraph);
    }
    AVFilterInOut* outputs = avfilter_inout_alloc();
    AVFilterInOut* inputs = avfilter_inout_alloc();
    if (rc >= 0 && (outputs == nullptr || inputs == nullptr)) {
        rc = AVERROR(ENOMEM);
    }
    if (rc >= 0) {
        outputs->name = av_strdup("in");
        outputs->filter_ctx = m_pSource;
        inputs->name = av_strdup("out");
        inputs->filter_ctx = m_pSink;
        rc =
            avfilter_graph_parse_ptr(m_pGraph, FilterSpec(quality, dither, frames).c_str(), &inputs, &outputs, nullptr);
    }
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (rc >= 0) {
        rc = avfilter_graph_config(m_pGraph, nullptr);
    }
    if (rc < 0) {
        Close();
    }
    return rc < 0 ? rc : 0;
}

int CGifPaletteGraph::Push(AVFrame* frame)
{
    if (m_pSource == nullptr) {
        return AVERROR(EINVAL);
    }
    return av_buffersrc_add_frame_flags(m_pSource, frame, AV_BUFFERSRC_FLAG_KEEP_REF);
}

int CGifPaletteGraph::End()
{
    if (m_pSource == nullptr) {
        return AVERROR(EINVAL);
    }
    return av_buffersrc_add_frame_flags(m_pSource, nullptr, 0);
}

int CGifPaletteGraph::Pull(AVFrame* out)
{
    if (m_pSink == nullptr) {
        return AVERROR(EINVAL);
    }
    return av_buffersink_get_frame(m_pSink, out);
}
