// The direct BMP and JPEG decoders without Qt: what they take, what they
// refuse and with which message, and how the direct decoder hands files on.
// (Their pixels against Qt's: tests/gui/picture/DirectDecoderTest.cpp.)
#include "document/CBmpDecoder.h"
#include "document/CDirectPictureDecoder.h"
#include "document/CJpegDecoder.h"
#include "document/CPictureHeader.h"
#include "document/CPictureImage.h"
#include "support/CBmpBuilder.h"
#include "support/FakePictureDecoder.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <memory>

namespace {

const std::string kDamaged = "图片文件已损坏或无法解码(BMP)。";
const std::string kMissing = "图片文件不完整:缺少部分像素数据。";

struct Outcome {
    bool ok = false;
    CPictureImage image;
    std::string error;
};

Outcome Decode(const CPictureDecoder& decoder, const std::vector<uint8_t>& bytes)
{
    Outcome o;
    CMessage error;
    o.ok = decoder.Decode(bytes.data(), bytes.size(), o.image, error);
    o.error = error.Text();
    return o;
}

// 4 x 3 pictures of every kind the decoder takes, with the colour of the
// top-left and bottom-right pixels (B, G, R).
TEST(BmpDecoder, TakesEveryLayoutTopRowFirst)
{
    struct Case {
        const char* name;
        CBmpBuilder b;
        std::vector<uint32_t> values;
        uint32_t topLeft, bottomRight; // 0xRRGGBB
    };
    std::vector<uint32_t> corners24(12, 0x102030);
    corners24.front() = 0xff8000;
    corners24.back() = 0x0000ff;
    std::vector<uint32_t> indices(12, 1);
    indices.front() = 0;
    indices.back() = 2;
    std::vector<uint32_t> fields(12, 0);
    fields.front() = 0xf800; // red of 565 at full scale: 0xf8
    fields.back() = 0x001f;  // blue
    std::vector<Case> cases;
    for (bool topDown : {false, true}) {
        Case c{topDown ? "24 top-down" : "24 bottom-up", {}, corners24, 0xff8000, 0x0000ff};
        c.b.topDown = topDown;
        cases.push_back(c);
    }
    for (uint16_t bits : {1, 4, 8}) {
        Case c{"indexed", {}, indices, 0x000000, 0x00ff00};
        c.b.bits = bits;
        c.b.palette = {0x000000, 0xabcdef, 0x00ff00, 0x123456};
        c.b.palette.resize(bits == 1 ? 2 : 4);
        c.b.colourCount = bits == 1 ? 0 : 4;
        if (bits == 1) {
            c.values.back() = 1;
            c.bottomRight = 0xabcdef;
        }
        cases.push_back(c);
    }
    {
        Case c{"core header", {}, indices, 0x000000, 0x00ff00};
        c.b.headerSize = 12;
        c.b.bits = 8;
        c.b.palette.assign(256, 0xabcdef);
        c.b.palette[0] = 0x000000;
        c.b.palette[2] = 0x00ff00;
        cases.push_back(c);
    }
    for (uint32_t header : {40u, 124u}) {
        Case c{"565 fields", {}, fields, 0xf80000, 0x0000f8};
        c.b.headerSize = header;
        c.b.bits = 16;
        c.b.compression = 3;
        c.b.masks[0] = 0xf800, c.b.masks[1] = 0x07e0, c.b.masks[2] = 0x001f;
        cases.push_back(c);
    }
    const CBmpDecoder decoder;
    for (const Case& c : cases) {
        const Outcome o = Decode(decoder, c.b.Build(c.values));
        ASSERT_TRUE(o.ok) << c.name << ": " << o.error;
        ASSERT_EQ(o.image.width, 4);
        ASSERT_EQ(o.image.height, 3);
        const auto colour = [&o](size_t pixel) {
            const uint8_t* p = o.image.pixels.data() + 4 * pixel;
            EXPECT_EQ(p[3], 255);
            return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
        };
        EXPECT_EQ(colour(0), c.topLeft) << c.name;
        EXPECT_EQ(colour(11), c.bottomRight) << c.name;
    }
}

TEST(BmpDecoder, RefusesWhatItCannotReadCompletelyAndUnambiguously)
{
    CBmpBuilder rle;
    rle.width = 2;
    rle.height = 2;
    rle.bits = 8;
    rle.compression = 1;
    rle.palette.assign(4, 0x808080);
    rle.colourCount = 4;
    CBmpBuilder plain;
    plain.bits = 8;
    plain.colourCount = 2;
    plain.palette = {0, 0xffffff};
    CBmpBuilder wide = plain;
    wide.width = 20000;
    wide.height = 1;
    CBmpBuilder nineBits;
    nineBits.bits = 32;
    nineBits.compression = 3;
    nineBits.masks[0] = 0x1ff0000, nineBits.masks[1] = 0xff00, nineBits.masks[2] = 0xff;
    CBmpBuilder noColour = nineBits;
    noColour.masks[0] = 0;
    noColour.masks[1] = 0;
    noColour.masks[2] = 0;
    CBmpBuilder wideAlpha = nineBits;
    wideAlpha.headerSize = 124;
    wideAlpha.masks[0] = 0xff0000;
    wideAlpha.masks[3] = 0xffffffff;
    CBmpBuilder oneColour;
    oneColour.bits = 1;
    oneColour.colourCount = 1;
    oneColour.palette = {0};
    CBmpBuilder topDownRle = rle;
    topDownRle.topDown = true;

    std::vector<uint8_t> cut = plain.Build(std::vector<uint32_t>(12, 1));
    cut.pop_back(); // the last row lacks a byte of padding
    std::vector<uint8_t> planes = plain.Build(std::vector<uint32_t>(12, 1));
    planes[26] = 2;
    std::vector<uint8_t> offsetInTable = plain.Build(std::vector<uint32_t>(12, 1));
    offsetInTable[10] -= 4;
    std::vector<uint8_t> headerSize = plain.Build(std::vector<uint32_t>(12, 1));
    headerSize[14] = 64;

    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        std::string error;
    } cases[] = {
        {"rle jump", rle.BuildRaw({0, 2, 1, 0, 1, 1, 0, 0, 2, 1, 0, 1}), kDamaged},
        {"rle ending early", rle.BuildRaw({2, 1, 0, 0}), kDamaged},
        {"rle run beyond the row", rle.BuildRaw({3, 1, 0, 0, 2, 1, 0, 1}), kDamaged},
        {"rle stray byte at the end", rle.BuildRaw({2, 1, 0, 0, 2, 1, 7}), kDamaged},
        {"rle index beyond the table", rle.BuildRaw({2, 1, 0, 0, 2, 9, 0, 1}), kDamaged},
        {"top-down rle", topDownRle.BuildRaw({2, 1, 0, 0, 2, 1, 0, 1}), kDamaged},
        {"index beyond the table", plain.Build(std::vector<uint32_t>(12, 3)), kDamaged},
        {"cut inside the padding", cut, kMissing},
        {"two planes", planes, kDamaged},
        {"pixels inside the table", offsetInTable, kDamaged},
        {"64-byte header", headerSize, kDamaged},
        {"9-bit mask", nineBits.Build(std::vector<uint32_t>(12, 0)), kDamaged},
        {"no colour masks", noColour.Build(std::vector<uint32_t>(12, 0)), kDamaged},
        {"32-bit alpha mask", wideAlpha.Build(std::vector<uint32_t>(12, 0)), kDamaged},
        {"1 bit, 1 colour", oneColour.Build(std::vector<uint32_t>(12, 0)), kDamaged},
        {"not a BMP", {'P', 'K', 3, 4}, "无法识别的图片格式。"},
        {"empty", {}, "图片文件是空的。"},
    };
    const CBmpDecoder decoder;
    for (const auto& c : cases) {
        const Outcome o = Decode(decoder, c.bytes);
        EXPECT_FALSE(o.ok) << c.name;
        EXPECT_EQ(o.error, c.error) << c.name;
    }
    const Outcome tooWide = Decode(decoder, wide.Build(std::vector<uint32_t>(20000, 0)));
    EXPECT_FALSE(tooWide.ok);
    EXPECT_NE(tooWide.error.find("20000 x 1"), std::string::npos) << tooWide.error;
    EXPECT_TRUE(Decode(decoder, rle.BuildRaw({2, 1, 0, 0, 2, 3, 0, 1})).ok) << "complete run-length data";
}

// The check the Qt path makes before handing a BMP to Qt: pixel rows whole,
// padding included, and run-length data that writes every pixel.
TEST(PictureHeader, BmpPixelsMissing)
{
    CBmpBuilder plain;
    plain.bits = 8;
    plain.palette.assign(256, 0);
    const std::vector<uint8_t> whole = plain.Build(std::vector<uint32_t>(12, 0));
    EXPECT_FALSE(CPictureHeader::BmpPixelsMissing(whole.data(), whole.size()));
    EXPECT_TRUE(CPictureHeader::BmpPixelsMissing(whole.data(), whole.size() - 1));
    CBmpBuilder rle = plain;
    rle.width = 2;
    rle.height = 2;
    rle.compression = 1;
    const std::vector<uint8_t> complete = rle.BuildRaw({2, 1, 0, 0, 2, 3});
    EXPECT_FALSE(CPictureHeader::BmpPixelsMissing(complete.data(), complete.size()));
    const std::vector<uint8_t> jump = rle.BuildRaw({0, 2, 0, 1, 2, 3, 0, 1});
    EXPECT_TRUE(CPictureHeader::BmpPixelsMissing(jump.data(), jump.size()));
    const std::vector<uint8_t> early = rle.BuildRaw({2, 1, 0, 1});
    EXPECT_TRUE(CPictureHeader::BmpPixelsMissing(early.data(), early.size()));
}

std::vector<uint8_t> GreyJpeg(int width, int height, uint8_t grey, int flags = 0)
{
    const std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), grey);
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, pixels.data(), width, width, height, TJPF_GRAY, &jpeg, &size, TJSAMP_GRAY, 100, flags);
    std::vector<uint8_t> bytes(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(handle);
    return bytes;
}

TEST(JpegDecoder, TakesWholeFilesAndRefusesCutOrHugeOnes)
{
    const CJpegDecoder decoder;
    const std::vector<uint8_t> good = GreyJpeg(9, 5, 0x80);
    const Outcome o = Decode(decoder, good);
    ASSERT_TRUE(o.ok) << o.error;
    EXPECT_EQ(o.image.width, 9);
    EXPECT_EQ(o.image.height, 5);
    EXPECT_EQ(o.image.pixels[0], 0x80);
    EXPECT_EQ(o.image.pixels[4 * 44 + 2], 0x80);
    EXPECT_EQ(o.image.pixels[4 * 44 + 3], 255);

    const std::vector<uint8_t> cut(good.begin(), good.end() - 10);
    EXPECT_FALSE(Decode(decoder, cut).ok) << "the library only reads it with a warning";
    CPictureLimits small;
    small.maxWidth = 8;
    const Outcome tooWide = Decode(CJpegDecoder(small), good);
    EXPECT_FALSE(tooWide.ok);
    EXPECT_NE(tooWide.error.find("9 x 5"), std::string::npos) << tooWide.error;

    // A 16384 x 4096 frame header before the cut data of a small picture:
    // refused for its length before anything is allocated.
    std::vector<uint8_t> forged = GreyJpeg(64, 64, 0x20);
    for (size_t i = 2; i + 8 < forged.size(); ++i) {
        if (forged[i] == 0xFF && forged[i + 1] == 0xC0) {
            forged[i + 5] = 0x10, forged[i + 6] = 0x00, forged[i + 7] = 0x40, forged[i + 8] = 0x00;
            break;
        }
    }
    const Outcome beyond = Decode(decoder, forged);
    EXPECT_FALSE(beyond.ok);
    EXPECT_NE(beyond.error.find("16384 x 4096"), std::string::npos) << beyond.error;
    EXPECT_NE(beyond.error.find(std::to_string(forged.size()) + " 字节"), std::string::npos) << beyond.error;
    // The bound leaves room for the flattest real files, baseline or
    // progressive (a few hundred pixels a byte).
    for (int flags : {0, TJFLAG_PROGRESSIVE}) {
        const std::vector<uint8_t> flat = GreyJpeg(2048, 2048, 0x80, flags);
        EXPECT_FALSE(CPictureHeader::JpegBeyondFile(flat.data(), flat.size())) << flat.size() << " bytes";
        EXPECT_TRUE(CPictureHeader::JpegBeyondFile(flat.data(), 2048 * 2048 / CPictureHeader::kJpegPixelsPerByte - 1));
    }
}

TEST(DirectPictureDecoder, TakesBmpAndJpegItselfAndHandsTheRestOn)
{
    const auto fallback = std::make_shared<FakePictureDecoder>();
    const CDirectPictureDecoder direct(fallback);
    CBmpBuilder bmp;
    EXPECT_TRUE(Decode(direct, bmp.Build(std::vector<uint32_t>(12, 0x445566))).ok);
    EXPECT_TRUE(Decode(direct, GreyJpeg(3, 3, 7)).ok);
    EXPECT_EQ(fallback->Calls(), 0);

    EXPECT_TRUE(Decode(direct, FakePictureDecoder::Picture(2, 2, 9)).ok);
    const Outcome refused = Decode(direct, bmp.BuildRaw({1, 2, 3}));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, "not a fake picture") << "the fallback's message";
    EXPECT_EQ(fallback->Calls(), 2);

    const CDirectPictureDecoder alone(nullptr);
    EXPECT_EQ(Decode(alone, {}).error, "图片文件是空的。");
    EXPECT_EQ(Decode(alone, FakePictureDecoder::Picture(2, 2, 9)).error, "无法识别的图片格式。");
    EXPECT_EQ(Decode(alone, bmp.BuildRaw({1, 2, 3})).error, kMissing);

    // A cut JPEG file is refused with TurboJPEG's reason, never handed on
    // (the platform's reader fills what is missing with grey).
    const std::vector<uint8_t> whole = GreyJpeg(40, 30, 0x60);
    const Outcome cut = Decode(direct, std::vector<uint8_t>(whole.begin(), whole.end() - 20));
    EXPECT_FALSE(cut.ok);
    EXPECT_NE(cut.error.find("图片文件已损坏或无法解码(Premature end of JPEG file"), std::string::npos) << cut.error;
    EXPECT_EQ(fallback->Calls(), 2);
}

} // namespace
