#include "cli/CRenderOptions.h"

#include <gtest/gtest.h>

namespace {

// The problem, "" for --help, nothing when the arguments are fine.
std::optional<std::string> Parse(std::vector<std::string> args, CRenderOptions& out)
{
    const CMessage problem = CRenderOptions::Parse(args, out);
    if (!problem.IsEmpty()) return problem.Text();
    return out.help ? std::optional<std::string>(std::string()) : std::nullopt;
}

TEST(RenderOptions, DefaultsAndAllSwitches)
{
    CRenderOptions o;
    ASSERT_FALSE(Parse({"p.tvl"}, o));
    EXPECT_EQ(o.steps, 10);
    EXPECT_EQ(o.engine, EngineKind::kFeature);
    EXPECT_FALSE(o.motionJpeg);
    EXPECT_FALSE(o.clean);
    EXPECT_FALSE(o.autoFace);
    EXPECT_EQ(o.project, "p.tvl");

    CRenderOptions all;
    ASSERT_FALSE(Parse(
        {"--steps", "100", "--engine=dissolve", "--codec", "mjpeg", "--clean", "--auto-face", "/abs/path/x.tvl"}, all));
    EXPECT_TRUE(all.autoFace);
    EXPECT_EQ(all.steps, 100);
    EXPECT_EQ(all.engine, EngineKind::kLinear);
    EXPECT_TRUE(all.motionJpeg);
    EXPECT_TRUE(all.clean);
    EXPECT_EQ(all.project, "/abs/path/x.tvl") << "a leading slash is a path, not a switch";

    CRenderOptions one;
    ASSERT_FALSE(Parse({"--steps=1", "p.tvl"}, one));
    EXPECT_EQ(one.steps, 1);
    EXPECT_FALSE(one.IsExport());
    EXPECT_FALSE(one.fit) << "no fit unless asked";

    for (const auto& [word, mode] : {std::pair{"pad", FitMode::kPad}, std::pair{"crop", FitMode::kCrop},
                                     std::pair{"stretch", FitMode::kStretch}}) {
        CRenderOptions fit;
        ASSERT_FALSE(Parse({"--fit", word, "p.tvl"}, fit));
        EXPECT_EQ(fit.fit, mode) << word;
        EXPECT_FALSE(fit.IsExport()) << "a fit alone keeps today's folders";
    }

    // Without export switches: today's folders; --threads and the morph
    // options alone keep it that way.
    CRenderOptions morph;
    ASSERT_FALSE(Parse({"--threads", "3", "--warp-only", "--ease", "smooth", "--edge=extend", "p.tvl"}, morph));
    EXPECT_FALSE(morph.IsExport());
    EXPECT_EQ(morph.threads, 3);
    EXPECT_EQ(morph.MorphOptions({}), (CMorphOptions{true, CTimingCurve::Kind::kSmooth, CTimingCurve::Kind::kSmooth,
                                                     CMorphOptions::Edge::kExtend}));
    EXPECT_EQ(
        one.MorphOptions({true, CTimingCurve::Kind::kSmooth, CTimingCurve::Kind::kSmooth, CMorphOptions::Edge::kBlack}),
        (CMorphOptions{true, CTimingCurve::Kind::kSmooth, CTimingCurve::Kind::kSmooth, CMorphOptions::Edge::kBlack}))
        << "the project's own options stay where no switch is given";
    for (const auto& [word, quality] : {std::pair{"smooth", CMorphOptions::Quality::kSmooth},
                                        std::pair{"classic", CMorphOptions::Quality::kClassic}}) {
        CRenderOptions q;
        ASSERT_FALSE(Parse({std::string("--quality=") + word, "p.tvl"}, q));
        EXPECT_FALSE(q.IsExport());
        EXPECT_EQ(q.MorphOptions({true, CTimingCurve::Kind::kSmooth, CTimingCurve::Kind::kSmooth,
                                  CMorphOptions::Edge::kBlack, CMorphOptions::Quality::kSmooth})
                      .quality,
                  quality)
            << word;
    }
    EXPECT_EQ(one.ExportSettings("/work", "p").supersample, 1);

    // Curves (the last switch wins), frames by count or by time, sequences.
    CRenderOptions timed;
    ASSERT_FALSE(Parse({"--ease", "smooth", "--colour-curve", "bezier:0,0,0.5,1", "--out", "o", "--fps", "30",
                        "--duration", "2.5", "--hold", "3", "a.tvl", "b.tvl", "c.tvl"},
                       timed));
    EXPECT_EQ(timed.MorphOptions({}).shape, CTimingCurve(CTimingCurve::Kind::kSmooth));
    EXPECT_EQ(timed.MorphOptions({}).colour, CTimingCurve::Bezier(0, 0, 0.5, 1));
    EXPECT_EQ(timed.frames, 75) << "round(2.5 x 30)";
    EXPECT_EQ(timed.ExportSettings("/w", "a").steps, 74);
    EXPECT_EQ(timed.projects, (std::vector<std::string>{"a.tvl", "b.tvl", "c.tvl"}));
    EXPECT_EQ(timed.hold, 3);
    CRenderOptions counted;
    ASSERT_FALSE(Parse({"--frames", "10000", "--range", "0-9999", "p.tvl"}, counted));
    EXPECT_TRUE(counted.IsExport()) << "a frame count is an export's";
    EXPECT_EQ(counted.ExportSettings("/w", "p").steps, 9999);
    CRenderOptions legacy;
    ASSERT_FALSE(Parse({"--duration=2", "p.tvl"}, legacy));
    EXPECT_EQ(legacy.frames, 6) << "the AVI of the working folder runs at 3 fps";

    CRenderOptions out;
    ASSERT_FALSE(Parse(
        {"--out",     "/o",           "--name",  "m",    "--image-format", "png",          "--video", "webm",
         "--fps",     "30",           "--range", "2-5",  "--pingpong",     "--webm-speed", "3",       "--gif-dither",
         "diffusion", "--mp4-preset", "slow",    "p.tvl"},
        out));
    const CExportSettings s = out.ExportSettings("/work", "p");
    EXPECT_EQ(s.FramePath(2), "/o/m-0002.png");
    EXPECT_EQ(s.VideoPath(), "/o/m.webm");
    EXPECT_EQ(s.fps, 30);
    EXPECT_EQ(s.firstFrame, 2);
    EXPECT_EQ(s.LastFrame(), 5);
    EXPECT_TRUE(s.pingPong);
    EXPECT_EQ(s.webmSpeed, 3);
    EXPECT_EQ(s.mp4Preset, 6);
    EXPECT_EQ(s.gifDither, CVideoSettings::GifDither::kDiffusion);
    EXPECT_EQ(CExportSettings().webmSpeed, 6) << "the default keeps up with the frames";

    // Defaults of an export: BMP frames, an AVI (none with --range) at 3 fps
    // in today's folders, 25 fps in --out.
    const struct {
        std::vector<std::string> args;
        CExportSettings::Frames frames;
        CExportSettings::Video video;
        int32_t fps;
        std::string frame;
        int32_t supersample = 1;
    } defaults[] = {
        {{"--out", "/o", "p.tvl"},
         CExportSettings::Frames::kBmp,
         CExportSettings::Video::kAviUncompressed,
         25,
         "/o/p-0000.bmp"},
        {{"--fps", "7", "--codec", "mjpeg", "p.tvl"},
         CExportSettings::Frames::kBmp,
         CExportSettings::Video::kAviMotionJpeg,
         7,
         "/work/ouput_image/Frame-0.bmp"},
        {{"--image-format", "jpeg", "p.tvl"},
         CExportSettings::Frames::kJpeg,
         CExportSettings::Video::kAviUncompressed,
         3,
         "/work/ouput_image/Frame-0.jpg"},
        {{"--range", "0-3", "--video", "gif", "p.tvl"},
         CExportSettings::Frames::kBmp,
         CExportSettings::Video::kGif,
         25,
         "/work/ouput_image/Frame-0.bmp"},
        {{"--out", "/o", "--range", "4-4", "p.tvl"},
         CExportSettings::Frames::kBmp,
         CExportSettings::Video::kNone,
         25,
         "/o/p-0000.bmp"},
        {{"--out", "/o", "--supersample", "2", "--quality", "smooth", "p.tvl"},
         CExportSettings::Frames::kBmp,
         CExportSettings::Video::kAviUncompressed,
         25,
         "/o/p-0000.bmp",
         2},
    };
    for (const auto& d : defaults) {
        CRenderOptions parsed;
        ASSERT_FALSE(Parse(d.args, parsed)) << ::testing::PrintToString(d.args);
        EXPECT_TRUE(parsed.IsExport());
        const CExportSettings e = parsed.ExportSettings("/work", "p");
        EXPECT_EQ(e.frames, d.frames) << ::testing::PrintToString(d.args);
        EXPECT_EQ(e.video, d.video) << ::testing::PrintToString(d.args);
        EXPECT_EQ(e.fps, d.fps) << ::testing::PrintToString(d.args);
        EXPECT_EQ(e.FramePath(0), d.frame);
        EXPECT_EQ(e.supersample, d.supersample) << ::testing::PrintToString(d.args);
    }
}

TEST(RenderOptions, RejectsBadValuesAndShapes)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"--steps", "0", "p.tvl"},
             {"--steps", "101", "p.tvl"},
             {"--steps", "-3", "p.tvl"},
             {"--steps", "ten", "p.tvl"},
             {"--steps", "5x", "p.tvl"},
             {"--steps"},
             {"--engine", "warp", "p.tvl"},
             {"--codec", "h264", "p.tvl"},
             {"--frobnicate", "p.tvl"},
             {"--clean=yes", "p.tvl"},
             {"--auto-face=yes", "p.tvl"},
             {"--faces", "a.jpg", "b.jpg"},
             {"--faces", "a.jpg", "--out", "o"},
             {"--frames", "1", "p.tvl"},
             {"--frames", "10001", "p.tvl"},
             {"--frames", "5", "--duration", "2", "p.tvl"},
             {"--out", "o", "--duration", "0.01", "p.tvl"},
             {"--duration", "soon", "p.tvl"},
             {"--shape-curve", "bezier:2,0,1,1", "p.tvl"},
             {"--colour-curve", "bouncy", "p.tvl"},
             {"--hold", "-1", "p.tvl"},
             {"--steps", "4", "--range", "0-9", "a.tvl", "b.tvl"},
             {"--name", "m", "p.tvl"},
             {"--out", "o", "--name", "a/b", "p.tvl"},
             {"--image-format", "gif", "p.tvl"},
             {"--video", "mkv", "p.tvl"},
             {"--video", "mp4", "--codec", "mjpeg", "p.tvl"},
             {"--fps", "0", "p.tvl"},
             {"--fps", "121", "p.tvl"},
             {"--range", "3", "p.tvl"},
             {"--range", "5-2", "p.tvl"},
             {"--range", "2-11", "p.tvl"},
             {"--range", "-1-2", "p.tvl"},
             {"--threads", "0", "p.tvl"},
             {"--webm-speed", "10", "p.tvl"},
             {"--webm-speed", "fast", "p.tvl"},
             {"--mp4-preset", "turbo", "p.tvl"},
             {"--gif-dither", "bayer", "p.tvl"},
             {"--ease", "fast", "p.tvl"},
             {"--edge", "wrap", "p.tvl"},
             {"--pingpong=yes", "p.tvl"},
             {"--fit", "square", "p.tvl"},
             {"--fit"},
             {"--quality", "fine", "p.tvl"},
             {"--supersample", "2", "p.tvl"},
             {"--out", "/o", "--supersample", "3", "p.tvl"},
             {"--out", "/o", "--quality", "classic", "--supersample", "2", "p.tvl"},
             {"--out", "/o", "--supersample=0", "p.tvl"},
         }) {
        CRenderOptions o;
        const std::optional<std::string> problem = Parse(args, o);
        ASSERT_TRUE(problem.has_value()) << "accepted: " << ::testing::PrintToString(args);
        EXPECT_FALSE(problem->empty());
    }
}

TEST(RenderOptions, HelpIsNotAnError)
{
    CRenderOptions o;
    const std::optional<std::string> problem = Parse({"--help"}, o);
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->empty());
}

} // namespace
