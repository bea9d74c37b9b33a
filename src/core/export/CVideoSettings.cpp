#include "CVideoSettings.h"

#include <algorithm>

#include "message/CText.h"

#include <string>

CMessage CVideoSettings::FormatName(Format format)
{
    switch (format) {
    case kMp4H264:
        return CMessage::Plain("MP4 (H.264)");
    case kWebmVp9:
        return CMessage::Plain("WebM (VP9)");
    case kGif:
        return CMessage(TRV_TEXT("CoreText", "GIF 动画"));
    }
    return CMessage();
}

const char* CVideoSettings::Extension(Format format)
{
    switch (format) {
    case kMp4H264:
        return ".mp4";
    case kWebmVp9:
        return ".webm";
    case kGif:
        return ".gif";
    }
    return "";
}

bool CVideoSettings::NeedsEvenSize(Format format)
{
    return format == kMp4H264 || format == kWebmVp9;
}

const char* CVideoSettings::EncoderName(Format format)
{
    switch (format) {
    case kMp4H264:
        return "libx264";
    case kWebmVp9:
        return "libvpx-vp9";
    case kGif:
        return "gif";
    }
    return "";
}

const char* CVideoSettings::MuxerName(Format format)
{
    switch (format) {
    case kMp4H264:
        return "mp4";
    case kWebmVp9:
        return "webm";
    case kGif:
        return "gif";
    }
    return "";
}

bool CVideoSettings::IsPaletteSample(int64_t index, int64_t count)
{
    if (count <= kGifPaletteSamples) {
        return true;
    }
    // Sample j of kGifPaletteSamples sits at round(j x (count - 1) / (samples - 1)).
    const int64_t gaps = kGifPaletteSamples - 1;
    const int64_t j = (index * gaps + (count - 1) / 2) / (count - 1);
    return (j * (count - 1) + gaps / 2) / gaps == index;
}

bool CVideoSettings::ParseMp4Preset(const char* text, int32_t& out)
{
    const std::string word = text != nullptr ? text : "";
    for (int32_t i = 0; i < kMp4PresetCount; ++i) {
        if (word == kMp4Presets[i]) {
            out = i;
            return true;
        }
    }
    return false;
}

int32_t CVideoSettings::Mp4Crf(int32_t quality, int32_t preset)
{
    // Quality 0 to 100 runs from x264's 51 (worst) to 12, visually lossless;
    // 75 gives about x264's default 23. The faster presets spend their bits
    // less well: the steps that held the PSNR medium gave on the demo's 31
    // frames at 35.4 dB (ultrafast 20, superfast 18, veryfast 14, faster 15
    // where medium took 16).
    static constexpr int32_t kShift[kMp4PresetCount] = {4, 2, -2, -1, 0, 0, 0, 0, 0};
    const int32_t crf = (5100 - 39 * std::clamp(quality, 0, 100) + 50) / 100;
    return std::clamp(crf + kShift[std::clamp(preset, 0, kMp4PresetCount - 1)], 0, 51);
}

bool CVideoSettings::ParseGifDither(const char* text, GifDither& out)
{
    const std::string word = text != nullptr ? text : "";
    if (word == "ordered") {
        out = GifDither::kOrdered;
    } else if (word == "diffusion") {
        out = GifDither::kDiffusion;
    } else {
        return false;
    }
    return true;
}
