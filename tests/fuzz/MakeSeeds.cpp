// Writes the seed corpus of the fuzz targets: project files made by our own
// writer (and a few hand-shaped ones the writer never makes) and small
// pictures made with Qt. Usage: fuzz_seeds <corpus folder>
#include "document/CArchive.h"
#include "support/CBmpBuilder.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <turbojpeg.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using testfiles::WriteBytes;

void Lines(CArchive& ar, const std::vector<std::vector<std::pair<int32_t, int32_t>>>& lines)
{
    ar << static_cast<int32_t>(lines.size());
    for (const auto& line : lines) {
        ar << static_cast<int32_t>(line.size());
        for (const auto& [x, y] : line) {
            ar << x << y;
        }
    }
}

void Projects(const fs::path& dir)
{
    fs::create_directories(dir);
    {
        CArchive ar; // the 62-byte worked example
        ar << "\\a.bmp"
           << "\\b.jpg";
        Lines(ar, {{{10, 20}, {30, 40}}});
        Lines(ar, {{{12, 22}, {33, 44}}});
        WriteBytes(dir / "worked_example.tvl", ar.GetBuffer());
    }
    {
        CArchive ar; // wide names, Chinese, with a surrogate pair
        ar.WriteWideString(u"\\\u6E90\u56FE.bmp");
        ar.WriteWideString(u"/\u76EE\u6807\U0001F600.jpg");
        Lines(ar, {{{1, 2}, {3, 4}}, {{5, 6}, {7, 8}}});
        Lines(ar, {{{1, 2}, {3, 4}}, {{5, 6}, {7, 8}}});
        WriteBytes(dir / "wide_names.tvl", ar.GetBuffer());
    }
    {
        CArchive ar; // many lines, some of many points
        ar << "\\face1.bmp"
           << "\\face2.bmp";
        for (int m = 0; m < 2; ++m) {
            std::vector<std::vector<std::pair<int32_t, int32_t>>> lines;
            for (int i = 0; i < 120; ++i) {
                std::vector<std::pair<int32_t, int32_t>> line;
                for (int p = 0; p < (i % 10 == 0 ? 9 : 2); ++p) {
                    line.emplace_back(i * 3 + p, i * 2 - p + m);
                }
                lines.push_back(line);
            }
            Lines(ar, lines);
        }
        WriteBytes(dir / "many_lines.tvl", ar.GetBuffer());
    }
    {
        CArchive ar; // negative and zero counts
        ar << ""
           << "\\b.bmp";
        ar << int32_t{3} << int32_t{-1} << int32_t{0} << int32_t{1} << 4 << 5;
        ar << int32_t{-7};
        WriteBytes(dir / "negative_counts.tvl", ar.GetBuffer());
    }
    {
        CArchive ar; // uneven line counts, 0, 1 and 3 points, extreme coordinates
        constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
        constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
        ar << "\\a.bmp"
           << "\\b.bmp";
        Lines(ar, {{}, {{kMax, kMin}}, {{kMin, kMin}, {kMax, kMax}, {0, 0}}});
        Lines(ar, {{{kMax, kMax}, {kMin, kMin}}, {{-1, -1}, {1, 1}}});
        WriteBytes(dir / "uneven_extreme.tvl", ar.GetBuffer());
    }
    {
        CArchive ar; // a 300-byte name and the longer prefix forms
        ar << "\\" + std::string(299, 'n');
        const std::vector<uint8_t> long32 = {0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00, '\\', 'x', 'y'};
        std::vector<uint8_t> bytes = ar.GetBuffer();
        bytes.insert(bytes.end(), long32.begin(), long32.end());
        for (int32_t v : {1, 2, 0, 0, 1, 1, 0}) {
            for (int i = 0; i < 4; ++i) {
                bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
            }
        }
        WriteBytes(dir / "prefix_forms.tvl", bytes);
    }
    {
        CArchive ar; // 64-bit length forms, narrow and wide
        std::vector<uint8_t> bytes = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 2,    0,    0,    0,    0,    0,
                                      0,    0,    '\\', 'q',  0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0xFF, 1,    0,    0,    0,    0,    0,    0,    0,    'r',  0};
        bytes.insert(bytes.end(), 8, 0);
        WriteBytes(dir / "long_forms.tvl", bytes);
    }
}

std::vector<uint8_t> Encode(const QImage& image, const char* format, int quality = 90, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

QImage Pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixel(x, y, qRgb(x * 37 % 256, y * 59 % 256, (x + y) * 11 % 256));
        }
    }
    return image;
}

void Pictures(const fs::path& dir)
{
    fs::create_directories(dir);
    WriteBytes(dir / "small24.bmp", Encode(Pattern(9, 6), "BMP"));
    WriteBytes(dir / "small8.bmp", Encode(Pattern(8, 8).convertToFormat(QImage::Format_Indexed8), "BMP"));
    WriteBytes(dir / "mono.bmp", Encode(Pattern(16, 4).convertToFormat(QImage::Format_Mono), "BMP"));
    WriteBytes(dir / "one.bmp", Encode(Pattern(1, 1), "BMP"));
    WriteBytes(dir / "small.jpg", Encode(Pattern(16, 12), "JPEG"));
    WriteBytes(dir / "progressive.jpg", Encode(Pattern(17, 9), "JPEG", 75, true));
    WriteBytes(dir / "grey.jpg", Encode(Pattern(8, 8).convertToFormat(QImage::Format_Grayscale8), "JPEG"));
    WriteBytes(dir / "one.jpg", Encode(Pattern(1, 1), "JPEG"));
    // Cut in its scan data, and a frame header claiming 16384 x 4096 pixels
    // in a file of under 2 KB.
    const std::vector<uint8_t> whole = Encode(Pattern(40, 30), "JPEG");
    WriteBytes(dir / "truncated.jpg", std::vector<uint8_t>(whole.begin(), whole.begin() + whole.size() * 2 / 3));
    std::vector<uint8_t> claim = Encode(Pattern(48, 40), "JPEG", 75);
    claim.resize(std::min<size_t>(claim.size(), 2048));
    for (size_t i = 2; i + 8 < claim.size(); ++i) {
        if (claim[i] == 0xFF && claim[i + 1] == 0xC0) {
            claim[i + 5] = 0x10, claim[i + 6] = 0x00, claim[i + 7] = 0x40, claim[i + 8] = 0x00;
            break;
        }
    }
    WriteBytes(dir / "claims_16384x4096.jpg", claim);

    // Layouts Qt does not write: bit fields, V5 headers, run-length data,
    // the core header, top-down rows, CMYK.
    CBmpBuilder b;
    b.width = 5;
    b.height = 3;
    std::vector<uint32_t> values(15);
    for (size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<uint32_t>(i * 2654435761u);
    }
    b.bits = 16;
    b.compression = 3;
    b.masks[0] = 0xf800, b.masks[1] = 0x07e0, b.masks[2] = 0x001f;
    for (uint32_t& v : values)
        v &= 0xffff;
    WriteBytes(dir / "fields565.bmp", b.Build(values));
    b.headerSize = 124;
    b.bits = 32;
    b.topDown = true;
    b.masks[0] = 0xff0000, b.masks[1] = 0xff00, b.masks[2] = 0xff, b.masks[3] = 0xff000000;
    WriteBytes(dir / "v5alpha.bmp", b.Build(values));
    CBmpBuilder rle;
    rle.width = 5;
    rle.bits = 8;
    rle.compression = 1;
    rle.palette.assign(16, 0x336699);
    rle.palette[3] = 0xffffff;
    WriteBytes(dir / "rle8.bmp",
               rle.BuildRaw({5, 1, 0, 0, 2, 4, 0, 3, 7, 9, 11, 0, 0, 0, 0, 5, 1, 2, 3, 4, 5, 0, 0, 1}));
    rle.bits = 4;
    rle.compression = 2;
    WriteBytes(dir / "rle4.bmp",
               rle.BuildRaw({5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 0, 4, 0xab, 1, 0xc0, 0, 1}));
    CBmpBuilder core;
    core.headerSize = 12;
    core.bits = 8;
    core.palette.assign(256, 0x102030);
    WriteBytes(dir / "core8.bmp", core.Build(std::vector<uint32_t>(12, 7)));
    std::vector<uint8_t> cmyk(6 * 5 * 4);
    for (size_t i = 0; i < cmyk.size(); ++i) {
        cmyk[i] = static_cast<uint8_t>(i * 29);
    }
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    tjCompress2(handle, cmyk.data(), 6, 24, 5, TJPF_CMYK, &jpeg, &jpegSize, TJSAMP_420, 90, 0);
    WriteBytes(dir / "cmyk.jpg", std::vector<uint8_t>(jpeg, jpeg + jpegSize));
    tjFree(jpeg);
    tjDestroy(handle);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: fuzz_seeds <corpus folder>\n";
        return 2;
    }
    const fs::path root = argv[1];
    Projects(root / "tvl");
    Pictures(root / "picture");
    return 0;
}
