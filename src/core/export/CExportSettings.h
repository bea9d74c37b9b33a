#pragma once

#include "CVideoSettings.h"
#include "morph/CMorphOptions.h"
#include "morph/EngineKind.h"

#include <cstdint>
#include <string>
#include <vector>

// What one export writes: which frames of the morph, as which frame files
// and which video, where, at what size and rate.
//
// Frame files hold the morph's frames k = first .. last of 0 .. N, one file
// each, numbered by k. The video shows them in time order: frame 0 held for
// `holdFirstSeconds` more, the frames in between, frame N held for
// `holdLastSeconds` more, and with ping-pong the way back N - 1 .. 0; of
// that order only the frames within first .. last.
struct CExportSettings {
    enum class Layout : int32_t {
        kFolder,     // <folder>/<base>-0000.<ext> and <folder>/<base>.<ext>
        kWorkFolder, // <folder>/ouput_image/Frame-<k>.<ext> and <folder>/output_video/trevalin.<ext>
    };
    enum class Frames : int32_t { kNone, kPng, kJpeg, kBmp };
    enum class Video : int32_t { kNone, kMp4, kWebm, kGif, kAviUncompressed, kAviMotionJpeg };

    static constexpr int32_t kMaxSteps = 100;
    // Frames of one morph in an export (N up to kMaxFrames - 1), whatever
    // the steps of a run of 开始; a sequence of morphs may have more.
    static constexpr int32_t kMaxFrames = 10000;
    static constexpr int32_t kMaxSequenceFrames = 1000000;
    static constexpr double kMaxHoldSeconds = 60.0;

    Layout layout = Layout::kFolder;
    std::string folder;
    std::string baseName; // kFolder only

    Frames frames = Frames::kPng;
    int32_t frameQuality = 90; // JPEG files, 0 to 100
    Video video = Video::kMp4;
    int32_t videoQuality = 75; // 0 to 100 (Motion JPEG: 0 is taken as 1)
    int32_t fps = 25;          // 1 to 120
    // H.264's preset (CVideoSettings::kMp4Presets), WebM's speed, 0 to 9
    // (CVideoSettings::webmSpeed), and a GIF's dithering.
    int32_t mp4Preset = CVideoSettings::kDefaultMp4Preset;
    int32_t webmSpeed = CVideoSettings::kDefaultWebmSpeed;
    CVideoSettings::GifDither gifDither = CVideoSettings::GifDither::kOrdered;

    // 0 x 0: the pictures' size. A width alone: the height follows the
    // pictures' shape (rounded to an even number for MP4 and WebM).
    int32_t width = 0;
    int32_t height = 0;

    // A sequence's held frames: this many more copies of each picture's
    // frame (the first, each join, the last), numbered on like the others.
    // The exporter gives it to the sequence (CExportSequence::SetHold).
    int32_t sequenceHold = 0;

    bool pingPong = false;
    double holdFirstSeconds = 0.0;
    double holdLastSeconds = 0.0;
    // An export stopped by its cancel ticket completes the video of the
    // frames written (trevalin-render's stop signals) instead of dropping it.
    bool finishVideoWhenStopped = false;

    int32_t steps = 10; // N, 1 to kMaxFrames - 1 (a sequence: its frame count - 1)
    EngineKind engine = EngineKind::kFeature;
    CMorphOptions morph;
    int32_t firstFrame = 0;
    int32_t lastFrame = -1; // -1: N
    int32_t threads = 0;    // threads computing a frame; 0: one per hardware thread
    // Smooth feature-morph frames (morph.quality): 2 makes each pixel the
    // average of 2 x 2 samples; 1 takes one sample per pixel.
    int32_t supersample = 1;

    int32_t LastFrame() const { return lastFrame < 0 ? steps : lastFrame; }
    // The size of the written frames for pictures of w x h.
    void OutputSize(int32_t pictureWidth, int32_t pictureHeight, int32_t& w, int32_t& h) const;
    // Frames shown for `seconds` at the frame rate (rounded).
    int32_t HoldFrames(double seconds) const;
    // The frame index k of every video frame, in time order.
    std::vector<int32_t> Timeline() const;

    std::string FramePath(int32_t k) const;
    std::string VideoPath() const;
    // The frame files' and the video's file name extensions, with the dot.
    static const char* FrameExtension(Frames frames);
    static const char* VideoExtension(Video video);
    static bool IsAvi(Video video) { return video == Video::kAviUncompressed || video == Video::kAviMotionJpeg; }
    static bool NeedsEvenSize(Video video) { return video == Video::kMp4 || video == Video::kWebm; }
};
