#include "CAviFile.h"

#include "AVIERR.h"
#include "files/CByteBuffer.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {

constexpr uint32_t AVIF_HASINDEX = 0x10;
constexpr uint32_t AVIF_ISINTERLEAVED = 0x100;
constexpr uint8_t AVI_INDEX_OF_INDEXES = 0x00;
constexpr uint8_t AVI_INDEX_OF_CHUNKS = 0x01;

constexpr uint32_t kAvihSize = 56;
constexpr uint32_t kStrhSize = 56;
constexpr uint32_t kSuperIndexSize = 24 + 16 * CAviFile::kMaxParts;
constexpr uint32_t kDmlhSize = 248;
constexpr uint32_t kOdmlListSize = 4 + 8 + kDmlhSize;
constexpr uint32_t kStdIndexHeader = 24;

// Offsets of the fields patched when the file is completed.
constexpr uint64_t kAvihMaxBytesPerSec = 4;
constexpr uint64_t kAvihTotalFrames = 16;
constexpr uint64_t kAvihSuggestedBuffer = 28;
constexpr uint64_t kStrhLength = 32;

} // namespace

int CAviFile::Create(const std::string& path)
{
    m_strPath = path;
    m_nError = 0;
    return m_out.Create(path, CReplacingFile::Durability::kUnflushed);
}

bool CAviFile::Put(const void* data, size_t size)
{
    return File().Write(data, size);
}

bool CAviFile::PatchU32(uint64_t position, uint32_t value)
{
    CByteBuffer b;
    b.U32(value);
    return File().WriteAt(position, b.Data(), b.Size());
}

bool CAviFile::Begin(const Stream& stream)
{
    m_stream = stream;
    m_nChunkId = CByteBuffer::FourCCValue(stream.compressed ? "00dc" : "00db");
    if (!File().Truncate(0)) {
        return false;
    }
    // A video is written once from start to end, a few megabytes a frame.
    File().PreferDirect();
    CByteBuffer b;
    b.FourCC("RIFF");
    b.U32(0);
    b.FourCC("AVI ");
    b.FourCC("LIST");
    const size_t hdrlSizeAt = b.Size();
    b.U32(0);
    b.FourCC("hdrl");

    b.FourCC("avih");
    b.U32(kAvihSize);
    m_posAvih = b.Size();
    b.U32(stream.rate != 0 ? 1000000u / stream.rate : 0); // microseconds per frame
    b.U32(0);                                             // maximum bytes per second
    b.U32(0);                                             // padding granularity
    b.U32(AVIF_HASINDEX | AVIF_ISINTERLEAVED);
    b.U32(0); // frames in the first part
    b.U32(0); // initial frames
    b.U32(1); // streams
    b.U32(stream.suggestedBufferSize);
    b.I32(stream.width);
    b.I32(stream.height);
    b.Zeros(16);

    b.FourCC("LIST");
    const size_t strlSizeAt = b.Size();
    b.U32(0);
    b.FourCC("strl");
    b.FourCC("strh");
    b.U32(kStrhSize);
    m_posStrh = b.Size();
    b.FourCC("vids");
    b.U32(0); // handler
    b.U32(0); // flags
    b.U16(0); // priority
    b.U16(0); // language
    b.U32(0); // initial frames
    b.U32(1); // scale
    b.U32(stream.rate);
    b.U32(0); // start
    b.U32(0); // length, in frames
    b.U32(stream.suggestedBufferSize);
    b.U32(0); // quality
    b.U32(0); // sample size
    b.U16(0); // frame rectangle: left, top, right, bottom
    b.U16(0);
    b.U16(static_cast<uint16_t>(stream.width));
    b.U16(static_cast<uint16_t>(stream.height));

    b.FourCC("strf");
    b.U32(static_cast<uint32_t>(stream.format.size()));
    b.Bytes(stream.format.data(), stream.format.size());
    if (stream.format.size() % 2 != 0) {
        b.U8(0);
    }
    m_posIndx = b.Size();
    b.FourCC("JUNK");
    b.U32(kSuperIndexSize);
    b.Zeros(kSuperIndexSize);
    b.PatchU32(strlSizeAt, static_cast<uint32_t>(b.Size() - strlSizeAt - 4));

    m_posOdml = b.Size();
    b.FourCC("JUNK");
    b.U32(kOdmlListSize);
    b.Zeros(kOdmlListSize);
    b.PatchU32(hdrlSizeAt, static_cast<uint32_t>(b.Size() - hdrlSizeAt - 4));

    m_posRiff = 0;
    m_posMovi = b.Size();
    b.FourCC("LIST");
    b.U32(0);
    b.FourCC("movi");
    m_nPart = 0;
    m_entries.clear();
    m_parts.clear();
    m_nFrames = 0;
    m_nFramesFirstPart = 0;
    m_nLargestChunk = 0;
    return Put(b.Data(), b.Size());
}

uint64_t CAviFile::PartSizeWith(uint64_t chunkBytes) const
{
    const uint64_t frames = m_entries.size() + 1;
    uint64_t closing = 8 + kStdIndexHeader + 8 * frames; // 'ix00'
    if (m_nPart == 0) {
        closing += 8 + 16 * frames; // idx1
    }
    return File().Position() - m_posRiff + chunkBytes + closing;
}

bool CAviFile::WriteFrame(const void* data, uint32_t size)
{
    if (!File().IsOpen()) {
        m_nError = m_nError != 0 ? m_nError : EBADF;
        return false;
    }
    if (Error() != 0) {
        return false;
    }
    const uint64_t chunkBytes = 8 + uint64_t{size} + size % 2;
    if (!m_entries.empty() && PartSizeWith(chunkBytes) > m_nLimit) {
        // This part's index entry and the next part's must fit the super
        // index; when they do not, the file ends here, complete.
        if (m_parts.size() + 2 > kMaxParts) {
            m_nError = EFBIG;
            return false;
        }
        if (!NextPart()) {
            return false;
        }
    }
    const uint64_t position = File().Position();
    CByteBuffer header;
    header.U32(m_nChunkId);
    header.U32(size);
    const uint8_t pad = 0;
    if (!Put(header.Data(), header.Size()) || !Put(data, size) || (size % 2 != 0 && !Put(&pad, 1))) {
        // Keep the file ending at the last whole frame.
        File().Truncate(position);
        return false;
    }
    m_entries.push_back({position, size});
    ++m_nFrames;
    if (m_nPart == 0) {
        ++m_nFramesFirstPart;
    }
    m_nLargestChunk = std::max(m_nLargestChunk, size);
    return true;
}

bool CAviFile::WriteStandardIndex()
{
    const auto count = static_cast<uint32_t>(m_entries.size());
    CByteBuffer b;
    b.FourCC("ix00");
    b.U32(kStdIndexHeader + 8 * count);
    b.U16(2); // longs per entry
    b.U8(0);  // index sub-type
    b.U8(AVI_INDEX_OF_CHUNKS);
    b.U32(count);
    b.U32(m_nChunkId);
    b.U64(m_posMovi); // base offset
    b.U32(0);
    for (const Entry& e : m_entries) {
        // Offset of the chunk data from the base; the high bit clear marks
        // a key frame.
        b.U32(static_cast<uint32_t>(e.position + 8 - m_posMovi));
        b.U32(e.size);
    }
    const uint64_t position = File().Position();
    if (!Put(b.Data(), b.Size())) {
        return false;
    }
    m_parts.push_back({position, static_cast<uint32_t>(b.Size()), count});
    return true;
}

bool CAviFile::WriteOldIndex()
{
    CByteBuffer b;
    b.FourCC("idx1");
    b.U32(static_cast<uint32_t>(16 * m_entries.size()));
    const uint64_t moviData = m_posMovi + 8; // offsets count from the 'movi' identifier
    for (const Entry& e : m_entries) {
        b.U32(m_nChunkId);
        b.U32(AVIIF_KEYFRAME);
        b.U32(static_cast<uint32_t>(e.position - moviData));
        b.U32(e.size);
    }
    return Put(b.Data(), b.Size());
}

bool CAviFile::EndList(uint64_t listPosition)
{
    return PatchU32(listPosition + 4, static_cast<uint32_t>(File().Position() - listPosition - 8));
}

bool CAviFile::NextPart()
{
    // Nothing of the object changes until the new part has begun: a failed
    // write cuts the file back to the end of the last frame, where Finish
    // can still complete the part that was open.
    const uint64_t end = File().Position();
    const size_t parts = m_parts.size();
    bool ok = WriteStandardIndex() && EndList(m_posMovi);
    if (ok && m_nPart == 0) {
        ok = WriteOldIndex();
    }
    ok = ok && EndList(m_posRiff);
    const uint64_t riff = File().Position();
    CByteBuffer b;
    b.FourCC("RIFF");
    b.U32(0);
    b.FourCC("AVIX");
    b.FourCC("LIST");
    b.U32(0);
    b.FourCC("movi");
    ok = ok && Put(b.Data(), b.Size());
    if (!ok) {
        m_nError = File().Error() != 0 ? File().Error() : EIO;
        m_parts.resize(parts);
        File().Truncate(end);
        return false;
    }
    ++m_nPart;
    m_entries.clear();
    m_posRiff = riff;
    m_posMovi = m_posRiff + 12;
    return true;
}

bool CAviFile::PatchHeaders()
{
    const uint64_t perSecond = uint64_t{m_nLargestChunk} * m_stream.rate;
    bool ok =
        PatchU32(m_posAvih + kAvihMaxBytesPerSec, static_cast<uint32_t>(std::min<uint64_t>(perSecond, UINT32_MAX)));
    ok = ok && PatchU32(m_posAvih + kAvihTotalFrames, m_nFramesFirstPart);
    ok = ok && PatchU32(m_posAvih + kAvihSuggestedBuffer, std::max(m_stream.suggestedBufferSize, m_nLargestChunk));
    ok = ok && PatchU32(m_posStrh + kStrhLength, m_nFrames);
    if (!ok || m_nPart == 0) {
        return ok;
    }
    CByteBuffer indx;
    indx.FourCC("indx");
    indx.U32(kSuperIndexSize);
    indx.U16(4); // longs per entry
    indx.U8(0);  // index sub-type
    indx.U8(AVI_INDEX_OF_INDEXES);
    indx.U32(static_cast<uint32_t>(m_parts.size()));
    indx.U32(m_nChunkId);
    indx.Zeros(12);
    for (const PartIndex& p : m_parts) {
        indx.U64(p.position);
        indx.U32(p.size);
        indx.U32(p.frames);
    }
    CByteBuffer odml;
    odml.FourCC("LIST");
    odml.U32(kOdmlListSize);
    odml.FourCC("odml");
    odml.FourCC("dmlh");
    odml.U32(kDmlhSize);
    odml.U32(m_nFrames);
    return File().WriteAt(m_posIndx, indx.Data(), indx.Size()) && File().WriteAt(m_posOdml, odml.Data(), odml.Size());
}

bool CAviFile::CloseParts()
{
    if (m_nPart > 0) {
        return WriteStandardIndex() && EndList(m_posMovi) && EndList(m_posRiff) && PatchHeaders();
    }
    return EndList(m_posMovi) && WriteOldIndex() && EndList(m_posRiff) && PatchHeaders();
}

bool CAviFile::Finish()
{
    if (!File().IsOpen()) {
        return false;
    }
    // Whatever failed before, the frames written so far make a complete
    // file when the closing writes succeed (each write reports its own
    // success; the file's error number keeps the first failure). A closing
    // write that fails is tried once more from the end of the last frame.
    const uint64_t end = File().Position();
    const size_t parts = m_parts.size();
    bool ok = CloseParts();
    if (!ok) {
        m_parts.resize(parts);
        ok = File().Truncate(end) && CloseParts();
    }
    if (!ok) {
        if (m_nError == 0) {
            m_nError = File().Error() != 0 ? File().Error() : EIO;
        }
        m_out.Abandon();
        return false;
    }
    const int committed = m_out.Commit();
    if (committed != 0) {
        if (m_nError == 0) {
            m_nError = committed;
        }
        return false;
    }
    return true;
}

void CAviFile::Discard()
{
    m_out.Abandon();
}
