#include "CExportJob.h"

#include "CExportMessages.h"
#include "CExportModule.h"
#include "CExportSequence.h"
#include "files/CReplacingFile.h"
#include "run/COutputLocks.h"
#include "run/CRunDriver.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

// Whether `name` is one an export into `s`' folders may write, in any of the
// formats and at any frame index: the temporary files of those are its
// leftovers. A temporary name keeps a long final name cut short, so `kept`
// may also be the start of such a name.
bool IsOutputName(CExportSettings s, const std::string& kept)
{
    const bool cut = kept.size() + 4 > CReplacingFile::kMaxKeptName;
    auto matches = [&](const std::string& name) {
        return kept == name || (cut && name.size() > kept.size() && name.compare(0, kept.size(), kept) == 0);
    };
    for (const auto video : {CExportSettings::Video::kMp4, CExportSettings::Video::kWebm, CExportSettings::Video::kGif,
                             CExportSettings::Video::kAviUncompressed}) {
        s.video = video;
        if (matches(std::filesystem::path(s.VideoPath()).filename().string())) return true;
    }
    // Frames: the prefix, digits, one of the frame files' extensions.
    const std::string prefix = s.layout == CExportSettings::Layout::kWorkFolder ? "Frame-" : s.baseName + "-";
    if (kept.size() <= prefix.size()) return cut && prefix.compare(0, kept.size(), kept) == 0;
    if (kept.compare(0, prefix.size(), prefix) != 0) return false;
    const std::string rest = kept.substr(prefix.size());
    const size_t digits = static_cast<size_t>(
        std::find_if(rest.begin(), rest.end(), [](char c) { return !std::isdigit(static_cast<unsigned char>(c)); }) -
        rest.begin());
    if (digits == 0) return false;
    const std::string ext = rest.substr(digits);
    for (const auto frames :
         {CExportSettings::Frames::kPng, CExportSettings::Frames::kJpeg, CExportSettings::Frames::kBmp}) {
        const std::string known = CExportSettings::FrameExtension(frames);
        if (ext == known || (cut && known.compare(0, ext.size(), ext) == 0)) return true;
    }
    return false;
}

} // namespace

CExportJob::CExportJob(const CTrevalinDoc& doc, const CExportSettings& settings)
    : CExportJob(CExportSequence(doc, settings.morph, settings.steps), settings)
{
}

CExportJob::CExportJob(const CExportSequence& morphs, const CExportSettings& settings) : m_settings(settings)
{
    if (CExportTask::MakeFunction make = CExportModule::Load(m_loadError)) {
        m_pTask.reset(make(morphs, settings));
    }
}

CExportJob::~CExportJob() = default;

CMessage CExportJob::NothingToWriteText()
{
    return CMessage(CRunDriver::kIncompatibleText);
}

CMessage CExportJob::Check() const
{
    return m_pTask ? m_pTask->Check() : m_loadError;
}

void CExportJob::SetRowPool(CRowPool* pPool)
{
    if (m_pTask) m_pTask->SetRowPool(pPool);
}

CExportSummary CExportJob::Run(CCancelToken::Ticket cancel, const Progress& progress)
{
    CExportSummary failed;
    failed.outcome = CExportSummary::Outcome::kFailed;
    failed.videoWanted = m_settings.video != CExportSettings::Video::kNone;
    failed.error = Check();
    if (!m_pTask || !failed.error.IsEmpty()) {
        return failed;
    }
    const CExportSettings& s = m_settings;
    std::vector<std::string> folders;
    if (s.frames != CExportSettings::Frames::kNone) folders.push_back(CReplacingFile::FolderOf(s.FramePath(0)));
    if (failed.videoWanted) folders.push_back(CReplacingFile::FolderOf(s.VideoPath()));
    if (s.layout == CExportSettings::Layout::kWorkFolder) {
        for (const std::string& folder : folders) {
            std::error_code ec;
            std::filesystem::create_directories(folder, ec);
            if (ec) {
                failed.error = CExportMessages::FolderNotWritable(folder, ec.value());
                return failed;
            }
        }
    }
    // Held until the export is over, whatever way it ends.
    COutputLocks locks;
    if (locks.Acquire(folders) == CRunLock::Result::kBusy) {
        failed.error = CExportMessages::FolderBusy(locks.BusyFolder());
        return failed;
    }
    for (const std::string& folder : folders) {
        CReplacingFile::RemoveLeftovers(folder, [&s](const std::string& kept) { return IsOutputName(s, kept); });
    }
    return m_pTask->Run(cancel, progress);
}

int64_t CExportJob::TotalSteps() const
{
    return m_pTask ? m_pTask->TotalSteps() : 0;
}

int32_t CExportJob::OutputWidth() const
{
    return m_pTask ? m_pTask->OutputWidth() : 0;
}

int32_t CExportJob::OutputHeight() const
{
    return m_pTask ? m_pTask->OutputHeight() : 0;
}
