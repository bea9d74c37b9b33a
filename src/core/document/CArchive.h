#pragma once

#include "message/CMessage.h"
#include "message/CText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Byte-level reader and writer of the project file: little-endian 32-bit
// integers and length-prefixed strings. A storing archive collects the bytes
// in memory; a loading archive reads from a byte range it does not own.
//
// Errors are sticky: the first failed read records why, later reads return
// zero or an empty string and leave the position alone. Nothing throws.
class CArchive {
public:
    enum Mode : uint32_t { store = 0, load = 1 };

    enum class Error {
        kNone,
        kEndOfFile,      // a read ran past the end of the data
        kLengthTooLarge, // a 64-bit string length beyond the largest int32
        kLengthPastEnd,  // a string longer than what is left of the data
        kBeyondLimits,   // counts beyond what the reader takes (GetDetail says which)
    };

    // A storing archive with an empty buffer.
    CArchive();
    // A loading archive over data[0, size); the bytes must outlive it.
    CArchive(const uint8_t* data, size_t size);

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }

    // Storing.
    CArchive& operator<<(int32_t value);
    // A narrow string: its bytes as they are, after the shortest length prefix.
    CArchive& operator<<(std::string_view text);
    CArchive& operator<<(const std::string& text) { return *this << std::string_view(text); }
    CArchive& operator<<(const char* text) { return *this << std::string_view(text); }
    // A wide string: the wide marker, the length in UTF-16 code units and the
    // code units little-endian. The project writer never uses it; readers
    // must accept it.
    void WriteWideString(std::u16string_view text);
    const std::vector<uint8_t>& GetBuffer() const { return m_buffer; }

    // Loading.
    CArchive& operator>>(int32_t& value);
    // Either string form; a wide string arrives converted to UTF-8.
    CArchive& operator>>(std::string& text);
    // The same for a string of at most maxBytes bytes (in UTF-8): a longer
    // one is a kBeyondLimits error with `beyond` as its detail, found before
    // anything is allocated for it.
    void ReadString(std::string& text, size_t maxBytes, CMessage beyond);
    size_t GetRemaining() const { return m_size - m_pos; }
    size_t GetPosition() const { return m_pos; }
    const uint8_t* GetData() const { return m_data; }
    // Passes over n bytes (an end-of-file error when fewer are left).
    void Skip(size_t n);

    bool HasFailed() const { return m_error != Error::kNone; }
    Error GetError() const { return m_error; }
    // Records an error found by a caller (for example a count that cannot
    // fit in what is left of the data). The first error recorded stays.
    void Fail(Error error, CMessage detail = CMessage());
    // What the first error recorded said about itself, if anything.
    const CMessage& GetDetail() const { return m_detail; }
    // The detail of kLengthTooLarge: %1 the largest length.
    static constexpr const char* kLengthTooLargeText = TRV_TEXT("CoreText", "项目中的字符串长度超过了 %1 字节的上限。");

private:
    bool Take(size_t n, const uint8_t*& bytes);
    uint64_t ReadUnsigned(size_t width);
    void WriteUnsigned(uint64_t value, size_t width);
    void WriteLength(uint64_t length);
    bool ReadLength(uint64_t& length, bool& wide);

    Mode m_mode;
    std::vector<uint8_t> m_buffer;
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_pos = 0;
    Error m_error = Error::kNone;
    CMessage m_detail;
};
