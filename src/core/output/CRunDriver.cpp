#include "CRunDriver.h"

#include "CAviRecorder.h"
#include "CBitmapInfo.h"
#include "GetDIBits.h"
#include "PictureBitmap.h"
#include "WriteBitmapFile.h"
#include "document/CTrevalinDoc.h"
#include "morph/FBMorphing.h"
#include "morph/LinearMorphing.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

constexpr uint32_t kVideoFrameRate = 3;

void MakeFolder(const std::string& path)
{
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
}

} // namespace

CRunDriver::CRunDriver(CTrevalinDoc& doc, CCompressionChooser chooser)
    : m_doc(doc), m_chooser(std::move(chooser)), m_pEngine(MakeEngine(kFeature))
{
}

std::unique_ptr<ImageMorphing> CRunDriver::MakeEngine(EngineKind kind)
{
    if (kind == kFeature) return std::make_unique<FBMorphing>();
    return std::make_unique<LinearMorphing>();
}

void CRunDriver::SetRowPool(CRowPool* pPool)
{
    m_pPool = pPool;
    m_pEngine->SetRowPool(pPool);
}

CRunDriver::~CRunDriver()
{
    if (m_pRecorder) {
        m_pRecorder->CloseVideo();
    }
}

void CRunDriver::UseEngine(EngineKind kind)
{
    if (m_nEngineKind == kind) return;
    m_pEngine = MakeEngine(kind);
    m_pEngine->SetRowPool(m_pPool);
    m_nEngineKind = kind;
    m_pEngine->SetOptions(m_options);
    // A switch in the middle of a run carries the run's pictures over, so
    // the frames that follow come from the new engine instead of nothing.
    if (m_bHasInputs) {
        m_pEngine->SetSteps(m_nSteps);
        m_pEngine->LoadImage(m_inputs[1], 1);
        m_pEngine->LoadImage(m_inputs[0], 0);
    }
}

SIZE CRunDriver::GetFrameSize() const
{
    if (!m_bHasInputs) return SIZE{0, 0};
    return SIZE{m_inputs[0].Width(), m_inputs[0].Height()};
}

void CRunDriver::SetMorphOptions(const CMorphOptions& options)
{
    m_options = options;
    m_pEngine->SetOptions(options);
}

void CRunDriver::SetSteps(int32_t n)
{
    m_nSteps = n;
    m_pEngine->SetSteps(n);
}

std::string CRunDriver::VideoPath() const
{
    return m_doc.GetWorkDir() + "/output_video/trevalin.avi";
}

std::string CRunDriver::FramePath(int32_t k) const
{
    return m_doc.GetWorkDir() + "/ouput_image/Frame-" + std::to_string(k) + ".bmp";
}

CRunDriver::StartResult CRunDriver::Start()
{
    StartResult result;
    for (int i = 1; i >= 0; --i) {
        DrawPictureBitmap(*m_doc.GetPicture(i), m_inputs[i]);
        m_pEngine->LoadImage(m_inputs[i], i);
    }
    m_bHasInputs = true;
    // Pictures of no size have nothing to morph: refuse them like pictures
    // that disagree.
    if (!m_pEngine->IsCompatible() || m_inputs[0].Width() == 0 || m_inputs[0].Height() == 0) {
        result.status = StartStatus::kIncompatible;
        return result;
    }
    result.status = StartStatus::kStarted;
    m_bRunning = 1;

    if (m_pRecorder) {
        m_pRecorder->CloseVideo();
        m_pRecorder.reset();
    }
    MakeFolder(m_doc.GetWorkDir() + "/ouput_image");
    MakeFolder(m_doc.GetWorkDir() + "/output_video");

    m_pRecorder = std::make_unique<CAviRecorder>();
    m_pRecorder->m_nFrameRate = kVideoFrameRate;
    BITMAP description{};
    m_inputs[0].GetObject(sizeof(BITMAP), &description);
    std::unique_ptr<CBitmapInfo> format = MakeBitmapHeader(description);
    if (!format) {
        format = std::make_unique<CBitmapInfo>();
    }
    m_pRecorder->SetFrameFormat(format->header);
    m_pRecorder->SetFilePath(VideoPath());
    if (m_chooser) {
        m_pRecorder->SetCompressionChooser(m_chooser);
    }
    const int32_t opened = m_pRecorder->OpenVideo();
    result.video = opened == 0 ? VideoState::kOpen : (opened > 0 ? VideoState::kCancelled : VideoState::kFailed);
    if (result.video == VideoState::kFailed) {
        const char* text = m_pRecorder->GetErrorText();
        result.videoError = text != nullptr ? text : "";
    }
    m_pVideoFormat = std::move(format);
    m_bVideoFailed = false;
    return result;
}

void CRunDriver::ComputeFrame(int32_t k, CBitmap& out)
{
    const SIZE size = GetFrameSize();
    out.CreateCompatibleBitmap(size.cx, size.cy);
    m_pEngine->Morph(out, k, &m_doc);
}

CRunDriver::FrameResult CRunDriver::WriteFrame(int32_t k, const CBitmap& frame)
{
    FrameResult result;
    result.frame = k;

    // Once a frame could not be added, the recorder refuses the rest of the
    // run; only the first failure is reported.
    if (m_pRecorder && m_pRecorder->IsOpen() && !m_bVideoFailed) {
        std::string why;
        if (!GetDIBits(frame, *m_pVideoFormat, m_videoRows, &why)) {
            result.videoError = "Frame " + std::to_string(k) + " does not fit the video: " + why;
            m_bVideoFailed = true;
        } else if (m_pRecorder->WriteFrame(m_videoRows.data()) < 0) {
            result.videoError = m_pRecorder->GetWriteErrorText();
            if (result.videoError.empty()) {
                result.videoError = "Frame " + std::to_string(k) + " could not be added to " + VideoPath() + ".";
            }
            m_bVideoFailed = true;
        } else {
            result.videoWritten = true;
        }
    }

    std::unique_ptr<CBitmapInfo> info = MakeBitmapInfo(frame);
    if (info) {
        result.fileWritten = WriteBitmapFile(FramePath(k), *info, frame, &result.fileError);
    } else {
        result.fileError = "cannot describe frame " + std::to_string(k);
    }
    return result;
}

CRunDriver::FrameResult CRunDriver::ProduceFrame()
{
    ComputeFrame(m_nFrame, m_frame);
    return WriteFrame(m_nFrame, m_frame);
}

bool CRunDriver::Advance()
{
    ++m_nFrame;
    return m_nFrame <= m_nSteps;
}

void CRunDriver::Pause()
{
    m_bRunning = 0;
}

bool CRunDriver::Stop()
{
    const bool hadRecorder = m_pRecorder != nullptr;
    m_strCloseError.clear();
    // A failure that was already reported for a frame is not reported
    // again when the video is closed.
    if (m_pRecorder && m_pRecorder->CloseVideo() < 0 && !m_bVideoFailed) {
        m_strCloseError = m_pRecorder->GetWriteErrorText();
        if (m_strCloseError.empty()) {
            m_strCloseError = "The video " + VideoPath() + " could not be completed.";
        }
    }
    m_nFrame = 0;
    m_bRunning = 0;
    return hadRecorder;
}
