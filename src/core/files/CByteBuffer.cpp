#include "CByteBuffer.h"

void CByteBuffer::U16(uint16_t v)
{
    m_bytes.push_back(static_cast<uint8_t>(v));
    m_bytes.push_back(static_cast<uint8_t>(v >> 8));
}

void CByteBuffer::U32(uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        m_bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

void CByteBuffer::U64(uint64_t v)
{
    for (int i = 0; i < 8; ++i) {
        m_bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

void CByteBuffer::FourCC(std::string_view fourcc)
{
    U32(FourCCValue(fourcc));
}

void CByteBuffer::Bytes(const void* data, size_t size)
{
    const auto* p = static_cast<const uint8_t*>(data);
    m_bytes.insert(m_bytes.end(), p, p + size);
}

void CByteBuffer::PatchU32(size_t at, uint32_t v)
{
    for (size_t i = 0; i < 4; ++i) {
        m_bytes.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
    }
}

uint32_t CByteBuffer::FourCCValue(std::string_view fourcc)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) {
        const uint8_t c = i < fourcc.size() ? static_cast<uint8_t>(fourcc[i]) : ' ';
        v |= static_cast<uint32_t>(c) << (8 * i);
    }
    return v;
}
