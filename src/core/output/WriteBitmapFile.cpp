#include "WriteBitmapFile.h"

#include "CByteBuffer.h"
#include "CPosixFile.h"
#include "GetDIBits.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool Fail(std::string* error, const std::string& path, const std::string& reason)
{
    if (error != nullptr) {
        *error = "Cannot write " + path + ": " + reason;
    }
    return false;
}

// A name beside `target` that no other writer uses.
std::string TempName(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    return target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

} // namespace

bool BitmapFileBytes(CBitmapInfo& info, const CBitmap& bitmap, std::vector<uint8_t>& bytes, std::string* reason)
{
    std::vector<uint8_t> pixels;
    if (!GetDIBits(bitmap, info, pixels, reason)) {
        return false;
    }
    const std::vector<uint8_t> block = info.Block();
    const uint64_t offset = 14 + block.size();
    const uint64_t fileSize = offset + pixels.size();
    if (fileSize > UINT32_MAX) {
        if (reason != nullptr) {
            *reason = "the image is too large for a bitmap file";
        }
        return false;
    }
    CByteBuffer fileHeader;
    fileHeader.U8('B');
    fileHeader.U8('M');
    fileHeader.U32(static_cast<uint32_t>(fileSize));
    fileHeader.U16(0);
    fileHeader.U16(0);
    fileHeader.U32(static_cast<uint32_t>(offset));
    bytes.assign(fileHeader.Data(), fileHeader.Data() + fileHeader.Size());
    bytes.insert(bytes.end(), block.begin(), block.end());
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return true;
}

bool WriteBitmapFile(const std::string& path, CBitmapInfo& info, const CBitmap& bitmap, std::string* error)
{
    CByteVector pixels;
    std::string reason;
    if (!GetDIBits(bitmap, info, pixels, &reason)) {
        return Fail(error, path, reason);
    }
    return WriteBitmapFile(path, info, pixels.data(), pixels.size(), error);
}

bool WriteBitmapFile(const std::string& path, const CBitmapInfo& info, const uint8_t* pixels, size_t size,
                     std::string* error)
{
    const std::vector<uint8_t> block = info.Block();
    const uint64_t offset = 14 + block.size();
    const uint64_t fileSize = offset + size;
    if (fileSize > UINT32_MAX) {
        return Fail(error, path, "the image is too large for a bitmap file");
    }
    CByteBuffer fileHeader;
    fileHeader.U8('B');
    fileHeader.U8('M');
    fileHeader.U32(static_cast<uint32_t>(fileSize));
    fileHeader.U16(0);
    fileHeader.U16(0);
    fileHeader.U32(static_cast<uint32_t>(offset));

    // A device (or other special file) is written in place; anything else
    // goes through a temporary file renamed over the target when complete.
    // A symbolic link is followed, so the file it names is replaced.
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        std::error_code ec;
        const std::filesystem::path resolved = std::filesystem::canonical(path, ec);
        if (!ec) {
            target = resolved.string();
        }
    }
    const bool inPlace = ::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
    const std::string writePath = inPlace ? target : TempName(target);

    CPosixFile file;
    int err = inPlace ? file.Open(writePath, CPosixFile::kWriteExisting) : file.Open(writePath, CPosixFile::kCreateNew);
    if (err == 0 && !file.Write(fileHeader.Data(), fileHeader.Size())) {
        err = file.Error();
    }
    if (err == 0 && !file.Write(block.data(), block.size())) {
        err = file.Error();
    }
    if (err == 0 && !file.Write(pixels, size)) {
        err = file.Error();
    }
    const int closeErr = file.Close();
    if (err == 0) {
        err = closeErr;
    }
    if (err == 0 && !inPlace && ::rename(writePath.c_str(), target.c_str()) != 0) {
        err = errno;
    }
    if (err != 0) {
        if (!inPlace) {
            ::unlink(writePath.c_str());
        }
        return Fail(error, path, std::strerror(err));
    }
    return true;
}
