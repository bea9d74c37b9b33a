#include "TestFiles.h"

#include "document/CDirectPictureDecoder.h"
#include "document/CPictureFile.h"
#include "document/CPictureImage.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>

namespace {

bool Read(const std::filesystem::path& path, std::vector<uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

} // namespace

namespace testfiles {

std::shared_ptr<const CPictureImage> ReadPicture(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return nullptr;
    CPictureFile file;
    file.SetDecoder(std::make_shared<CDirectPictureDecoder>(nullptr));
    if (file.LoadFromFile(path.string()) != 1) return nullptr;
    return file.GetSharedImage();
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path)
{
    std::vector<uint8_t> bytes;
    if (!Read(path, bytes)) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return bytes;
}

std::vector<uint8_t> ReadBytesOrEmpty(const std::filesystem::path& path)
{
    std::vector<uint8_t> bytes;
    Read(path, bytes);
    return bytes;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::vector<std::string> Names(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::filesystem::path LockedFolder(const std::filesystem::path& parent)
{
    namespace fs = std::filesystem;
    fs::permissions(parent, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    const fs::path locked = parent / "locked";
    fs::create_directory(locked);
    fs::permissions(locked,
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read | fs::perms::others_exec);
    return locked;
}

void Plant(const std::string& path, const std::string& kind, const std::string& aside)
{
    if (kind == "fifo") {
        ::mkfifo(path.c_str(), 0666);
    } else if (kind == "symlink") {
        WriteBytes(aside, {1, 2, 3});
        std::filesystem::create_symlink(aside, path);
    } else if (kind == "read-only") {
        WriteBytes(path, {4, 5, 6});
        std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    } else {
        std::filesystem::create_directory(path);
    }
}

} // namespace testfiles
