#include "document/CTrevalinDoc.h"
#include "export/CExportJob.h"
#include "export/CExportSequence.h"
#include "options/CMorphOptionsFile.h"
#include "run/COutputLocks.h"
#include "support/CFfmpegRunner.h"
#include "support/CTempDir.h"
#include "support/DocTestSupport.h"
#include "support/FakePictureDecoder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Frames = CExportSettings::Frames;
using Video = CExportSettings::Video;

using testfiles::Names;

class ExportJob : public ::testing::Test {
protected:
    ExportJob() : doc(work.Str(), std::make_shared<FakePictureDecoder>())
    {
        fs::create_directories(work / "images");
        fs::create_directories(work / "out");
        Pictures(32, 24);
        doctest::AddLine(doc, 0, {{4, 4}, {28, 6}});
        doctest::AddLine(doc, 1, {{6, 10}, {26, 20}});
        settings.folder = (work / "out").string();
        settings.baseName = "clip";
        settings.steps = 4;
        settings.fps = 10;
    }

    void Pictures(int32_t w, int32_t h)
    {
        for (int i = 0; i < 2; ++i) {
            const fs::path path = work / "images" / ("p" + std::to_string(i));
            testfiles::WriteBytes(path, FakePictureDecoder::Picture(w, h, static_cast<uint8_t>(40 + 150 * i)));
            ASSERT_EQ(doc.GetPicture(i)->LoadFromFile(path.string()), 1);
        }
    }

    std::vector<std::string> Out() const { return Names(work / "out"); }

    CTempDir work;
    CTrevalinDoc doc;
    CExportSettings settings;
};

TEST(ExportSettings, TimelineHoldsAndPingPong)
{
    const struct {
        int32_t steps, fps;
        double holdFirst, holdLast;
        bool pingPong;
        int32_t first, last;
        std::vector<int32_t> order;
    } cases[] = {
        {3, 25, 0, 0, false, 0, -1, {0, 1, 2, 3}},         {3, 10, 0.2, 0.1, false, 0, -1, {0, 0, 0, 1, 2, 3, 3}},
        {3, 10, 0, 0, true, 0, -1, {0, 1, 2, 3, 2, 1, 0}}, {2, 4, 0.5, 0.25, true, 0, -1, {0, 0, 0, 1, 2, 2, 1, 0}},
        {5, 10, 0.2, 0, true, 2, 3, {2, 3, 3, 2}},         {1, 120, 0.01, 0, false, 0, -1, {0, 0, 1}},
    };
    for (const auto& c : cases) {
        CExportSettings s;
        s.steps = c.steps;
        s.fps = c.fps;
        s.holdFirstSeconds = c.holdFirst;
        s.holdLastSeconds = c.holdLast;
        s.pingPong = c.pingPong;
        s.firstFrame = c.first;
        s.lastFrame = c.last;
        EXPECT_EQ(s.Timeline(), c.order) << c.steps << " steps, " << c.first << "-" << c.last;
    }
}

// Morphs of 2, 3 and 1 steps with one held copy per picture: each frame's
// morph and k, the joins once.
TEST(ExportSequence, FramesOfEachMorphInTurn)
{
    CTrevalinDoc doc("/nonexistent");
    CExportSequence sequence(doc, {}, 2);
    sequence.Add(doc, {}, 3);
    sequence.Add(doc, {}, 1);
    sequence.SetHold(1);
    ASSERT_EQ(sequence.FrameCount(), 2 + 3 + 1 + 1 + 4);
    const int32_t expected[11][2] = {{0, 0}, {0, 0}, {0, 1}, {1, 0}, {1, 0}, {1, 1},
                                     {1, 2}, {2, 0}, {2, 0}, {2, 1}, {2, 1}};
    for (int32_t g = 0; g < 11; ++g) {
        const CExportSequence::Place at = sequence.Locate(g);
        EXPECT_EQ(at.part, expected[g][0]) << g;
        EXPECT_EQ(at.k, expected[g][1]) << g;
        EXPECT_EQ(at.steps, sequence.GetPart(at.part).steps) << g;
    }
    const CExportSequence one(doc, {}, 5);
    for (int32_t g = 0; g <= 5; ++g)
        EXPECT_EQ(one.Locate(g).k, g) << "one morph without held frames is the plain export";
    EXPECT_EQ(CExportSequence::CountFrames({4, 4, 4}, 0), 13);
}

TEST(ExportSettings, SizeNamesAndPaths)
{
    const struct {
        Video video;
        int32_t width, height;
        int32_t expectW, expectH;
    } cases[] = {
        {Video::kMp4, 0, 0, 400, 300},       {Video::kGif, 200, 0, 200, 150},  {Video::kGif, 206, 0, 206, 155},
        {Video::kMp4, 206, 0, 206, 154},     {Video::kWebm, 206, 0, 206, 154}, {Video::kNone, 64, 10, 64, 10},
        {Video::kAviMotionJpeg, 3, 0, 3, 2},
    };
    for (const auto& c : cases) {
        CExportSettings s;
        s.video = c.video;
        s.width = c.width;
        s.height = c.height;
        int32_t w = 0, h = 0;
        s.OutputSize(400, 300, w, h);
        EXPECT_EQ(w, c.expectW);
        EXPECT_EQ(h, c.expectH) << c.width << " wide";
    }
    CExportSettings s;
    s.folder = "/x";
    s.baseName = "m";
    s.steps = 100;
    s.frames = Frames::kJpeg;
    s.video = Video::kWebm;
    EXPECT_EQ(s.FramePath(7), "/x/m-0007.jpg");
    EXPECT_EQ(s.VideoPath(), "/x/m.webm");
    s.layout = CExportSettings::Layout::kWorkFolder;
    s.frames = Frames::kBmp;
    s.video = Video::kAviUncompressed;
    EXPECT_EQ(s.FramePath(7), "/x/ouput_image/Frame-7.bmp");
    EXPECT_EQ(s.VideoPath(), "/x/output_video/trevalin.avi");
}

TEST_F(ExportJob, BadSettingsAreToldBeforeAnythingIsWritten)
{
    const struct {
        std::function<void(CExportSettings&)> change;
        std::string message;
    } cases[] = {
        {[](CExportSettings& s) { s.frames = Frames::kNone, s.video = Video::kNone; },
         "没有要导出的内容:帧文件和视频都选了“无”。"},
        {[](CExportSettings& s) { s.width = 33, s.height = 24; }, "MP4 (H.264) 视频的宽和高必须是偶数:33 x 24。"},
        {[](CExportSettings& s) { s.video = Video::kAviMotionJpeg, s.fps = 121; }, "帧率必须在 1 到 120 之间:121。"},
        {[](CExportSettings& s) { s.firstFrame = 2, s.lastFrame = 5; },
         "帧的范围必须在 0 到 4 之间,且起始帧不大于结束帧:2-5。"},
        {[](CExportSettings& s) { s.holdLastSeconds = 61; }, "首尾帧的停留时间必须在 0 到 60 秒之间:61。"},
        {[](CExportSettings& s) { s.baseName = "a/b"; }, "无效的文件名:a/b。"},
        {[this](CExportSettings& s) { s.folder = (work / "gone").string(); },
         "文件夹不存在:" + (work / "gone").string() + "。"},
        {[](CExportSettings& s) { s.steps = 0; }, "每段变形的帧数必须在 2 到 10000 之间,整个序列不超过 1000000 帧:1。"},
        {[](CExportSettings& s) { s.steps = 10000; },
         "每段变形的帧数必须在 2 到 10000 之间,整个序列不超过 1000000 帧:10001。"},
    };
    for (const auto& c : cases) {
        CExportSettings s = settings;
        c.change(s);
        CExportJob job(doc, s);
        EXPECT_EQ(job.Check().Text(), c.message);
        const CExportSummary summary = job.Run();
        EXPECT_EQ(summary.outcome, CExportSummary::Outcome::kFailed);
        EXPECT_EQ(summary.error.Text(), c.message);
        EXPECT_TRUE(Out().empty());
    }
    // Pictures that disagree in size.
    const fs::path other = work / "images" / "small";
    testfiles::WriteBytes(other, FakePictureDecoder::Picture(30, 24, 9));
    ASSERT_EQ(doc.GetPicture(1)->LoadFromFile(other.string()), 1);
    EXPECT_EQ(CExportJob(doc, settings).Check().Text(), "不一致的图片大小或颜色格式!");
}

TEST_F(ExportJob, WritesNumberedFramesAndTheVideoInTimeOrder)
{
    settings.pingPong = true;
    settings.holdLastSeconds = 0.2;
    settings.width = 16; // height follows: 12
    CExportJob job(doc, settings);
    ASSERT_EQ(job.Check().Text(), "");
    // The progress counts the 11 video frames computed, then encoded: the
    // encoder's look-ahead and its flush are counted to the last frame.
    EXPECT_EQ(job.TotalSteps(), 22);
    std::vector<int64_t> steps;
    const CExportSummary summary = job.Run({}, [&](int64_t done, int64_t total) {
        EXPECT_TRUE(steps.empty() || done == steps.back() + 1) << done;
        steps.push_back(done);
        EXPECT_EQ(total, 22);
    });
    ASSERT_EQ(summary.outcome, CExportSummary::Outcome::kDone) << summary.error.Text();
    EXPECT_EQ(steps.size(), 22u);
    EXPECT_EQ(Out(), (std::vector<std::string>{"clip-0000.png", "clip-0001.png", "clip-0002.png", "clip-0003.png",
                                               "clip-0004.png", "clip.mp4"}));
    EXPECT_EQ(summary.framesWritten, 5);
    EXPECT_EQ(summary.videoFrames, 11) << "0 1 2 3 4 4 4 3 2 1 0";
    EXPECT_NE(summary.Describe().Text().find("已写入 5 个帧文件:" + settings.folder + "/clip-0000.png … " +
                                             settings.folder + "/clip-0004.png"),
              std::string::npos)
        << summary.Describe().Text();
    if (CFfmpegRunner::Available()) {
        std::string err;
        const std::string probe = CFfmpegRunner::ProbeStream(settings.VideoPath(), err);
        EXPECT_EQ(CFfmpegRunner::Value(probe, "nb_read_frames"), "11") << probe << err;
        EXPECT_EQ(CFfmpegRunner::Value(probe, "width"), "16");
        EXPECT_EQ(CFfmpegRunner::Value(probe, "height"), "12");
        EXPECT_EQ(CFfmpegRunner::Value(probe, "r_frame_rate"), "10/1");
    }
}

// Cancelled part way, through every kind of video: the frame files that are
// complete stay, the summary names them, and nothing else is left.
TEST_F(ExportJob, CancelledLeavesNothingHalfWritten)
{
    for (Video video : {Video::kMp4, Video::kGif, Video::kAviMotionJpeg, Video::kNone}) {
        for (const std::string& name : Out())
            fs::remove(work / "out" / name);
        CExportSettings s = settings;
        s.video = video;
        s.frames = Frames::kBmp;
        CCancelToken cancel;
        CExportJob job(doc, s);
        // A GIF samples all five frames for its palette first, then counts
        // each frame as computed and as encoded at once.
        const int64_t at = video == Video::kGif ? 5 + 2 * 2 : 2;
        const CExportSummary summary = job.Run(cancel.Issue(), [&](int64_t done, int64_t) {
            if (done == at) cancel.Cancel();
        });
        EXPECT_EQ(summary.outcome, CExportSummary::Outcome::kCancelled);
        EXPECT_EQ(Out(), (std::vector<std::string>{"clip-0000.bmp", "clip-0001.bmp"}));
        EXPECT_EQ(summary.framesWritten, 2);
        EXPECT_TRUE(summary.videoPath.empty());
        EXPECT_EQ(summary.Describe().Text().rfind("导出已取消。\n", 0), 0u) << summary.Describe().Text();
    }
}

// Asked to, a stopped export completes the video of the frames written.
TEST_F(ExportJob, AStopCompletesTheVideoWhenAsked)
{
    for (Video video : {Video::kMp4, Video::kGif, Video::kAviUncompressed}) {
        CExportSettings s = settings;
        s.video = video;
        s.finishVideoWhenStopped = true;
        CCancelToken cancel;
        // A GIF samples all five frames for its palette first, then counts
        // each frame as computed and as encoded at once.
        const int64_t at = video == Video::kGif ? 5 + 2 * 2 : 2;
        const CExportSummary summary = CExportJob(doc, s).Run(cancel.Issue(), [&](int64_t done, int64_t) {
            if (done == at) cancel.Cancel();
        });
        EXPECT_EQ(summary.outcome, CExportSummary::Outcome::kCancelled);
        EXPECT_EQ(summary.videoPath, s.VideoPath());
        EXPECT_EQ(summary.videoFrames, 2);
        EXPECT_GT(fs::file_size(s.VideoPath()), 0u);
    }
}

// The export holds its folder: with another holder it writes nothing. Once
// it holds it, it removes what killed writers left there, not a live one's.
TEST_F(ExportJob, AnotherHolderOfTheFolderKeepsItOutAndLeftoversOfTheDeadGo)
{
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
    const std::string deadTemp = "clip.mp4.tmp-" + std::to_string(dead) + "-0";
    const std::string liveTemp = "clip-0001.png.tmp-" + std::to_string(::getpid()) + "-0";
    std::ofstream(work / "out" / deadTemp) << "left";
    std::ofstream(work / "out" / liveTemp) << "writing";
    {
        COutputLocks other;
        ASSERT_EQ(other.Acquire({(work / "out").string()}), CRunLock::Result::kAcquired);
        const CExportSummary busy = CExportJob(doc, settings).Run();
        EXPECT_EQ(busy.outcome, CExportSummary::Outcome::kFailed);
        EXPECT_NE(busy.error.Text().find("另一个渐变或导出正在写入文件夹"), std::string::npos) << busy.error.Text();
        EXPECT_EQ(Out(), (std::vector<std::string>{liveTemp, deadTemp}));
    }
    ASSERT_EQ(CExportJob(doc, settings).Run().outcome, CExportSummary::Outcome::kDone);
    EXPECT_TRUE(fs::exists(work / "out" / liveTemp));
    EXPECT_FALSE(fs::exists(work / "out" / deadTemp));
}

// A frame file that cannot be written stops the export: the video is
// dropped, the frames before stay and are named.
TEST_F(ExportJob, FailureStopsAndSaysWhatWasWritten)
{
    fs::create_directory(work / "out" / "clip-0002.png");
    const CExportSummary summary = CExportJob(doc, settings).Run();
    EXPECT_EQ(summary.outcome, CExportSummary::Outcome::kFailed);
    EXPECT_NE(summary.error.Text().find("clip-0002.png"), std::string::npos) << summary.error.Text();
    EXPECT_EQ(Out(), (std::vector<std::string>{"clip-0000.png", "clip-0001.png", "clip-0002.png"}));
    EXPECT_TRUE(fs::is_directory(work / "out" / "clip-0002.png"));
    EXPECT_EQ(summary.framesWritten, 2);
    EXPECT_NE(summary.Describe().Text().find("视频没有写入。"), std::string::npos) << summary.Describe().Text();
}

TEST(MorphOptionsFile, KeyValueLinesBesideTheProject)
{
    using Ease = CTimingCurve::Kind;
    using Edge = CMorphOptions::Edge;
    using Quality = CMorphOptions::Quality;
    const CTimingCurve bezier = CTimingCurve::Bezier(0.25, 0.1, 0.25, 1);
    const struct {
        const char* text;
        CMorphOptions options;
    } cases[] = {
        {"", {}},
        {"warp-only=yes\nease=smooth\nedge=extend\n", {true, Ease::kSmooth, Ease::kSmooth, Edge::kExtend}},
        {"# note\n  ease = smooth \r\n\nunknown=1\nedge=purple\nwarp-only=maybe\n",
         {false, Ease::kSmooth, Ease::kSmooth, Edge::kBlack}},
        {"edge=extend", {false, Ease::kLinear, Ease::kLinear, Edge::kExtend}},
        {"quality=smooth\nease=smooth\n", {false, Ease::kSmooth, Ease::kSmooth, Edge::kBlack, Quality::kSmooth}},
        {"quality=smooth\nquality=classic\n", {}},
        {"quality=fine\nwarp-only=yes\n", {true, Ease::kLinear, Ease::kLinear, Edge::kBlack, Quality::kClassic}},
        // The curves' own keys; an old ease= sets both, a later curve key wins.
        {"shape-curve=ease-in\ncolour-curve=bezier:0.25,0.1,0.25,1\n", {false, Ease::kEaseIn, bezier, Edge::kBlack}},
        {"shape-curve=ease-out\nease=smooth\ncolour-curve=linear\nshape-curve=wobbly\n",
         {false, Ease::kSmooth, Ease::kLinear, Edge::kBlack}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CMorphOptionsFile::Parse(c.text), c.options) << c.text;
        EXPECT_EQ(CMorphOptionsFile::Parse(CMorphOptionsFile::Format(c.options)), c.options);
    }
    CTempDir dir;
    const std::string project = (dir / "p.tvl").string();
    EXPECT_EQ(CMorphOptionsFile::Write(project, {}).Text(), "");
    EXPECT_FALSE(fs::exists(project + ".options")) << "defaults need no file";
    EXPECT_EQ(CMorphOptionsFile::Read(project), CMorphOptions{});
    EXPECT_NE(CMorphOptionsFile::Format({}).find("quality=classic\n"), std::string::npos);
    EXPECT_NE(CMorphOptionsFile::Format({}).find("shape-curve=linear\ncolour-curve=linear\n"), std::string::npos);
    EXPECT_EQ(CMorphOptionsFile::Format({}).find("ease="), std::string::npos) << "only the curves are written";
    EXPECT_FALSE((CMorphOptions{false, Ease::kLinear, Ease::kLinear, Edge::kBlack, Quality::kSmooth}.IsDefault()));
    const CMorphOptions chosen{true, Ease::kLinear, Ease::kLinear, Edge::kExtend, Quality::kSmooth};
    EXPECT_EQ(CMorphOptionsFile::Write(project, chosen).Text(), "");
    EXPECT_EQ(CMorphOptionsFile::Read(project), chosen);
    EXPECT_EQ(CMorphOptionsFile::Write(project, {}).Text(), "");
    EXPECT_EQ(CMorphOptionsFile::Read(project), CMorphOptions{}) << "an existing file takes the defaults back";
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"p.tvl.options"});
    // Comments after values; what is not understood is named, once.
    std::vector<std::string> missed;
    EXPECT_EQ(CMorphOptionsFile::Parse("ease=smooth       # linear or smooth\nwarp-only=maybe\nunknown=1\nnonsense\n",
                                       &missed),
              (CMorphOptions{false, Ease::kSmooth, Ease::kSmooth, Edge::kBlack}));
    EXPECT_EQ(missed, (std::vector<std::string>{"warp-only=maybe", "unknown", "nonsense"}));
    CMessage problem;
    std::ofstream(project + ".options") << "edge=extend\nqualty=smooth\n";
    EXPECT_EQ(CMorphOptionsFile::Read(project, &problem).edge, Edge::kExtend);
    EXPECT_NE(problem.Text().find("看不懂的内容,这些选项按默认值处理:qualty"), std::string::npos) << problem.Text();
    std::ofstream(project + ".options") << std::string(CMorphOptionsFile::kMaxBytes, '#') << "\nedge=extend\n";
    EXPECT_EQ(CMorphOptionsFile::Read(project, &problem), CMorphOptions{}) << "too large to be options";
    EXPECT_NE(problem.Text().find("超过 65536 字节"), std::string::npos) << problem.Text();
    // A FIFO or a folder in its place is told, never waited on.
    fs::remove(project + ".options");
    ASSERT_EQ(::mkfifo((project + ".options").c_str(), 0600), 0);
    EXPECT_EQ(CMorphOptionsFile::Read(project, &problem), CMorphOptions{});
    EXPECT_NE(problem.Text().find("不是普通文件"), std::string::npos) << problem.Text();
    fs::remove(project + ".options");
    fs::create_directory(project + ".options");
    EXPECT_EQ(CMorphOptionsFile::Read(project, &problem), CMorphOptions{});
    EXPECT_NE(problem.Text().find("不是普通文件"), std::string::npos) << problem.Text();
    fs::remove(project + ".options");
    EXPECT_NE(CMorphOptionsFile::Write((dir / "gone" / "p.tvl").string(), chosen).Text(), "");
}

} // namespace

// Without the export module the job says so and writes nothing.
TEST_F(ExportJob, AMissingModuleIsToldAndNothingIsWritten)
{
    const std::string before = std::getenv("TREVALIN_MODULE_DIR");
    CTempDir empty;
    ::setenv("TREVALIN_MODULE_DIR", empty.Str().c_str(), 1);
    CExportJob job(doc, settings);
    ::setenv("TREVALIN_MODULE_DIR", before.c_str(), 1);
    EXPECT_EQ(job.Check().Text().rfind("找不到导出组件 libtrevalin_export.so:", 0), 0u) << job.Check().Text();
    const CExportSummary summary = job.Run();
    EXPECT_EQ(summary.outcome, CExportSummary::Outcome::kFailed);
    EXPECT_EQ(summary.error.Text(), job.Check().Text());
    EXPECT_TRUE(Out().empty());
}
