#pragma once

#include "message/CMessage.h"

#include <cstdint>
#include <string>

// What an export wrote, told honestly: the frame files that are complete on
// disk, and the video only once it is complete under its name.
struct CExportSummary {
    enum class Outcome : int32_t { kDone, kCancelled, kFailed };

    Outcome outcome = Outcome::kDone;
    CMessage error; // kFailed: why

    int64_t framesComputed = 0; // frames of the export computed and handed on
    int64_t framesWritten = 0;  // frame files complete on disk
    std::string firstFrameFile;
    std::string lastFrameFile;
    bool videoWanted = false;
    std::string videoPath; // empty unless the video was completed
    int64_t videoFrames = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t fps = 0;

    // A few lines for the user: how it ended, the frame files and the video.
    CMessage Describe() const;
};
