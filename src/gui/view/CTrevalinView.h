#pragma once

#include "editing/CDocView.h"
#include "editing/CUserPrompts.h"
#include "geometry/RECT.h"
#include "morph/CCancelToken.h"
#include "run/CFramePipeline.h"
#include "run/CRunDriver.h"

#include <QBasicTimer>
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <mutex>
#include <optional>

class CDocController;
class CFrameDisplay;
class CRowPool;

// The result view: runs a morph sequence on a timer and shows its frames.
// Start takes the pictures and the document's morph options, opens the
// video (after the compression-options dialog) and produces the current
// frame k at once; every tick advances k and produces that frame; the tick
// that passes the last frame ends the run and tells where the video went
// (or that none was written, and why). Start after Pause goes on with the
// same run and video from the frame after the last one produced.
// Each frame is computed, written and added to the video exactly once,
// whether the view is shown or not; the view only shows the last frame with
// its "Frame-k" label, whole (scaled down when it is larger than the view)
// or at the zoom factor given. The timer is held while a message box of the
// run is open.
//
// Frames are computed and written on the thread of the view's frame
// pipeline (the engines spread each over the row pool), one at a time and
// in order; the user-interface thread copies the feature lines for each
// frame, shows the frames as they arrive (a queued call from the pipeline's
// thread) and tells what failed. A tick that comes while a
// frame is still being made is kept (one, not piled up) and taken when the
// frame is done. Pause abandons the frame being computed at once; Stop and
// Start abandon it and wait only for the slice of rows in progress (or a
// write under way) before they touch the run.
//
// A picture opened into the document (or its opening undone or redone)
// ends a run that goes, running or paused, as Stop does: a run's frames
// never mix two pictures of one side.
class CTrevalinView : public QWidget, public CDocView {
    Q_OBJECT

public:
    static constexpr int32_t kTimerId = 1213;
    static constexpr int32_t kDefaultInterval = 100; // ms

    CTrevalinView(CDocController& doc, CUserPrompts& prompts, QWidget* parent = nullptr);
    ~CTrevalinView() override;

    // ID_MORPH_FEATURE / ID_MORPH_LINEAR and their check marks.
    void OnMorphFeature();
    void OnMorphLinear();
    EngineKind GetEngineKind() const { return m_driver.GetEngineKind(); }

    // Rows of every frame go to `pPool` (shared with the preview). A frame
    // in progress is abandoned first, as the pool may be about to go.
    void SetRowPool(CRowPool* pPool);

    void SetSteps(int32_t n);
    // Timer interval of the next Start, in milliseconds.
    void SetInterval(int32_t ms) { m_nTimerInterval = ms; }
    int32_t GetInterval() const { return m_nTimerInterval; }
    void StartRun();
    void PauseRun();
    void StopRun();
    // One timer tick: the next frame, or the end of the run.
    void OnTimer();

    bool IsTimerActive() const { return m_timer.isActive(); }
    // From a Start that passed until Stop (or the end of the run); a paused
    // run is still active.
    bool IsRunActive() const { return m_bRunActive; }
    // Whether a frame is being computed or written.
    bool IsFrameInProgress() const { return m_bInFlight; }
    // Waits for the frame in progress and shows it (with its messages) at
    // once, instead of when the event loop comes round to it.
    void WaitForFrame();
    const CRunDriver& GetDriver() const { return m_driver; }
    // The frame on screen (empty before the first frame) and its number.
    const QImage& GetShownFrame() const { return m_shownFrame; }
    CFrameDisplay* GetDisplay() const { return m_pDisplay; }
    int32_t GetShownFrameIndex() const { return m_nShownFrame; }
    // (0, 0, w, h) of the source picture, or the empty rectangle.
    void GetImageRect(RECT& rc) const;

    void OnInitialUpdate() override;
    void OnUpdate(CDocView* sender) override;

signals:
    // The engine kind changed (check marks of the two engine commands).
    void engineChanged();
    // A run started, paused, went on or ended (IsRunActive, the driver's
    // IsRunning).
    void runStateChanged();
    // Frame k of n has been produced.
    void frameProduced(int k, int n);
    // A run started that the user should know something about (one line,
    // for the status bar).
    void runNotice(const QString& text);
    // Sent from the pipeline's thread when it has left a report; received
    // on the interface thread (a queued connection of the view's own).
    void frameReported();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    // What the pipeline's thread hands back for one frame.
    struct Report {
        uint64_t job = 0;
        int32_t frame = 0;
        bool complete = false;    // false: abandoned, nothing written
        bool outOfMemory = false; // not computed for want of memory
        CRunDriver::FrameResult result;
        QImage image;
    };

    // Starts frame k on the pipeline's thread.
    void ProduceFrame();
    // Takes the pipeline thread's report, if it is the current one: shows the
    // frame and its messages. Returns whether a frame was completed.
    bool TakeReport(bool takePendingTick);
    // Abandons the frame in progress and waits for the pipeline's thread; after
    // it the run may be changed.
    bool Quiesce();
    void EndRun();
    // A message box of the run, with the timer held while it is open.
    void ShowMessage(const QString& text, CUserPrompts::Icon icon);

    CDocController& m_doc;
    CUserPrompts& m_prompts;
    CRunDriver m_driver;
    QBasicTimer m_timer;
    int32_t m_nTimerInterval = kDefaultInterval;
    CFrameDisplay* m_pDisplay;
    QImage m_shownFrame;
    int32_t m_nShownFrame = -1;
    bool m_bVideoFailureShown = false;
    bool m_bFileFailureShown = false;
    bool m_bRunActive = false;

    CCancelToken m_cancel;
    std::mutex m_reportMutex;
    std::optional<Report> m_report;
    uint64_t m_nJob = 0;
    bool m_bInFlight = false;
    bool m_bTickPending = false;
    // Last: ends (and joins) the pipeline's thread before anything it uses
    // goes.
    CFramePipeline m_pipeline;
};
