#pragma once

#include "files/CReplacingFile.h"

#include <cstdint>
#include <string>
#include <vector>

// The RIFF container of a video file with one video stream.
//
// Layout: RIFF 'AVI ' { LIST 'hdrl' { avih, LIST 'strl' { strh, strf,
// super index }, LIST 'odml' { dmlh } }, LIST 'movi' { frame chunks },
// idx1 }. While the file stays within one RIFF part it is a plain AVI 1.0
// file and the super index and the odml list are JUNK placeholders. A frame
// that would take the part past the limit closes it (standard index chunk
// 'ix00' in its movi list, then idx1, which covers the first part only) and
// opens an extension part RIFF 'AVIX' { LIST 'movi' { frames, 'ix00' } }.
// Finish then turns the placeholders into the super index 'indx', which
// lists every part's 'ix00', and the odml list, whose dmlh holds the total
// frame count (OpenDML, AVI 2.0).
class CAviFile {
public:
    struct Stream {
        uint32_t rate = 0; // frames per second (the scale is 1)
        int32_t width = 0;
        int32_t height = 0;
        uint32_t suggestedBufferSize = 0; // stream header value
        std::vector<uint8_t> format;      // stream format (strf)
        bool compressed = false;          // chunks '00dc' rather than '00db'
    };

    // Super index entries reserved in the header: the most RIFF parts a
    // file can have.
    static constexpr uint32_t kMaxParts = 256;
    static constexpr uint64_t kDefaultLimit = uint64_t{1} << 30;

    CAviFile() = default;
    CAviFile(const CAviFile&) = delete;
    CAviFile& operator=(const CAviFile&) = delete;

    // Creates the file that will replace `path` once finished (see
    // CReplacingFile): until Finish, whatever is at `path` stays as it was.
    // 0 or the system's error number (EISDIR for a folder at the path).
    int Create(const std::string& path);
    // Largest size in bytes of one RIFF part (a part holds at least one frame).
    void SetPartLimit(uint64_t bytes) { m_nLimit = bytes; }

    // Cuts the file to nothing and writes the headers.
    bool Begin(const Stream& stream);
    // Appends one key frame. After a failed write (of the frame or of the
    // change to a new part) the file is cut back to the end of the frame
    // before it and every later write fails.
    bool WriteFrame(const void* data, uint32_t size);
    // Writes the indexes, completes the headers and renames the file over
    // the path: the frames written before any failure make a complete,
    // playable file. Returns false when the file could not be completed; it
    // is then removed and the path keeps what it held.
    bool Finish();
    // Closes and removes the unfinished file; the path keeps what it held.
    void Discard();

    bool IsOpen() const { return m_out.IsOpen(); }
    // The first error number of the file, 0 when every write succeeded.
    int Error() const { return m_nError != 0 ? m_nError : m_out.File().Error(); }
    uint32_t Frames() const { return m_nFrames; }
    uint32_t Parts() const { return m_nPart + 1; }

private:
    struct Entry {
        uint64_t position; // of the chunk header
        uint32_t size;     // of the chunk data
    };
    struct PartIndex {
        uint64_t position; // of the 'ix00' chunk header
        uint32_t size;     // of the whole chunk
        uint32_t frames;
    };

    bool Put(const void* data, size_t size);
    bool PatchU32(uint64_t position, uint32_t value);
    uint64_t PartSizeWith(uint64_t chunkBytes) const;
    bool NextPart();
    bool WriteStandardIndex();
    bool WriteOldIndex();
    bool EndList(uint64_t listPosition);
    bool PatchHeaders();
    bool CloseParts();

    CPosixFile& File() { return m_out.File(); }
    const CPosixFile& File() const { return m_out.File(); }

    CReplacingFile m_out;
    std::string m_strPath;
    int m_nError = 0;
    uint64_t m_nLimit = kDefaultLimit;

    Stream m_stream;
    uint32_t m_nChunkId = 0;
    uint64_t m_posAvih = 0; // data of avih
    uint64_t m_posStrh = 0; // data of strh
    uint64_t m_posIndx = 0; // super index placeholder chunk
    uint64_t m_posOdml = 0; // odml placeholder chunk

    uint32_t m_nPart = 0;
    uint64_t m_posRiff = 0;       // 'RIFF' of the current part
    uint64_t m_posMovi = 0;       // 'LIST' of the current movi list
    std::vector<Entry> m_entries; // frames of the current part
    std::vector<PartIndex> m_parts;

    uint32_t m_nFrames = 0;
    uint32_t m_nFramesFirstPart = 0;
    uint32_t m_nLargestChunk = 0;
};
