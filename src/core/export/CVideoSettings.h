#pragma once

#include "message/CMessage.h"

#include <cstdint>

// What a video export asks for. The writer takes 32-bit screen frames of
// any size and scales them to width x height.
struct CVideoSettings {
    enum Format : int32_t {
        kMp4H264 = 0, // H.264, 4:2:0, in MP4 with the index at the front
        kWebmVp9 = 1, // VP9, 4:2:0, in WebM
        kGif = 2,     // animated GIF, one palette made from all frames
    };

    static constexpr int32_t kMinFps = 1;
    static constexpr int32_t kMaxFps = 120;
    static constexpr int32_t kDefaultFps = 25;
    static constexpr int32_t kMaxSide = 16384;

    Format format = kMp4H264;
    int32_t width = 0;
    int32_t height = 0;
    int32_t fps = kDefaultFps; // kMinFps to kMaxFps
    int32_t quality = 75;      // 0 (smallest file) to 100 (best picture)

    // The name users see: "MP4 (H.264)", "WebM (VP9)", "GIF 动画".
    static CMessage FormatName(Format format);
    // The file name extension with its dot: ".mp4", ".webm", ".gif".
    static const char* Extension(Format format);
    // Whether the format subsamples colour 2 x 2 and so needs even sizes.
    static bool NeedsEvenSize(Format format);
    // The FFmpeg encoder and muxer the format is written with.
    static const char* EncoderName(Format format);
    static const char* MuxerName(Format format);
};
