#include "WriteBitmapFile.h"

#include "files/CByteBuffer.h"
#include "files/CReplacingFile.h"
#include "GetDIBits.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr const char* kTooLarge = "the image is too large for a bitmap file";

// The file at `path` could not be written, for `reason`.
CMessage Fail(const std::string& path, const CMessage& reason)
{
    return CMessage::Plain("Cannot write " + path + ": ").Append(reason);
}

// The 14-byte BITMAPFILEHEADER of a file of `fileSize` bytes whose pixels
// start at `offset`.
CByteBuffer FileHeader(uint64_t fileSize, uint64_t offset)
{
    CByteBuffer header;
    header.U8('B');
    header.U8('M');
    header.U32(static_cast<uint32_t>(fileSize));
    header.U16(0);
    header.U16(0);
    header.U32(static_cast<uint32_t>(offset));
    return header;
}

} // namespace

CMessage BitmapFileBytes(CBitmapInfo& info, const CBitmap& bitmap, CByteVector& pixels, std::vector<uint8_t>& bytes)
{
    if (CMessage reason = GetDIBits(bitmap, info, pixels); !reason.IsEmpty()) {
        return reason;
    }
    const std::vector<uint8_t> block = info.Block();
    const uint64_t offset = 14 + block.size();
    const uint64_t fileSize = offset + pixels.size();
    if (fileSize > UINT32_MAX) {
        return CMessage::Plain(kTooLarge);
    }
    const CByteBuffer fileHeader = FileHeader(fileSize, offset);
    bytes.assign(fileHeader.Data(), fileHeader.Data() + fileHeader.Size());
    bytes.insert(bytes.end(), block.begin(), block.end());
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return CMessage();
}

CMessage WriteBitmapFile(const std::string& path, CBitmapInfo& info, const CBitmap& bitmap)
{
    CByteVector pixels;
    if (CMessage reason = GetDIBits(bitmap, info, pixels); !reason.IsEmpty()) {
        return Fail(path, reason);
    }
    return WriteBitmapFile(path, info, pixels.data(), pixels.size());
}

CMessage WriteBitmapFile(const std::string& path, const CBitmapInfo& info, const uint8_t* pixels, size_t size)
{
    const std::vector<uint8_t> block = info.Block();
    const uint64_t offset = 14 + block.size();
    const uint64_t fileSize = offset + size;
    if (fileSize > UINT32_MAX) {
        return Fail(path, CMessage::Plain(kTooLarge));
    }
    const CByteBuffer fileHeader = FileHeader(fileSize, offset);

    CReplacingFile file;
    int err = file.Create(path, CReplacingFile::Durability::kUnflushed);
    if (err == 0 && !file.File().Write(fileHeader.Data(), fileHeader.Size())) {
        err = file.File().Error();
    }
    if (err == 0 && !file.File().Write(block.data(), block.size())) {
        err = file.File().Error();
    }
    if (err == 0 && !file.File().Write(pixels, size)) {
        err = file.File().Error();
    }
    if (err == 0) {
        err = file.Commit();
    }
    if (err != 0) {
        file.Abandon();
        return Fail(path, CMessage::Plain(std::strerror(err), err));
    }
    return CMessage();
}
