#include "CRunDriver.h"

#include "output/avi/CAviRecorder.h"
#include "output/bmp/CBitmapInfo.h"
#include "files/CFileAccess.h"
#include "files/CReplacingFile.h"
#include "output/bmp/GetDIBits.h"
#include "PictureBitmap.h"
#include "output/bmp/WriteBitmapFile.h"
#include "document/CTrevalinDoc.h"
#include "morph/ImageMorphing.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <future>
#include <string_view>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint32_t kVideoFrameRate = 3;

// Makes the folder `path` (in a folder that exists) when it is missing.
// Empty when it is there to be written to, else why not.
CMessage FolderError(const std::string& path)
{
    struct stat st {};
    int err = ::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST ? 0 : errno;
    if (err == 0) {
        err = ::stat(path.c_str(), &st) != 0             ? errno
              : !S_ISDIR(st.st_mode)                     ? ENOTDIR
              : ::access(path.c_str(), W_OK | X_OK) != 0 ? errno
                                                         : 0;
    }
    return err == 0 ? CMessage() : CMessage(CRunDriver::kFolderFormat, {path, CFileAccess::ErrorMessage(err)});
}

// k of a name "Frame-<k>.bmp" written by FramePath, or -1.
int64_t FrameNumber(const std::string& name)
{
    constexpr std::string_view prefix = "Frame-";
    constexpr std::string_view suffix = ".bmp";
    if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return -1;
    }
    const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos) {
        return -1;
    }
    const int64_t k = std::stoll(digits);
    return std::to_string(k) == digits && k <= INT32_MAX ? k : -1;
}

// Names of the entries of `folder` (none when it cannot be read).
std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    return names;
}

// Whether `name` is `stem`, then a number when `numbered`, then one of the
// extensions runs and exports write: "Frame-<k>.png", "trevalin.mp4".
bool IsOutputName(const std::string& name, std::string_view stem, bool numbered)
{
    const size_t dot = name.rfind('.');
    if (name.compare(0, stem.size(), stem) != 0 || dot == std::string::npos || dot < stem.size()) {
        return false;
    }
    const std::string_view extension = std::string_view(name).substr(dot);
    const std::string_view known[] = {".bmp", ".png", ".jpg", ".avi", ".mp4", ".webm", ".gif"};
    const std::string middle = name.substr(stem.size(), dot - stem.size());
    return std::find(std::begin(known), std::end(known), extension) != std::end(known) &&
           (numbered ? !middle.empty() && middle.find_first_not_of("0123456789") == std::string::npos : middle.empty());
}

// Removes the temporary files a run or an export into the working folder
// that was killed left in the output folders: those of "Frame-<k>.<ext>"
// and of "trevalin.<ext>".
void RemoveLeftovers(const std::string& frames, const std::string& videos)
{
    CReplacingFile::RemoveLeftovers(frames, [](const std::string& name) { return IsOutputName(name, "Frame-", true); });
    CReplacingFile::RemoveLeftovers(videos,
                                    [](const std::string& name) { return IsOutputName(name, "trevalin", false); });
}

} // namespace

CRunDriver::CRunDriver(CTrevalinDoc& doc, CCompressionChooser chooser)
    : m_doc(doc), m_chooser(std::move(chooser)), m_pEngine(MakeEngine(EngineKind::kFeature)),
      m_pLines(std::make_unique<CTrevalinDoc>(doc.GetWorkDir()))
{
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

bool CRunDriver::MakesBlackFrames(EngineKind kind, const CFeatureSet& lines)
{
    return kind == EngineKind::kFeature && std::min(lines.m_sets[0].m_nCount, lines.m_sets[1].m_nCount) == 0;
}

CMessage CRunDriver::IncompatibleMessage(const StartResult& result)
{
    CMessage text(kIncompatibleText);
    if (result.missingPicture >= 0) {
        const bool source = result.missingPicture == 0;
        text.Append(CMessage::Plain("\n"));
        if (result.missingPath.empty()) {
            text.Append(CMessage(source ? kNoSourceText : kNoTargetText));
        } else {
            text.Append(CMessage(source ? kMissingSourceFormat : kMissingTargetFormat, {result.missingPath}));
        }
    }
    return text;
}

void CRunDriver::UseEngine(EngineKind kind)
{
    if (m_engineKind == kind) return;
    m_pEngine = MakeEngine(kind);
    m_pEngine->SetRowPool(m_pPool);
    m_engineKind = kind;
    m_pEngine->SetOptions(m_options);
    // A switch in the middle of a run carries the run's pictures over, so
    // the frames that follow come from the new engine instead of nothing.
    if (m_bHasInputs) {
        m_pEngine->SetSteps(m_nSteps);
        m_pEngine->ShareImage(m_inputs[1], 1);
        m_pEngine->ShareImage(m_inputs[0], 0);
    }
}

SIZE CRunDriver::GetFrameSize() const
{
    if (!m_bHasInputs) return SIZE{0, 0};
    return SIZE{m_inputs[0]->Width(), m_inputs[0]->Height()};
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

std::string CRunDriver::FrameFolder() const
{
    return m_doc.GetWorkDir() + "/ouput_image";
}

std::string CRunDriver::FramePath(int32_t k) const
{
    return FrameFolder() + "/Frame-" + std::to_string(k) + ".bmp";
}

std::vector<int32_t> CRunDriver::FramesBeyond(int32_t n) const
{
    std::vector<int32_t> frames;
    for (const std::string& name : Names(FrameFolder())) {
        const int64_t k = FrameNumber(name);
        if (k > n) {
            frames.push_back(static_cast<int32_t>(k));
        }
    }
    std::sort(frames.begin(), frames.end());
    return frames;
}

int32_t CRunDriver::RemoveFramesBeyond(int32_t n)
{
    if (!m_lock.IsHeld()) {
        return 0;
    }
    int32_t removed = 0;
    for (int32_t k : FramesBeyond(n)) {
        std::error_code ec;
        if (!std::filesystem::is_directory(FramePath(k), ec) && ::unlink(FramePath(k).c_str()) == 0) {
            ++removed;
        }
    }
    return removed;
}

void CRunDriver::TakeLines()
{
    m_pLines->GetFeatureSet()->CopyLinesFrom(*m_doc.GetFeatureSet());
}

CRunDriver::StartResult CRunDriver::Start()
{
    StartResult result;
    const bool hadLock = m_lock.IsHeld();
    if (m_lock.Acquire(m_doc.GetWorkDir()) == CRunLock::Result::kBusy) {
        result.status = StartStatus::kBusy;
        return result;
    }
    // Both pictures at once: the target on a second thread, the source here.
    // The engine shares each picture rather than copying it: a new run
    // draws into new bitmaps.
    const auto load = [this](int i) {
        auto picture = std::make_shared<CBitmap>();
        DrawPictureBitmap(*m_doc.GetPicture(i), *picture);
        m_inputs[i] = picture;
        m_pEngine->ShareImage(std::move(picture), i);
    };
    std::future<void> target = std::async(std::launch::async, load, 1);
    load(0);
    target.get();
    m_bHasInputs = true;
    // Pictures of no size have nothing to morph: refuse them like pictures
    // that disagree, and say which one is missing.
    if (!m_pEngine->IsCompatible() || m_inputs[0]->Width() == 0 || m_inputs[0]->Height() == 0) {
        result.status = StartStatus::kIncompatible;
        for (int i = 0; i < 2 && result.missingPicture < 0; ++i) {
            if (!m_doc.GetPicture(i)->IsLoaded()) {
                result.missingPicture = i;
                const std::string name = m_doc.GetPictureName(i);
                const std::string& looked = m_doc.GetPicture(i)->GetMissingPath();
                result.missingPath = !looked.empty() ? looked
                                     : name.empty()  ? std::string()
                                                     : m_doc.PicturePathFor(name);
            }
        }
        if (!hadLock) {
            m_lock.Release();
        }
        return result;
    }
    CMessage videoFolderError;
    if (!m_outputLocks.IsHeld()) {
        // The output folders are made, and told when they cannot be written
        // to, before their locks are taken (an export may hold them).
        m_frameFolderError = FolderError(FrameFolder());
        videoFolderError = FolderError(CReplacingFile::FolderOf(VideoPath()));
        result.folderError = !m_frameFolderError.IsEmpty() ? m_frameFolderError : videoFolderError;
        if (m_outputLocks.Acquire({FrameFolder(), CReplacingFile::FolderOf(VideoPath())}) == CRunLock::Result::kBusy) {
            if (!hadLock) {
                m_lock.Release();
            }
            result.status = StartStatus::kBusy;
            return result;
        }
    }
    result.status = StartStatus::kStarted;
    m_bRunning = 1;

    BITMAP description{};
    m_inputs[0]->GetObject(sizeof(BITMAP), &description);
    std::unique_ptr<CBitmapInfo> format = MakeBitmapHeader(description);
    if (!format) {
        format = std::make_unique<CBitmapInfo>();
    }
    // A paused run goes on into the same video while its frames keep the
    // format the video was opened with.
    const bool resume = m_bPaused && m_bRunVideo && m_pVideoFormat &&
                        std::memcmp(&format->header, &m_pVideoFormat->header, sizeof(BITMAPINFOHEADER)) == 0;
    m_bPaused = false;
    if (resume) {
        result.resumed = true;
        result.video = m_videoState;
        if (m_nLastProduced >= m_nFrame) {
            m_nFrame = m_nLastProduced + 1;
        }
        TakeLines();
        return result;
    }

    if (m_pRecorder) {
        m_pRecorder->CloseVideo();
        m_pRecorder.reset();
    }
    if (m_lock.IsHeld()) {
        RemoveLeftovers(FrameFolder(), m_doc.GetWorkDir() + "/output_video");
    }

    m_pRecorder = std::make_unique<CAviRecorder>();
    m_pRecorder->m_nFrameRate = kVideoFrameRate;
    m_pRecorder->SetFrameFormat(format->header);
    m_pRecorder->SetFilePath(VideoPath());
    if (m_chooser) {
        m_pRecorder->SetCompressionChooser(m_chooser);
    }
    // A video folder that cannot be written to is the reason the video
    // fails, not what the recorder would make of it.
    const int32_t opened = videoFolderError.IsEmpty() ? m_pRecorder->OpenVideo() : -1;
    result.video = opened == 0 ? VideoState::kOpen : (opened > 0 ? VideoState::kCancelled : VideoState::kFailed);
    if (!videoFolderError.IsEmpty()) {
        m_pRecorder.reset();
        result.videoError = videoFolderError;
    } else if (result.video == VideoState::kFailed) {
        // The recorder's own (English) text, then what the system said.
        result.videoError = m_pRecorder->GetError();
    }
    m_pVideoFormat = std::move(format);
    m_bVideoFailed = false;
    m_videoState = result.video;
    m_videoWhy = result.videoError;
    m_nVideoFrames = 0;
    m_nLastProduced = -1;
    m_bRunVideo = true;
    TakeLines();
    return result;
}

bool CRunDriver::ComputeFrame(int32_t k, CBitmap& out, CCancelToken::Ticket ticket)
{
    // The engine writes every byte of the frame: a bitmap kept from the
    // frame before is reused as it is.
    const SIZE size = GetFrameSize();
    out.Reshape(size.cx, size.cy, 32);
    m_pEngine->SetCancelTicket(ticket);
    const int32_t made = m_pEngine->Morph(out, k, m_pLines.get());
    m_pEngine->SetCancelTicket({});
    return made != ImageMorphing::kAbandoned;
}

CRunDriver::FrameResult CRunDriver::WriteFrame(int32_t k, const CBitmap& frame)
{
    FrameResult result;
    result.frame = k;

    // The frame's rows bottom-up, as the file holds them; the video takes
    // the same rows when its frame format is the file's header.
    std::unique_ptr<CBitmapInfo> info = MakeBitmapInfo(frame);
    const CMessage fileWhy = info ? GetDIBits(frame, *info, m_frameRows) : CMessage();
    const bool rows = info && fileWhy.IsEmpty();

    // Once a frame could not be added, the recorder refuses the rest of the
    // run; only the first failure is reported.
    if (m_pRecorder && m_pRecorder->IsOpen() && !m_bVideoFailed) {
        const bool same = rows && std::memcmp(&info->header, &m_pVideoFormat->header, sizeof(BITMAPINFOHEADER)) == 0;
        const CByteVector& video = same ? m_frameRows : m_videoRows;
        const CMessage why = same ? CMessage() : GetDIBits(frame, *m_pVideoFormat, m_videoRows);
        if (!why.IsEmpty()) {
            result.videoError = CMessage::Plain("Frame " + std::to_string(k) + " does not fit the video: ").Append(why);
            m_bVideoFailed = true;
            m_videoWhy = result.videoError;
        } else if (m_pRecorder->WriteFrame(video.data()) < 0) {
            result.videoError = m_pRecorder->GetError();
            if (result.videoError.IsEmpty()) {
                result.videoError =
                    CMessage::Plain("Frame " + std::to_string(k) + " could not be added to " + VideoPath() + ".");
            }
            m_bVideoFailed = true;
            m_videoWhy = result.videoError;
        } else {
            result.videoWritten = true;
            ++m_nVideoFrames;
        }
    }
    m_nLastProduced = k;

    // The bitmap writer's own (English) words.
    if (!info) {
        result.fileError = CMessage::Plain("cannot describe frame " + std::to_string(k));
    } else if (!rows) {
        result.fileError = CMessage::Plain("Cannot write " + FramePath(k) + ": ").Append(fileWhy);
    } else {
        result.fileError = WriteBitmapFile(FramePath(k), *info, m_frameRows.data(), m_frameRows.size());
        result.fileWritten = result.fileError.IsEmpty();
        if (!result.fileWritten && !m_frameFolderError.IsEmpty()) {
            result.fileError = m_frameFolderError; // the cause, not its consequence
        }
    }
    return result;
}

CRunDriver::FrameResult CRunDriver::ProduceFrame()
{
    TakeLines();
    ComputeFrame(m_nFrame, m_frame);
    return WriteFrame(m_nFrame, m_frame);
}

bool CRunDriver::Advance()
{
    ++m_nFrame;
    return m_nFrame <= m_nSteps;
}

void CRunDriver::AbandonVideo()
{
    if (m_pRecorder && m_bRunVideo) {
        m_pRecorder->Abandon();
        m_bRunVideo = false;
        m_bVideoWritten = false;
    }
}

void CRunDriver::Pause()
{
    m_bRunning = 0;
    m_bPaused = m_bRunVideo;
}

CMessage CRunDriver::NoVideoMessage() const
{
    if (m_videoState == VideoState::kCancelled) {
        return CMessage(kNoVideoCancelledText);
    }
    if (m_videoState == VideoState::kOpen && m_bVideoFailed && m_closeError.IsEmpty() && m_nVideoFrames > 0) {
        // The file holds the frames before the failure.
        return CMessage(kVideoIncompleteFormat, {m_videoWhy});
    }
    const CMessage why = !m_closeError.IsEmpty() ? m_closeError
                         : !m_videoWhy.IsEmpty() ? m_videoWhy
                                                 : CMessage(kNoVideoNoFramesText);
    return CMessage(kNoVideoFormat, {why});
}

bool CRunDriver::Stop()
{
    const bool hadRecorder = m_pRecorder != nullptr;
    // A second Stop keeps what the first found about the video.
    if (m_pRecorder && m_bRunVideo && m_nVideoFrames == 0) {
        // A video without a frame does not replace the one there.
        m_pRecorder->Abandon();
        m_closeError = CMessage();
        m_bVideoWritten = false;
        m_bRunVideo = false;
    } else if (m_pRecorder && m_bRunVideo) {
        m_closeError = CMessage();
        const bool wasOpen = m_pRecorder->IsOpen();
        const int32_t closed = m_pRecorder->CloseVideo();
        // A failure that was already reported for a frame is not reported
        // again, unless the video could not be completed at all.
        const bool lost = wasOpen && !m_pRecorder->IsCompleted();
        if ((closed < 0 && !m_bVideoFailed) || lost) {
            m_closeError = m_pRecorder->GetError();
            if (m_closeError.IsEmpty()) {
                m_closeError = CMessage::Plain("The video " + VideoPath() + " could not be completed.");
            }
        }
        m_bVideoWritten =
            wasOpen && m_pRecorder->IsCompleted() && !m_bVideoFailed && m_closeError.IsEmpty() && m_nVideoFrames > 0;
        // The next Start opens a new video.
        m_bRunVideo = false;
    }
    m_nFrame = 0;
    m_bRunning = 0;
    m_bPaused = false;
    m_outputLocks.Release();
    m_lock.Release();
    return hadRecorder;
}
