#include "AllocationProbe.h"
#include "document/CArchive.h"
#include "support/DocTestSupport.h"

#include <gtest/gtest.h>

using doctest::Hex;

namespace {

std::vector<uint8_t> Stored(const std::string& text)
{
    CArchive ar;
    ar << text;
    return ar.GetBuffer();
}

std::string Loaded(const std::vector<uint8_t>& bytes, CArchive::Error expected = CArchive::Error::kNone)
{
    CArchive ar(bytes.data(), bytes.size());
    std::string text;
    ar >> text;
    EXPECT_EQ(ar.GetError(), expected);
    return text;
}

std::vector<uint8_t> Prefix(const std::vector<uint8_t>& bytes, size_t n)
{
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
}

TEST(Archive, IntegersAreLittleEndianTwosComplement)
{
    CArchive out;
    EXPECT_TRUE(out.IsStoring());
    out << int32_t{1} << int32_t{-2} << int32_t{0x7FFFFFFF} << int32_t{-2147483647 - 1};
    EXPECT_EQ(out.GetBuffer(), Hex("01 00 00 00  FE FF FF FF  FF FF FF 7F  00 00 00 80"));

    CArchive in(out.GetBuffer().data(), out.GetBuffer().size());
    EXPECT_TRUE(in.IsLoading());
    int32_t a = 0, b = 0, c = 0, d = 0;
    in >> a >> b >> c >> d;
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, -2);
    EXPECT_EQ(c, 0x7FFFFFFF);
    EXPECT_EQ(d, -2147483647 - 1);
    EXPECT_FALSE(in.HasFailed());
}

TEST(Archive, ReadingPastTheEndFailsAndStaysFailed)
{
    const auto bytes = Hex("01 00 00");
    CArchive in(bytes.data(), bytes.size());
    int32_t v = 42;
    in >> v;
    EXPECT_EQ(in.GetError(), CArchive::Error::kEndOfFile);
    EXPECT_EQ(v, 0);
    std::string s = "x";
    in >> s;
    EXPECT_EQ(s, "");
    EXPECT_EQ(in.GetError(), CArchive::Error::kEndOfFile);
}

TEST(Archive, NarrowStringsUseTheShortestOfTheFourPrefixForms)
{
    EXPECT_EQ(Stored(""), Hex("00"));
    EXPECT_EQ(Stored("\\a.bmp"), Hex("06 5C 61 2E 62 6D 70"));

    const std::vector<std::pair<size_t, std::string>> cases = {
        {254, "FE"},
        {255, "FF FF 00"},
        {300, "FF 2C 01"},
        {65533, "FF FD FF"},
        {65534, "FF FF FF FE FF 00 00"},
        {70000, "FF FF FF 70 11 01 00"},
    };
    for (const auto& [length, prefix] : cases) {
        const std::string text(length, 'n');
        const std::vector<uint8_t> bytes = Stored(text);
        const std::vector<uint8_t> expected = Hex(prefix);
        ASSERT_EQ(bytes.size(), expected.size() + length) << length;
        EXPECT_EQ(Prefix(bytes, expected.size()), expected) << length;
        EXPECT_EQ(Loaded(bytes), text) << length;
    }
}

TEST(Archive, ReaderAcceptsLongerPrefixFormsThanNeeded)
{
    // Short lengths written in the 16-, 32- and 64-bit forms read the same.
    EXPECT_EQ(Loaded(Hex("FF 02 00 41 42")), "AB");
    EXPECT_EQ(Loaded(Hex("FF FF FF 02 00 00 00 41 42")), "AB");
    EXPECT_EQ(Loaded(Hex("FF FF FF FF FF FF FF 02 00 00 00 00 00 00 00 41 42")), "AB");
}

TEST(Archive, WideStringsAreReadAsUtf8)
{
    // 0xFF, the wide marker 0xFFFE, a length in code units, UTF-16LE text.
    EXPECT_EQ(Loaded(Hex("FF FE FF 06 5C 00 61 00 2E 00 62 00 6D 00 70 00")), "\\a.bmp");
    // Chinese: \脸.bmp
    EXPECT_EQ(Loaded(Hex("FF FE FF 06 5C 00 38 81 2E 00 62 00 6D 00 70 00")), "\\\xE8\x84\xB8.bmp");
    // A surrogate pair (U+1F600) and a lone surrogate.
    EXPECT_EQ(Loaded(Hex("FF FE FF 03 3D D8 00 DE 00 D8")), "\xF0\x9F\x98\x80\xEF\xBF\xBD");
    // Wide lengths in the 16-, 32- and 64-bit forms.
    EXPECT_EQ(Loaded(Hex("FF FE FF FF 01 00 41 00")), "A");
    EXPECT_EQ(Loaded(Hex("FF FE FF FF FF FF 01 00 00 00 41 00")), "A");
    EXPECT_EQ(Loaded(Hex("FF FE FF FF FF FF FF FF FF FF 01 00 00 00 00 00 00 00 41 00")), "A");

    CArchive out;
    out.WriteWideString(u"\\\u8138.bmp");
    EXPECT_EQ(out.GetBuffer(), Hex("FF FE FF 06 5C 00 38 81 2E 00 62 00 6D 00 70 00"));
    EXPECT_EQ(Loaded(out.GetBuffer()), "\\\xE8\x84\xB8.bmp");

    CArchive longWide;
    longWide.WriteWideString(std::u16string(300, u'\u4E2D'));
    EXPECT_EQ(Prefix(longWide.GetBuffer(), 6), Hex("FF FE FF FF 2C 01"));
    EXPECT_EQ(Loaded(longWide.GetBuffer()).size(), 900u);
}

TEST(Archive, SixtyFourBitLengthBeyondInt32IsAFormatError)
{
    Loaded(Hex("FF FF FF FF FF FF FF 00 00 00 80 00 00 00 00 41"), CArchive::Error::kLengthTooLarge);
    Loaded(Hex("FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF 41"), CArchive::Error::kLengthTooLarge);
    Loaded(Hex("FF FE FF FF FF FF FF FF FF FF 00 00 00 80 00 00 00 00"), CArchive::Error::kLengthTooLarge);
    // The largest int32 itself is a valid length; this file is just too short for it.
    Loaded(Hex("FF FF FF FF FF FF FF FF FF FF 7F 00 00 00 00 41"), CArchive::Error::kLengthPastEnd);
}

TEST(Archive, LengthBeyondTheRestOfTheDataFailsWithoutAllocating)
{
    const std::vector<std::string> hostile = {
        "FF FF FF FE FF FF FF 41 42",                      // 32-bit: 4 GiB - 2
        "FF FF FF FF FF FF FF FF FF FF 7F 00 00 00 00 41", // 64-bit: 2 GiB - 1
        "FF FE FF FF FF FF FE FF FF FF 41 00",             // wide: 2 x (4 GiB - 2) bytes
        "FF 00 01 41",                                     // 256 bytes, one left
        "05 41 42",
    };
    for (const std::string& hex : hostile) {
        const std::vector<uint8_t> bytes = Hex(hex);
        AllocationProbe probe;
        CArchive in(bytes.data(), bytes.size());
        std::string text;
        in >> text;
        EXPECT_EQ(in.GetError(), CArchive::Error::kLengthPastEnd) << hex;
        EXPECT_LT(probe.Largest(), 1024u) << hex;
    }
}

TEST(Archive, TruncatedPrefixesRunPastTheEnd)
{
    const std::vector<uint8_t> full = Hex("FF FE FF FF FF FF FF FF FF FF 01 00 00 00 00 00 00 00 41 00");
    for (size_t n = 0; n < full.size(); ++n) {
        const std::vector<uint8_t> cut = Prefix(full, n);
        CArchive in(cut.data(), cut.size());
        std::string text;
        in >> text;
        EXPECT_TRUE(in.HasFailed()) << n;
        EXPECT_NE(in.GetError(), CArchive::Error::kLengthTooLarge) << n;
    }
}

} // namespace
