#include "CExportRun.h"

#include "CExportAviWriter.h"
#include "CExportCheck.h"
#include "export/CExportMessages.h"
#include "CFfmpegVideoWriter.h"
#include "CFrameFileWriter.h"
#include "files/CReplacingFile.h"
#include "run/CRunDriver.h"
#include "run/PictureBitmap.h"
#include "morph/CRowPool.h"
#include "morph/EngineKind.h"
#include "morph/ImageMorphing.h"
#include "run/CFramePipeline.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <system_error>

namespace {

bool IsFfmpegVideo(CExportSettings::Video video)
{
    return video == CExportSettings::Video::kMp4 || video == CExportSettings::Video::kWebm ||
           video == CExportSettings::Video::kGif;
}

CVideoSettings::Format FfmpegFormat(CExportSettings::Video video)
{
    switch (video) {
    case CExportSettings::Video::kWebm:
        return CVideoSettings::kWebmVp9;
    case CExportSettings::Video::kGif:
        return CVideoSettings::kGif;
    default:
        return CVideoSettings::kMp4H264;
    }
}

CFrameFileSettings::Format FileFormat(CExportSettings::Frames frames)
{
    switch (frames) {
    case CExportSettings::Frames::kJpeg:
        return CFrameFileSettings::kJpeg;
    case CExportSettings::Frames::kBmp:
        return CFrameFileSettings::kBmp;
    default:
        return CFrameFileSettings::kPng;
    }
}

// The one video of an export, whichever writer makes it.
class CVideoOut {
public:
    bool Open(const CExportSettings& s, int32_t width, int32_t height, CCancelToken::Ticket cancel)
    {
        if (IsFfmpegVideo(s.video)) {
            m_ffmpeg = std::make_unique<CFfmpegVideoWriter>();
            m_ffmpeg->SetCancelTicket(cancel);
            CVideoSettings video{FfmpegFormat(s.video), width, height, s.fps, s.videoQuality};
            video.webmSpeed = s.webmSpeed;
            video.mp4Preset = s.mp4Preset;
            video.gifDither = s.gifDither;
            return m_ffmpeg->Open(s.VideoPath(), video);
        }
        m_avi = std::make_unique<CExportAviWriter>();
        return m_avi->Open(s.VideoPath(), width, height, s.fps, s.video == CExportSettings::Video::kAviMotionJpeg,
                           s.videoQuality);
    }
    bool Add(const CBitmap& frame)
    {
        return m_ffmpeg ? m_ffmpeg->AddFrame(frame.Bits(), frame.WidthBytes(), frame.Width(), frame.Height())
                        : m_avi->AddFrame(frame.Bits(), frame.WidthBytes(), frame.Width(), frame.Height());
    }
    bool AddPaletteSample(const CBitmap& frame)
    {
        return !m_ffmpeg || m_ffmpeg->AddPaletteSample(frame.Bits(), frame.WidthBytes(), frame.Width(), frame.Height());
    }
    bool Finish() { return m_ffmpeg ? m_ffmpeg->Finish() : m_avi->Finish(); }
    void Cancel()
    {
        if (m_ffmpeg) m_ffmpeg->Cancel();
        if (m_avi) m_avi->Cancel();
    }
    bool Cancelled() const { return m_ffmpeg && m_ffmpeg->IsCancelled(); }
    // Tells of each frame the encoder gives back (FFmpeg's formats; the AVI
    // writes each frame as it takes it).
    void OnEncoded(std::function<void(int64_t)> encoded)
    {
        if (m_ffmpeg) m_ffmpeg->SetEncodedCallback(std::move(encoded));
    }
    int64_t Frames() const { return m_ffmpeg ? m_ffmpeg->FrameCount() : m_avi->FrameCount(); }
    const CMessage& Error() const { return m_ffmpeg ? m_ffmpeg->Error() : m_avi->Error(); }

private:
    std::unique_ptr<CFfmpegVideoWriter> m_ffmpeg;
    std::unique_ptr<CExportAviWriter> m_avi;
};

} // namespace

CExportRun::CExportRun(const CExportSequence& morphs, const CExportSettings& settings)
    : m_settings(settings), m_sequence(morphs)
{
    for (int32_t p = 0; p < morphs.PartCount(); ++p) {
        const CExportSequence::Part& part = morphs.GetPart(p);
        Morph morph;
        morph.doc = std::make_unique<CTrevalinDoc>(part.doc->GetWorkDir());
        morph.doc->GetFeatureSet()->CopyLinesFrom(*part.doc->GetFeatureSet());
        for (int i = 0; i < 2; ++i) {
            auto picture = std::make_shared<CBitmap>();
            DrawPictureBitmap(*part.doc->GetPicture(i), *picture);
            morph.inputs[i] = std::move(picture);
        }
        morph.options = part.morph;
        morph.steps = part.steps;
        m_morphs.push_back(std::move(morph));
    }
    const int64_t frames = m_sequence.FrameCount();
    m_settings.steps = frames > CExportSettings::kMaxSequenceFrames ? CExportSettings::kMaxSequenceFrames
                                                                    : static_cast<int32_t>(frames - 1);
    if (!m_morphs.empty()) {
        m_settings.OutputSize(m_morphs[0].inputs[0]->Width(), m_morphs[0].inputs[0]->Height(), m_nWidth, m_nHeight);
    }
}

CMessage CExportRun::Check() const
{
    const CExportSettings& s = m_settings;
    if (s.frames == CExportSettings::Frames::kNone && s.video == CExportSettings::Video::kNone) {
        return CExportMessages::NothingToExport();
    }
    for (const Morph& morph : m_morphs) {
        if (morph.steps < 1 || morph.steps >= CExportSettings::kMaxFrames) {
            return CExportMessages::FramesOutOfRange(int64_t{morph.steps} + 1);
        }
    }
    if (m_morphs.empty() || m_sequence.FrameCount() > CExportSettings::kMaxSequenceFrames) {
        return CExportMessages::FramesOutOfRange(m_sequence.FrameCount());
    }
    if (s.firstFrame < 0 || s.LastFrame() > s.steps || s.firstFrame > s.LastFrame()) {
        return CExportMessages::RangeOutOfRange(s.firstFrame, s.LastFrame(), s.steps);
    }
    for (double hold : {s.holdFirstSeconds, s.holdLastSeconds}) {
        if (!(hold >= 0.0 && hold <= CExportSettings::kMaxHoldSeconds)) {
            return CExportMessages::HoldOutOfRange(hold);
        }
    }
    // All pictures are 32-bit bitmaps: they agree when their sizes do.
    const CBitmap& a = *m_morphs[0].inputs[0];
    for (const Morph& morph : m_morphs) {
        for (const auto& b : morph.inputs) {
            if (a.Width() <= 0 || a.Height() <= 0 || a.Width() != b->Width() || a.Height() != b->Height()) {
                return CMessage(CRunDriver::kIncompatibleText);
            }
        }
    }
    if (s.video != CExportSettings::Video::kNone) {
        if (IsFfmpegVideo(s.video)) {
            const CMessage problem =
                CExportCheck::VideoSettings({FfmpegFormat(s.video), m_nWidth, m_nHeight, s.fps, s.videoQuality});
            if (!problem.IsEmpty()) return problem;
        } else if (s.fps < CVideoSettings::kMinFps || s.fps > CVideoSettings::kMaxFps) {
            return CExportMessages::FpsOutOfRange(s.fps);
        } else if (m_nWidth < 1 || m_nHeight < 1 || m_nWidth > CVideoSettings::kMaxSide ||
                   m_nHeight > CVideoSettings::kMaxSide) {
            return CExportMessages::SizeOutOfRange(m_nWidth, m_nHeight);
        } else if (s.videoQuality < 0 || s.videoQuality > 100) {
            return CExportMessages::QualityOutOfRange(s.videoQuality);
        }
    }
    if (s.frames != CExportSettings::Frames::kNone) {
        const CMessage problem =
            CExportCheck::FrameFileSettings({FileFormat(s.frames), m_nWidth, m_nHeight, s.frameQuality});
        if (!problem.IsEmpty()) return problem;
    }
    if (s.layout == CExportSettings::Layout::kFolder) {
        const CMessage base = CExportCheck::BaseName(s.baseName);
        if (!base.IsEmpty()) return base;
    }
    // Every file name, the longest frame number's included, must fit the
    // folder's names: told now rather than when the video is complete.
    std::vector<std::string> paths;
    if (s.frames != CExportSettings::Frames::kNone) paths.push_back(s.FramePath(s.LastFrame()));
    if (s.video != CExportSettings::Video::kNone) paths.push_back(s.VideoPath());
    for (const std::string& path : paths) {
        const CMessage name = CExportCheck::FileName(path);
        if (!name.IsEmpty()) return name;
    }
    if (s.layout == CExportSettings::Layout::kWorkFolder) {
        // The folders written to when they are there, else the working
        // folder that will hold them.
        for (const std::string& path : paths) {
            std::error_code ec;
            const std::string folder = CReplacingFile::FolderOf(path);
            const CMessage problem = CExportCheck::Folder(std::filesystem::exists(folder, ec) ? folder : s.folder);
            if (!problem.IsEmpty()) return problem;
        }
        return CMessage();
    }
    return CExportCheck::Folder(s.folder);
}

std::vector<CExportRun::Step> CExportRun::Plan() const
{
    const CExportSettings& s = m_settings;
    const bool files = s.frames != CExportSettings::Frames::kNone;
    std::vector<Step> plan;
    if (s.video == CExportSettings::Video::kNone) {
        for (int32_t k = s.firstFrame; k <= s.LastFrame(); ++k)
            plan.push_back({k, true, false});
        return plan;
    }
    std::vector<bool> written(static_cast<size_t>(s.steps) + 1, false);
    for (int32_t k : s.Timeline()) {
        plan.push_back({k, files && !written[static_cast<size_t>(k)], true});
        written[static_cast<size_t>(k)] = true;
    }
    return plan;
}

int64_t CExportRun::VideoFrames(const std::vector<Step>& plan)
{
    return std::count_if(plan.begin(), plan.end(), [](const Step& step) { return step.video; });
}

std::vector<size_t> CExportRun::PaletteSamples(const std::vector<Step>& plan) const
{
    std::vector<size_t> samples;
    if (m_settings.video != CExportSettings::Video::kGif) return samples;
    const int64_t count = VideoFrames(plan);
    int64_t n = 0;
    for (size_t i = 0; i < plan.size(); ++i) {
        if (plan[i].video && CVideoSettings::IsPaletteSample(n++, count)) samples.push_back(i);
    }
    return samples;
}

int64_t CExportRun::TotalSteps() const
{
    const std::vector<Step> plan = Plan();
    // A video through FFmpeg counts its frames twice: computed, then given
    // back by the encoder; a GIF's palette samples are computed first.
    return static_cast<int64_t>(plan.size()) + (IsFfmpegVideo(m_settings.video) ? VideoFrames(plan) : 0) +
           static_cast<int64_t>(PaletteSamples(plan).size());
}

CExportSummary CExportRun::Run(CCancelToken::Ticket cancel, const Progress& progress)
{
    const CExportSettings& s = m_settings;
    CExportSummary summary;
    summary.width = m_nWidth;
    summary.height = m_nHeight;
    summary.fps = s.fps;
    summary.videoWanted = s.video != CExportSettings::Video::kNone;
    const auto fail = [&summary](const CMessage& why) {
        summary.outcome = CExportSummary::Outcome::kFailed;
        summary.error = why;
        return summary;
    };
    if (const CMessage problem = Check(); !problem.IsEmpty()) {
        return fail(problem);
    }
    if (s.layout == CExportSettings::Layout::kWorkFolder) {
        // Made by CExportJob before it locks them; here for a task run alone.
        std::error_code ec;
        if (s.frames != CExportSettings::Frames::kNone)
            std::filesystem::create_directories(s.folder + "/ouput_image", ec);
        if (s.video != CExportSettings::Video::kNone)
            std::filesystem::create_directories(s.folder + "/output_video", ec);
    }

    // The program's pool, or one of this export's own.
    std::unique_ptr<CRowPool> ownPool;
    if (m_pPool == nullptr) {
        ownPool = std::make_unique<CRowPool>(s.threads > 0 ? s.threads : CRowPool::DefaultThreadCount());
    }
    std::vector<std::unique_ptr<ImageMorphing>> engines;
    for (const Morph& morph : m_morphs) {
        std::unique_ptr<ImageMorphing> engine = MakeEngine(s.engine);
        engine->SetRowPool(m_pPool != nullptr ? m_pPool : ownPool.get());
        engine->SetOptions(morph.options);
        engine->SetSupersample(s.supersample);
        engine->SetSteps(morph.steps);
        engine->ShareImage(morph.inputs[1], 1);
        engine->ShareImage(morph.inputs[0], 0);
        engines.push_back(std::move(engine));
    }

    CFrameFileWriter files;
    if (s.frames != CExportSettings::Frames::kNone &&
        !files.Open({FileFormat(s.frames), m_nWidth, m_nHeight, s.frameQuality})) {
        return fail(files.Error());
    }
    const std::vector<Step> plan = Plan();
    const int64_t total = TotalSteps();
    CVideoOut video;
    // A video finished when the export stops is not stopped with it.
    const CCancelToken::Ticket videoCancel = s.finishVideoWhenStopped ? CCancelToken::Ticket() : cancel;
    if (summary.videoWanted && !video.Open(s, m_nWidth, m_nHeight, videoCancel)) {
        return fail(video.Error());
    }
    const auto makeFrame = [this, &engines](int32_t g, CBitmap& out, CCancelToken::Ticket ticket) {
        // Frame g of the export is frame k of one morph.
        const CExportSequence::Place at = m_sequence.Locate(g);
        const Morph& morph = m_morphs[static_cast<size_t>(at.part)];
        ImageMorphing& engine = *engines[static_cast<size_t>(at.part)];
        // Shaped once; the engine writes every byte of it.
        out.Reshape(morph.inputs[0]->Width(), morph.inputs[0]->Height(), 32);
        engine.SetCancelTicket(ticket);
        return engine.Morph(out, at.k, morph.doc.get()) != ImageMorphing::kAbandoned;
    };
    int64_t computed = 0;
    int64_t encoded = 0;
    // A GIF's palette comes first, from a few frames across the export, so
    // that every frame after it is put into the palette and encoded as it
    // is computed. They are computed again in their turn: holding them
    // would cost more than that at large sizes.
    if (summary.videoWanted) {
        std::vector<int32_t> samples;
        for (const size_t i : PaletteSamples(plan))
            samples.push_back(plan[i].frame);
        bool added = true;
        const CFramePipeline::Outcome sampling = CFramePipeline(makeFrame).Run(
            samples,
            [&](size_t, int32_t, const CBitmap& frame) {
                added = video.AddPaletteSample(frame);
                if (added && progress) progress(++computed, total);
                return added;
            },
            cancel);
        if (sampling.outOfMemory) {
            video.Cancel();
            return fail(CMessage(CFramePipeline::kOutOfMemoryFormat, {sampling.failedFrame}));
        }
        if (!added && !video.Cancelled()) {
            return fail(video.Error());
        }
        if (!added || sampling.cancelled || sampling.stopped || cancel.IsAbandoned()) {
            video.Cancel();
            summary.outcome = CExportSummary::Outcome::kCancelled;
            return summary;
        }
    }
    const int64_t sampled = computed;
    video.OnEncoded([&](int64_t count) {
        encoded = count;
        if (progress) progress(computed + encoded, total);
    });

    std::vector<int32_t> frames(plan.size());
    for (size_t i = 0; i < plan.size(); ++i)
        frames[i] = plan[i].frame;
    CFramePipeline pipeline(makeFrame);
    std::optional<CMessage> failure; // why a write failed
    const CFramePipeline::Outcome outcome = pipeline.Run(
        frames,
        [&](size_t i, int32_t k, const CBitmap& frame) {
            const Step& step = plan[i];
            // The frame file is written while the video takes the frame.
            std::future<bool> file;
            const std::string path = step.file ? s.FramePath(k) : std::string();
            if (step.file) {
                file = std::async(std::launch::async, [&files, &frame, &path] {
                    return files.Write(path, frame.Bits(), frame.WidthBytes(), frame.Width(), frame.Height());
                });
            }
            const bool added = !step.video || video.Add(frame);
            const bool fileOk = !step.file || file.get();
            if (fileOk && step.file) {
                if (summary.framesWritten == 0) summary.firstFrameFile = path;
                summary.lastFrameFile = path;
                ++summary.framesWritten;
            }
            if (!added && video.Cancelled()) return false;
            if (!added || !fileOk) {
                video.Cancel();
                failure = !fileOk ? files.Error() : video.Error();
                return false;
            }
            computed = sampled + static_cast<int64_t>(i) + 1;
            summary.framesComputed = static_cast<int64_t>(i) + 1;
            if (progress) progress(computed + encoded, total);
            return true;
        },
        cancel);
    if (failure) {
        return fail(*failure);
    }
    if (outcome.outOfMemory) {
        // The export ends there; whatever was at the video's path stays.
        if (summary.videoWanted) video.Cancel();
        return fail(CMessage(CFramePipeline::kOutOfMemoryFormat, {outcome.failedFrame}));
    }
    const bool stopped = outcome.cancelled || outcome.stopped || cancel.IsAbandoned() || video.Cancelled();
    if (stopped && (!s.finishVideoWhenStopped || !summary.videoWanted || video.Frames() == 0)) {
        if (summary.videoWanted) video.Cancel();
        summary.outcome = CExportSummary::Outcome::kCancelled;
        return summary;
    }
    if (stopped) {
        summary.outcome = CExportSummary::Outcome::kCancelled;
    }
    if (summary.videoWanted) {
        if (!video.Finish()) {
            if (video.Cancelled()) {
                summary.outcome = CExportSummary::Outcome::kCancelled;
                return summary;
            }
            return fail(video.Error());
        }
        summary.videoPath = s.VideoPath();
        summary.videoFrames = video.Frames();
    }
    return summary;
}
