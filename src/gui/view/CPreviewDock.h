#pragma once

#include "morph/EngineKind.h"

#include <QDockWidget>
#include <QTimer>
#include <QImage>
#include <cstdint>
#include <memory>

class CDocController;
class CFrameDisplay;
class CLinePairs;
class CPreviewRenderer;
class CRowPool;
class QLabel;
class QSlider;
class QToolButton;

// The preview panel: frame k of N of the project as it is at this moment
// (the result view's engine, the current lines and pictures), computed off
// the user-interface thread without writing any file. A slider (and Left,
// Right, Home, End) chooses k; N follows the control bar's step count.
// Every change to the document, a line being drawn or dragged included,
// asks for the frame again; a newer request supersedes the older ones.
// While a run is going the preview waits (the run has the cores). The frame
// is shown whole; the 100% button beside the slider (or the display's
// context menu) shows it at its real size instead, and back. The caption
// above the frame tells which frame is shown, and on the same line what the
// user should know: that there are no line pairs yet (the frames are black)
// or that the steps field holds no valid count (the last valid one is
// shown).
class CPreviewDock : public QDockWidget {
    Q_OBJECT

public:
    explicit CPreviewDock(CDocController& doc, QWidget* parent = nullptr);
    ~CPreviewDock() override;

    // Rows go to `pPool` (shared with runs; it must outlive the dock).
    void SetRowPool(CRowPool* pPool);
    // N; k keeps its place in the sequence (the middle stays the middle).
    void SetSteps(int32_t n);
    void SetFrameIndex(int32_t k);
    // The engine of the result view.
    void SetEngineKind(EngineKind kind);
    // Nothing is computed while a run is going; the newest request follows.
    void SetRunActive(bool active);
    // The control bar's steps field holds no valid count: N stays the last
    // valid one and the caption says so.
    void SetStepsOutOfRange(bool out);
    // How long a frame may take before the caption says it is being
    // computed (the frame before stays shown meanwhile).
    void SetBusyDelay(int milliseconds) { m_busy.setInterval(milliseconds); }

    int32_t GetSteps() const { return m_nSteps; }
    int32_t GetFrameIndex() const { return m_nFrame; }
    EngineKind GetEngineKind() const { return m_engineKind; }
    CFrameDisplay* GetDisplay() const { return m_pDisplay; }
    QSlider* GetSlider() const { return m_pSlider; }
    QLabel* GetStateLabel() const { return m_pState; }
    QLabel* GetFrameLabel() const { return m_pFrameLabel; }
    QToolButton* GetActualSizeButton() const { return m_actualSize; }
    // The frame at 100 % (with scroll bars where it does not fit) or whole.
    void SetActualSize(bool on);
    CPreviewRenderer& GetRenderer() const { return *m_pRenderer; }
    // The request last made and the one the frame on screen answers.
    uint64_t GetRequested() const { return m_nRequested; }
    // The line pairs the requests are made of: taken once per change of the
    // document's content, shared by every request until the next change.
    std::shared_ptr<const CLinePairs> GetLinePairs() const { return m_pLines; }
    uint64_t GetShown() const { return m_nShown; }
    bool IsShowingHalfResolution() const { return m_bShownHalf; }

    // Asks for the frame of the document as it is now (done by itself on
    // every change; hidden, the dock asks when it is shown again).
    void Refresh();

signals:
    // A computed frame reached the screen.
    void frameShown();
    // From the renderer's thread to this one (queued).
    void frameComputed(const QImage& image, int frame, bool half, QSize size, quint64 generation);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnFrameComputed(const QImage& image, int frame, bool half, QSize size, quint64 generation);
    void UpdateFrameLabel();
    // The caption: what the frame shown is, then the notes that apply now.
    void UpdateState();

    CDocController& m_doc;
    CFrameDisplay* m_pDisplay;
    QSlider* m_pSlider;
    QLabel* m_pFrameLabel;
    QLabel* m_pState;
    QToolButton* m_actualSize;
    // The renderer's thread's alone.
    static constexpr int kKeptImages = 3;
    QImage m_images[kKeptImages];
    int m_nNextImage = 0;
    std::unique_ptr<CPreviewRenderer> m_pRenderer;
    int32_t m_nSteps = 10;
    int32_t m_nFrame = 5;
    EngineKind m_engineKind = EngineKind::kFeature;
    uint64_t m_nRequested = 0;
    uint64_t m_nShown = 0;
    bool m_bShownHalf = false;
    bool m_bStale = true; // a change not asked for while hidden
    std::shared_ptr<const CLinePairs> m_pLines;
    bool m_bLinesStale = true; // the content changed since m_pLines was taken
    QString m_shownState;      // what the frame on screen is
    bool m_bFrameShown = false;
    bool m_bStepsOutOfRange = false;
    bool m_bHeld = false; // a run holds the renderer
    QTimer m_busy;
};
