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

// The result view: runs a morph sequence on a timer and shows its frames.
// Start takes the pictures and the document's morph options, opens the
// video (after the compression-options dialog) and produces the current
// frame k at once; every tick advances k and produces that frame; the tick
// that passes the last frame ends the run and tells where the video went.
// Each frame is computed, written and added to the video exactly once,
// whether the view is shown or not; painting only shows the last frame with
// its "Frame-k" label. The timer is held while a message box of the run is
// open.
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
    const CRunDriver& GetDriver() const { return m_driver; }
    // The frame on screen (empty before the first frame) and its number.
    const QImage& GetShownFrame() const { return m_shownFrame; }
    int32_t GetShownFrameIndex() const { return m_nShownFrame; }
    // (0, 0, w, h) of the source picture, or the empty rectangle.
    void GetImageRect(RECT& rc) const;

    void OnInitialUpdate() override;
    void OnUpdate(CDocView* sender) override;

signals:
    // The engine kind changed (check marks of the two engine commands).
    void engineChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
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
    QImage m_shownFrame;
    int32_t m_nShownFrame = -1;
    bool m_bVideoFailureShown = false;
    bool m_bFileFailureShown = false;
};
