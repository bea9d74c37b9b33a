#include "CVideoSettings.h"

#include "message/CText.h"

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
