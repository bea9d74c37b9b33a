#include "CTrevalinView.h"

#include "CFrameDisplay.h"

#include "document/CPictureFile.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "picture/CBitmapImage.h"
#include "language/CCoreText.h"

#include <QTimerEvent>
#include <QVBoxLayout>

CTrevalinView::CTrevalinView(CDocController& doc, CUserPrompts& prompts, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_prompts(prompts),
      m_driver(doc.GetDoc(),
               [this](CCompressionOptions& options) { return m_prompts.ChooseCompression(this, options); }),
      m_pDisplay(new CFrameDisplay(this)), m_pipeline([this](int32_t k, CBitmap& out, CCancelToken::Ticket ticket) {
          return m_driver.ComputeFrame(k, out, ticket);
      })
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pDisplay);
    connect(
        this, &CTrevalinView::frameReported, this, [this] { TakeReport(true); }, Qt::QueuedConnection);
    // A run keeps the pictures it started with, and a paused one would take
    // the new ones into the same video; the lines may have moved with the
    // new picture already. Either way the run ends here, as Stop ends it.
    connect(&m_doc, &CDocController::pictureChanged, this, [this] {
        if (m_bRunActive) StopRun();
    });
    m_doc.AddView(this);
}

CTrevalinView::~CTrevalinView()
{
    m_timer.stop();
    m_cancel.Cancel();
    m_doc.RemoveView(this);
}

void CTrevalinView::OnMorphFeature()
{
    // The engine may be replaced only while no frame uses it; an abandoned
    // frame is made again by the new engine.
    const bool redo = m_bInFlight && !Quiesce() && m_driver.IsRunning();
    m_driver.UseEngine(EngineKind::kFeature);
    emit engineChanged();
    if (redo) ProduceFrame();
}

void CTrevalinView::OnMorphLinear()
{
    const bool redo = m_bInFlight && !Quiesce() && m_driver.IsRunning();
    m_driver.UseEngine(EngineKind::kLinear);
    emit engineChanged();
    if (redo) ProduceFrame();
}

void CTrevalinView::SetRowPool(CRowPool* pPool)
{
    if (m_bInFlight) Quiesce();
    m_driver.SetRowPool(pPool);
}

void CTrevalinView::SetSteps(int32_t n)
{
    if (m_bInFlight) Quiesce();
    m_driver.SetSteps(n);
}

void CTrevalinView::ShowMessage(const QString& text, CUserPrompts::Icon icon)
{
    const bool held = m_timer.isActive();
    m_timer.stop();
    m_prompts.MessageBox(this, text, icon);
    if (held && m_driver.IsRunning()) m_timer.start(m_nTimerInterval, this);
}

void CTrevalinView::StartRun()
{
    // Nothing may tick while the compression-options dialog is open.
    const bool wasTicking = m_timer.isActive();
    m_timer.stop();
    if (m_bInFlight) Quiesce();
    m_bTickPending = false;
    m_driver.SetMorphOptions(m_doc.GetMorphOptions());
    const CRunDriver::StartResult result = m_driver.Start();
    if (result.status != CRunDriver::StartStatus::kStarted) {
        QString text;
        if (result.status == CRunDriver::StartStatus::kBusy) {
            text = tr("另一个渐变正在使用文件夹 %1 的输出,请等它结束后再开始。")
                       .arg(QString::fromStdString(m_doc.GetDoc().GetWorkDir()));
        } else if (result.missingPicture >= 0) {
            text = CCoreText::Translate(CRunDriver::IncompatibleMessage(result));
        } else {
            // Which sizes disagree, on a line of its own.
            const SIZE source = m_doc.GetDoc().GetPicture(0)->GetSizeInPixels();
            const SIZE target = m_doc.GetDoc().GetPicture(1)->GetSizeInPixels();
            const QString sizes =
                tr("源图像 %1 × %2，目标图像 %3 × %4").arg(source.cx).arg(source.cy).arg(target.cx).arg(target.cy);
            text = CCoreText::Translate(CMessage(CRunDriver::kIncompatibleText)) + QStringLiteral("\n") + sizes;
        }
        m_prompts.MessageBox(this, text, CUserPrompts::Icon::kWarning);
        if (wasTicking && m_driver.IsRunning()) m_timer.start(m_nTimerInterval, this);
        return;
    }
    // A resumed run has told its failures already.
    if (!result.resumed) {
        m_bVideoFailureShown = false;
        m_bFileFailureShown = false;
        if (result.video == CRunDriver::VideoState::kFailed)
            m_prompts.MessageBox(this, CCoreText::Translate(result.videoError), CUserPrompts::Icon::kWarning);
    }
    // A run paused beyond a step count lowered since has nothing left to do.
    if (m_driver.GetFrameIndex() > m_driver.GetSteps()) {
        EndRun();
        return;
    }
    m_bRunActive = true;
    emit runStateChanged();
    // Not refused: the run makes the black frames the engine computes.
    if (CRunDriver::MakesBlackFrames(m_driver.GetEngineKind(), *m_doc.GetDoc().GetFeatureSet()))
        emit runNotice(CCoreText::Translate(CMessage(CRunDriver::kNoLinesText)));
    ProduceFrame();
    if (m_driver.IsRunning()) m_timer.start(m_nTimerInterval, this);
}

void CTrevalinView::PauseRun()
{
    m_timer.stop();
    m_driver.Pause();
    // The frame being computed is given up; one being written completes.
    m_cancel.Cancel();
    m_bTickPending = false;
    emit runStateChanged();
}

void CTrevalinView::StopRun()
{
    m_timer.stop();
    m_bTickPending = false;
    if (m_bInFlight) Quiesce();
    const bool hadRecorder = m_driver.Stop();
    m_bRunActive = false;
    emit runStateChanged();
    if (!hadRecorder) return;
    // Only a video that holds the run's frames is reported as saved.
    if (m_driver.IsVideoWritten())
        m_prompts.MessageBox(this, tr("渐变序列存成视频文件:trv.avi"), CUserPrompts::Icon::kInformation);
    else
        m_prompts.MessageBox(this, CCoreText::Translate(m_driver.NoVideoMessage()),
                             m_driver.GetVideoState() == CRunDriver::VideoState::kCancelled
                                 ? CUserPrompts::Icon::kInformation
                                 : CUserPrompts::Icon::kWarning);
}

void CTrevalinView::EndRun()
{
    StopRun();
}

void CTrevalinView::OnTimer()
{
    if (!m_driver.IsRunning()) return;
    if (m_bInFlight) {
        m_bTickPending = true;
        return;
    }
    if (!m_driver.Advance()) {
        EndRun();
        return;
    }
    ProduceFrame();
}

void CTrevalinView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer.timerId())
        OnTimer();
    else
        QWidget::timerEvent(event);
}

void CTrevalinView::ProduceFrame()
{
    // The lines as they are now; the frame thread never reads the document.
    m_driver.TakeLines();
    const int32_t k = m_driver.GetFrameIndex();
    const uint64_t job = ++m_nJob;
    const CCancelToken::Ticket ticket = m_cancel.Issue();
    m_bInFlight = true;
    m_pipeline.Post(k, ticket, [this, job](int32_t frameIndex, const CBitmap* frame, bool outOfMemory) {
        Report report;
        report.job = job;
        report.frame = frameIndex;
        report.outOfMemory = outOfMemory;
        // A frame abandoned part-way is neither written nor shown.
        report.complete = frame != nullptr;
        if (report.complete) {
            report.result = m_driver.WriteFrame(frameIndex, *frame);
            report.image = CBitmapImage::ToImage(*frame);
        }
        {
            std::lock_guard<std::mutex> lock(m_reportMutex);
            m_report = std::move(report);
        }
        // The interface thread takes the report when the event loop comes
        // round to it (not at all if the view is gone by then).
        emit frameReported();
    });
}

bool CTrevalinView::TakeReport(bool takePendingTick)
{
    std::optional<Report> report;
    {
        std::lock_guard<std::mutex> lock(m_reportMutex);
        report.swap(m_report);
    }
    if (!report || report->job != m_nJob || !m_bInFlight) return false;
    m_bInFlight = false;
    if (report->outOfMemory) {
        // The run ends as at 停止, with the frames made so far, and says why.
        ShowMessage(CCoreText::Translate(CMessage(CFramePipeline::kOutOfMemoryFormat, {int64_t{report->frame}})),
                    CUserPrompts::Icon::kWarning);
        StopRun();
        return false;
    }
    if (!report->complete) return false;
    const CRunDriver::FrameResult& result = report->result;
    m_shownFrame = std::move(report->image);
    m_nShownFrame = result.frame;
    m_pDisplay->SetFrame(m_shownFrame, QStringLiteral("Frame-%1").arg(m_nShownFrame));
    emit frameProduced(result.frame, m_driver.GetSteps());
    // Failures are told once per run, not once per frame.
    if (!result.videoError.IsEmpty() && !m_bVideoFailureShown) {
        m_bVideoFailureShown = true;
        ShowMessage(CCoreText::Translate(result.videoError), CUserPrompts::Icon::kWarning);
    }
    if (!result.fileError.IsEmpty() && !m_bFileFailureShown) {
        m_bFileFailureShown = true;
        ShowMessage(CCoreText::Translate(result.fileError), CUserPrompts::Icon::kWarning);
    }
    if (takePendingTick && m_bTickPending && !m_bInFlight) {
        m_bTickPending = false;
        OnTimer();
    }
    return true;
}

bool CTrevalinView::Quiesce()
{
    m_cancel.Cancel();
    m_pipeline.WaitIdle();
    return TakeReport(false);
}

void CTrevalinView::WaitForFrame()
{
    if (!m_bInFlight) return;
    m_pipeline.WaitIdle();
    TakeReport(true);
}

void CTrevalinView::GetImageRect(RECT& rc) const
{
    rc = RECT{};
    const CPictureFile* picture = m_doc.GetDoc().GetPicture(0);
    if (picture->IsLoaded()) {
        const auto size = picture->GetSizeInPixels();
        rc.right = size.cx;
        rc.bottom = size.cy;
    }
}

void CTrevalinView::OnInitialUpdate()
{
    m_pDisplay->viewport()->update();
}

void CTrevalinView::OnUpdate(CDocView*)
{
    m_pDisplay->viewport()->update();
}
