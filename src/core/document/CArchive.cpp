#include "CArchive.h"

#include <limits>

namespace {

constexpr uint8_t kByteEscape = 0xFF;
constexpr uint16_t kWideMarker = 0xFFFE;
constexpr uint16_t kWordEscape = 0xFFFF;
constexpr uint32_t kDwordEscape = 0xFFFFFFFF;

void AppendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// UTF-16 little-endian code units to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16LeToUtf8(const uint8_t* bytes, size_t units)
{
    std::string out;
    out.reserve(units);
    auto unit = [bytes](size_t i) { return static_cast<uint32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)); };
    for (size_t i = 0; i < units; ++i) {
        const uint32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const uint32_t v = unit(i + 1);
            if (v >= 0xDC00 && v <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
    }
    return out;
}

} // namespace

CArchive::CArchive() : m_mode(store) {}

CArchive::CArchive(const uint8_t* data, size_t size) : m_mode(load), m_data(data), m_size(data ? size : 0) {}

void CArchive::Fail(Error error, CMessage detail)
{
    if (m_error == Error::kNone) {
        m_error = error;
        m_detail = std::move(detail);
    }
}

void CArchive::Skip(size_t n)
{
    const uint8_t* bytes = nullptr;
    Take(n, bytes);
}

void CArchive::WriteUnsigned(uint64_t value, size_t width)
{
    for (size_t i = 0; i < width; ++i) {
        m_buffer.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

CArchive& CArchive::operator<<(int32_t value)
{
    WriteUnsigned(static_cast<uint32_t>(value), 4);
    return *this;
}

void CArchive::WriteLength(uint64_t length)
{
    if (length < kByteEscape) {
        WriteUnsigned(length, 1);
        return;
    }
    WriteUnsigned(kByteEscape, 1);
    if (length < kWideMarker) {
        WriteUnsigned(length, 2);
        return;
    }
    WriteUnsigned(kWordEscape, 2);
    if (length < kDwordEscape) {
        WriteUnsigned(length, 4);
        return;
    }
    WriteUnsigned(kDwordEscape, 4);
    WriteUnsigned(length, 8);
}

CArchive& CArchive::operator<<(std::string_view text)
{
    WriteLength(text.size());
    m_buffer.insert(m_buffer.end(), text.begin(), text.end());
    return *this;
}

void CArchive::WriteWideString(std::u16string_view text)
{
    WriteUnsigned(kByteEscape, 1);
    WriteUnsigned(kWideMarker, 2);
    WriteLength(text.size());
    for (char16_t c : text) {
        WriteUnsigned(c, 2);
    }
}

bool CArchive::Take(size_t n, const uint8_t*& bytes)
{
    if (HasFailed()) {
        return false;
    }
    if (n > GetRemaining()) {
        Fail(Error::kEndOfFile);
        return false;
    }
    bytes = m_data + m_pos;
    m_pos += n;
    return true;
}

uint64_t CArchive::ReadUnsigned(size_t width)
{
    const uint8_t* bytes = nullptr;
    if (!Take(width, bytes)) {
        return 0;
    }
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) {
        value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    }
    return value;
}

CArchive& CArchive::operator>>(int32_t& value)
{
    value = static_cast<int32_t>(static_cast<uint32_t>(ReadUnsigned(4)));
    return *this;
}

// The prefix: one byte below 0xFF; else a uint16 below 0xFFFF (0xFFFE first
// time round marks a wide string, whose own prefix follows); else a uint32
// below 0xFFFFFFFF; else a uint64, which must fit a non-negative int32.
bool CArchive::ReadLength(uint64_t& length, bool& wide)
{
    wide = false;
    length = ReadUnsigned(1);
    if (HasFailed() || length < kByteEscape) {
        return !HasFailed();
    }
    length = ReadUnsigned(2);
    if (!HasFailed() && length == kWideMarker) {
        wide = true;
        length = ReadUnsigned(1);
        if (HasFailed() || length < kByteEscape) {
            return !HasFailed();
        }
        length = ReadUnsigned(2);
    }
    if (HasFailed() || length < kWordEscape) {
        return !HasFailed();
    }
    length = ReadUnsigned(4);
    if (HasFailed() || length < kDwordEscape) {
        return !HasFailed();
    }
    length = ReadUnsigned(8);
    if (HasFailed()) {
        return false;
    }
    if (length > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
        Fail(Error::kLengthTooLarge, CMessage(kLengthTooLargeText, {std::numeric_limits<int32_t>::max()}));
        return false;
    }
    return true;
}

CArchive& CArchive::operator>>(std::string& text)
{
    ReadString(text, std::numeric_limits<size_t>::max(), CMessage());
    return *this;
}

void CArchive::ReadString(std::string& text, size_t maxBytes, CMessage beyond)
{
    text.clear();
    uint64_t length = 0;
    bool wide = false;
    if (!ReadLength(length, wide)) {
        return;
    }
    // Checked before anything is allocated: a hostile length costs nothing
    // (a wide string takes at least a byte of UTF-8 for each code unit).
    const uint64_t bytes = wide ? 2 * length : length;
    if (bytes > GetRemaining()) {
        Fail(Error::kLengthPastEnd);
        return;
    }
    if (length > maxBytes) {
        Fail(Error::kBeyondLimits, std::move(beyond));
        return;
    }
    const uint8_t* data = nullptr;
    Take(static_cast<size_t>(bytes), data);
    if (wide) {
        text = Utf16LeToUtf8(data, static_cast<size_t>(length));
    } else {
        text.assign(reinterpret_cast<const char*>(data), static_cast<size_t>(bytes));
    }
    if (text.size() > maxBytes) {
        text.clear();
        Fail(Error::kBeyondLimits, std::move(beyond));
    }
}
