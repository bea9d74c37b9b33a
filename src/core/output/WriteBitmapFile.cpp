#include "WriteBitmapFile.h"

#include "CByteBuffer.h"
#include "CReplacingFile.h"
#include "GetDIBits.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

bool Fail(std::string* error, const std::string& path, const std::string& reason)
{
    if (error != nullptr) {
        *error = "Cannot write " + path + ": " + reason;
    }
    return false;
}

} // namespace

bool WriteBitmapFile(const std::string& path, CBitmapInfo& info, const CBitmap& bitmap, std::string* error)
{
    std::vector<uint8_t> pixels;
    std::string reason;
    if (!GetDIBits(bitmap, info, pixels, &reason)) {
        return Fail(error, path, reason);
    }
    const std::vector<uint8_t> block = info.Block();
    const uint64_t offset = 14 + block.size();
    const uint64_t fileSize = offset + pixels.size();
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

    CReplacingFile file;
    int err = file.Create(path);
    CPosixFile& out = file.File();
    if (err == 0 && !(out.Write(fileHeader.Data(), fileHeader.Size()) && out.Write(block.data(), block.size()) &&
                      out.Write(pixels.data(), pixels.size()))) {
        err = out.Error();
    }
    if (err == 0) {
        err = file.Commit();
    }
    if (err != 0) {
        file.Abandon();
        return Fail(error, path, std::strerror(err));
    }
    return true;
}
