#pragma once

#include "editing/CDocView.h"
#include "editing/CUserPrompts.h"
#include "geometry/RECT.h"
#include "output/CRunDriver.h"

#include <QBasicTimer>
#include <QImage>
#include <QWidget>
#include <cstdint>

class CDocController;
class CFrameDisplay;
class CRowPool;

// The result view: runs a morph sequence on a timer and shows its frames.
// Start takes the pictures and the document's morph options, opens the
// video (after the compression-options dialog) and produces the current
// frame k at once; every tick advances k and produces that frame; the tick
// that passes the last frame ends the run and tells where the video went.
// Each frame is computed, written and added to the video exactly once,
// whether the view is shown or not; the view only shows the last frame with
// its "Frame-k" label, whole (scaled down when it is larger than the view)
// or at the zoom factor given. The timer is held while a message box of the
// run is open.
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
    int32_t GetEngineKind() const { return m_driver.GetEngineKind(); }

    // Rows of every frame go to `pPool` (shared with the preview).
    void SetRowPool(CRowPool* pPool) { m_driver.SetRowPool(pPool); }

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

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void ProduceFrame();
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
};
