#include "CRenderFixture.h"
#include "document/CArchive.h"
#include "run/CRunLock.h"

#include <gtest/gtest.h>

#include <csignal>
#include "support/CBmpBuilder.h"
#include "support/CFfmpegRunner.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kIncompatible = "不一致的图片大小或颜色格式!";

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

std::string Probe(const std::string& video, const std::string& entries)
{
    return CRenderFixture::Capture("ffprobe -v error -select_streams v:0 -count_frames -show_entries stream=" +
                                   entries + " -of default=noprint_wrappers=1 '" + video + "'");
}

// The BGR bytes of a bottom-up BMP's pixel rows, without row padding.
std::vector<uint8_t> Bgr(const CRenderFixture::Bmp& bmp)
{
    const int bpp = bmp.bits / 8;
    const size_t row = (static_cast<size_t>(bmp.width) * bmp.bits + 31) / 32 * 4;
    std::vector<uint8_t> out;
    for (int y = 0; y < bmp.height; ++y) {
        for (int x = 0; x < bmp.width; ++x) {
            const size_t at = static_cast<size_t>(y) * row + static_cast<size_t>(x) * bpp;
            out.insert(out.end(), bmp.pixels.begin() + static_cast<std::ptrdiff_t>(at),
                       bmp.pixels.begin() + static_cast<std::ptrdiff_t>(at) + 3);
        }
    }
    return out;
}

TEST(RenderRun, ExampleWritesEveryFrameAndAThreeFpsVideo)
{
    CRenderFixture f;
    const CRenderFixture::Outcome run = f.Render({"--steps", "3", "demo.tvl"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (int k = 0; k <= 3; ++k) {
        CRenderFixture::Bmp bmp;
        ASSERT_TRUE(CRenderFixture::ReadBmp(f.Work() + "/ouput_image/Frame-" + std::to_string(k) + ".bmp", bmp)) << k;
        EXPECT_EQ(bmp.width, 400);
        EXPECT_EQ(bmp.height, 300);
        EXPECT_EQ(bmp.bits, 32);
        EXPECT_EQ(bmp.offset, 54u);
    }
    EXPECT_FALSE(fs::exists(f.Work() + "/ouput_image/Frame-4.bmp"));
    const std::string video = f.Work() + "/output_video/trevalin.avi";
    const std::string probe = Probe(video, "codec_name,width,height,r_frame_rate,nb_read_frames");
    EXPECT_NE(probe.find("codec_name=rawvideo"), std::string::npos) << probe;
    EXPECT_NE(probe.find("width=400"), std::string::npos) << probe;
    EXPECT_NE(probe.find("height=300"), std::string::npos) << probe;
    EXPECT_NE(probe.find("r_frame_rate=3/1"), std::string::npos) << probe;
    EXPECT_NE(probe.find("nb_read_frames=4"), std::string::npos) << probe;
    EXPECT_NE(run.output.find("frames per second"), std::string::npos) << run.output;
}

TEST(RenderRun, DissolveStartsAtTheSourceAndEndsAtTheTarget)
{
    CRenderFixture f;
    const CRenderFixture::Outcome run = f.Render({"--engine", "dissolve", "--steps", "2", "demo.tvl"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    CRenderFixture::Bmp source, target, first, last, middle;
    ASSERT_TRUE(CRenderFixture::ReadBmp(f.Work() + "/images/source.bmp", source));
    ASSERT_TRUE(CRenderFixture::ReadBmp(f.Work() + "/images/target.bmp", target));
    ASSERT_TRUE(CRenderFixture::ReadBmp(f.Work() + "/ouput_image/Frame-0.bmp", first));
    ASSERT_TRUE(CRenderFixture::ReadBmp(f.Work() + "/ouput_image/Frame-1.bmp", middle));
    ASSERT_TRUE(CRenderFixture::ReadBmp(f.Work() + "/ouput_image/Frame-2.bmp", last));
    EXPECT_EQ(Bgr(first), Bgr(source));
    EXPECT_EQ(Bgr(last), Bgr(target));
    EXPECT_NE(Bgr(middle), Bgr(source));
    // The unused fourth byte of every frame pixel is 0.
    for (size_t i = 3; i < first.pixels.size(); i += 4)
        ASSERT_EQ(first.pixels[i], 0) << i;
}

TEST(RenderRun, UncompressedVideoFramesEqualTheFrameFiles)
{
    CRenderFixture f;
    const CRenderFixture::Outcome run = f.Render({"--steps", "2", "demo.tvl"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string raw = CRenderFixture::Capture("ffmpeg -v error -i '" + f.Work() +
                                                    "/output_video/trevalin.avi' -f rawvideo -pix_fmt bgr24 -");
    const size_t frameBytes = 400u * 300u * 3u;
    ASSERT_EQ(raw.size(), 3 * frameBytes);
    for (int k = 0; k <= 2; ++k) {
        CRenderFixture::Bmp bmp;
        ASSERT_TRUE(CRenderFixture::ReadBmp(f.Work() + "/ouput_image/Frame-" + std::to_string(k) + ".bmp", bmp));
        const std::vector<uint8_t> bottomUp = Bgr(bmp);
        // ffmpeg delivers rows top-down.
        for (int y = 0; y < 300; ++y) {
            const size_t fileRow = static_cast<size_t>(299 - y) * 1200u;
            const size_t videoRow = static_cast<size_t>(k) * frameBytes + static_cast<size_t>(y) * 1200u;
            ASSERT_EQ(0, std::memcmp(bottomUp.data() + fileRow, raw.data() + videoRow, 1200))
                << "frame " << k << " row " << y;
        }
    }
}

TEST(RenderRun, MotionJpegVideoHoldsEveryFrame)
{
    CRenderFixture f;
    const CRenderFixture::Outcome run = f.Render({"--codec", "mjpeg", "--steps", "4", "demo.tvl"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string probe = Probe(f.Work() + "/output_video/trevalin.avi", "codec_name,r_frame_rate,nb_read_frames");
    EXPECT_NE(probe.find("codec_name=mjpeg"), std::string::npos) << probe;
    EXPECT_NE(probe.find("r_frame_rate=3/1"), std::string::npos) << probe;
    EXPECT_NE(probe.find("nb_read_frames=5"), std::string::npos) << probe;
}

TEST(RenderRun, RefusesWhatItCannotRender)
{
    CRenderFixture f;
    EXPECT_EQ(f.Render({"--steps", "0", "demo.tvl"}).exitCode, 2);
    EXPECT_EQ(f.Render({}).exitCode, 2);

    const CRenderFixture::Outcome missingProject = f.Render({"nothing-here.tvl"});
    EXPECT_EQ(missingProject.exitCode, 1);
    EXPECT_NE(missingProject.output.find("nothing-here.tvl"), std::string::npos) << missingProject.output;
    // Projects that cannot be opened say why under "打开文档失败。".
    fs::create_directory(f.Work() + "/folder.tvl");
    fs::copy_file(f.Work() + "/demo.tvl", f.Work() + "/big.tvl");
    fs::resize_file(f.Work() + "/big.tvl", 257u << 20); // sparse
    CArchive longName;
    longName << std::string(800, 'n') << "" << int32_t{0} << int32_t{0};
    testfiles::WriteBytes(f.Work() + "/name.tvl", longName.GetBuffer());
    for (const auto& [project, why] :
         std::vector<std::pair<std::string, std::string>>{{"folder.tvl", "这是一个文件夹。"},
                                                          {"big.tvl", "文件超过了项目文件 256 MB 的上限。"},
                                                          {"name.tvl", "超过了文件名 765 字节的上限。"}}) {
        const CRenderFixture::Outcome refused = f.Render({project});
        EXPECT_EQ(refused.exitCode, 1) << project;
        EXPECT_NE(refused.output.find("打开文档失败。\n"), std::string::npos) << refused.output;
        EXPECT_NE(refused.output.find(why), std::string::npos) << refused.output;
        EXPECT_LT(refused.output.size(), 400u) << refused.output;
    }

    fs::rename(f.Work() + "/images/target.bmp", f.Work() + "/images/kept.bmp");
    const CRenderFixture::Outcome missingPicture = f.Render({"demo.tvl"});
    EXPECT_EQ(missingPicture.exitCode, 1);
    EXPECT_NE(missingPicture.output.find("target.bmp"), std::string::npos) << missingPicture.output;
    EXPECT_FALSE(fs::exists(f.Work() + "/ouput_image/Frame-0.bmp"));

    std::ofstream(f.Work() + "/images/target.bmp") << "this is not a picture";
    const CRenderFixture::Outcome notAPicture = f.Render({"demo.tvl"});
    EXPECT_EQ(notAPicture.exitCode, 1);
    EXPECT_NE(notAPicture.output.find("target.bmp"), std::string::npos) << notAPicture.output;

    testfiles::WriteBytes(f.Work() + "/images/target.bmp", CBmpBuilder::Grey24(40, 30));
    const CRenderFixture::Outcome disagree = f.Render({"demo.tvl"});
    EXPECT_EQ(disagree.exitCode, 1);
    EXPECT_NE(disagree.output.find(kIncompatible), std::string::npos) << disagree.output;
}

TEST(RenderRun, CoreMessagesAreEnglishUnlessTheLocaleIsChinese)
{
    CRenderFixture f;
    f.SetLocale("");
    const CRenderFixture::Outcome english = f.Render({"--out", "out", "demo.tvl"});
    EXPECT_EQ(english.exitCode, 1);
    EXPECT_NE(english.output.find("The folder does not exist: out."), std::string::npos) << english.output;
    f.SetLocale("zh_CN.UTF-8");
    EXPECT_NE(f.Render({"--out", "out", "demo.tvl"}).output.find("文件夹不存在:out。"), std::string::npos);
}

TEST(RenderRun, FitBringsTheTargetToTheSourceSizeForThatRunOnly)
{
    CRenderFixture f;
    // A grey target half as high as wide: padded to 400 x 300 it is 400 x 200
    // with black bars of 50 rows above and below.
    testfiles::WriteBytes(f.Work() + "/images/target.bmp", CBmpBuilder::Grey24(200, 100));
    const auto projectBefore = fs::file_size(f.Work() + "/demo.tvl");
    const CRenderFixture::Outcome refused = f.Render({"--steps", "1", "demo.tvl"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.output.find("source picture 400 x 300, target picture 200 x 100"), std::string::npos)
        << refused.output;

    for (const char* mode : {"pad", "crop", "stretch"}) {
        const CRenderFixture::Outcome run =
            f.Render({"--fit", mode, "--engine", "dissolve", "--steps", "1", "demo.tvl"});
        ASSERT_EQ(run.exitCode, 0) << mode << run.output;
        CRenderFixture::Bmp last;
        ASSERT_TRUE(CRenderFixture::ReadBmp(f.Work() + "/ouput_image/Frame-1.bmp", last));
        EXPECT_EQ(last.width, 400) << mode;
        EXPECT_EQ(last.height, 300) << mode;
        // Rows are stored bottom-up: the top row is the last one.
        const size_t topRow = static_cast<size_t>(299) * 1600u;
        const size_t middleRow = static_cast<size_t>(150) * 1600u;
        const uint8_t top = last.pixels[topRow + 800];
        EXPECT_EQ(top, std::string(mode) == "pad" ? 0 : 0x80) << mode;
        EXPECT_EQ(last.pixels[middleRow + 800], 0x80) << mode;
    }
    EXPECT_EQ(fs::file_size(f.Work() + "/demo.tvl"), projectBefore);

    // A 1 x 4000 target cropped to a 4000 x 1 source: its middle row.
    testfiles::WriteBytes(f.Work() + "/images/source.bmp", CBmpBuilder::Grey24(4000, 1));
    testfiles::WriteBytes(f.Work() + "/images/target.bmp", CBmpBuilder::Grey24(1, 4000));
    const CRenderFixture::Outcome extreme =
        f.Render({"--fit", "crop", "--engine", "dissolve", "--steps", "1", "demo.tvl"});
    ASSERT_EQ(extreme.exitCode, 0) << extreme.output;
    EXPECT_EQ(extreme.output.find("memory"), std::string::npos) << extreme.output;
    CRenderFixture::Bmp last;
    ASSERT_TRUE(CRenderFixture::ReadBmp(f.Work() + "/ouput_image/Frame-1.bmp", last));
    ASSERT_EQ(last.width, 4000);
    EXPECT_EQ(last.pixels[0], 0x80) << "not black";
    EXPECT_EQ(last.pixels[3 * 3999], 0x80);
}

TEST(RenderRun, WriteFailuresAreReportedOnceAndFail)
{
    // A file where an output folder should be: the run says so, with the
    // system's reason, before it computes a frame, and writes nothing.
    for (const std::string folder : {"ouput_image", "output_video"}) {
        CRenderFixture f;
        std::ofstream(f.Work() + "/" + folder) << "in the way";
        const CRenderFixture::Outcome run = f.Render({"--steps", "3", "demo.tvl"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(Count(run.output, "无法在文件夹 " + f.Work() + "/" + folder + " 中写入文件"), 1u) << run.output;
        EXPECT_EQ(run.output.find("frames in"), std::string::npos) << run.output;
        EXPECT_FALSE(fs::exists(f.Work() + "/ouput_image/Frame-0.bmp"));
        EXPECT_FALSE(fs::exists(f.Work() + "/output_video/trevalin.avi"));
    }
}

using testfiles::Names;
using testfiles::ReadBytesOrEmpty;

// Every video format of an export, read back by ffprobe: its codec, every
// frame of the time line (5 frames forward and 4 back) and its rate.
// The encoders' defaults keep the picture: the demo's 31 frames at each
// format's default settings, against the frames themselves (ffmpeg's PSNR
// in RGB), within 1 dB of what medium x264, good-deadline VP9 and a palette
// from every frame gave (35.4, 35.3 and 34.1 dB).
TEST(RenderRun, DefaultVideosHoldTheirPictureOnTheDemo)
{
    if (!CFfmpegRunner::Available()) GTEST_SKIP() << "ffmpeg is not installed";
    CRenderFixture f;
    fs::create_directory(f.Work() + "/out");
    const std::pair<std::string, double> floors[] = {{"mp4", 34.4}, {"webm", 34.3}, {"gif", 33.1}};
    for (const auto& [video, floor] : floors) {
        const CRenderFixture::Outcome run =
            f.Render({"--out", "out", "--image-format", "bmp", "--video", video, "--steps", "30", "demo.tvl"});
        ASSERT_EQ(run.exitCode, 0) << run.output;
        std::string out, err;
        ASSERT_EQ(CFfmpegRunner::Run("ffmpeg",
                                     {"-hide_banner", "-i", f.Work() + "/out/demo." + video, "-framerate", "25", "-i",
                                      f.Work() + "/out/demo-%04d.bmp", "-lavfi",
                                      "[0:v]format=rgb24[a];[1:v]format=rgb24[b];[a][b]psnr", "-f", "null", "-"},
                                     out, err),
                  0)
            << err;
        const size_t at = err.find("average:");
        ASSERT_NE(at, std::string::npos) << err;
        EXPECT_GE(std::stod(err.substr(at + 8)), floor) << video;
    }
}

TEST(RenderRun, ExportedVideosProbeAsTheirFormats)
{
    const struct {
        std::vector<std::string> args;
        std::string file;
        std::string codec;
        std::string rate; // "" for GIF, whose rate ffprobe guesses
    } cases[] = {
        {{"--video", "mp4"}, "out/demo.mp4", "h264", "12/1"},
        {{"--video", "webm"}, "out/demo.webm", "vp9", "12/1"},
        {{"--video", "gif"}, "out/demo.gif", "gif", ""},
        {{"--video", "avi"}, "out/demo.avi", "rawvideo", "12/1"},
        {{"--video", "avi", "--codec", "mjpeg", "--name", "m"}, "out/m.avi", "mjpeg", "12/1"},
    };
    CRenderFixture f;
    fs::create_directory(f.Work() + "/out");
    for (const auto& c : cases) {
        std::vector<std::string> args{"--out", "out", "--image-format", "none", "--steps", "4",
                                      "--fps", "12",  "--pingpong"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back("demo.tvl");
        const CRenderFixture::Outcome run = f.Render(args);
        ASSERT_EQ(run.exitCode, 0) << run.output;
        const std::string probe = Probe(f.Work() + "/" + c.file, "codec_name,width,height,r_frame_rate,nb_read_frames");
        EXPECT_NE(probe.find("codec_name=" + c.codec), std::string::npos) << c.file << "\n" << probe;
        EXPECT_NE(probe.find("nb_read_frames=9"), std::string::npos) << c.file << "\n" << probe;
        EXPECT_NE(probe.find("width=400"), std::string::npos) << c.file << "\n" << probe;
        if (!c.rate.empty()) {
            EXPECT_NE(probe.find("r_frame_rate=" + c.rate), std::string::npos) << probe;
        }
    }
    EXPECT_EQ(Names(f.Work() + "/out"),
              (std::vector<std::string>{"demo.avi", "demo.gif", "demo.mp4", "demo.webm", "m.avi"}));
    // Without --out: today's folders and names, at the rate asked.
    const CRenderFixture::Outcome legacy =
        f.Render({"--image-format", "png", "--fps", "10", "--steps", "2", "demo.tvl"});
    ASSERT_EQ(legacy.exitCode, 0) << legacy.output;
    EXPECT_EQ(Names(f.Work() + "/ouput_image"),
              (std::vector<std::string>{"Frame-0.png", "Frame-1.png", "Frame-2.png"}));
    const std::string probe = Probe(f.Work() + "/output_video/trevalin.avi", "r_frame_rate,nb_read_frames");
    EXPECT_NE(probe.find("r_frame_rate=10/1"), std::string::npos) << probe;
    EXPECT_NE(probe.find("nb_read_frames=3"), std::string::npos) << probe;
}

// PNG frames are lossless: decoded, they are the BMP frames of the same run.
// A range of frames gives the files of a whole render byte for byte.
TEST(RenderRun, PngEqualsBmpAndRangesEqualTheWhole)
{
    CRenderFixture f;
    for (const char* folder : {"png", "bmp", "part"})
        fs::create_directory(f.Work() + "/" + folder);
    const std::vector<std::string> common{"--steps", "6", "--video", "none", "--edge", "extend", "demo.tvl"};
    auto render = [&](std::vector<std::string> args) {
        args.insert(args.end(), common.begin(), common.end());
        const CRenderFixture::Outcome run = f.Render(args);
        EXPECT_EQ(run.exitCode, 0) << run.output;
    };
    render({"--out", "png", "--image-format", "png"});
    render({"--out", "bmp", "--image-format", "bmp"});
    render({"--out", "part", "--image-format", "png", "--range", "2-4", "--threads", "1"});
    for (int k = 0; k <= 6; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "demo-%04d", k);
        CRenderFixture::Bmp bmp;
        ASSERT_TRUE(CRenderFixture::ReadBmp(f.Work() + "/bmp/" + name + ".bmp", bmp)) << name;
        std::vector<uint8_t> png;
        std::string err;
        ASSERT_TRUE(CFfmpegRunner::DecodeBgra(f.Work() + "/png/" + name + ".png", png, err)) << err;
        ASSERT_EQ(png.size(), 400u * 300u * 4u);
        for (int y = 0; y < 300; ++y) {
            for (int x = 0; x < 400; ++x) {
                const uint8_t* a = &png[(static_cast<size_t>(y) * 400 + x) * 4];
                const uint8_t* b = &bmp.pixels[(static_cast<size_t>(299 - y) * 400 + x) * 4];
                ASSERT_TRUE(a[0] == b[0] && a[1] == b[1] && a[2] == b[2]) << name << " at " << x << "," << y;
            }
        }
        const bool inRange = k >= 2 && k <= 4;
        EXPECT_EQ(fs::exists(f.Work() + "/part/" + name + ".png"), inRange) << name;
        if (inRange) {
            EXPECT_EQ(ReadBytesOrEmpty(f.Work() + "/part/" + name + ".png"),
                      ReadBytesOrEmpty(f.Work() + "/png/" + name + ".png"));
        }
    }
    EXPECT_EQ(Names(f.Work() + "/part").size(), 3u) << "a range writes no video unless asked";
}

// Morph options come from the project's options file and from the switches,
// and change the frames; the default frames stay as they are.
TEST(RenderRun, MorphOptionsFromTheProjectAndTheSwitches)
{
    CRenderFixture f;
    const auto frame = [&](const std::vector<std::string>& extra) {
        std::vector<std::string> args{"--steps", "2"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back("demo.tvl");
        const CRenderFixture::Outcome run = f.Render(args);
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return ReadBytesOrEmpty(f.Work() + "/ouput_image/Frame-2.bmp");
    };
    const std::vector<uint8_t> plain = frame({});
    const std::vector<uint8_t> warped = frame({"--warp-only"});
    EXPECT_NE(warped, plain);
    std::ofstream(f.Work() + "/demo.tvl.options") << "warp-only=yes\n";
    EXPECT_EQ(frame({}), warped);
    EXPECT_EQ(frame({"--ease", "smooth"}), warped) << "frame N is the same whatever the easing";
    fs::remove(f.Work() + "/demo.tvl.options");
    EXPECT_EQ(frame({"--threads", "1"}), plain);
    std::ofstream(f.Work() + "/demo.tvl.options") << "quality=smooth\n";
    const std::vector<uint8_t> smooth = frame({});
    EXPECT_NE(smooth, plain);
    EXPECT_EQ(frame({"--quality", "classic"}), plain) << "the switch overrides the file";
    fs::remove(f.Work() + "/demo.tvl.options");
    EXPECT_EQ(frame({"--quality", "smooth"}), smooth);

    // An export supersamples smooth frames: the frames between change, the
    // first (the source picture) does not.
    fs::create_directory(f.Work() + "/ss");
    const auto exported = [&](const char* supersample) {
        const CRenderFixture::Outcome run = f.Render({"--steps", "2", "--out", "ss", "--video", "none", "--quality",
                                                      "smooth", "--supersample", supersample, "demo.tvl"});
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return std::vector<std::vector<uint8_t>>{ReadBytesOrEmpty(f.Work() + "/ss/demo-0000.bmp"),
                                                 ReadBytesOrEmpty(f.Work() + "/ss/demo-0001.bmp")};
    };
    const std::vector<std::vector<uint8_t>> one = exported("1"), four = exported("2");
    EXPECT_FALSE(one[0].empty());
    EXPECT_EQ(four[0], one[0]);
    EXPECT_NE(four[1], one[1]);
}

} // namespace

namespace {

bool AnyTemporaryFile(const std::string& work)
{
    for (const char* folder : {"/ouput_image", "/output_video"}) {
        for (const auto& e : fs::directory_iterator(work + folder))
            if (e.path().filename().string().find(".tmp-") != std::string::npos) return true;
    }
    return false;
}

// Waits (up to a minute) until the spawned render has written frame `k`.
bool WaitForFrame(const CRenderFixture& f, int k)
{
    for (int i = 0; i < 6000; ++i) {
        if (fs::exists(f.Work() + "/ouput_image/Frame-" + std::to_string(k) + ".bmp")) return true;
        ::usleep(10000);
    }
    return false;
}

} // namespace

TEST(RenderRun, OutputsInTheWayAreReplacedWithoutHangingAndAFolderIsRefused)
{
    CRenderFixture f;
    fs::create_directories(f.Work() + "/ouput_image");
    fs::create_directories(f.Work() + "/output_video");
    ASSERT_EQ(::mkfifo((f.Work() + "/ouput_image/Frame-1.bmp").c_str(), 0666), 0);
    ASSERT_EQ(::mkfifo((f.Work() + "/output_video/trevalin.avi").c_str(), 0666), 0);
    const CRenderFixture::Outcome run = f.Render({"--steps", "2", "demo.tvl"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(fs::is_regular_file(f.Work() + "/ouput_image/Frame-1.bmp"));
    EXPECT_NE(Probe(f.Work() + "/output_video/trevalin.avi", "nb_read_frames").find("nb_read_frames=3"),
              std::string::npos);

    fs::remove(f.Work() + "/ouput_image/Frame-2.bmp");
    fs::create_directory(f.Work() + "/ouput_image/Frame-2.bmp");
    const CRenderFixture::Outcome refused = f.Render({"--steps", "3", "demo.tvl"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(Count(refused.output, f.Work() + "/ouput_image/Frame-2.bmp: Is a directory"), 1u) << refused.output;
    EXPECT_TRUE(fs::exists(f.Work() + "/ouput_image/Frame-3.bmp")) << "the run goes on";
    EXPECT_FALSE(AnyTemporaryFile(f.Work()));
}

TEST(RenderRun, StopSignalsEndWithAPlayableVideoOfTheFramesDone)
{
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}, std::pair{SIGHUP, 129}}) {
        SCOPED_TRACE(signal);
        CRenderFixture f;
        f.WriteHeavyProject("heavy.tvl", CRenderFixture::kHeavyPairs);
        const int pid = f.Spawn({"--steps", "100", "heavy.tvl"}, f.Work() + "/log");
        ASSERT_TRUE(WaitForFrame(f, 1));
        ::kill(pid, signal);
        EXPECT_EQ(CRenderFixture::Wait(pid), status);
        std::ifstream in(f.Work() + "/log");
        const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(log.find("stopped by SIG"), std::string::npos) << log;
        EXPECT_FALSE(AnyTemporaryFile(f.Work()));
        int frames = 0;
        while (fs::exists(f.Work() + "/ouput_image/Frame-" + std::to_string(frames) + ".bmp"))
            ++frames;
        EXPECT_LT(frames, 101);
        EXPECT_NE(Probe(f.Work() + "/output_video/trevalin.avi", "nb_read_frames")
                      .find("nb_read_frames=" + std::to_string(frames)),
                  std::string::npos)
            << log;
    }
}

TEST(RenderRun, AKilledRunKeepsThePreviousVideoAndTheNextRunClearsItsLeftovers)
{
    CRenderFixture f;
    ASSERT_EQ(f.Render({"--steps", "1", "demo.tvl"}).exitCode, 0);
    const std::string video = f.Work() + "/output_video/trevalin.avi";
    const uintmax_t previous = fs::file_size(video);
    f.WriteHeavyProject("heavy.tvl", CRenderFixture::kHeavyPairs);
    const int pid = f.Spawn({"--steps", "100", "heavy.tvl"}, f.Work() + "/log");
    ASSERT_TRUE(WaitForFrame(f, 2));
    ::kill(pid, SIGKILL);
    CRenderFixture::Wait(pid);
    EXPECT_EQ(fs::file_size(video), previous);
    EXPECT_TRUE(AnyTemporaryFile(f.Work()));
    ASSERT_EQ(f.Render({"--steps", "1", "demo.tvl"}).exitCode, 0);
    EXPECT_FALSE(AnyTemporaryFile(f.Work()));
}

TEST(RenderRun, ASecondRunInTheSameFolderRefusesAtOnce)
{
    CRenderFixture f;
    CRunLock other;
    ASSERT_EQ(other.Acquire(f.Work()), CRunLock::Result::kAcquired);
    const CRenderFixture::Outcome run = f.Render({"--steps", "2", "demo.tvl"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("another run or export is writing the outputs of " + f.Work()), std::string::npos)
        << run.output;
    EXPECT_FALSE(fs::exists(f.Work() + "/ouput_image/Frame-0.bmp"));
    other.Release();
    EXPECT_EQ(f.Render({"--steps", "2", "demo.tvl"}).exitCode, 0);
}

TEST(RenderRun, OlderFramesBeyondTheStepsAreToldOrCleaned)
{
    CRenderFixture f;
    ASSERT_EQ(f.Render({"--steps", "30", "--engine", "dissolve", "demo.tvl"}).exitCode, 0);
    const CRenderFixture::Outcome told = f.Render({"--steps", "5", "--engine", "dissolve", "demo.tvl"});
    ASSERT_EQ(told.exitCode, 0);
    EXPECT_EQ(
        Count(told.output, "25 older frame files of an earlier run remain beyond Frame-5.bmp (up to Frame-30.bmp)"), 1u)
        << told.output;
    EXPECT_TRUE(fs::exists(f.Work() + "/ouput_image/Frame-30.bmp"));

    const CRenderFixture::Outcome cleaned = f.Render({"--steps", "5", "--clean", "--engine", "dissolve", "demo.tvl"});
    ASSERT_EQ(cleaned.exitCode, 0);
    EXPECT_NE(cleaned.output.find("removed 25 older frame files"), std::string::npos) << cleaned.output;
    EXPECT_EQ(cleaned.output.find("remain"), std::string::npos) << cleaned.output;
    EXPECT_TRUE(fs::exists(f.Work() + "/ouput_image/Frame-5.bmp"));
    EXPECT_FALSE(fs::exists(f.Work() + "/ouput_image/Frame-6.bmp"));
}

namespace {

// The project limit's line pairs; fewer under the sanitizers, which are
// many times slower and hold more memory.
#ifdef TREVALIN_RENDER_TESTS_SANITIZED
constexpr int kLimitPairs = 20000;
#else
constexpr int kLimitPairs = 500000;
#endif

std::string LogOf(const CRenderFixture& f)
{
    std::ifstream in(f.Work() + "/log");
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

// A project at the limits renders in bounded memory at any thread count:
// threads are few and take a block of line pairs at a time.
TEST(RenderRun, AProjectAtTheLineLimitRendersInBoundedMemory)
{
    CRenderFixture f;
    f.WriteBigProject("big.tvl", kLimitPairs);
    for (const char* threads : {"1", "1024"}) {
        SCOPED_TRACE(threads);
        const int pid = f.Spawn({"--threads", threads, "--steps", "1", "big.tvl"}, f.Work() + "/log");
        long peakKilobytes = 0;
        ASSERT_EQ(CRenderFixture::Wait(pid, &peakKilobytes), 0) << LogOf(f);
        EXPECT_LT(peakKilobytes, 500 * 1024);
        EXPECT_TRUE(fs::exists(f.Work() + "/ouput_image/Frame-1.bmp"));
    }
}

// Memory that runs out during a run ends it as any failure does: exit 1
// with a message, the video there before kept, no temporary file left.
TEST(RenderRun, RunningOutOfMemoryFailsTheRunAndKeepsThePreviousOutputs)
{
#ifdef TREVALIN_RENDER_TESTS_SANITIZED
    GTEST_SKIP() << "the sanitizers reserve more address space than any limit leaves";
#endif
    CRenderFixture f;
    ASSERT_EQ(f.Render({"--steps", "1", "demo.tvl"}).exitCode, 0);
    const std::string video = f.Work() + "/output_video/trevalin.avi";
    const std::vector<uint8_t> previous = ReadBytesOrEmpty(video);
    const std::vector<uint8_t> frame = ReadBytesOrEmpty(f.Work() + "/ouput_image/Frame-1.bmp");
    f.WriteBigProject("big.tvl", kLimitPairs);
    // Room to open the project, not to run it (the run takes a copy of the
    // lines; a frame itself needs little).
    const int pid =
        f.Spawn({"--threads", "4", "--steps", "1", "big.tvl"}, f.Work() + "/log", uint64_t{300} * 1024 * 1024);
    EXPECT_EQ(CRenderFixture::Wait(pid), 1);
    const std::string log = LogOf(f);
    EXPECT_NE(log.find("内存不足"), std::string::npos) << log;
    EXPECT_EQ(log.find("打开文档失败"), std::string::npos) << log;
    EXPECT_EQ(ReadBytesOrEmpty(video), previous);
    EXPECT_EQ(ReadBytesOrEmpty(f.Work() + "/ouput_image/Frame-1.bmp"), frame);
    EXPECT_FALSE(AnyTemporaryFile(f.Work()));
}
