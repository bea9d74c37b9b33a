// ffmpeg and ffprobe read back the files the writers make: an independent
// check that the frame files and the videos are what other programs expect.

#include "support/CRiffReader.h"
#include "support/CTestFrames.h"
#include "output/avi/CAviRecorder.h"
#include "output/bmp/CBitmapInfo.h"
#include "output/bmp/GetDIBits.h"
#include "output/bmp/WriteBitmapFile.h"
#include "support/CFfmpegRunner.h"
#include "support/CTempDir.h"
#include "support/TestFiles.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class AviFfmpegTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!CFfmpegRunner::Available()) {
            GTEST_SKIP() << "ffmpeg and ffprobe are not installed";
        }
    }
};

// Blue, green and red of pixel (x, y) of a top-down 4-byte-per-pixel image.
const uint8_t* Pixel(const uint8_t* image, int32_t width, int32_t x, int32_t y)
{
    return image + (static_cast<size_t>(y) * width + x) * 4;
}

// Compares blue, green and red of every pixel; the fourth byte is unused in
// the frames and ffmpeg fills it with its own alpha value.
::testing::AssertionResult SameColours(const uint8_t* expected, const uint8_t* actual, int32_t width, int32_t height)
{
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* e = Pixel(expected, width, x, y);
            const uint8_t* a = Pixel(actual, width, x, y);
            for (int c = 0; c < 3; ++c) {
                if (e[c] != a[c]) {
                    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") byte " << c
                                                         << ": expected " << int{e[c]} << ", got " << int{a[c]};
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// The pixel array of a 32-bit BMP file turned top-down.
std::vector<uint8_t> TopDownFromBmp(const std::vector<uint8_t>& file, int32_t width, int32_t height)
{
    const uint32_t offset = CRiffReader::U32(file, 10);
    const size_t row = static_cast<size_t>(width) * 4;
    std::vector<uint8_t> out;
    for (int32_t y = height - 1; y >= 0; --y) {
        const auto from = file.begin() + static_cast<long>(offset + y * row);
        out.insert(out.end(), from, from + static_cast<long>(row));
    }
    return out;
}

std::vector<uint8_t> Bytes(const CBitmap& bitmap)
{
    return {bitmap.Bits(), bitmap.Bits() + bitmap.SizeBytes()};
}

} // namespace

TEST_F(AviFfmpegTest, UncompressedVideoDecodesToTheFrameFilesByteForByte)
{
    CTempDir dir;
    const int32_t w = 13;
    const int32_t h = 7;
    const int frames = 6;
    const std::string video = (dir / "trevalin.avi").string();

    CAviRecorder rec;
    rec.m_nFrameRate = 3;
    rec.SetFilePath(video);
    std::vector<CBitmap> bitmaps;
    for (int k = 0; k < frames; ++k) {
        bitmaps.push_back(CTestFrames::Pattern(w, h, k));
        const CBitmap& bitmap = bitmaps.back();
        auto info = MakeBitmapInfo(bitmap);
        ASSERT_NE(info, nullptr);
        if (k == 0) {
            rec.SetFrameFormat(info->header);
            ASSERT_EQ(rec.OpenVideo(), 0);
        }
        std::vector<uint8_t> pixels;
        ASSERT_TRUE(GetDIBits(bitmap, *info, pixels).IsEmpty());
        EXPECT_EQ(rec.WriteFrame(pixels.data()), 0);
        const CMessage error = WriteBitmapFile((dir / ("Frame-" + std::to_string(k) + ".bmp")).string(), *info, bitmap);
        ASSERT_TRUE(error.IsEmpty()) << error.Text();
    }
    ASSERT_EQ(rec.CloseVideo(), 0);

    std::string err;
    const std::string probe = CFfmpegRunner::ProbeStream(video, err);
    EXPECT_EQ(CFfmpegRunner::Value(probe, "codec_name"), "rawvideo") << probe << err;
    EXPECT_EQ(CFfmpegRunner::Value(probe, "width"), "13");
    EXPECT_EQ(CFfmpegRunner::Value(probe, "height"), "7");
    EXPECT_EQ(CFfmpegRunner::Value(probe, "r_frame_rate"), "3/1");
    EXPECT_EQ(CFfmpegRunner::Value(probe, "nb_read_frames"), "6");

    std::vector<uint8_t> decoded;
    ASSERT_TRUE(CFfmpegRunner::DecodeBgra(video, decoded, err)) << err;
    const size_t frameBytes = static_cast<size_t>(w) * h * 4;
    ASSERT_EQ(decoded.size(), frameBytes * frames);
    for (int k = 0; k < frames; ++k) {
        const std::string bmp = (dir / ("Frame-" + std::to_string(k) + ".bmp")).string();
        const std::vector<uint8_t> fromFile = TopDownFromBmp(testfiles::ReadBytes(bmp), w, h);
        EXPECT_EQ(fromFile, Bytes(bitmaps[k])) << "frame file " << k;
        EXPECT_TRUE(SameColours(fromFile.data(), decoded.data() + k * frameBytes, w, h)) << "video frame " << k;

        // ffmpeg reads the frame file back to the same colours.
        std::vector<uint8_t> image;
        ASSERT_TRUE(CFfmpegRunner::DecodeBgra(bmp, image, err)) << err;
        ASSERT_EQ(image.size(), frameBytes);
        EXPECT_TRUE(SameColours(Bytes(bitmaps[k]).data(), image.data(), w, h)) << "decoded frame file " << k;
    }
}

TEST_F(AviFfmpegTest, MotionJpegVideoDecodesCloseToTheFrames)
{
    CTempDir dir;
    const int32_t w = 64;
    const int32_t h = 48;
    const int frames = 5;
    const std::string video = (dir / "mjpeg.avi").string();
    CAviRecorder rec;
    rec.m_nFrameRate = 3;
    rec.SetFilePath(video);
    BITMAP bm;
    bm.bmWidth = w;
    bm.bmHeight = h;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = 32;
    rec.SetFrameFormat(MakeBitmapHeader(bm)->header);
    rec.SetCompressionChooser([](CCompressionOptions& o) {
        o.codec = CCompressionOptions::kMotionJpeg;
        o.quality = 90;
        return true;
    });
    ASSERT_EQ(rec.OpenVideo(), 0);
    std::vector<CBitmap> bitmaps;
    for (int k = 0; k < frames; ++k) {
        bitmaps.push_back(CTestFrames::Smooth(w, h, k));
        EXPECT_EQ(rec.WriteFrame(CTestFrames::BottomUp(bitmaps.back()).data()), 0);
    }
    ASSERT_EQ(rec.CloseVideo(), 0);

    std::string err;
    const std::string probe = CFfmpegRunner::ProbeStream(video, err);
    EXPECT_EQ(CFfmpegRunner::Value(probe, "codec_name"), "mjpeg") << probe << err;
    EXPECT_EQ(CFfmpegRunner::Value(probe, "codec_tag_string"), "MJPG");
    EXPECT_EQ(CFfmpegRunner::Value(probe, "width"), "64");
    EXPECT_EQ(CFfmpegRunner::Value(probe, "height"), "48");
    EXPECT_EQ(CFfmpegRunner::Value(probe, "r_frame_rate"), "3/1");
    EXPECT_EQ(CFfmpegRunner::Value(probe, "nb_read_frames"), "5");

    std::vector<uint8_t> decoded;
    ASSERT_TRUE(CFfmpegRunner::DecodeBgra(video, decoded, err)) << err;
    const size_t frameBytes = static_cast<size_t>(w) * h * 4;
    ASSERT_EQ(decoded.size(), frameBytes * frames);
    for (int k = 0; k < frames; ++k) {
        // Mean difference per channel: JPEG at quality 90 stays within a few
        // levels; a wrong, flipped or shifted frame is off by far more.
        const uint8_t* expected = bitmaps[k].Bits();
        const uint8_t* actual = decoded.data() + k * frameBytes;
        for (int c = 0; c < 3; ++c) {
            double sum = 0;
            for (size_t i = 0; i < frameBytes; i += 4) {
                sum += std::abs(int{expected[i + c]} - int{actual[i + c]});
            }
            EXPECT_LT(sum / (w * h), 2.5) << "frame " << k << " channel " << c;
        }
    }
}

TEST_F(AviFfmpegTest, OpenDmlVideoKeepsEveryFrameReadable)
{
    CTempDir dir;
    const int32_t w = 8;
    const int32_t h = 8;
    const int frames = 150;
    const std::string video = (dir / "long.avi").string();
    CAviRecorder rec;
    rec.m_nFrameRate = 3;
    rec.SetFilePath(video);
    rec.SetOpenDmlLimit(8192);
    BITMAP bm;
    bm.bmWidth = w;
    bm.bmHeight = h;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = 32;
    rec.SetFrameFormat(MakeBitmapHeader(bm)->header);
    ASSERT_EQ(rec.OpenVideo(), 0);
    std::vector<CBitmap> bitmaps;
    for (int k = 0; k < frames; ++k) {
        bitmaps.push_back(CTestFrames::Pattern(w, h, k));
        EXPECT_EQ(rec.WriteFrame(CTestFrames::BottomUp(bitmaps.back()).data()), 0);
    }
    ASSERT_EQ(rec.CloseVideo(), 0);
    CRiffReader riff;
    ASSERT_TRUE(riff.Parse(testfiles::ReadBytes(video))) << riff.Error();
    EXPECT_GT(riff.Top().size(), 4u); // several RIFF parts

    std::string err;
    const std::string probe = CFfmpegRunner::ProbeStream(video, err);
    EXPECT_EQ(CFfmpegRunner::Value(probe, "nb_read_frames"), "150") << probe << err;
    EXPECT_EQ(CFfmpegRunner::Value(probe, "nb_frames"), "150") << probe << err;
    std::vector<uint8_t> decoded;
    ASSERT_TRUE(CFfmpegRunner::DecodeBgra(video, decoded, err)) << err;
    const size_t frameBytes = static_cast<size_t>(w) * h * 4;
    ASSERT_EQ(decoded.size(), frameBytes * frames);
    for (int k = 0; k < frames; ++k) {
        EXPECT_TRUE(SameColours(bitmaps[k].Bits(), decoded.data() + k * frameBytes, w, h)) << "frame " << k;
    }
    // A seek into a late part goes through the OpenDML indexes: 46.6 s at
    // 3 frames per second is frame 140 (46.67 s).
    std::vector<uint8_t> sought;
    ASSERT_TRUE(CFfmpegRunner::DecodeFrameAt(video, "46.6", sought, err)) << err;
    ASSERT_EQ(sought.size(), frameBytes);
    EXPECT_TRUE(SameColours(bitmaps[140].Bits(), sought.data(), w, h));
}
