#pragma once

#include "CFrameThread.h"
#include "morph/CBitmap.h"
#include "message/CText.h"
#include "morph/CCancelToken.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Frames made one after another on a thread of the pipeline's own, for the
// headless render, the export and the result view alike. The engine work is
// the caller's `compute`; the pipeline decides where and when it runs, keeps
// the two frame bitmaps, and stops at a cancelled ticket.
//
// A whole sequence (Run): frame i + 1 of the plan is computed on the
// pipeline's thread while frame i is written on the caller's, so writing
// costs no time as long as it is faster than computing. A step that shows
// the same frame as the step before (held or repeated frames of a video) is
// written again without being computed again.
//
// One frame at a time (Post): the frame is computed on the pipeline's thread
// and handed, on that thread, to a callback that writes it and tells the
// interface; frames posted are made in the order posted.
class CFramePipeline {
public:
    // Computes frame k into `out` (reshaped as needed); false when the
    // ticket was abandoned before the frame was complete (`out` is then
    // unfinished and must not be written).
    using Compute = std::function<bool(int32_t k, CBitmap& out, CCancelToken::Ticket ticket)>;
    // Writes step `step` of a plan, frame k; false ends the sequence (a
    // failure the caller has recorded).
    using Write = std::function<bool(size_t step, int32_t k, const CBitmap& frame)>;
    // Receives frame k of a Post, or nullptr when it was abandoned or could
    // not be computed for want of memory (`outOfMemory`).
    using Done = std::function<void(int32_t k, const CBitmap* frame, bool outOfMemory)>;

    struct Outcome {
        size_t stepsWritten = 0; // writes made, including one that returned false
        bool cancelled = false;  // the ticket was abandoned before the plan's end
        bool stopped = false;    // a write returned false
        // A frame could not be computed for want of memory: the sequence
        // ended before it (frame k `failedFrame`).
        bool outOfMemory = false;
        int32_t failedFrame = -1;
    };

    // What the user is told of a frame (%1) that could not be computed for
    // want of memory.
    static constexpr const char* kOutOfMemoryFormat = TRV_TEXT("CoreText", "内存不足,无法生成第 %1 帧。");

    explicit CFramePipeline(Compute compute);
    // Lets the frame in progress finish and drops the frames still waiting;
    // abandon the frame through its ticket first for a quick end.
    ~CFramePipeline() = default;
    CFramePipeline(const CFramePipeline&) = delete;
    CFramePipeline& operator=(const CFramePipeline&) = delete;

    // The frames of `plan` in order, each written once per step. Ends after
    // the last step, after a write that returned false, or when `ticket` is
    // abandoned: then the frame being computed is given up and the frame
    // being written is completed. Not to be mixed with Post.
    Outcome Run(const std::vector<int32_t>& plan, const Write& write, CCancelToken::Ticket ticket);

    // Computes frame k under `ticket` on the pipeline's thread and calls
    // `done` there (with nullptr also when memory ran out).
    void Post(int32_t k, CCancelToken::Ticket ticket, Done done);
    // Blocks until every frame posted so far is done.
    void WaitIdle() { m_thread.WaitIdle(); }
    bool IsIdle() const { return m_thread.IsIdle(); }

private:
    // m_compute, with a want of memory (std::bad_alloc) told as `outOfMemory`
    // and false.
    bool ComputeFrame(int32_t k, CBitmap& out, const CCancelToken::Ticket& ticket, bool& outOfMemory);

    Compute m_compute;
    CBitmap m_frames[2]; // kept between frames and runs: the engines write every byte
    // Last: ends (and joins) the thread before anything it uses goes.
    CFrameThread m_thread;
};
