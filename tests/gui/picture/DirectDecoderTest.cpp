// The direct BMP and JPEG decoders against Qt's reader (CQtPictureDecoder):
// every picture of every layout they take comes out byte for byte as Qt
// makes it, and with Qt behind them every file, damaged ones included, has
// exactly Qt's outcome.
#include "PictureSamples.h"
#include "document/CDirectPictureDecoder.h"
#include "document/CPictureImage.h"
#include "picture/CQtPictureDecoder.h"
#include "support/CBmpBuilder.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace picturesamples;

namespace {

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

struct Sample {
    std::string name;
    std::vector<uint8_t> bytes;
};

uint32_t Noise(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// Pixel values for a builder: indices below `colours`, or any value of the
// depth.
std::vector<uint32_t> Values(const CBmpBuilder& b, uint32_t colours, uint32_t seed)
{
    std::vector<uint32_t> v(static_cast<size_t>(b.width) * static_cast<size_t>(b.height));
    for (uint32_t& x : v) {
        x = Noise(seed);
        if (b.bits <= 8) {
            x %= colours;
        } else if (b.bits < 32) {
            x &= (1u << b.bits) - 1;
        }
    }
    return v;
}

std::vector<uint32_t> Palette(size_t n, uint32_t seed)
{
    std::vector<uint32_t> p(n);
    for (uint32_t& c : p) {
        c = Noise(seed) & 0xffffff;
    }
    return p;
}

std::vector<Sample> BmpSamples()
{
    std::vector<Sample> out;
    uint32_t seed = 7;
    for (uint32_t header : {12u, 40u, 108u, 124u}) {
        for (int32_t width : {1, 5, 33}) {
            // Indexed depths, with full and partial colour tables.
            for (uint16_t bits : {1, 4, 8}) {
                for (uint32_t count : {0u, 3u}) {
                    if ((bits == 1 && count != 0) || (header == 12 && count != 0)) continue;
                    CBmpBuilder b;
                    b.headerSize = header;
                    b.width = width;
                    b.height = 3;
                    b.bits = bits;
                    b.colourCount = count;
                    b.topDown = header != 12 && width == 5;
                    const uint32_t colours = count != 0 ? count : 1u << bits;
                    b.palette = Palette(colours, ++seed);
                    out.push_back({"indexed " + std::to_string(bits) + " header " + std::to_string(header) + " w" +
                                       std::to_string(width) + " colours " + std::to_string(colours),
                                   b.Build(Values(b, colours, ++seed))});
                }
            }
            for (uint16_t bits : {16, 24, 32}) {
                CBmpBuilder b;
                b.headerSize = header;
                b.width = width;
                b.height = 4;
                b.bits = bits;
                b.topDown = header != 12 && width == 33;
                b.gap = width == 5 ? 6 : 0;
                out.push_back({"plain " + std::to_string(bits) + " header " + std::to_string(header) + " w" +
                                   std::to_string(width),
                               b.Build(Values(b, 0, ++seed))});
            }
        }
    }
    // Bit fields: the usual masks, others of up to 8 bits, a missing channel,
    // overlapping channels; in info, V4 and V5 headers.
    const uint32_t masks16[][3] = {{0xf800, 0x07e0, 0x001f}, {0x7c00, 0x03e0, 0x001f}, {0x0f00, 0x00f0, 0x000f},
                                   {0x00e0, 0x001c, 0x0003}, {0x8000, 0x4000, 0x0001}, {0xf800, 0, 0x001f},
                                   {0xff00, 0x0ff0, 0x00ff}};
    const uint32_t masks32[][3] = {
        {0xff0000, 0xff00, 0xff}, {0xff, 0xff00, 0xff0000}, {0x7f0000, 0x7f00, 0x7f}, {0xff000000, 0xff0000, 0xff00}};
    for (uint32_t header : {40u, 108u, 124u}) {
        for (const auto& m : masks16) {
            CBmpBuilder b;
            b.headerSize = header;
            b.width = 7;
            b.bits = 16;
            b.compression = 3;
            b.masks[0] = m[0], b.masks[1] = m[1], b.masks[2] = m[2];
            out.push_back({"fields 16 header " + std::to_string(header) + " red " + std::to_string(m[0]),
                           b.Build(Values(b, 0, ++seed))});
        }
        for (const auto& m : masks32) {
            CBmpBuilder b;
            b.headerSize = header;
            b.width = 6;
            b.bits = 32;
            b.compression = 3;
            b.masks[0] = m[0], b.masks[1] = m[1], b.masks[2] = m[2];
            b.masks[3] = header > 40 ? 0xff000000u & ~(m[0] | m[1] | m[2]) : 0;
            out.push_back({"fields 32 header " + std::to_string(header) + " red " + std::to_string(m[0]),
                           b.Build(Values(b, 0, ++seed))});
        }
    }
    // Plain pixels in V5 headers whose masks say something else.
    for (uint16_t bits : {16, 32}) {
        CBmpBuilder b;
        b.headerSize = 124;
        b.bits = bits;
        b.masks[0] = 0xf, b.masks[1] = 0xf0, b.masks[2] = 0xf00, b.masks[3] = 0xf000;
        out.push_back({"plain " + std::to_string(bits) + " with masks", b.Build(Values(b, 0, ++seed))});
    }
    // Run-length data that fills every row: runs, literal stretches of odd
    // and even length, with or without the closing marks.
    const std::vector<std::vector<uint8_t>> rle8 = {
        {5, 1, 0, 0, 2, 4, 0, 3, 7, 9, 11, 0, 0, 0, 0, 5, 1, 2, 3, 4, 5, 0, 0, 1},
        {5, 1, 0, 0, 5, 2, 0, 0, 5, 3},
        {5, 1, 0, 0, 5, 2, 0, 0, 5, 3, 0, 0, 0, 1},
        {1, 9, 0, 4, 8, 7, 6, 5, 0, 0, 3, 1, 2, 2, 0, 0, 5, 200, 0, 1}};
    for (size_t i = 0; i < rle8.size(); ++i) {
        CBmpBuilder b;
        b.width = 5;
        b.bits = 8;
        b.compression = 1;
        b.palette = Palette(256, ++seed);
        out.push_back({"rle8 " + std::to_string(i), b.BuildRaw(rle8[i])});
    }
    const std::vector<std::vector<uint8_t>> rle4 = {
        {5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 0, 4, 0xab, 1, 0xc0, 0, 1},
        {3, 0xab, 2, 0xcd, 0, 0, 1, 0x10, 4, 0x23, 0, 0, 0, 3, 0x45, 0x60, 2, 0x77},
        {0, 4, 0x12, 0x34, 1, 0xf0, 0, 0, 5, 0x98, 0, 0, 5, 0x11, 0, 0, 0, 1}};
    for (size_t i = 0; i < rle4.size(); ++i) {
        CBmpBuilder b;
        b.width = 5;
        b.bits = 4;
        b.compression = 2;
        b.palette = Palette(16, ++seed);
        out.push_back({"rle4 " + std::to_string(i), b.BuildRaw(rle4[i])});
    }
    out.push_back({"Qt's 24-bit", Encode(Blocks(13, 7), "BMP")});
    out.push_back({"Qt's 8-bit", Encode(Blocks(13, 7).convertToFormat(QImage::Format_Indexed8), "BMP")});
    out.push_back({"Qt's 1-bit", Encode(Blocks(13, 7).convertToFormat(QImage::Format_Mono), "BMP")});
    return out;
}

std::vector<uint8_t> Compress(int width, int height, int format, int sampling, int flags)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    uint32_t seed = static_cast<uint32_t>(width * 31 + height);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<uint8_t>((i % 4) * 40 + (i / 4 % static_cast<size_t>(width)) * 3 + (Noise(seed) & 15));
    }
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, pixels.data(), width, width * 4, height, format, &jpeg, &size, sampling, 90, flags);
    std::vector<uint8_t> bytes(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(handle);
    return bytes;
}

std::vector<Sample> JpegSamples()
{
    std::vector<Sample> out;
    const struct {
        const char* name;
        int format;
        int sampling;
        int flags;
    } kinds[] = {{"4:2:0", TJPF_BGRX, TJSAMP_420, 0},
                 {"4:2:2", TJPF_BGRX, TJSAMP_422, 0},
                 {"4:4:4", TJPF_BGRX, TJSAMP_444, 0},
                 {"4:4:0", TJPF_BGRX, TJSAMP_440, 0},
                 {"4:1:1", TJPF_BGRX, TJSAMP_411, 0},
                 {"grey", TJPF_BGRX, TJSAMP_GRAY, 0},
                 {"progressive", TJPF_BGRX, TJSAMP_420, TJFLAG_PROGRESSIVE},
                 {"CMYK", TJPF_CMYK, TJSAMP_420, 0},
                 {"CMYK 4:4:4 progressive", TJPF_CMYK, TJSAMP_444, TJFLAG_PROGRESSIVE}};
    for (const auto& k : kinds) {
        for (int side : {1, 17, 61}) {
            out.push_back({std::string(k.name) + " " + std::to_string(side),
                           Compress(side * 2 + 1, side + 2, k.format, k.sampling, k.flags)});
        }
    }
    // Stray bytes before a marker, as some cameras leave: a warning, no
    // pixel lost.
    std::vector<uint8_t> stray = Compress(35, 19, TJPF_BGRX, TJSAMP_420, 0);
    for (size_t i = 2; i + 1 < stray.size(); ++i) {
        if (stray[i] == 0xFF && stray[i + 1] == 0xDB) {
            stray.insert(stray.begin() + static_cast<std::ptrdiff_t>(i), {0x00, 0x17, 0x2A});
            break;
        }
    }
    out.push_back({"stray bytes before a marker", stray});
    out.push_back({"Qt's JPEG", Encode(Gradient(32, 24), "JPG", 95)});
    out.push_back({"Qt's grey JPEG", Encode(Gradient(9, 9).convertToFormat(QImage::Format_Grayscale8), "JPG", 80)});
    return out;
}

void ExpectSameAsQt(const std::vector<Sample>& samples)
{
    const CDirectPictureDecoder direct(nullptr);
    const CQtPictureDecoder qt;
    for (const Sample& s : samples) {
        const Outcome ours = Decode(direct, s.bytes);
        const Outcome theirs = Decode(qt, s.bytes);
        ASSERT_TRUE(ours.ok) << s.name << ": " << ours.error;
        ASSERT_TRUE(theirs.ok) << s.name << ": " << theirs.error;
        EXPECT_EQ(ours.image.width, theirs.image.width) << s.name;
        EXPECT_EQ(ours.image.height, theirs.image.height) << s.name;
        EXPECT_TRUE(ours.image.pixels == theirs.image.pixels) << s.name;
    }
}

TEST(DirectPictureDecoder, BmpFilesOfEveryLayoutDecodeAsQtDoes)
{
    ExpectSameAsQt(BmpSamples());
}

TEST(DirectPictureDecoder, JpegFilesDecodeAsQtDoes)
{
    ExpectSameAsQt(JpegSamples());
}

// Cut and damaged files, and well-formed ones the direct decoders leave to
// Qt: the direct decoders alone never take a file Qt refuses or reads
// otherwise, and with Qt behind them the outcome is Qt's, message included,
// but for JPEG files, which TurboJPEG alone judges.
TEST(DirectPictureDecoder, DamagedAndUnusualFilesHaveQtsOutcome)
{
    std::vector<Sample> samples = BmpSamples();
    for (Sample& s : JpegSamples()) {
        samples.push_back(std::move(s));
    }
    CBmpBuilder odd;
    odd.bits = 8;
    odd.compression = 1;
    odd.palette = Palette(256, 3);
    samples.push_back({"rle8 with a jump", odd.BuildRaw({2, 1, 0, 2, 1, 1, 1, 1, 0, 0, 4, 2, 0, 0, 4, 3, 0, 1})});
    samples.push_back({"rle8 ending early", odd.BuildRaw({2, 1, 0, 1})});
    odd.compression = 0;
    odd.colourCount = 4;
    odd.palette.resize(4);
    samples.push_back({"index beyond the table", odd.Build(std::vector<uint32_t>(12, 9))});
    samples.push_back({"PNG", Encode(Blocks(5, 5), "PNG")});

    const std::shared_ptr<const CQtPictureDecoder> qt = std::make_shared<CQtPictureDecoder>();
    const CDirectPictureDecoder alone(nullptr);
    const CDirectPictureDecoder chained(qt);
    std::mt19937 random(2024);
    int taken = 0;
    int jpegRefusedTakenByQt = 0;
    for (const Sample& good : samples) {
        std::vector<std::vector<uint8_t>> variants{good.bytes};
        for (size_t n = 0; n < good.bytes.size(); n += good.bytes.size() / 23 + 1) {
            variants.emplace_back(good.bytes.begin(), good.bytes.begin() + static_cast<std::ptrdiff_t>(n));
        }
        for (int round = 0; round < 40; ++round) {
            std::vector<uint8_t> bytes = good.bytes;
            for (int f = 0; f <= round % 4; ++f) {
                bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
            }
            variants.push_back(std::move(bytes));
        }
        for (const std::vector<uint8_t>& bytes : variants) {
            const Outcome theirs = Decode(*qt, bytes);
            const Outcome ours = Decode(alone, bytes);
            if (ours.ok) {
                ++taken;
                ASSERT_TRUE(theirs.ok) << good.name << ": Qt refuses what the direct decoder took";
                ASSERT_TRUE(ours.image.pixels == theirs.image.pixels) << good.name;
            }
            // A JPEG file has the direct decoder's outcome: Qt's reader
            // takes cut and damaged ones.
            const Outcome both = Decode(chained, bytes);
            const Outcome& expected = CJpegDecoder::Recognizes(bytes.data(), bytes.size()) ? ours : theirs;
            jpegRefusedTakenByQt += !ours.ok && theirs.ok && &expected == &ours;
            ASSERT_EQ(both.ok, expected.ok) << good.name;
            ASSERT_EQ(both.error, expected.error) << good.name;
            ASSERT_TRUE(both.image.pixels == expected.image.pixels) << good.name;
        }
    }
    EXPECT_GT(taken, static_cast<int>(samples.size()));
    EXPECT_GT(jpegRefusedTakenByQt, 0) << "cut JPEG files Qt takes are refused";
}

} // namespace
