#include "CTrevalinDoc.h"

#include "CArchive.h"
#include "CFeatureBlock.h"

#include <filesystem>
#include <future>
#include <system_error>
#include <utility>

namespace {

std::string CurrentDirectory()
{
    std::error_code ec;
    std::filesystem::path p = std::filesystem::current_path(ec);
    return ec ? std::string(".") : p.string();
}

std::string WithoutTrailingSlashes(std::string dir)
{
    while (dir.size() > 1 && dir.back() == '/') {
        dir.pop_back();
    }
    return dir;
}

size_t LastSeparator(const std::string& path)
{
    // UTF-8 never uses the bytes of '/' or '\' inside a multibyte character,
    // so a plain byte scan finds the real separators.
    return path.find_last_of("/\\");
}

// The file name a stored name stands for: what follows its last separator,
// empty for "." and "..".
std::string PictureTail(const std::string& storedName)
{
    const size_t sep = LastSeparator(storedName);
    std::string tail = sep == std::string::npos ? storedName : storedName.substr(sep + 1);
    if (tail == "." || tail == "..") {
        tail.clear();
    }
    return tail;
}

// <folder>/images/<tail>, or the images folder itself for an empty tail.
std::string ImagesPath(const std::string& folder, const std::string& tail)
{
    std::string path = folder.empty() ? std::string(".") : folder;
    if (path.back() != '/') {
        path += '/';
    }
    path += "images";
    if (!tail.empty()) {
        path += '/' + tail;
    }
    return path;
}

} // namespace

CTrevalinDoc::CTrevalinDoc() : CTrevalinDoc(CurrentDirectory()) {}

CTrevalinDoc::CTrevalinDoc(std::string workDir, std::shared_ptr<const CPictureDecoder> decoder)
    : m_strWorkDir(WithoutTrailingSlashes(std::move(workDir)))
{
    for (CPictureFile& picture : m_pictures) {
        picture.SetDecoder(decoder);
    }
}

std::string CTrevalinDoc::StoredName(const std::string& picturePath)
{
    if (picturePath.empty()) {
        return std::string();
    }
    const size_t sep = LastSeparator(picturePath);
    return "\\" + (sep == std::string::npos ? picturePath : picturePath.substr(sep + 1));
}

std::string CTrevalinDoc::PicturePathFor(const std::string& storedName) const
{
    return ImagesPath(m_strWorkDir, PictureTail(storedName));
}

std::string CTrevalinDoc::PictureFileFor(const std::string& storedName) const
{
    const std::string inWork = PicturePathFor(storedName);
    std::error_code ec;
    if (m_openingFolder.empty() || std::filesystem::exists(inWork, ec)) {
        return inWork;
    }
    const std::string beside = ImagesPath(m_openingFolder, PictureTail(storedName));
    return std::filesystem::exists(beside, ec) ? beside : inWork;
}

CDocStatus CTrevalinDoc::OnOpenDocument(const std::string& path)
{
    m_missing = CMessage();
    std::error_code ec;
    m_openingFolder = std::filesystem::absolute(path, ec).parent_path().string();
    CDocStatus status = CDocument::OnOpenDocument(path);
    m_openingFolder.clear();
    if (status.ok && !m_missing.IsEmpty()) {
        status.warning = CMessage::Joined({CMessage(kMissingPicturesText), m_missing});
    }
    m_missing = CMessage();
    return status;
}

void CTrevalinDoc::TakeContentFrom(CTrevalinDoc& read)
{
    for (int i = 0; i < 2; ++i) {
        std::swap(m_pictures[i], read.m_pictures[i]);
        std::swap(m_strPictureNames[i], read.m_strPictureNames[i]);
        m_featureSet.m_sets[i].Swap(read.m_featureSet.m_sets[i]);
    }
    std::swap(m_strPathName, read.m_strPathName);
    std::swap(m_strTitle, read.m_strTitle);
    std::swap(m_bModified, read.m_bModified);
}

void CTrevalinDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        for (int i = 0; i < 2; ++i) {
            // A missing picture keeps the name the project was read with.
            if (!m_pictures[i].IsMissing()) {
                m_strPictureNames[i] = StoredName(m_pictures[i].GetPath());
            }
            ar << m_strPictureNames[i];
        }
        CFeatureBlock::Write(ar, m_featureSet);
        return;
    }
    std::string names[2];
    for (std::string& name : names) {
        ar.ReadString(name, kMaxNameBytes, CMessage(kNameTooLongText, {kMaxNameBytes}));
        const std::string tail = PictureTail(name);
        if (tail.size() > kMaxTailBytes) {
            ar.Fail(CArchive::Error::kBeyondLimits, CMessage(kTailTooLongText, {CMessage::Name(tail), kMaxTailBytes}));
        }
    }
    CFeatureBlock lines;
    if (ar.HasFailed() || !lines.Read(ar)) {
        return;
    }
    // The two pictures are read and decoded at once (the target on a second
    // thread).
    const std::string paths[2] = {PictureFileFor(names[0]), PictureFileFor(names[1])};
    std::future<int32_t> loading =
        std::async(std::launch::async, [this, &paths] { return m_pictures[1].LoadFromFile(paths[1]); });
    const int32_t loaded[2] = {m_pictures[0].LoadFromFile(paths[0]), loading.get()};
    m_missing = CMessage();
    for (int i = 0; i < 2; ++i) {
        // A picture that cannot be loaded leaves its holder empty (never
        // another project's picture), as a missing picture file is no
        // reason to refuse the project; the open tells the user which (a
        // picture never chosen has no name to tell).
        if (loaded[i] == 0) {
            m_pictures[i].SetMissing(names[i].empty() ? std::string() : paths[i]);
        }
        if (loaded[i] == 0 && !names[i].empty()) {
            // Each line names the file: the decoder's reason usually does.
            const CMessage& why = m_pictures[i].GetLastError();
            const std::string shown = CMessage::Shortened(paths[i]);
            if (why.Text().find(shown) == std::string::npos) m_missing.Append(CMessage::Plain("\n" + shown));
            if (!why.IsEmpty()) m_missing.Append(CMessage::Plain("\n")).Append(why);
        }
        m_strPictureNames[i] = names[i];
    }
    lines.ApplyTo(m_featureSet);
}
