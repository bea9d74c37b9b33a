#pragma once

#include "output/avi/CCompressionOptions.h"
#include "COutputLocks.h"
#include "CRunLock.h"
#include "message/CMessage.h"
#include "message/CText.h"
#include "document/SIZE.h"
#include "morph/CBitmap.h"
#include "morph/CCancelToken.h"
#include "morph/CMorphOptions.h"
#include "morph/EngineKind.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CAviRecorder;
class CBitmapInfo;
class CFeatureSet;
class CRowPool;
class CTrevalinDoc;
class ImageMorphing;

// One morph run, frame by frame: takes the document's pictures at Start,
// computes frame k of n with the current engine, appends it to the video and
// writes it as a frame file. The result view drives it from its timer; the
// headless render drives it in a loop. Both produce the same files.
//
// A started run holds the working folder's run lock (CRunLock) and the
// locks of its output folders (COutputLocks, which exports take too) until
// Stop, so two runs, or a run and an export, never write the same outputs. Every output is written beside
// its path and renamed over it when complete (the video at Stop).
//
// Threads: ComputeFrame touches only the engine, the line copy and `out`;
// WriteFrame only the recorder and the files. Each may run on a thread of
// its own while the owner's thread waits for neither, as long as no other
// operation runs at the same time as either (the owner's thread keeps
// reading the getters).
class CRunDriver {
public:
    enum class StartStatus {
        kStarted,      // running; see videoStatus for the video
        kIncompatible, // pictures differ in size or depth, or one is missing: nothing changed
        kBusy,         // another run or an export holds the working folder's outputs: nothing changed
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
        CMessage videoError; // the recorder's status text when kFailed, then the system's reason
        // kIncompatible because a picture holds nothing: which (0 source,
        // 1 target, -1 none) and the file the project names for it (empty
        // when it names none).
        int32_t missingPicture = -1;
        std::string missingPath;
        // Whether this Start went on with a paused run (its video, k).
        bool resumed = false;
        // kStarted: the first output folder that cannot be made or written
        // to, and why; its frames or video fail with this reason.
        CMessage folderError;
    };

    // What the user is told when the pictures differ in size or depth.
    static constexpr const char* kIncompatibleText = TRV_TEXT("CoreText", "不一致的图片大小或颜色格式!");
    // An output folder that cannot be made or written to (%1), and why (%2).
    static constexpr const char* kFolderFormat = TRV_TEXT("CoreText", "无法在文件夹 %1 中写入文件:%2");
    // The line added to it that names a missing picture ("%1" its file).
    static constexpr const char* kMissingSourceFormat = TRV_TEXT("CoreText", "找不到源图片 %1。");
    static constexpr const char* kMissingTargetFormat = TRV_TEXT("CoreText", "找不到目标图片 %1。");
    static constexpr const char* kNoSourceText = TRV_TEXT("CoreText", "还没有打开源图片。");
    static constexpr const char* kNoTargetText = TRV_TEXT("CoreText", "还没有打开目标图片。");
    // What the user is told when a refused Start found a picture missing,
    // or the plain incompatible text.
    static CMessage IncompatibleMessage(const StartResult& result);

    // Feature-line morphing without a line pair makes every frame black: the
    // preview and Start say so, and how to get pictures instead.
    static constexpr const char* kNoLinesText = TRV_TEXT("CoreText", "还没有特征线:请画特征线，或选择交叉溶解");
    static bool MakesBlackFrames(EngineKind kind, const CFeatureSet& lines);

    // What the user is told at the end of a run whose video does not hold
    // its frames.
    static constexpr const char* kNoVideoFormat = TRV_TEXT("CoreText", "没有写入视频文件:%1");
    static constexpr const char* kNoVideoCancelledText = TRV_TEXT("CoreText", "没有写入视频文件(已取消选择压缩方式)");
    static constexpr const char* kNoVideoNoFramesText = TRV_TEXT("CoreText", "还没有生成任何一帧。");
    static constexpr const char* kVideoIncompleteFormat = TRV_TEXT("CoreText", "视频文件没有写完整:%1");
    // After a Stop: whether the video holds every frame the run produced.
    bool IsVideoWritten() const { return m_bVideoWritten; }
    // The video of the run last started.
    VideoState GetVideoState() const { return m_videoState; }
    // After a Stop whose video was not written: that no video was written
    // and why (or that it lacks the frames from a failure on).
    CMessage NoVideoMessage() const;

    struct FrameResult {
        int32_t frame = 0;
        bool videoWritten = false;
        CMessage videoError; // not empty when appending to an open video failed
        bool fileWritten = false;
        CMessage fileError; // not empty when the frame file could not be written
    };

    CRunDriver(CTrevalinDoc& doc, CCompressionChooser chooser);
    ~CRunDriver();
    CRunDriver(const CRunDriver&) = delete;
    CRunDriver& operator=(const CRunDriver&) = delete;

    // Rows of every engine of this driver go to `pPool` (which must outlive
    // the driver's use of it); nullptr lets each engine make its own.
    void SetRowPool(CRowPool* pPool);

    EngineKind GetEngineKind() const { return m_engineKind; }
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

    // Takes the run lock (kBusy when another run has it), loads the pictures
    // (target, then source), checks them, removes temporary files an earlier
    // run left behind, opens a new video at <work>/output_video/trevalin.avi,
    // takes a copy of the feature lines and marks the run active. Does not
    // produce a frame. After a Pause (and no Stop) it goes on with the run
    // instead: the video stays open without a second question when the
    // frames keep their size, and k moves past a frame already produced.
    StartResult Start();
    // Computes frame k, appends it to the video if one is open and writes
    // <work>/ouput_image/Frame-<k>.bmp.
    FrameResult ProduceFrame();
    // Copies the document's feature lines for the frames that follow; the
    // frames never read the document itself, so it may be edited meanwhile.
    void TakeLines();
    // The two halves of ProduceFrame, for callers that overlap computing
    // one frame with writing the one before or compute on another thread.
    // ComputeFrame returns false when the ticket was abandoned before the
    // frame was complete (`out` is then unfinished and must not be written).
    bool ComputeFrame(int32_t k, CBitmap& out, CCancelToken::Ticket ticket = {});
    FrameResult WriteFrame(int32_t k, const CBitmap& frame);
    // k += 1; returns false when that passes n (the run is over).
    bool Advance();
    // Gives up the video of a run that failed: its temporary file goes and
    // whatever was at the video's path stays; the Stop that follows writes
    // no video.
    void AbandonVideo();
    // Keeps k and the open video.
    void Pause();
    bool IsPaused() const { return m_bPaused; }
    // Closes the video, rewinds k to 0 and gives up the run lock; returns
    // true when a recorder existed (the caller then tells the user where the
    // video went).
    bool Stop();
    // Why the last Stop could not complete the video, or empty.
    const CMessage& GetCloseError() const { return m_closeError; }

    // Width and height of the frames of the started run, (0, 0) before.
    SIZE GetFrameSize() const;
    // The frame last computed (32 bits per pixel).
    const CBitmap& GetFrame() const { return m_frame; }
    ImageMorphing& GetEngine() { return *m_pEngine; }

    // Output locations under the working folder.
    std::string VideoPath() const;
    std::string FramePath(int32_t k) const;
    std::string FrameFolder() const;
    // Numbers of the frame files Frame-<k>.bmp in the frame folder with
    // k > n, in increasing order.
    std::vector<int32_t> FramesBeyond(int32_t n) const;
    // Removes those files; returns how many went. Only while the run lock
    // is held (after a successful Start).
    int32_t RemoveFramesBeyond(int32_t n);

private:
    CTrevalinDoc& m_doc;
    CCompressionChooser m_chooser;
    EngineKind m_engineKind = EngineKind::kFeature;
    CMorphOptions m_options;
    int32_t m_bRunning = 0;
    int32_t m_nSteps = 0;
    int32_t m_nFrame = 0;
    std::unique_ptr<ImageMorphing> m_pEngine;
    CRowPool* m_pPool = nullptr;
    std::unique_ptr<CTrevalinDoc> m_pLines; // the lines the frames are computed from
    CRunLock m_lock;
    COutputLocks m_outputLocks;  // of the frame and video folders, until Stop
    CMessage m_frameFolderError; // why the frame folder cannot be written to
    CBitmap m_frame;
    std::shared_ptr<const CBitmap> m_inputs[2];
    bool m_bHasInputs = false;
    std::unique_ptr<CAviRecorder> m_pRecorder;
    std::unique_ptr<CBitmapInfo> m_pVideoFormat;
    CByteVector m_frameRows; // the frame written last, bottom-up
    CByteVector m_videoRows; // the same for a video of another frame format
    bool m_bVideoFailed = false;
    CMessage m_closeError;
    bool m_bPaused = false;
    bool m_bRunVideo = false;     // the recorder's video belongs to a run not stopped yet
    int32_t m_nLastProduced = -1; // the last frame written in this run
    VideoState m_videoState = VideoState::kCancelled;
    CMessage m_videoWhy; // why the run's video lacks frames (open or frame failure)
    int32_t m_nVideoFrames = 0;
    bool m_bVideoWritten = false;
};
