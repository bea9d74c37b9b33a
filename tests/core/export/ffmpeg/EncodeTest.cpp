// The video and frame-file encoders, read back by ffprobe and ffmpeg as
// independent readers.

#include "support/CTestFrames.h"
#include "export/CExportMessages.h"
#include "export/ffmpeg/CFfmpegVideoWriter.h"
#include "export/ffmpeg/CFrameFileWriter.h"
#include "export/FrameFileName.h"
#include "support/CFfmpegRunner.h"
#include "support/CTempDir.h"
#include "support/RunUnprivileged.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;
constexpr int32_t kFrames = 10;

using testfiles::Names;

// Largest and mean difference of blue, green and red between two top-down
// 4-byte-per-pixel images (the fourth byte is unused in frames).
struct Difference {
    int largest = 0;
    double mean = 0;
};

Difference Compare(const uint8_t* expected, const uint8_t* actual, size_t pixels)
{
    Difference d;
    for (size_t i = 0; i < pixels * 4; ++i) {
        if (i % 4 != 3) {
            const int e = std::abs(expected[i] - actual[i]);
            d.largest = std::max(d.largest, e);
            d.mean += e;
        }
    }
    d.mean /= static_cast<double>(pixels * 3);
    return d;
}

// Writes kFrames smooth frames of inW x inH into a video of the settings;
// a GIF's palette from all of them (else from the first alone).
bool WriteVideo(const std::string& path, const CVideoSettings& s, int32_t inW, int32_t inH, std::string& error,
                bool sampled = true)
{
    CFfmpegVideoWriter writer;
    bool ok = writer.Open(path, s);
    for (int32_t k = 0; sampled && k < kFrames; ++k) {
        const CBitmap frame = CTestFrames::Smooth(inW, inH, k);
        ok = ok && writer.AddPaletteSample(frame.Bits(), frame.WidthBytes(), inW, inH);
    }
    for (int32_t k = 0; ok && k < kFrames; ++k) {
        const CBitmap frame = CTestFrames::Smooth(inW, inH, k);
        ok = writer.AddFrame(frame.Bits(), frame.WidthBytes(), inW, inH);
    }
    ok = ok && writer.Finish();
    error = writer.Error().Text();
    return ok;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class EncodeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!CFfmpegRunner::Available()) {
            GTEST_SKIP() << "ffmpeg and ffprobe are not installed";
        }
    }
    CTempDir m_dir;
};

struct VideoCase {
    CVideoSettings::Format format;
    int32_t fps;
    int32_t inputWidth; // frames of another size are scaled to kWidth x kHeight
    const char* codec;
    const char* rate; // the stream's frame rate ("" for GIF: ffprobe guesses one)
    double period;    // seconds between frames; GIF: the nearest 1/100 s delay
};

// The presentation times of the video's frames, in seconds.
std::vector<double> FrameTimes(const std::string& path)
{
    std::string out;
    std::string err;
    CFfmpegRunner::Run(
        "ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries", "frame=pts_time", "-of", "csv=p=0", path},
        out, err);
    std::vector<double> times;
    std::stringstream lines(out);
    // A frame's line may go on with its side data (x264 notes its settings
    // in the first); those notes may break the line.
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) {
            times.push_back(std::stod(line));
        }
    }
    return times;
}

class VideoFormatTest : public EncodeTest, public ::testing::WithParamInterface<VideoCase> {};

} // namespace

TEST_P(VideoFormatTest, ProbesAsItsCodecWithEveryFrameAtItsRate)
{
    const VideoCase& c = GetParam();
    const std::string name = std::string("clip") + CVideoSettings::Extension(c.format);
    std::string error;
    // A GIF's palette from its first frame here: no samples are needed.
    ASSERT_TRUE(WriteVideo((m_dir / name).string(), {c.format, kWidth, kHeight, c.fps, 60}, c.inputWidth,
                           c.inputWidth * 3 / 4, error, false))
        << error;
    const std::string probe = CFfmpegRunner::ProbeStream((m_dir / name).string(), error);
    EXPECT_EQ(CFfmpegRunner::Value(probe, "codec_name"), c.codec) << probe << error;
    EXPECT_EQ(CFfmpegRunner::Value(probe, "nb_read_frames"), std::to_string(kFrames));
    if (*c.rate != '\0') {
        EXPECT_EQ(CFfmpegRunner::Value(probe, "r_frame_rate"), c.rate);
    }
    const std::vector<double> times = FrameTimes((m_dir / name).string());
    ASSERT_EQ(times.size(), size_t{kFrames});
    for (size_t k = 1; k < times.size(); ++k) {
        EXPECT_NEAR(times[k] - times[k - 1], c.period, 0.0011) << "frame " << k;
    }
    EXPECT_EQ(CFfmpegRunner::Value(probe, "width"), std::to_string(kWidth));
    EXPECT_EQ(CFfmpegRunner::Value(probe, "height"), std::to_string(kHeight));
    EXPECT_EQ(Names(m_dir.Path()), std::vector<std::string>{name}) << "a temporary file was left";
}

INSTANTIATE_TEST_SUITE_P(Formats, VideoFormatTest,
                         ::testing::Values(VideoCase{CVideoSettings::kMp4H264, 25, kWidth, "h264", "25/1", 0.04},
                                           VideoCase{CVideoSettings::kMp4H264, 7, 96, "h264", "7/1", 1.0 / 7},
                                           VideoCase{CVideoSettings::kWebmVp9, 25, kWidth, "vp9", "25/1", 0.04},
                                           VideoCase{CVideoSettings::kWebmVp9, 7, 96, "vp9", "7/1", 1.0 / 7},
                                           VideoCase{CVideoSettings::kGif, 25, kWidth, "gif", "", 0.04},
                                           VideoCase{CVideoSettings::kGif, 7, 96, "gif", "", 0.14},
                                           VideoCase{CVideoSettings::kGif, 120, kWidth, "gif", "", 0.02}));

TEST_F(EncodeTest, BestQualityVideosDecodeNearTheFrames)
{
    // Bounds of the mean colour error; quality 50 passes none of them. A GIF
    // has 256 colours for all frames, dithered.
    const std::pair<CVideoSettings::Format, double> bounds[] = {
        {CVideoSettings::kMp4H264, 3.0}, {CVideoSettings::kWebmVp9, 3.0}, {CVideoSettings::kGif, 9.5}};
    for (const auto& [format, bound] : bounds) {
        SCOPED_TRACE(CVideoSettings::FormatName(format).Text());
        const std::string path = (m_dir / (std::string("best") + CVideoSettings::Extension(format))).string();
        std::string error;
        ASSERT_TRUE(WriteVideo(path, {format, kWidth, kHeight, 25, 100}, kWidth, kHeight, error)) << error;
        std::vector<uint8_t> decoded;
        ASSERT_TRUE(CFfmpegRunner::DecodeBgra(path, decoded, error)) << error;
        const size_t frameBytes = size_t{kWidth} * kHeight * 4;
        ASSERT_EQ(decoded.size(), frameBytes * kFrames);
        for (int32_t k = 0; k < kFrames; ++k) {
            const Difference d = Compare(CTestFrames::Smooth(kWidth, kHeight, k).Bits(),
                                         decoded.data() + frameBytes * k, size_t{kWidth} * kHeight);
            EXPECT_LT(d.mean, bound) << "frame " << k;
        }
    }
}

TEST_F(EncodeTest, CancelledOrFailedVideoLeavesTheFolderAsItWas)
{
    const fs::path dest = m_dir / "clip.gif";
    testfiles::WriteBytes(dest.string(), {'o', 'l', 'd'});
    const CBitmap frame = CTestFrames::Smooth(kWidth, kHeight, 0);
    CCancelToken stop;
    // Each way to end a writer early: it returns false and leaves only the
    // old destination.
    const std::vector<std::function<bool(CFfmpegVideoWriter&)>> ends = {
        [](CFfmpegVideoWriter& w) { return w.Cancel(), false; },
        [&](CFfmpegVideoWriter& w) { return stop.Cancel(), w.AddFrame(frame.Bits(), frame.WidthBytes(), 8, 8); },
        [&](CFfmpegVideoWriter& w) { return stop.Cancel(), w.Finish(); },
        [&](CFfmpegVideoWriter& w) { return w.AddFrame(frame.Bits(), 16, kWidth, kHeight) || w.Finish(); },
    };
    for (size_t i = 0; i < ends.size(); ++i) {
        CFfmpegVideoWriter writer;
        writer.SetCancelTicket(stop.Issue()); // a fresh ticket for each writer
        ASSERT_TRUE(writer.Open(dest.string(), {CVideoSettings::kGif, kWidth, kHeight, 25, 50}))
            << writer.Error().Text();
        ASSERT_TRUE(writer.AddFrame(frame.Bits(), frame.WidthBytes(), kWidth, kHeight));
        EXPECT_FALSE(ends[i](writer)) << i;
        EXPECT_EQ(writer.IsCancelled(), i < 3) << i;
        EXPECT_EQ(writer.Error().Text().empty(), i < 3) << i << writer.Error().Text();
        EXPECT_EQ(Names(m_dir.Path()), std::vector<std::string>{"clip.gif"}) << i;
        EXPECT_EQ(testfiles::ReadBytes(dest.string()), (std::vector<uint8_t>{'o', 'l', 'd'})) << i;
    }
}

TEST_F(EncodeTest, DestinationTurnedFolderFailsTheFinishAndLeavesNoFile)
{
    const fs::path dest = m_dir / "clip.mp4";
    CFfmpegVideoWriter writer;
    ASSERT_TRUE(writer.Open(dest.string(), {CVideoSettings::kMp4H264, kWidth, kHeight, 25, 50}));
    const CBitmap frame = CTestFrames::Smooth(kWidth, kHeight, 0);
    ASSERT_TRUE(writer.AddFrame(frame.Bits(), frame.WidthBytes(), kWidth, kHeight));
    fs::create_directories(dest / "inside");
    EXPECT_FALSE(writer.Finish());
    EXPECT_EQ(writer.Error().Text(), CExportMessages::WriteFailed(dest.string(), EISDIR).Text());
    EXPECT_EQ(Names(m_dir.Path()), std::vector<std::string>{"clip.mp4"});
    EXPECT_TRUE(fs::is_directory(dest));
}

TEST_F(EncodeTest, UnwritableFolderFailsEveryWriterBeforeAnythingIsWritten)
{
    const fs::path locked = testfiles::LockedFolder(m_dir.Path());
    const std::string expected = CExportMessages::FolderNotWritable(locked.string(), EACCES).Text();
    const CBitmap frame = CTestFrames::Pattern(4, 4, 0);
    // Bit 0: the video writer failed as expected; bit 1: the frame writer.
    const int outcome = RunUnprivileged([&] {
        CFfmpegVideoWriter video;
        const bool videoFailed = !video.Open((locked / "v.webm").string(), {CVideoSettings::kWebmVp9, 4, 4, 25, 50}) &&
                                 video.Error().Text() == expected;
        CFrameFileWriter files;
        const bool filesFailed = files.Open({CFrameFileSettings::kPng, 4, 4, 90}) &&
                                 !files.Write((locked / "f.png").string(), frame.Bits(), frame.WidthBytes(), 4, 4) &&
                                 files.Error().Text() == expected;
        return (videoFailed ? 1 : 0) | (filesFailed ? 2 : 0);
    });
    EXPECT_EQ(outcome, 3);
    EXPECT_TRUE(fs::is_empty(locked));
}

TEST_F(EncodeTest, FifoAtTheDestinationIsReplacedWithoutBlocking)
{
    const CBitmap frame = CTestFrames::Pattern(kWidth, kHeight, 0);
    const fs::path video = m_dir / "clip.webm";
    const fs::path still = m_dir / "frame.jpg";
    ASSERT_EQ(::mkfifo(video.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(still.c_str(), 0600), 0);
    std::string error;
    EXPECT_TRUE(WriteVideo(video.string(), {CVideoSettings::kWebmVp9, kWidth, kHeight, 25, 50}, kWidth, kHeight, error))
        << error;
    CFrameFileWriter files;
    ASSERT_TRUE(files.Open({CFrameFileSettings::kJpeg, kWidth, kHeight, 80}));
    EXPECT_TRUE(files.Write(still.string(), frame.Bits(), frame.WidthBytes(), kWidth, kHeight)) << files.Error().Text();
    EXPECT_TRUE(fs::is_regular_file(video));
    EXPECT_TRUE(fs::is_regular_file(still));
    EXPECT_EQ(Names(m_dir.Path()), (std::vector<std::string>{"clip.webm", "frame.jpg"}));
}

TEST_F(EncodeTest, FrameFilesDecodeToTheFramePixels)
{
    struct Case {
        CFrameFileSettings::Format format;
        int32_t inputWidth;
        int32_t quality;
        int largest; // difference allowed in any colour byte
    };
    // PNG and BMP keep every pixel; scaled, they keep the same pixels.
    const Case cases[] = {{CFrameFileSettings::kPng, kWidth, 0, 0},
                          {CFrameFileSettings::kBmp, kWidth, 0, 0},
                          {CFrameFileSettings::kJpeg, kWidth, 100, 8},
                          {CFrameFileSettings::kPng, 100, 0, -1},
                          {CFrameFileSettings::kBmp, 100, 0, -1}};
    std::vector<uint8_t> scaled;
    for (const Case& c : cases) {
        const std::string path =
            (m_dir / ("f" + std::to_string(c.inputWidth) + CFrameFileSettings::Extension(c.format))).string();
        SCOPED_TRACE(path);
        const int32_t inH = c.inputWidth * 3 / 4;
        const CBitmap frame = c.format == CFrameFileSettings::kJpeg ? CTestFrames::Smooth(c.inputWidth, inH, 1)
                                                                    : CTestFrames::Pattern(c.inputWidth, inH, 1);
        CFrameFileWriter writer;
        ASSERT_TRUE(writer.Open({c.format, kWidth, kHeight, c.quality}));
        // A writer keeps its buffers from one frame to the next: an earlier
        // frame leaves nothing in the next one's file.
        const CBitmap earlier = CTestFrames::Pattern(c.inputWidth, inH, 7);
        ASSERT_TRUE(writer.Write(path, earlier.Bits(), earlier.WidthBytes(), c.inputWidth, inH))
            << writer.Error().Text();
        ASSERT_TRUE(writer.Write(path, frame.Bits(), frame.WidthBytes(), c.inputWidth, inH)) << writer.Error().Text();
        std::vector<uint8_t> decoded;
        std::string error;
        ASSERT_TRUE(CFfmpegRunner::DecodeBgra(path, decoded, error)) << error;
        ASSERT_EQ(decoded.size(), size_t{kWidth} * kHeight * 4);
        if (c.largest >= 0) {
            EXPECT_LE(Compare(frame.Bits(), decoded.data(), size_t{kWidth} * kHeight).largest, c.largest);
        } else if (scaled.empty()) {
            scaled = decoded;
        } else {
            EXPECT_EQ(Compare(scaled.data(), decoded.data(), size_t{kWidth} * kHeight).largest, 0);
        }
    }
    EXPECT_EQ(Names(m_dir.Path()).size(), std::size(cases)) << "a temporary file was left";
}

TEST(FrameFileNameTest, PadsToFourDigitsOrWhatTheLastFrameNeeds)
{
    EXPECT_EQ(FrameFileName("base", 0, 10, ".png"), "base-0000.png");
    EXPECT_EQ(FrameFileName("base", 9999, 10000, ".jpg"), "base-9999.jpg");
    EXPECT_EQ(FrameFileName("base", 7, 10001, ".bmp"), "base-00007.bmp");
    EXPECT_EQ(FrameFileName("a b", 123456, 123457, ".png"), "a b-123456.png");
}

TEST_F(EncodeTest, EncoderSettingsReachTheVideo)
{
    // x264 notes its settings in the stream: ultrafast's (no subpixel
    // search) with the rate factor of quality 60 (28) four higher, or
    // medium's with quality 60's own.
    std::string error;
    for (const auto& [preset, notes] : {std::pair<int32_t, std::string>{0, "subme=0 "}, {5, "subme=7 "}}) {
        const std::string mp4 = (m_dir / ("p" + std::to_string(preset) + ".mp4")).string();
        CVideoSettings s{CVideoSettings::kMp4H264, kWidth, kHeight, 25, 60};
        s.mp4Preset = preset;
        ASSERT_TRUE(WriteVideo(mp4, s, kWidth, kHeight, error)) << error;
        const std::string bytes = ReadAll(mp4);
        EXPECT_NE(bytes.find(notes), std::string::npos) << preset;
        EXPECT_NE(bytes.find(preset == 0 ? "crf=32.0" : "crf=28.0"), std::string::npos) << preset;
    }

    // Ordered and diffused GIFs whose palette is sampled keep every frame
    // and differ.
    std::string gifs[2];
    const CVideoSettings::GifDither dithers[] = {CVideoSettings::GifDither::kOrdered,
                                                 CVideoSettings::GifDither::kDiffusion};
    for (size_t d = 0; d < 2; ++d) {
        CVideoSettings s{CVideoSettings::kGif, kWidth, kHeight, 25, 75};
        s.gifDither = dithers[d];
        const std::string path = (m_dir / ("d" + std::to_string(d) + ".gif")).string();
        ASSERT_TRUE(WriteVideo(path, s, kWidth, kHeight, error)) << error;
        const std::string probe = CFfmpegRunner::ProbeStream(path, error);
        EXPECT_EQ(CFfmpegRunner::Value(probe, "nb_read_frames"), std::to_string(kFrames));
        gifs[d] = ReadAll(path);
    }
    EXPECT_NE(gifs[0], gifs[1]);
}

TEST(VideoSettingsTest, PaletteSamplesTheFirstTheLastAndEvenlyBetween)
{
    for (const int64_t count : {1, 16, 17, 51, 1000}) {
        std::vector<int64_t> samples;
        for (int64_t i = 0; i < count; ++i) {
            if (CVideoSettings::IsPaletteSample(i, count)) samples.push_back(i);
        }
        ASSERT_EQ(samples.size(), static_cast<size_t>(std::min<int64_t>(count, CVideoSettings::kGifPaletteSamples)));
        EXPECT_EQ(samples.front(), 0);
        EXPECT_EQ(samples.back(), count - 1);
        for (size_t j = 1; j + 1 < samples.size(); ++j) {
            const double even =
                static_cast<double>(j) * static_cast<double>(count - 1) / static_cast<double>(samples.size() - 1);
            EXPECT_NEAR(static_cast<double>(samples[j]), even, 0.5) << count;
        }
    }
    CVideoSettings::GifDither dither{};
    EXPECT_TRUE(CVideoSettings::ParseGifDither("diffusion", dither));
    EXPECT_EQ(dither, CVideoSettings::GifDither::kDiffusion);
    EXPECT_FALSE(CVideoSettings::ParseGifDither("bayer", dither));
}
