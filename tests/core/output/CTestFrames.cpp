#include "CTestFrames.h"

#include <filesystem>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

CBitmap CTestFrames::Pattern(int32_t width, int32_t height, int32_t k)
{
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(width, height);
    uint8_t* p = bitmap.Bits();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* px = p + static_cast<size_t>(y) * bitmap.WidthBytes() + 4 * static_cast<size_t>(x);
            px[0] = static_cast<uint8_t>(x * 7 + k * 31);
            px[1] = static_cast<uint8_t>(y * 13 + k);
            px[2] = static_cast<uint8_t>((x ^ y) * 5 + k * 3);
            px[3] = 0;
        }
    }
    return bitmap;
}

CBitmap CTestFrames::Smooth(int32_t width, int32_t height, int32_t k)
{
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(width, height);
    uint8_t* p = bitmap.Bits();
    const int32_t left = (k * 8) % (width / 2);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* px = p + static_cast<size_t>(y) * bitmap.WidthBytes() + 4 * static_cast<size_t>(x);
            const bool square = x >= left && x < left + width / 4 && y >= height / 4 && y < height / 2;
            px[0] = square ? 40 : static_cast<uint8_t>(255 * x / width);
            px[1] = square ? 200 : static_cast<uint8_t>(255 * y / height);
            px[2] = square ? 220 : static_cast<uint8_t>(128 + k * 10);
            px[3] = 0;
        }
    }
    return bitmap;
}

std::vector<uint8_t> CTestFrames::BottomUp(const CBitmap& bitmap)
{
    const size_t pitch = static_cast<size_t>(bitmap.WidthBytes());
    std::vector<uint8_t> out(bitmap.SizeBytes());
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        std::memcpy(out.data() + (static_cast<size_t>(bitmap.Height() - 1 - y)) * pitch,
                    bitmap.Bits() + static_cast<size_t>(y) * pitch, pitch);
    }
    return out;
}

std::vector<uint8_t> CTestFrames::ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CTestFrames::WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

void CTestFrames::Plant(const std::string& path, const std::string& kind, const std::string& aside)
{
    if (kind == "fifo") {
        ::mkfifo(path.c_str(), 0666);
    } else if (kind == "symlink") {
        WriteFile(aside, {1, 2, 3});
        std::filesystem::create_symlink(aside, path);
    } else if (kind == "read-only") {
        WriteFile(path, {4, 5, 6});
        std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    } else {
        std::filesystem::create_directory(path);
    }
}
