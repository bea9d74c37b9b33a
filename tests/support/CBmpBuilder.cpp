#include "CBmpBuilder.h"

namespace {

void Put(std::vector<uint8_t>& b, uint32_t v, int n)
{
    for (int i = 0; i < n; ++i) {
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

} // namespace

std::vector<uint8_t> CBmpBuilder::BuildRaw(const std::vector<uint8_t>& pixelData) const
{
    std::vector<uint8_t> info;
    if (headerSize == 12) {
        Put(info, 12, 4);
        Put(info, static_cast<uint32_t>(width), 2);
        Put(info, static_cast<uint32_t>(height), 2);
        Put(info, 1, 2);
        Put(info, bits, 2);
    } else {
        Put(info, headerSize, 4);
        Put(info, static_cast<uint32_t>(width), 4);
        Put(info, static_cast<uint32_t>(topDown ? -height : height), 4);
        Put(info, 1, 2);
        Put(info, bits, 2);
        Put(info, compression, 4);
        Put(info, static_cast<uint32_t>(imageSize >= 0 ? static_cast<uint64_t>(imageSize) : pixelData.size()), 4);
        Put(info, 2835, 4);
        Put(info, 2835, 4);
        Put(info, colourCount, 4);
        Put(info, 0, 4);
        if (headerSize >= 108) {
            for (uint32_t m : masks) {
                Put(info, m, 4);
            }
        } else if (compression == 3) {
            for (int i = 0; i < 3; ++i) {
                Put(info, masks[i], 4);
            }
        }
        info.resize(info.size() + (headerSize >= 108 ? headerSize - 56 : 0), 0);
    }
    for (uint32_t c : palette) {
        Put(info, c, headerSize == 12 ? 3 : 4);
    }
    info.resize(info.size() + gap, 0);
    std::vector<uint8_t> file{'B', 'M'};
    Put(file, static_cast<uint32_t>(14 + info.size() + pixelData.size()), 4);
    Put(file, 0, 4);
    Put(file, static_cast<uint32_t>(14 + info.size()), 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), pixelData.begin(), pixelData.end());
    return file;
}

std::vector<uint8_t> CBmpBuilder::Build(const std::vector<uint32_t>& values) const
{
    const size_t stride = Stride(width, bits);
    std::vector<uint8_t> data(stride * static_cast<size_t>(height), 0);
    for (int32_t y = 0; y < height; ++y) {
        const int32_t fileRow = topDown ? y : height - 1 - y;
        uint8_t* row = data.data() + stride * static_cast<size_t>(fileRow);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t v = values[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            if (bits < 8) {
                const uint32_t perByte = 8u / bits;
                const uint32_t shift = 8 - bits * (static_cast<uint32_t>(x) % perByte + 1);
                row[static_cast<uint32_t>(x) / perByte] |= static_cast<uint8_t>(v << shift);
            } else {
                for (uint32_t i = 0; i < bits / 8u; ++i) {
                    row[static_cast<size_t>(x) * (bits / 8u) + i] = static_cast<uint8_t>(v >> (8 * i));
                }
            }
        }
    }
    return BuildRaw(data);
}

std::vector<uint8_t> CBmpBuilder::Grey24(int32_t width, int32_t height)
{
    return Grey24(width, height, Stride(width, 24) * static_cast<size_t>(height));
}

std::vector<uint8_t> CBmpBuilder::Grey24(int32_t width, int32_t height, size_t pixelBytes)
{
    CBmpBuilder b;
    b.width = width;
    b.height = height;
    b.bits = 24;
    b.imageSize = static_cast<uint32_t>(Stride(width, 24) * static_cast<uint64_t>(height));
    return b.BuildRaw(std::vector<uint8_t>(pixelBytes, 0x80));
}

size_t CBmpBuilder::Stride(int32_t width, uint16_t bits)
{
    return (static_cast<size_t>(width) * bits + 31) / 32 * 4;
}
