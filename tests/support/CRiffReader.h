#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads a RIFF file into a tree of chunks, checking that every chunk lies
// within its parent. Used to check the video writer's files independently
// of the writer's code.
class CRiffReader {
public:
    struct Chunk {
        std::string id;       // chunk identifier ("RIFF", "LIST", "00db", ...)
        std::string listType; // for RIFF and LIST: the form or list type
        uint64_t offset = 0;  // of the chunk header in the file
        uint32_t size = 0;    // the chunk's size field
        std::vector<Chunk> children;

        uint64_t DataOffset() const { return offset + 8; }
        // Children with this identifier (or list type, for lists).
        std::vector<const Chunk*> All(const std::string& name) const;
        const Chunk* Find(const std::string& name) const;
    };

    // Parses `bytes`; false with a reason in Error() when the structure is broken.
    bool Parse(const std::vector<uint8_t>& bytes);
    const std::vector<Chunk>& Top() const { return m_top; }
    const std::string& Error() const { return m_error; }

    static uint16_t U16(const std::vector<uint8_t>& b, uint64_t at);
    static uint32_t U32(const std::vector<uint8_t>& b, uint64_t at);
    static uint64_t U64(const std::vector<uint8_t>& b, uint64_t at);
    static std::string FourCC(const std::vector<uint8_t>& b, uint64_t at);

private:
    bool ParseRange(const std::vector<uint8_t>& b, uint64_t begin, uint64_t end, std::vector<Chunk>& out);

    std::vector<Chunk> m_top;
    std::string m_error;
};
