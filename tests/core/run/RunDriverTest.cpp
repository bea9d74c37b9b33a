#include "document/CPictureDecoder.h"
#include "document/CPictureImage.h"
#include "document/CTrevalinDoc.h"
#include "run/CRunDriver.h"
#include "support/CFfmpegRunner.h"
#include "support/CRiffReader.h"
#include "support/CTempDir.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// Decodes "W H R G B" text into a picture of one colour: enough to give the
// run pictures of chosen sizes and contents.
class CSolidDecoder : public CPictureDecoder {
public:
    bool Decode(const uint8_t* data, size_t size, CPictureImage& out, CMessage& error) const override
    {
        int w = 0, h = 0, r = 0, g = 0, b = 0;
        const std::string text(reinterpret_cast<const char*>(data), size);
        if (std::sscanf(text.c_str(), "%d %d %d %d %d", &w, &h, &r, &g, &b) != 5 || w < 0 || h < 0) {
            error = CMessage::Plain("not a solid picture");
            return false;
        }
        out.width = w;
        out.height = h;
        out.pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 255);
        for (size_t i = 0; i < out.pixels.size(); i += 4) {
            out.pixels[i] = static_cast<uint8_t>(b);
            out.pixels[i + 1] = static_cast<uint8_t>(g);
            out.pixels[i + 2] = static_cast<uint8_t>(r);
        }
        return true;
    }
};

class RunDriver : public ::testing::Test {
protected:
    RunDriver() : doc(dir.Str(), std::make_shared<CSolidDecoder>()) { fs::create_directories(dir / "images"); }

    void Picture(int index, const std::string& solid)
    {
        const fs::path path = dir / "images" / ("p" + std::to_string(index));
        std::ofstream(path) << solid;
        ASSERT_EQ(doc.GetPicture(index)->LoadFromFile(path.string()), 1);
    }

    // Reads the blue byte of the first pixel of a frame file.
    static int FirstBlue(const fs::path& file)
    {
        const std::vector<uint8_t> b = testfiles::ReadBytesOrEmpty(file);
        return b.size() > 54 ? b[54] : -1;
    }

    int VideoFrames() const
    {
        std::string err;
        const std::string probe = CFfmpegRunner::ProbeStream((dir / "output_video" / "trevalin.avi").string(), err);
        const std::string n = CFfmpegRunner::Value(probe, "nb_read_frames");
        return n.empty() ? -1 : std::stoi(n);
    }

    // The frames the video file holds, read from its RIFF chunks; -1 when
    // there is no readable video.
    int VideoChunks() const
    {
        CRiffReader riff;
        if (!riff.Parse(testfiles::ReadBytesOrEmpty(dir / "output_video" / "trevalin.avi")) || riff.Top().empty())
            return -1;
        const CRiffReader::Chunk* movi = riff.Top().front().Find("movi");
        return movi != nullptr ? static_cast<int>(movi->All("00db").size()) : -1;
    }

    CTempDir dir;
    CTrevalinDoc doc;
    int chooserCalls = 0;
    bool accept = true;
    CCompressionChooser chooser = [this](CCompressionOptions&) {
        ++chooserCalls;
        return accept;
    };
};

TEST_F(RunDriver, PicturesThatDisagreeOrAreMissingStartNothing)
{
    CRunDriver driver(doc, chooser);
    driver.SetSteps(2);
    const CRunDriver::StartResult none = driver.Start();
    EXPECT_EQ(none.status, CRunDriver::StartStatus::kIncompatible) << "no pictures at all";
    EXPECT_EQ(CRunDriver::IncompatibleMessage(none).Text(), "不一致的图片大小或颜色格式!\n还没有打开源图片。");
    // A project names a target picture that is not there: the message names it.
    Picture(0, "8 6 10 20 30");
    std::ofstream(dir / "p.tvl", std::ios::binary) << std::string("\x03\\p0\x07\\gone.b\0\0\0\0\0\0\0\0", 20);
    ASSERT_TRUE(doc.OnOpenDocument((dir / "p.tvl").string()).ok);
    const CRunDriver::StartResult missing = driver.Start();
    EXPECT_EQ(missing.missingPicture, 1);
    EXPECT_EQ(CRunDriver::IncompatibleMessage(missing).Text(),
              "不一致的图片大小或颜色格式!\n找不到目标图片 " + (dir / "images" / "gone.b").string() + "。");
    Picture(1, "8 7 10 20 30");
    EXPECT_EQ(driver.Start().status, CRunDriver::StartStatus::kIncompatible);
    EXPECT_FALSE(driver.IsRunning());
    EXPECT_FALSE(driver.HasRecorder());
    EXPECT_EQ(chooserCalls, 0);
    EXPECT_FALSE(fs::exists(dir / "output_video"));
}

TEST_F(RunDriver, FullRunWritesFramesZeroToNOnceEachAndTheVideo)
{
    Picture(0, "8 6 0 0 0");
    Picture(1, "8 6 0 0 200");
    CRunDriver driver(doc, chooser);
    driver.UseEngine(EngineKind::kLinear);
    driver.SetSteps(4);
    const CRunDriver::StartResult started = driver.Start();
    ASSERT_EQ(started.status, CRunDriver::StartStatus::kStarted);
    EXPECT_EQ(started.video, CRunDriver::VideoState::kOpen) << started.videoError.Text();
    EXPECT_TRUE(driver.IsRunning());
    int frames = 0;
    do {
        const CRunDriver::FrameResult r = driver.ProduceFrame();
        EXPECT_TRUE(r.fileWritten) << r.fileError.Text();
        EXPECT_TRUE(r.videoWritten) << r.videoError.Text();
        ++frames;
    } while (driver.Advance());
    EXPECT_EQ(frames, 5);
    EXPECT_TRUE(driver.Stop());
    EXPECT_EQ(driver.GetFrameIndex(), 0);
    EXPECT_FALSE(driver.IsRunning());
    for (int k = 0; k <= 4; ++k) {
        EXPECT_EQ(FirstBlue(dir / "ouput_image" / ("Frame-" + std::to_string(k) + ".bmp")), 50 * k) << k;
    }
    EXPECT_FALSE(fs::exists(dir / "ouput_image" / "Frame-5.bmp"));
    if (CFfmpegRunner::Available()) {
        EXPECT_EQ(VideoFrames(), 5);
    }

    // The next run takes the pictures as they are then.
    Picture(1, "8 6 0 0 100");
    ASSERT_EQ(driver.Start().status, CRunDriver::StartStatus::kStarted);
    driver.ProduceFrame();
    ASSERT_TRUE(driver.Advance());
    EXPECT_TRUE(driver.ProduceFrame().fileWritten);
    EXPECT_EQ(FirstBlue(dir / "ouput_image" / "Frame-1.bmp"), 25);
    EXPECT_TRUE(driver.Stop());
}

TEST_F(RunDriver, PauseKeepsTheFrameAndStartGoesOnWithTheSameVideo)
{
    Picture(0, "4 4 0 0 0");
    Picture(1, "4 4 0 0 100");
    CRunDriver driver(doc, chooser);
    driver.UseEngine(EngineKind::kLinear);
    driver.SetSteps(4);
    ASSERT_EQ(driver.Start().status, CRunDriver::StartStatus::kStarted);
    driver.ProduceFrame();
    driver.Advance();
    driver.ProduceFrame();
    driver.Pause();
    EXPECT_FALSE(driver.IsRunning());
    EXPECT_EQ(driver.GetFrameIndex(), 1);
    const CRunDriver::StartResult resumed = driver.Start();
    ASSERT_EQ(resumed.status, CRunDriver::StartStatus::kStarted);
    EXPECT_TRUE(resumed.resumed);
    EXPECT_EQ(resumed.video, CRunDriver::VideoState::kOpen);
    EXPECT_EQ(driver.GetFrameIndex(), 2) << "the frame already produced is not made twice";
    do {
        driver.ProduceFrame();
    } while (driver.Advance());
    EXPECT_TRUE(driver.Stop());
    EXPECT_EQ(VideoChunks(), 5) << "one video of frames 0 to 4";
    EXPECT_EQ(chooserCalls, 1);
    EXPECT_TRUE(driver.IsVideoWritten());

    // After Stop, Start begins a new sequence with a new video.
    ASSERT_FALSE(driver.Start().resumed);
    EXPECT_EQ(driver.GetFrameIndex(), 0);
    driver.ProduceFrame();
    driver.Stop();
    EXPECT_EQ(VideoChunks(), 1);
    EXPECT_EQ(chooserCalls, 2);
}

TEST_F(RunDriver, ASecondRunInTheSameFolderIsRefusedUntilTheFirstStops)
{
    Picture(0, "4 4 0 0 0");
    Picture(1, "4 4 0 0 100");
    CRunDriver first(doc, chooser);
    CRunDriver second(doc, chooser);
    first.SetSteps(2);
    second.SetSteps(2);
    ASSERT_EQ(first.Start().status, CRunDriver::StartStatus::kStarted);
    first.Pause();
    EXPECT_EQ(second.Start().status, CRunDriver::StartStatus::kBusy) << "a paused run keeps the folder";
    EXPECT_FALSE(second.HasRecorder());
    EXPECT_EQ(chooserCalls, 1);
    first.Stop();
    EXPECT_EQ(second.Start().status, CRunDriver::StartStatus::kStarted);
    second.Stop();
}

TEST_F(RunDriver, StopWithoutRecorderOnlyRewinds)
{
    CRunDriver driver(doc, chooser);
    EXPECT_FALSE(driver.Stop());
    EXPECT_EQ(driver.GetFrameIndex(), 0);
}

TEST_F(RunDriver, CancelledVideoStillWritesFramesWithoutVideoErrors)
{
    accept = false;
    Picture(0, "4 4 1 2 3");
    Picture(1, "4 4 1 2 3");
    CRunDriver driver(doc, chooser);
    driver.SetSteps(1);
    const CRunDriver::StartResult started = driver.Start();
    ASSERT_EQ(started.status, CRunDriver::StartStatus::kStarted);
    EXPECT_EQ(started.video, CRunDriver::VideoState::kCancelled);
    const CRunDriver::FrameResult r = driver.ProduceFrame();
    EXPECT_TRUE(r.fileWritten);
    EXPECT_FALSE(r.videoWritten);
    EXPECT_TRUE(r.videoError.Text().empty()) << r.videoError.Text();
    EXPECT_TRUE(driver.Stop()) << "a recorder exists even when the video was not opened";
    EXPECT_TRUE(driver.GetCloseError().Text().empty());
    EXPECT_FALSE(driver.IsVideoWritten());
    EXPECT_EQ(driver.NoVideoMessage().Text(), "没有写入视频文件(已取消选择压缩方式)");
}

TEST_F(RunDriver, AVideoThatCannotBeOpenedIsNotWritten)
{
    Picture(0, "4 4 1 2 3");
    Picture(1, "4 4 1 2 3");
    // A folder where the video goes fails the open.
    fs::create_directories(dir / "output_video" / "trevalin.avi");
    CRunDriver driver(doc, chooser);
    driver.SetSteps(1);
    const CRunDriver::StartResult started = driver.Start();
    ASSERT_EQ(started.video, CRunDriver::VideoState::kFailed);
    driver.ProduceFrame();
    EXPECT_TRUE(driver.Stop());
    EXPECT_FALSE(driver.IsVideoWritten());
    EXPECT_EQ(driver.NoVideoMessage().Text(), "没有写入视频文件:" + started.videoError.Text());
}

TEST_F(RunDriver, SwitchingEnginesMidRunKeepsThePictures)
{
    Picture(0, "4 4 0 0 0");
    Picture(1, "4 4 0 0 200");
    CRunDriver driver(doc, chooser);
    driver.SetSteps(2);
    ASSERT_EQ(driver.Start().status, CRunDriver::StartStatus::kStarted);
    EXPECT_EQ(driver.GetEngineKind(), EngineKind::kFeature);
    driver.UseEngine(EngineKind::kLinear);
    EXPECT_EQ(driver.GetEngineKind(), EngineKind::kLinear);
    driver.Advance();
    driver.ProduceFrame();
    EXPECT_EQ(driver.GetFrame().Bits()[0], 100) << "the new engine blends the run's pictures";
    driver.UseEngine(EngineKind::kFeature);
    driver.ProduceFrame();
    EXPECT_EQ(driver.GetFrame().Bits()[0], 0) << "no line pairs: the feature engine's frame is black";
    driver.Stop();
}

} // namespace
