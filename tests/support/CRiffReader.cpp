#include "CRiffReader.h"

std::vector<const CRiffReader::Chunk*> CRiffReader::Chunk::All(const std::string& name) const
{
    std::vector<const Chunk*> out;
    for (const Chunk& c : children) {
        if (c.id == name || (!c.listType.empty() && c.listType == name)) {
            out.push_back(&c);
        }
    }
    return out;
}

const CRiffReader::Chunk* CRiffReader::Chunk::Find(const std::string& name) const
{
    const auto all = All(name);
    return all.empty() ? nullptr : all.front();
}

uint16_t CRiffReader::U16(const std::vector<uint8_t>& b, uint64_t at)
{
    return static_cast<uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}

uint32_t CRiffReader::U32(const std::vector<uint8_t>& b, uint64_t at)
{
    return static_cast<uint32_t>(U16(b, at)) | (static_cast<uint32_t>(U16(b, at + 2)) << 16);
}

uint64_t CRiffReader::U64(const std::vector<uint8_t>& b, uint64_t at)
{
    return static_cast<uint64_t>(U32(b, at)) | (static_cast<uint64_t>(U32(b, at + 4)) << 32);
}

std::string CRiffReader::FourCC(const std::vector<uint8_t>& b, uint64_t at)
{
    std::string s;
    for (uint64_t i = 0; i < 4; ++i) {
        s.push_back(static_cast<char>(b.at(at + i)));
    }
    return s;
}

bool CRiffReader::Parse(const std::vector<uint8_t>& bytes)
{
    m_top.clear();
    m_error.clear();
    return ParseRange(bytes, 0, bytes.size(), m_top);
}

bool CRiffReader::ParseRange(const std::vector<uint8_t>& b, uint64_t begin, uint64_t end, std::vector<Chunk>& out)
{
    uint64_t at = begin;
    while (at < end) {
        if (end - at < 8) {
            m_error = "truncated chunk header at " + std::to_string(at);
            return false;
        }
        Chunk c;
        c.id = FourCC(b, at);
        c.offset = at;
        c.size = U32(b, at + 4);
        const uint64_t dataEnd = at + 8 + c.size;
        if (dataEnd > end) {
            m_error = "chunk " + c.id + " at " + std::to_string(at) + " runs past its parent";
            return false;
        }
        if (c.id == "RIFF" || c.id == "LIST") {
            if (c.size < 4) {
                m_error = "list without a type at " + std::to_string(at);
                return false;
            }
            c.listType = FourCC(b, at + 8);
            if (!ParseRange(b, at + 12, dataEnd, c.children)) {
                return false;
            }
        }
        out.push_back(std::move(c));
        at = dataEnd + c.size % 2; // chunks are word-aligned
    }
    return true;
}
