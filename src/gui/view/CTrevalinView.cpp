#include "CTrevalinView.h"

#include "CFrameDisplay.h"

#include "document/CPictureFile.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "picture/CBitmapImage.h"
#include "editing/CCoreText.h"

#include <QTimerEvent>
#include <QVBoxLayout>

CTrevalinView::CTrevalinView(CDocController& doc, CUserPrompts& prompts, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_prompts(prompts),
      m_driver(doc.GetDoc(),
               [this](CCompressionOptions& options) { return m_prompts.ChooseCompression(this, options); }),
      m_pDisplay(new CFrameDisplay(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pDisplay);
    m_doc.AddView(this);
}

CTrevalinView::~CTrevalinView()
{
    m_timer.stop();
    m_doc.RemoveView(this);
}

void CTrevalinView::OnMorphFeature()
{
    m_driver.UseEngine(CRunDriver::kFeature);
    emit engineChanged();
}

void CTrevalinView::OnMorphLinear()
{
    m_driver.UseEngine(CRunDriver::kLinear);
    emit engineChanged();
}

void CTrevalinView::SetSteps(int32_t n)
{
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
    m_driver.SetMorphOptions(m_doc.GetMorphOptions());
    const CRunDriver::StartResult result = m_driver.Start();
    if (result.status == CRunDriver::StartStatus::kIncompatible) {
        // Which sizes disagree, on a line of its own.
        const SIZE source = m_doc.GetDoc().GetPicture(0)->GetSizeInPixels();
        const SIZE target = m_doc.GetDoc().GetPicture(1)->GetSizeInPixels();
        const QString sizes =
            tr("源图像 %1 × %2，目标图像 %3 × %4").arg(source.cx).arg(source.cy).arg(target.cx).arg(target.cy);
        m_prompts.MessageBox(this, CCoreText::Translate(CRunDriver::kIncompatibleText) + QStringLiteral("\n") + sizes,
                             CUserPrompts::Icon::kWarning);
        if (wasTicking && m_driver.IsRunning()) m_timer.start(m_nTimerInterval, this);
        return;
    }
    m_bVideoFailureShown = false;
    m_bFileFailureShown = false;
    if (result.video == CRunDriver::VideoState::kFailed)
        m_prompts.MessageBox(this, CCoreText::Translate(result.videoError), CUserPrompts::Icon::kWarning);
    // A run paused beyond a step count lowered since has nothing left to do.
    if (m_driver.GetFrameIndex() > m_driver.GetSteps()) {
        EndRun();
        return;
    }
    m_bRunActive = true;
    emit runStateChanged();
    ProduceFrame();
    if (m_driver.IsRunning()) m_timer.start(m_nTimerInterval, this);
}

void CTrevalinView::PauseRun()
{
    m_timer.stop();
    m_driver.Pause();
    emit runStateChanged();
}

void CTrevalinView::StopRun()
{
    m_timer.stop();
    const bool hadRecorder = m_driver.Stop();
    m_bRunActive = false;
    emit runStateChanged();
    if (!hadRecorder) return;
    // A video that could not be completed is not reported as saved.
    if (!m_driver.GetCloseError().empty())
        m_prompts.MessageBox(this, CCoreText::Translate(m_driver.GetCloseError()), CUserPrompts::Icon::kWarning);
    else
        m_prompts.MessageBox(this, tr("渐变序列存成视频文件:trv.avi"), CUserPrompts::Icon::kInformation);
}

void CTrevalinView::EndRun()
{
    StopRun();
}

void CTrevalinView::OnTimer()
{
    if (!m_driver.IsRunning()) return;
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
    const CRunDriver::FrameResult result = m_driver.ProduceFrame();
    m_shownFrame = CBitmapImage::ToImage(m_driver.GetFrame());
    m_nShownFrame = result.frame;
    m_pDisplay->SetFrame(m_shownFrame, QStringLiteral("Frame-%1").arg(m_nShownFrame));
    emit frameProduced(result.frame, m_driver.GetSteps());
    // Failures are told once per run, not once per frame.
    if (!result.videoError.empty() && !m_bVideoFailureShown) {
        m_bVideoFailureShown = true;
        ShowMessage(CCoreText::Translate(result.videoError), CUserPrompts::Icon::kWarning);
    }
    if (!result.fileError.empty() && !m_bFileFailureShown) {
        m_bFileFailureShown = true;
        ShowMessage(CCoreText::Translate(result.fileError), CUserPrompts::Icon::kWarning);
    }
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
