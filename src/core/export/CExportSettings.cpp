#include "CExportSettings.h"

#include "FrameFileName.h"

#include <cmath>

void CExportSettings::OutputSize(int32_t pictureWidth, int32_t pictureHeight, int32_t& w, int32_t& h) const
{
    if (width <= 0) {
        w = pictureWidth;
        h = pictureHeight;
        return;
    }
    w = width;
    if (height > 0 || pictureWidth <= 0) {
        h = height;
        return;
    }
    const double exact = static_cast<double>(width) * pictureHeight / pictureWidth;
    if (NeedsEvenSize(video)) {
        h = static_cast<int32_t>(std::lround(exact / 2.0)) * 2;
        h = h < 2 ? 2 : h;
    } else {
        h = static_cast<int32_t>(std::lround(exact));
        h = h < 1 ? 1 : h;
    }
}

int32_t CExportSettings::HoldFrames(double seconds) const
{
    if (!(seconds > 0.0)) {
        return 0;
    }
    const double held = std::round((seconds < kMaxHoldSeconds ? seconds : kMaxHoldSeconds) * fps);
    return static_cast<int32_t>(held);
}

std::vector<int32_t> CExportSettings::Timeline() const
{
    std::vector<int32_t> order;
    const auto add = [&](int32_t k, int32_t times) {
        if (k >= firstFrame && k <= LastFrame()) {
            order.insert(order.end(), static_cast<size_t>(times), k);
        }
    };
    for (int32_t k = 0; k <= steps; ++k) {
        int32_t times = 1;
        if (k == 0) times += HoldFrames(holdFirstSeconds);
        if (k == steps) times += HoldFrames(holdLastSeconds);
        add(k, times);
    }
    if (pingPong) {
        for (int32_t k = steps - 1; k >= 0; --k)
            add(k, 1);
    }
    return order;
}

const char* CExportSettings::FrameExtension(Frames frames)
{
    switch (frames) {
    case Frames::kPng:
        return ".png";
    case Frames::kJpeg:
        return ".jpg";
    case Frames::kBmp:
        return ".bmp";
    case Frames::kNone:
        break;
    }
    return "";
}

const char* CExportSettings::VideoExtension(Video video)
{
    switch (video) {
    case Video::kMp4:
        return ".mp4";
    case Video::kWebm:
        return ".webm";
    case Video::kGif:
        return ".gif";
    case Video::kAviUncompressed:
    case Video::kAviMotionJpeg:
        return ".avi";
    case Video::kNone:
        break;
    }
    return "";
}

std::string CExportSettings::FramePath(int32_t k) const
{
    const std::string ext = FrameExtension(frames);
    if (layout == Layout::kWorkFolder) {
        return folder + "/ouput_image/Frame-" + std::to_string(k) + ext;
    }
    return folder + "/" + FrameFileName(baseName, k, int64_t{steps} + 1, ext);
}

std::string CExportSettings::VideoPath() const
{
    const std::string ext = VideoExtension(video);
    if (layout == Layout::kWorkFolder) {
        return folder + "/output_video/trevalin" + ext;
    }
    return folder + "/" + baseName + ext;
}
