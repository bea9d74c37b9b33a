#pragma once

#include "CCompressionOptions.h"
#include "document/CText.h"
#include "document/SIZE.h"
#include "morph/CBitmap.h"
#include "morph/CMorphOptions.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CAviRecorder;
class CBitmapInfo;
class CRowPool;
class CTrevalinDoc;
class ImageMorphing;

// One morph run, frame by frame: takes the document's pictures at Start,
// computes frame k of n with the current engine, appends it to the video and
// writes it as a frame file. The result view drives it from its timer; the
// headless render drives it in a loop. Both produce the same files.
class CRunDriver {
public:
    enum EngineKind : int32_t { kLinear = 0, kFeature = 1 };

    enum class StartStatus {
        kStarted,      // running; see videoStatus for the video
        kIncompatible, // pictures differ in size or depth: nothing changed
    };

    // The video of a started run.
    enum class VideoState {
        kOpen,      // frames are being added
        kCancelled, // the compression chooser was cancelled: no video
        kFailed,    // it could not be opened: see videoError
    };

    struct StartResult {
        StartStatus status = StartStatus::kIncompatible;
        VideoState video = VideoState::kCancelled;
        std::string videoError; // the recorder's status text when kFailed
    };

    // What the user is told when the pictures differ in size or depth.
    static constexpr const char* kIncompatibleText = TRV_TEXT("CoreText", "不一致的图片大小或颜色格式!");

    struct FrameResult {
        int32_t frame = 0;
        bool videoWritten = false;
        std::string videoError; // non-empty when appending to an open video failed
        bool fileWritten = false;
        std::string fileError; // non-empty when the frame file could not be written
    };

    CRunDriver(CTrevalinDoc& doc, CCompressionChooser chooser);
    ~CRunDriver();
    CRunDriver(const CRunDriver&) = delete;
    CRunDriver& operator=(const CRunDriver&) = delete;

    // A new engine of that kind (no pictures, N = 0).
    static std::unique_ptr<ImageMorphing> MakeEngine(EngineKind kind);

    // Rows of every engine of this driver go to `pPool` (which must outlive
    // the driver's use of it); nullptr lets each engine make its own.
    void SetRowPool(CRowPool* pPool);

    int32_t GetEngineKind() const { return m_nEngineKind; }
    // Replaces the engine when another kind is current; in the middle of a
    // run the new engine takes over the run's pictures.
    void UseEngine(EngineKind kind);

    // Warp only, easing and edges of the frames computed from now on; they
    // stay with the driver when the engine is switched.
    void SetMorphOptions(const CMorphOptions& options);
    const CMorphOptions& GetMorphOptions() const { return m_options; }

    void SetSteps(int32_t n);
    int32_t GetSteps() const { return m_nSteps; }
    int32_t GetFrameIndex() const { return m_nFrame; }
    bool IsRunning() const { return m_bRunning != 0; }
    bool HasRecorder() const { return m_pRecorder != nullptr; }

    // Loads the pictures (target, then source), checks them, opens a new
    // video at <work>/output_video/trevalin.avi and marks the run active.
    // Does not produce a frame.
    StartResult Start();
    // Computes frame k, appends it to the video if one is open and writes
    // <work>/ouput_image/Frame-<k>.bmp.
    FrameResult ProduceFrame();
    // The two halves of ProduceFrame, for callers that overlap computing
    // one frame with writing the one before: ComputeFrame touches only the
    // engine and `out`; WriteFrame only the recorder, the files and `frame`.
    void ComputeFrame(int32_t k, CBitmap& out);
    FrameResult WriteFrame(int32_t k, const CBitmap& frame);
    // k += 1; returns false when that passes n (the run is over).
    bool Advance();
    // Keeps k and the open video.
    void Pause();
    // Closes the video, rewinds k to 0; returns true when a recorder
    // existed (the caller then tells the user where the video went).
    bool Stop();
    // Why the last Stop could not complete the video, or empty.
    const std::string& GetCloseError() const { return m_strCloseError; }

    // Width and height of the frames of the started run, (0, 0) before.
    SIZE GetFrameSize() const;
    // The frame last computed (32 bits per pixel).
    const CBitmap& GetFrame() const { return m_frame; }
    ImageMorphing& GetEngine() { return *m_pEngine; }

    // Output locations under the working folder.
    std::string VideoPath() const;
    std::string FramePath(int32_t k) const;

private:
    CTrevalinDoc& m_doc;
    CCompressionChooser m_chooser;
    int32_t m_nEngineKind = kFeature;
    CMorphOptions m_options;
    int32_t m_bRunning = 0;
    int32_t m_nSteps = 0;
    int32_t m_nFrame = 0;
    std::unique_ptr<ImageMorphing> m_pEngine;
    CRowPool* m_pPool = nullptr;
    CBitmap m_frame;
    CBitmap m_inputs[2];
    bool m_bHasInputs = false;
    std::unique_ptr<CAviRecorder> m_pRecorder;
    std::unique_ptr<CBitmapInfo> m_pVideoFormat;
    std::vector<uint8_t> m_videoRows;
    bool m_bVideoFailed = false;
    std::string m_strCloseError;
};
