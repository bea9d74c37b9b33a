#pragma once

#include "morph/CBitmap.h"
#include "morph/CCancelToken.h"
#include "morph/CMorphOptions.h"
#include "morph/EngineKind.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class CFeatureSet;
class CLinePairs;
class CRowPool;
class ImageMorphing;
struct CPictureImage;

// The preview: frame k of N of the current pictures and lines, computed on
// a thread of its own, without writing any file. A request carries the line
// pairs as they were when it was made (an immutable CLinePairs, shared with
// the caller, who makes one per change of the lines and may hand the same
// one to any number of requests), so the caller goes on editing at once; a
// newer request
// supersedes every older one that has not started. The exact frame is
// computed as a run computes it (the same engine, the pictures drawn the
// same way), so it equals the run's frame k byte for byte.
//
// A newer request abandons the frame in progress (between slices of rows)
// when that frame has become useless: another k, engine, options or
// pictures, or the exact frame that followed a half-resolution one. A frame
// of the same k for lines changed meanwhile is finished and shown, so a
// pointer that keeps moving is followed at the frame rate, never more than
// one frame behind.
//
// Pacing: when the last exact frame took longer than the budget, a request
// is answered first with a half-resolution frame (pictures and lines
// halved), then with the exact frame once no newer request has come for the
// rest time.
class CPreviewRenderer {
public:
    struct Request {
        EngineKind engineKind = EngineKind::kFeature;
        int32_t frame = 0;
        int32_t steps = 1;
        CMorphOptions options;
        // The document's decoded pictures (never changed once decoded), or
        // null where a picture is missing.
        std::shared_ptr<const CPictureImage> pictures[2];
    };

    struct Frame {
        uint64_t generation = 0; // of the request it answers
        int32_t frame = 0;
        int32_t steps = 0;
        bool halfResolution = false;
        // Size of the exact frame; the bitmap of a half-resolution frame is
        // about half as wide and high.
        int32_t width = 0;
        int32_t height = 0;
        // 32 bits per pixel; empty when there is nothing to show (a picture
        // missing, pictures that disagree, k outside 0 .. N).
        CBitmap bitmap;
        double milliseconds = 0.0; // time spent computing it
    };

    // Receives every finished frame, on the renderer's thread; it may take
    // the bitmap.
    using FrameSink = std::function<void(Frame& frame)>;

    explicit CPreviewRenderer(FrameSink sink);
    ~CPreviewRenderer();
    CPreviewRenderer(const CPreviewRenderer&) = delete;
    CPreviewRenderer& operator=(const CPreviewRenderer&) = delete;

    // Rows go to `pPool` (which must outlive the renderer); nullptr lets the
    // engines make their own.
    void SetRowPool(CRowPool* pPool);
    // Exact frames slower than `budgetMs` are preceded by a half-resolution
    // frame; the exact one follows after `restMs` without a newer request.
    void SetPacing(double budgetMs, int32_t restMs);

    // Queues the request with the line pairs `lines` (null: none) in place
    // of any waiting one. The renderer holds the pairs only while a request
    // of them waits or is computed. Returns the request's generation (1, 2,
    // ...). Never waits for a frame.
    uint64_t Submit(const Request& request, std::shared_ptr<const CLinePairs> lines);
    // The same with pairs taken from `lines` now.
    uint64_t Submit(const Request& request, const CFeatureSet& lines);
    // While held nothing is computed (a run has the cores): the frame in
    // progress is abandoned, and the newest request waits for the release.
    void Hold(bool held);
    // Waits until nothing is queued or being computed; false on timeout (or
    // while held with a request waiting).
    bool WaitIdle(std::chrono::milliseconds timeout);

    // Frames handed to the sink so far, and frames abandoned part-way.
    int64_t GetFramesDelivered() const { return m_nDelivered.load(); }
    int64_t GetFramesAbandoned() const { return m_nAbandoned.load(); }
    // Whether a frame is being computed now.
    bool IsComputing()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_pCurrent != nullptr;
    }
    // Time from the start of the last exact frame until the sink returned,
    // 0 before the first.
    double GetLastExactMilliseconds() const { return m_lastExactMs.load(); }

    // A picture at half resolution: each pixel the rounded mean of a 2 x 2
    // block (the last row or column of an odd size repeated).
    static void HalvePicture(const CBitmap& from, CBitmap& to);

private:
    struct Job;
    class Engines;

    void Loop();
    // Computes and hands over one frame of `job` with `lock` released;
    // false when it was abandoned.
    bool Run(std::unique_lock<std::mutex>& lock, const Job& job, bool half);
    bool Deliver(const Job& job, bool half, CCancelToken::Ticket ticket);
    static bool Supersedes(const Job& current, const Request& next);

    FrameSink m_sink;
    // The worker's alone: its engines and the engine kind of the last
    // exact frame.
    std::unique_ptr<Engines> m_pEngines;
    std::optional<EngineKind> m_measuredKind;
    CBitmap m_spare[2]; // frame bitmaps kept for the next exact and half frame

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::unique_ptr<Job> m_pPending;
    uint64_t m_nGeneration = 0;
    bool m_bBusy = false;
    const Job* m_pCurrent = nullptr; // the job of the frame being computed
    CCancelToken m_cancel;
    bool m_bHeld = false;
    bool m_bStop = false;
    CRowPool* m_pPool = nullptr;
    double m_budgetMs = 66.0;
    int32_t m_restMs = 150;

    std::atomic<int64_t> m_nDelivered{0};
    std::atomic<int64_t> m_nAbandoned{0};
    std::atomic<double> m_lastExactMs{0.0};
    std::thread m_thread;
};
