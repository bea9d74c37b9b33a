#include "CVideoSettings.h"

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
