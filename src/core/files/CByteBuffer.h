#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Little-endian byte assembly for the file formats: appends fields in file
// order and patches fields already written.
class CByteBuffer {
public:
    void U8(uint8_t v) { m_bytes.push_back(v); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void U64(uint64_t v);
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    // Four characters, as RIFF chunk and list identifiers.
    void FourCC(std::string_view fourcc);
    void Bytes(const void* data, size_t size);
    void Zeros(size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }

    void PatchU32(size_t at, uint32_t v);

    size_t Size() const { return m_bytes.size(); }
    const uint8_t* Data() const { return m_bytes.data(); }
    std::vector<uint8_t>& Vector() { return m_bytes; }
    void Clear() { m_bytes.clear(); }

    // The value of a four-character code as a 32-bit little-endian field.
    static uint32_t FourCCValue(std::string_view fourcc);

private:
    std::vector<uint8_t> m_bytes;
};
