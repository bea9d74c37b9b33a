#include "CRenderCommand.h"

#include "document/CPictureDecoder.h"
#include "document/CTrevalinDoc.h"
#include "output/CRunDriver.h"
#include "picture/CPictureFitter.h"

#include <chrono>
#include <filesystem>
#include <future>
#include <ostream>
#include <string>

namespace {

std::string CurrentDirectory()
{
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::current_path(ec);
    return ec ? std::string(".") : p.string();
}

} // namespace

CRenderCommand::CRenderCommand(std::shared_ptr<const CPictureDecoder> decoder, std::ostream& err, bool showProgress)
    : m_decoder(std::move(decoder)), m_err(err), m_bShowProgress(showProgress)
{
}

void CRenderCommand::Progress(int done, int total)
{
    if (!m_bShowProgress) {
        return;
    }
    constexpr int kWidth = 40;
    const int filled = total > 0 ? done * kWidth / total : kWidth;
    m_err << "\r[" << std::string(static_cast<size_t>(filled), '#')
          << std::string(static_cast<size_t>(kWidth - filled), '.') << "] " << done << "/" << total << std::flush;
    if (done == total) {
        m_err << "\n";
    }
}

int CRenderCommand::Run(const CRenderOptions& options)
{
    CTrevalinDoc doc(CurrentDirectory(), m_decoder);
    const CDocStatus opened = doc.OnOpenDocument(options.project);
    if (!opened.ok) {
        m_err << options.project << ": " << opened.message << "\n";
        return kFailed;
    }
    // A headless run has no earlier picture to fall back on: every picture
    // the project names must load.
    for (int i = 0; i < 2; ++i) {
        const std::string named = doc.GetPictureName(i);
        const CPictureFile& picture = *doc.GetPicture(i);
        if (!picture.IsLoaded()) {
            const std::string path = doc.PicturePathFor(named);
            m_err << (i == 0 ? "source" : "target") << " picture " << path << " cannot be loaded";
            const std::string why = picture.GetLastError();
            if (!why.empty()) {
                m_err << ": " << why;
            }
            m_err << "\n";
            return kFailed;
        }
    }

    const SIZE sourceSize = doc.GetPicture(0)->GetSizeInPixels();
    const SIZE targetSize = doc.GetPicture(1)->GetSizeInPixels();
    if (options.fit && sourceSize != targetSize) {
        // This run only: the target picture and its lines, in memory.
        const CFitTransform fit(*options.fit, targetSize.cx, targetSize.cy, sourceSize.cx, sourceSize.cy);
        CPictureFile& target = *doc.GetPicture(1);
        target.SetImage(CPictureFitter::ToPictureImage(CPictureFitter::Fit(*target.GetImage(), fit)));
        fit.Apply(doc.GetFeatureSet()->m_sets[1]);
        m_err << "target picture fitted from " << targetSize.cx << " x " << targetSize.cy << " to " << sourceSize.cx
              << " x " << sourceSize.cy << "\n";
    }

    CCompressionOptions chosen;
    chosen.codec = options.motionJpeg ? CCompressionOptions::kMotionJpeg : CCompressionOptions::kUncompressed;
    CRunDriver driver(doc, [chosen](CCompressionOptions& o) {
        o = chosen;
        return true;
    });
    driver.UseEngine(options.featureEngine ? CRunDriver::kFeature : CRunDriver::kLinear);
    driver.SetSteps(options.steps);
    const CRunDriver::StartResult started = driver.Start();
    if (started.status != CRunDriver::StartStatus::kStarted) {
        m_err << CRunDriver::kIncompatibleText << "\n"
              << "source picture " << sourceSize.cx << " x " << sourceSize.cy << ", target picture " << targetSize.cx
              << " x " << targetSize.cy << " (--fit pad|crop|stretch brings the target to the source's size)\n";
        return kFailed;
    }
    bool failed = false;
    if (started.video == CRunDriver::VideoState::kFailed) {
        m_err << started.videoError << "\n";
        failed = true;
    }

    // Frame k is written while frame k + 1 is computed.
    const auto begin = std::chrono::steady_clock::now();
    const int n = options.steps;
    CBitmap frames[2];
    driver.ComputeFrame(0, frames[0]);
    bool videoReported = false;
    bool fileReported = false;
    int filesWritten = 0;
    int videoFrames = 0;
    for (int k = 0; k <= n; ++k) {
        std::future<void> next;
        if (k < n) {
            next = std::async(std::launch::async,
                              [&driver, &frames, k] { driver.ComputeFrame(k + 1, frames[(k + 1) % 2]); });
        }
        const CRunDriver::FrameResult written = driver.WriteFrame(k, frames[k % 2]);
        if (next.valid()) {
            next.get();
        }
        filesWritten += written.fileWritten ? 1 : 0;
        videoFrames += written.videoWritten ? 1 : 0;
        if (!written.fileWritten && !fileReported) {
            if (m_bShowProgress) m_err << "\n";
            m_err << "frame files cannot be written: " << written.fileError << "\n";
            fileReported = true;
            failed = true;
        }
        if (!written.videoError.empty() && !videoReported) {
            if (m_bShowProgress) m_err << "\n";
            m_err << written.videoError << "\n";
            videoReported = true;
            failed = true;
        }
        Progress(k + 1, n + 1);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    driver.Stop();
    if (!driver.GetCloseError().empty()) {
        m_err << driver.GetCloseError() << "\n";
        failed = true;
    }

    m_err << filesWritten << " of " << (n + 1) << " frames written to " << doc.GetWorkDir() << "/ouput_image/\n";
    if (started.video == CRunDriver::VideoState::kOpen && !failed) {
        m_err << "video of " << videoFrames << " frames at 3 fps ("
              << (options.motionJpeg ? "Motion JPEG" : "uncompressed") << ") written to " << driver.VideoPath() << "\n";
    }
    m_err.precision(2);
    m_err << std::fixed << (n + 1) << " frames in " << seconds << " s, " << (seconds > 0 ? (n + 1) / seconds : 0.0)
          << " frames per second\n";
    return failed ? kFailed : kSuccess;
}
