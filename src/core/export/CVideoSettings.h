#pragma once

#include "message/CMessage.h"

#include <cstdint>

// What a video export asks for. The writer takes 32-bit screen frames of
// any size and scales them to width x height.
struct CVideoSettings {
    enum Format : int32_t {
        kMp4H264 = 0, // H.264, 4:2:0, in MP4 with the index at the front
        kWebmVp9 = 1, // VP9, 4:2:0, in WebM
        kGif = 2,     // animated GIF, one palette made from a sample of the frames
    };
    // How a GIF puts the picture's colours into its palette: an ordered
    // (Bayer) pattern is fast and compresses well; error diffusion (Sierra)
    // follows gradients more closely and takes about twice as long.
    enum class GifDither : int32_t { kOrdered, kDiffusion };

    static constexpr int32_t kMinFps = 1;
    static constexpr int32_t kMaxFps = 120;
    static constexpr int32_t kDefaultFps = 25;
    static constexpr int32_t kMaxSide = 16384;
    // VP9's speed (libvpx's cpu-used): 0 (slowest, smallest file) to 9; from
    // 5 on it encodes with the real-time deadline, which keeps up with the
    // morph at 1080p on two cores.
    static constexpr int32_t kMaxWebmSpeed = 9;
    static constexpr int32_t kDefaultWebmSpeed = 6;
    // H.264's speed: x264's presets, fastest first. ultrafast keeps up with
    // the morph at 1080p on two cores (veryfast took twice the frames' own
    // time); its files are larger at the same picture.
    static constexpr const char* kMp4Presets[] = {"ultrafast", "superfast", "veryfast", "faster",  "fast",
                                                  "medium",    "slow",      "slower",   "veryslow"};
    static constexpr int32_t kMp4PresetCount = 9;
    static constexpr int32_t kDefaultMp4Preset = 0;
    // Frames a GIF's palette is made from: the first, the last and evenly
    // spaced ones between them.
    static constexpr int32_t kGifPaletteSamples = 16;

    Format format = kMp4H264;
    int32_t width = 0;
    int32_t height = 0;
    int32_t fps = kDefaultFps; // kMinFps to kMaxFps
    int32_t quality = 75;      // 0 (smallest file) to 100 (best picture)
    int32_t webmSpeed = kDefaultWebmSpeed;
    int32_t mp4Preset = kDefaultMp4Preset; // index into kMp4Presets
    GifDither gifDither = GifDither::kOrdered;
    // Encoder threads; 0: one per hardware thread.
    int32_t threads = 0;

    // The name users see: "MP4 (H.264)", "WebM (VP9)", "GIF 动画".
    static CMessage FormatName(Format format);
    // The file name extension with its dot: ".mp4", ".webm", ".gif".
    static const char* Extension(Format format);
    // Whether the format subsamples colour 2 x 2 and so needs even sizes.
    static bool NeedsEvenSize(Format format);
    // The FFmpeg encoder and muxer the format is written with.
    static const char* EncoderName(Format format);
    static const char* MuxerName(Format format);
    // Whether frame `index` of `count` goes into a GIF's palette.
    static bool IsPaletteSample(int64_t index, int64_t count);
    // A preset by its x264 name; false for other words.
    static bool ParseMp4Preset(const char* text, int32_t& out);
    // H.264's rate factor for a quality (0 to 100) and a preset: each preset
    // gives about the picture medium gives at the quality's own factor.
    static int32_t Mp4Crf(int32_t quality, int32_t preset);
    // Dithering by name, "ordered" or "diffusion"; false for other words.
    static bool ParseGifDither(const char* text, GifDither& out);
};
