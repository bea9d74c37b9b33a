#include "CDocument.h"

#include "CArchive.h"
#include "files/CFileAccess.h"
#include "files/CReplacingFile.h"
#include "message/CText.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <new>
#include <vector>

namespace {

std::string FullPath(const std::string& path)
{
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    if (ec) {
        return path;
    }
    return full.lexically_normal().string();
}

std::string FileName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

CDocStatus Failed(CMessage message, CMessage detail)
{
    return CDocStatus{false, std::move(message), std::move(detail), CMessage()};
}

} // namespace

void CDocument::SetPathName(const std::string& path)
{
    m_strPathName = FullPath(path);
    m_strTitle = FileName(m_strPathName);
}

bool CDocument::OnNewDocument()
{
    m_strPathName.clear();
    m_strTitle = kUntitled;
    m_bModified = false;
    return true;
}

CDocStatus CDocument::OnOpenDocument(const std::string& path)
{
    const std::string full = FullPath(path);
    std::vector<uint8_t> bytes;
    const CFileAccess::Result read = CFileAccess::ReadFile(full, bytes, kMaxDocumentBytes);
    if (!read.ok) {
        CMessage message = (read.error == ENOENT || read.error == ENOTDIR)
                               ? CMessage(kNotFoundFormat, {CMessage::Name(full)})
                               : CMessage(kOpenFailed);
        CMessage detail =
            read.error == EFBIG ? CMessage(kTooLargeText, {}, EFBIG) : CFileAccess::ErrorMessage(read.error);
        return Failed(std::move(message), std::move(detail));
    }
    if (!bytes.empty()) {
        const bool wasModified = m_bModified;
        m_bModified = true;
        CArchive ar(bytes.data(), bytes.size());
        try {
            Serialize(ar);
        } catch (const std::bad_alloc&) {
            m_bModified = wasModified;
            return Failed(CMessage(kOpenFailed), CFileAccess::ErrorMessage(ENOMEM));
        } catch (const std::exception& e) {
            m_bModified = wasModified;
            return Failed(CMessage(kOpenFailed), CMessage::Plain(e.what()));
        }
        if (ar.HasFailed()) {
            m_bModified = wasModified;
            const CArchive::Error error = ar.GetError();
            const bool refused = error == CArchive::Error::kLengthTooLarge || error == CArchive::Error::kBeyondLimits;
            return Failed(CMessage(refused ? kOpenFailed : kBadFormat), ar.GetDetail());
        }
    }
    m_bModified = false;
    SetPathName(full);
    return CDocStatus{};
}

CDocStatus CDocument::OnSaveDocument(const std::string& path)
{
    const std::string full = FullPath(path);
    // Flushed before it replaces the old project, so a crash keeps one of
    // the two whole; a link is followed and the project it names replaced.
    CReplacingFile file;
    int error = 0;
    try {
        CArchive ar;
        Serialize(ar);
        const std::vector<uint8_t>& bytes = ar.GetBuffer();
        error = file.Create(full, CReplacingFile::Durability::kFlushed, CReplacingFile::Existing::kUpdated);
        if (error == 0 && !file.File().Write(bytes.data(), bytes.size())) {
            error = file.File().Error();
        }
        if (error == 0) {
            error = file.Commit();
        }
    } catch (const std::bad_alloc&) {
        error = ENOMEM;
    }
    if (error != 0) {
        file.Abandon();
        CMessage detail = CFileAccess::ErrorMessage(error);
        if (file.HadFile()) {
            detail = CMessage(kLeftUnchangedFormat, {detail});
        }
        return Failed(CMessage(kSaveFailed), std::move(detail));
    }
    m_bModified = false;
    SetPathName(full);
    return CDocStatus{};
}
