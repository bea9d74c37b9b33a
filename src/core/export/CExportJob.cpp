#include "CExportJob.h"

#include "CExportMessages.h"
#include "CExportModule.h"
#include "files/CReplacingFile.h"
#include "run/COutputLocks.h"
#include "run/CRunDriver.h"

#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

namespace {

// The file names an export into `settings`' folders may write, in any of
// the formats: those of its temporary files are its leftovers.
std::set<std::string> OutputNames(CExportSettings settings)
{
    std::set<std::string> names;
    for (const auto frames :
         {CExportSettings::Frames::kPng, CExportSettings::Frames::kJpeg, CExportSettings::Frames::kBmp}) {
        settings.frames = frames;
        for (int32_t k = 0; k <= CExportSettings::kMaxSteps; ++k) {
            names.insert(std::filesystem::path(settings.FramePath(k)).filename().string());
        }
    }
    for (const auto video : {CExportSettings::Video::kMp4, CExportSettings::Video::kWebm, CExportSettings::Video::kGif,
                             CExportSettings::Video::kAviUncompressed}) {
        settings.video = video;
        names.insert(std::filesystem::path(settings.VideoPath()).filename().string());
    }
    return names;
}

// Whether `kept`, a final name as a temporary name keeps it (cut when
// long), is one of `names`.
bool IsOneOf(const std::set<std::string>& names, const std::string& kept)
{
    if (names.count(kept) != 0) return true;
    if (kept.size() + 4 <= CReplacingFile::kMaxKeptName) return false;
    for (const std::string& name : names) {
        if (name.size() > kept.size() && name.compare(0, kept.size(), kept) == 0) return true;
    }
    return false;
}

} // namespace

CExportJob::CExportJob(const CTrevalinDoc& doc, const CExportSettings& settings) : m_settings(settings)
{
    if (CExportTask::MakeFunction make = CExportModule::Load(m_loadError)) {
        m_pTask.reset(make(doc, settings));
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
    const std::set<std::string> names = OutputNames(s);
    for (const std::string& folder : folders) {
        CReplacingFile::RemoveLeftovers(folder, [&names](const std::string& kept) { return IsOneOf(names, kept); });
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
