// Writes the seed corpus of the fuzz targets: project files made by our own
// writer (and a few hand-shaped ones the writer never makes) and small
// pictures made with Qt. Usage: fuzz_seeds <corpus folder>
#include "document/CArchive.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

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
        Write(dir / "worked_example.tvl", ar.GetBuffer());
    }
    {
        CArchive ar; // wide names, Chinese, with a surrogate pair
        ar.WriteWideString(u"\\\u6E90\u56FE.bmp");
        ar.WriteWideString(u"/\u76EE\u6807\U0001F600.jpg");
        Lines(ar, {{{1, 2}, {3, 4}}, {{5, 6}, {7, 8}}});
        Lines(ar, {{{1, 2}, {3, 4}}, {{5, 6}, {7, 8}}});
        Write(dir / "wide_names.tvl", ar.GetBuffer());
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
        Write(dir / "many_lines.tvl", ar.GetBuffer());
    }
    {
        CArchive ar; // negative and zero counts
        ar << ""
           << "\\b.bmp";
        ar << int32_t{3} << int32_t{-1} << int32_t{0} << int32_t{1} << 4 << 5;
        ar << int32_t{-7};
        Write(dir / "negative_counts.tvl", ar.GetBuffer());
    }
    {
        CArchive ar; // uneven line counts, 0, 1 and 3 points, extreme coordinates
        constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
        constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
        ar << "\\a.bmp"
           << "\\b.bmp";
        Lines(ar, {{}, {{kMax, kMin}}, {{kMin, kMin}, {kMax, kMax}, {0, 0}}});
        Lines(ar, {{{kMax, kMax}, {kMin, kMin}}, {{-1, -1}, {1, 1}}});
        Write(dir / "uneven_extreme.tvl", ar.GetBuffer());
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
        Write(dir / "prefix_forms.tvl", bytes);
    }
    {
        CArchive ar; // 64-bit length forms, narrow and wide
        std::vector<uint8_t> bytes = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 2,    0,    0,    0,    0,    0,
                                      0,    0,    '\\', 'q',  0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0xFF, 1,    0,    0,    0,    0,    0,    0,    0,    'r',  0};
        bytes.insert(bytes.end(), 8, 0);
        Write(dir / "long_forms.tvl", bytes);
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
    Write(dir / "small24.bmp", Encode(Pattern(9, 6), "BMP"));
    Write(dir / "small8.bmp", Encode(Pattern(8, 8).convertToFormat(QImage::Format_Indexed8), "BMP"));
    Write(dir / "mono.bmp", Encode(Pattern(16, 4).convertToFormat(QImage::Format_Mono), "BMP"));
    Write(dir / "one.bmp", Encode(Pattern(1, 1), "BMP"));
    Write(dir / "small.jpg", Encode(Pattern(16, 12), "JPEG"));
    Write(dir / "progressive.jpg", Encode(Pattern(17, 9), "JPEG", 75, true));
    Write(dir / "grey.jpg", Encode(Pattern(8, 8).convertToFormat(QImage::Format_Grayscale8), "JPEG"));
    Write(dir / "one.jpg", Encode(Pattern(1, 1), "JPEG"));
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
