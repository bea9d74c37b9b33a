#include "CRenderCommand.h"

#include "CAutoFace.h"
#include "CFaceMorphs.h"
#include "CSignalStop.h"
#include "document/CPictureDecoder.h"
#include "document/CTrevalinDoc.h"
#include "morph/CRowPool.h"
#include "morph/ImageMorphing.h"
#include "export/CExportJob.h"
#include "export/CExportSequence.h"
#include "files/CFileAccess.h"
#include "options/CMorphOptionsFile.h"
#include "run/CFramePipeline.h"
#include "run/CRunDriver.h"
#include "picture/CDocumentFitter.h"
#include "picture/CPictureFitter.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

namespace {

std::string CurrentDirectory()
{
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::current_path(ec);
    return ec ? std::string(".") : p.string();
}

} // namespace

CRenderCommand::CRenderCommand(std::shared_ptr<const CPictureDecoder> decoder, std::ostream& err, bool showProgress,
                               const CSignalStop* stop)
    : m_decoder(std::move(decoder)), m_err(err), m_bShowProgress(showProgress), m_pStop(stop)
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

bool CRenderCommand::OpenProject(CTrevalinDoc& doc, const CRenderOptions& options)
{
    const CDocStatus opened = doc.OnOpenDocument(options.project);
    if (!opened.ok) {
        // What failed, then why on a line of its own (the limit a project
        // goes beyond, a folder, a file too large...).
        m_err << CMessage::Shortened(options.project) << ": " << m_language.Say(opened.message) << "\n";
        if (!opened.detail.IsEmpty()) m_err << m_language.Say(opened.detail) << "\n";
        return false;
    }
    // A headless run has no earlier picture to fall back on: every picture
    // the project names must load.
    for (int i = 0; i < 2; ++i) {
        const std::string named = doc.GetPictureName(i);
        const CPictureFile& picture = *doc.GetPicture(i);
        if (!picture.IsLoaded()) {
            const std::string path = picture.IsMissing() ? picture.GetMissingPath() : doc.PicturePathFor(named);
            m_err << (i == 0 ? "source" : "target") << " picture " << CMessage::Shortened(path) << " cannot be loaded";
            const CMessage& why = picture.GetLastError();
            if (!why.IsEmpty()) {
                m_err << ": " << m_language.Say(why);
            }
            m_err << "\n";
            return false;
        }
    }
    return true;
}

int CRenderCommand::Run(const CRenderOptions& options)
{
    // Memory that runs out outside a frame (a frame's own want of memory is
    // told by the frame pipeline) ends the run as any failure does.
    try {
        return RunProject(options);
    } catch (const std::bad_alloc&) {
    } catch (const std::system_error& e) {
        // A thread the system cannot start for want of memory.
        if (e.code() != std::errc::resource_unavailable_try_again && e.code() != std::errc::not_enough_memory) {
            throw;
        }
    }
    if (m_bShowProgress) m_err << "\n";
    m_err << m_language.Say(CFileAccess::ErrorMessage(ENOMEM)) << "\n";
    return kFailed;
}

int CRenderCommand::RunProject(const CRenderOptions& options)
{
    if (options.faces) {
        return RunFaces(options);
    }
    if (options.projects.size() > 1) {
        return RunSequence(options);
    }
    CTrevalinDoc doc(CurrentDirectory(), m_decoder);
    if (!OpenProject(doc, options)) {
        return kFailed;
    }
    const SIZE sourceSize = doc.GetPicture(0)->GetSizeInPixels();
    const SIZE targetSize = doc.GetPicture(1)->GetSizeInPixels();
    if (options.fit && sourceSize != targetSize) {
        // This run only: the target picture and its lines, in memory.
        const CFitTransform fit(*options.fit, targetSize.cx, targetSize.cy, sourceSize.cx, sourceSize.cy);
        CPictureFile& target = *doc.GetPicture(1);
        const QImage fitted = CPictureFitter::Fit(*target.GetImage(), fit);
        if (fitted.isNull()) {
            m_err << "the target picture (" << targetSize.cx << " x " << targetSize.cy << ") cannot be fitted to "
                  << sourceSize.cx << " x " << sourceSize.cy << ": not enough memory\n";
            return kFailed;
        }
        target.SetImage(CPictureFitter::ToPictureImage(fitted));
        fit.Apply(doc.GetFeatureSet()->m_sets[1]);
        m_err << "target picture fitted from " << targetSize.cx << " x " << targetSize.cy << " to " << sourceSize.cx
              << " x " << sourceSize.cy << "\n";
    }
    if (options.autoFace && !CAutoFace::Apply(doc, m_err, m_language)) {
        return kFailed;
    }
    // The one pool of this program: every frame's rows, whether of a run
    // or of an export.
    CRowPool pool(options.threads > 0 ? options.threads : CRowPool::DefaultThreadCount());
    if (options.IsExport()) {
        return RunExport(doc, options, pool);
    }

    CCompressionOptions chosen;
    chosen.codec = options.motionJpeg ? CCompressionOptions::kMotionJpeg : CCompressionOptions::kUncompressed;
    CRunDriver driver(doc, [chosen](CCompressionOptions& o) {
        o = chosen;
        return true;
    });
    driver.UseEngine(options.engine);
    driver.SetMorphOptions(options.MorphOptions(KeptOptions(doc)));
    driver.SetRowPool(&pool);
    driver.SetSteps(options.steps);
    try {
        return RunFrames(doc, driver, options, sourceSize, targetSize);
    } catch (...) {
        // Whatever was at the video's path stays.
        driver.AbandonVideo();
        driver.Stop();
        throw;
    }
}

int CRenderCommand::RunFrames(const CTrevalinDoc& doc, CRunDriver& driver, const CRenderOptions& options,
                              SIZE sourceSize, SIZE targetSize)
{
    const CRunDriver::StartResult started = driver.Start();
    if (started.status == CRunDriver::StartStatus::kBusy) {
        m_err << "another run or export is writing the outputs of " << doc.GetWorkDir()
              << " (ouput_image/, output_video/); start this one when it has finished\n";
        return kFailed;
    }
    if (started.status != CRunDriver::StartStatus::kStarted) {
        m_err << m_language.Say(CMessage(CRunDriver::kIncompatibleText)) << "\n"
              << "source picture " << sourceSize.cx << " x " << sourceSize.cy << ", target picture " << targetSize.cx
              << " x " << targetSize.cy << " (--fit pad|crop|stretch brings the target to the source's size)\n";
        return kFailed;
    }
    if (!started.folderError.IsEmpty()) {
        // Nothing could be written: said before the first frame is computed.
        m_err << m_language.Say(started.folderError) << "\n";
        driver.Stop();
        return kFailed;
    }
    bool failed = false;
    if (started.video == CRunDriver::VideoState::kFailed) {
        m_err << m_language.Say(started.videoError) << "\n";
        failed = true;
    }
    const int n = options.steps;
    // Frame files of an earlier, longer run: removed on request, else told.
    std::vector<int32_t> stale = driver.FramesBeyond(n);
    if (options.clean && !stale.empty()) {
        const int32_t removed = driver.RemoveFramesBeyond(n);
        m_err << "removed " << removed << " older frame file" << (removed == 1 ? "" : "s") << " beyond Frame-" << n
              << ".bmp\n";
        stale = driver.FramesBeyond(n);
    }

    // Frame k is written while frame k + 1 is computed; a stop signal
    // abandons the frame being computed and ends the run after the frame
    // being written.
    const auto begin = std::chrono::steady_clock::now();
    bool videoReported = false;
    bool fileReported = false;
    int filesWritten = 0;
    int videoFrames = 0;
    CFramePipeline pipeline(
        [&driver](int32_t k, CBitmap& out, CCancelToken::Ticket t) { return driver.ComputeFrame(k, out, t); });
    std::vector<int32_t> plan(static_cast<size_t>(n) + 1);
    for (int k = 0; k <= n; ++k)
        plan[static_cast<size_t>(k)] = k;
    const CFramePipeline::Outcome outcome = pipeline.Run(
        plan,
        [&](size_t, int32_t k, const CBitmap& frame) {
            const CRunDriver::FrameResult written = driver.WriteFrame(k, frame);
            filesWritten += written.fileWritten ? 1 : 0;
            videoFrames += written.videoWritten ? 1 : 0;
            if (!written.fileWritten && !fileReported) {
                if (m_bShowProgress) m_err << "\n";
                m_err << "frame files cannot be written: " << m_language.Say(written.fileError) << "\n";
                fileReported = true;
                failed = true;
            }
            if (!written.videoError.IsEmpty() && !videoReported) {
                if (m_bShowProgress) m_err << "\n";
                m_err << m_language.Say(written.videoError) << "\n";
                videoReported = true;
                failed = true;
            }
            Progress(k + 1, n + 1);
            return true;
        },
        m_pStop != nullptr ? m_pStop->Ticket() : CCancelToken::Ticket());
    if (outcome.outOfMemory) {
        // The run ends there; the video it was making is given up.
        if (m_bShowProgress) m_err << "\n";
        m_err << m_language.Say(CMessage(CFramePipeline::kOutOfMemoryFormat, {outcome.failedFrame})) << "\n";
        driver.AbandonVideo();
        failed = true;
    }
    const int done = static_cast<int>(outcome.stepsWritten);
    const int signal = m_pStop != nullptr ? m_pStop->Signal() : 0;
    if (signal != 0) {
        if (m_bShowProgress) m_err << "\n";
        m_err << "stopped by " << CSignalStop::Name(signal) << " after " << done << " of " << (n + 1) << " frames\n";
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    driver.Stop();
    if (!driver.GetCloseError().IsEmpty()) {
        m_err << m_language.Say(driver.GetCloseError()) << "\n";
        failed = true;
    }

    m_err << filesWritten << " of " << (n + 1) << " frames written to " << doc.GetWorkDir() << "/ouput_image/\n";
    if (started.video == CRunDriver::VideoState::kOpen && driver.GetCloseError().IsEmpty() && !outcome.outOfMemory) {
        m_err << "video of " << videoFrames << " frames at 3 fps ("
              << (options.motionJpeg ? "Motion JPEG" : "uncompressed") << ") written to " << driver.VideoPath() << "\n";
    }
    if (!stale.empty()) {
        m_err << stale.size() << " older frame file" << (stale.size() == 1 ? "" : "s") << " of an earlier run remain"
              << (stale.size() == 1 ? "s" : "") << " beyond Frame-" << n << ".bmp (up to Frame-" << stale.back()
              << ".bmp); --clean removes them\n";
    }
    m_err.precision(2);
    m_err << std::fixed << done << " frames in " << seconds << " s, " << (seconds > 0 ? done / seconds : 0.0)
          << " frames per second\n";
    if (signal != 0) {
        return CSignalStop::ExitStatus(signal);
    }
    return failed ? kFailed : kSuccess;
}

int CRenderCommand::RunExport(CTrevalinDoc& doc, const CRenderOptions& options, CRowPool& pool)
{
    CExportSequence morph(doc, options.MorphOptions(KeptOptions(doc)), options.MorphSteps());
    morph.SetHold(options.hold);
    return Export(morph, doc.GetWorkDir(), options, pool);
}

CMorphOptions CRenderCommand::KeptOptions(const CTrevalinDoc& doc)
{
    CMessage problem;
    const CMorphOptions kept = CMorphOptionsFile::Read(doc.GetPathName(), &problem);
    if (!problem.IsEmpty()) m_err << m_language.Say(problem) << "\n";
    return kept;
}

bool CRenderCommand::FitPicture(CTrevalinDoc& doc, int index, SIZE size, const CRenderOptions& options)
{
    CPictureFile& picture = *doc.GetPicture(index);
    const SIZE own = picture.GetSizeInPixels();
    if (own == size) {
        return true;
    }
    const char* which = index == 0 ? "source" : "target";
    if (!options.fit) {
        m_err << doc.GetPathName() << ": " << which << " picture " << own.cx << " x " << own.cy
              << " is not the first project's size, " << size.cx << " x " << size.cy
              << " (--fit pad|crop|stretch brings it there)\n";
        return false;
    }
    if (!CDocumentFitter::Fit(doc, index, size.cx, size.cy, *options.fit)) {
        m_err << doc.GetPathName() << ": the " << which << " picture (" << own.cx << " x " << own.cy
              << ") cannot be fitted to " << size.cx << " x " << size.cy << ": not enough memory\n";
        return false;
    }
    m_err << doc.GetPathName() << ": " << which << " picture fitted from " << own.cx << " x " << own.cy << " to "
          << size.cx << " x " << size.cy << "\n";
    return true;
}

int CRenderCommand::RunSequence(const CRenderOptions& options)
{
    std::vector<std::unique_ptr<CTrevalinDoc>> docs;
    for (const std::string& path : options.projects) {
        CRenderOptions one = options;
        one.project = path;
        docs.push_back(std::make_unique<CTrevalinDoc>(CurrentDirectory(), m_decoder));
        if (!OpenProject(*docs.back(), one)) {
            return kFailed;
        }
    }
    const SIZE size = docs.front()->GetPicture(0)->GetSizeInPixels();
    CExportSequence morphs;
    morphs.SetHold(options.hold);
    for (const auto& doc : docs) {
        if (!FitPicture(*doc, 0, size, options) || !FitPicture(*doc, 1, size, options)) {
            return kFailed;
        }
        if (options.autoFace && !CAutoFace::Apply(*doc, m_err, m_language)) {
            return kFailed;
        }
        morphs.Add(*doc, options.MorphOptions(KeptOptions(*doc)), options.MorphSteps());
    }
    CRowPool pool(options.threads > 0 ? options.threads : CRowPool::DefaultThreadCount());
    return Export(morphs, docs.front()->GetWorkDir(), options, pool);
}

int CRenderCommand::RunFaces(const CRenderOptions& options)
{
    std::vector<std::unique_ptr<CTrevalinDoc>> docs;
    if (!CFaceMorphs::Make(options.projects, CurrentDirectory(), m_decoder, options.fit.value_or(FitMode::kPad), docs,
                           m_err, m_language)) {
        return kFailed;
    }
    CMorphOptions smooth;
    smooth.quality = CMorphOptions::Quality::kSmooth;
    CExportSequence morphs;
    morphs.SetHold(options.hold);
    for (const auto& doc : docs) {
        morphs.Add(*doc, options.MorphOptions(smooth), options.MorphSteps());
    }
    // The files are named after the output, not after the first picture.
    CRenderOptions named = options;
    named.project = "faces";
    CRowPool pool(options.threads > 0 ? options.threads : CRowPool::DefaultThreadCount());
    return Export(morphs, CurrentDirectory(), named, pool);
}

int CRenderCommand::Export(const CExportSequence& morphs, const std::string& workDir, const CRenderOptions& options,
                           CRowPool& pool)
{
    std::filesystem::path project(options.project);
    const std::string base = project.extension() == ".tvl" ? project.stem().string() : project.filename().string();
    CExportSettings settings = options.ExportSettings(workDir, base);
    // A stop signal ends the export as it ends a run: with the video of
    // the frames written.
    settings.finishVideoWhenStopped = true;
    CExportJob job(morphs, settings);
    job.SetRowPool(&pool);
    if (const CMessage problem = job.Check(); !problem.IsEmpty()) {
        m_err << m_language.Say(problem) << "\n";
        return kFailed;
    }
    const auto begin = std::chrono::steady_clock::now();
    int64_t frames = 0;
    const CCancelToken::Ticket cancel = m_pStop != nullptr ? m_pStop->Ticket() : CCancelToken::Ticket();
    const CExportSummary summary = job.Run(cancel, [this, &frames](int64_t done, int64_t total) {
        frames = done;
        Progress(static_cast<int>(done), static_cast<int>(total));
    });
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    if (m_bShowProgress && frames < job.TotalSteps()) m_err << "\n";
    const int signal = m_pStop != nullptr ? m_pStop->Signal() : 0;
    if (summary.outcome == CExportSummary::Outcome::kFailed) {
        m_err << "export failed: " << m_language.Say(summary.error) << "\n";
        if (frames == 0 && summary.framesWritten == 0) {
            return kFailed; // nothing was done (its folders were busy, say): the message is all
        }
    } else if (signal != 0) {
        m_err << "stopped by " << CSignalStop::Name(signal) << " after " << summary.framesComputed << " frames\n";
    } else if (summary.outcome == CExportSummary::Outcome::kCancelled) {
        m_err << "export cancelled\n";
    }
    if (summary.framesWritten > 0) {
        m_err << summary.framesWritten << " frame files written: " << summary.firstFrameFile;
        if (summary.framesWritten > 1) m_err << " ... " << summary.lastFrameFile;
        m_err << "\n";
    }
    if (!summary.videoPath.empty()) {
        m_err << "video of " << summary.videoFrames << " frames, " << summary.width << " x " << summary.height << " at "
              << summary.fps << " fps, written to " << summary.videoPath << "\n";
    } else if (summary.videoWanted) {
        m_err << "no video written\n";
    }
    m_err.precision(2);
    // The frames computed; the progress counted them once more as encoded.
    const auto computed = static_cast<double>(summary.framesComputed);
    m_err << std::fixed << summary.framesComputed << " frames in " << seconds << " s, "
          << (seconds > 0 ? computed / seconds : 0.0) << " frames per second\n";
    if (signal != 0) {
        return CSignalStop::ExitStatus(signal);
    }
    return summary.outcome == CExportSummary::Outcome::kDone ? kSuccess : kFailed;
}
