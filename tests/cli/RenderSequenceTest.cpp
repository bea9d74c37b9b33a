#include "CRenderFixture.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The demo project the other way round: target to source, the line sets
// swapped (the file holds both names, then each picture's lines).
void WriteReversedDemo(const CRenderFixture& f, const std::string& name)
{
    const std::vector<uint8_t> demo = testfiles::ReadBytesOrEmpty(f.Work() + "/demo.tvl");
    ASSERT_FALSE(demo.empty());
    size_t at = 0;
    std::vector<uint8_t> names[2];
    for (auto& picture : names) {
        const size_t length = demo[at];
        picture.assign(demo.begin() + static_cast<std::ptrdiff_t>(at),
                       demo.begin() + static_cast<std::ptrdiff_t>(at + 1 + length));
        at += 1 + length;
    }
    const auto word = [&demo](size_t i) {
        return demo[i] | demo[i + 1] << 8 | demo[i + 2] << 16 | static_cast<uint32_t>(demo[i + 3]) << 24;
    };
    const size_t first = at;
    at += 4;
    for (uint32_t line = word(first); line > 0; --line)
        at += 4 + 8 * word(at);
    std::vector<uint8_t> out = names[1];
    out.insert(out.end(), names[0].begin(), names[0].end());
    out.insert(out.end(), demo.begin() + static_cast<std::ptrdiff_t>(at), demo.end());
    out.insert(out.end(), demo.begin() + static_cast<std::ptrdiff_t>(first),
               demo.begin() + static_cast<std::ptrdiff_t>(at));
    testfiles::WriteBytes(fs::path(f.Work()) / name, out);
}

std::vector<uint8_t> Frame(const CRenderFixture& f, const std::string& folder, int k)
{
    char name[32];
    std::snprintf(name, sizeof name, "-%04d.bmp", k);
    return testfiles::ReadBytesOrEmpty(f.Work() + "/" + folder + "/" + folder + name);
}

} // namespace

// Three projects make one run of frames: A to B, B to A, A to B, the joins
// once, each picture held for one more frame; each frame is the one its own
// project makes, and ranges split over runs make the same files.
TEST(RenderSequence, ThreeMorphsJoinOnceAndSplitRangesEqualTheWhole)
{
    CRenderFixture f;
    WriteReversedDemo(f, "back.tvl");
    const auto render = [&](const std::string& out, std::vector<std::string> args) {
        fs::create_directory(f.Work() + "/" + out);
        // Smooth frames: frame N is the target picture itself, as frame 0 is the source.
        const std::vector<std::string> common{"--steps", "4",     "--quality", "smooth", "--video",
                                              "none",    "--out", out,         "--name", out};
        args.insert(args.begin(), common.begin(), common.end());
        const CRenderFixture::Outcome run = f.Render(args);
        EXPECT_EQ(run.exitCode, 0) << run.output;
    };
    render("ab", {"demo.tvl"});
    render("ba", {"back.tvl"});
    render("seq", {"--hold", "1", "demo.tvl", "back.tvl", "demo.tvl"});
    render("split", {"--hold", "1", "--range", "0-6", "demo.tvl", "back.tvl", "demo.tvl"});
    render("split", {"--hold", "1", "--range", "7-16", "demo.tvl", "back.tvl", "demo.tvl"});

    EXPECT_EQ(testfiles::Names(f.Work() + "/seq").size(), 17u) << "3 x 4 + 1 frames and 4 held ones";
    EXPECT_EQ(Frame(f, "ab", 4), Frame(f, "ba", 0)) << "the first morph ends where the second begins";
    // Frame g of the sequence: which project's frame k.
    const struct {
        const char* project;
        int k;
    } expected[17] = {{"ab", 0}, {"ab", 0}, {"ab", 1}, {"ab", 2}, {"ab", 3}, {"ba", 0}, {"ba", 0}, {"ba", 1}, {"ba", 2},
                      {"ba", 3}, {"ab", 0}, {"ab", 0}, {"ab", 1}, {"ab", 2}, {"ab", 3}, {"ab", 4}, {"ab", 4}};
    for (int g = 0; g < 17; ++g) {
        const std::vector<uint8_t> frame = Frame(f, "seq", g);
        ASSERT_FALSE(frame.empty()) << g;
        EXPECT_EQ(frame, Frame(f, expected[g].project, expected[g].k)) << "frame " << g;
        EXPECT_EQ(frame, Frame(f, "split", g)) << "split frame " << g;
    }
}

// An export's length by frames or by time, past the 100 steps of a run.
TEST(RenderSequence, FramesByCountOrByDuration)
{
    CRenderFixture f;
    fs::create_directory(f.Work() + "/time");
    CRenderFixture::Outcome run =
        f.Render({"--out", "time", "--video", "none", "--duration", "0.4", "--fps", "10", "demo.tvl"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(testfiles::Names(f.Work() + "/time"),
              (std::vector<std::string>{"demo-0000.bmp", "demo-0001.bmp", "demo-0002.bmp", "demo-0003.bmp"}));
    fs::create_directory(f.Work() + "/long");
    run = f.Render({"--out", "long", "--video", "none", "--frames", "150", "--range", "148-149", "demo.tvl"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(testfiles::Names(f.Work() + "/long"), (std::vector<std::string>{"demo-0148.bmp", "demo-0149.bmp"}));
    run =
        f.Render({"--out", "long", "--video", "none", "--steps", "4", "--range", "4-4", "--name", "four", "demo.tvl"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(testfiles::ReadBytesOrEmpty(f.Work() + "/long/demo-0149.bmp"),
              testfiles::ReadBytesOrEmpty(f.Work() + "/long/four-0004.bmp"))
        << "the last of 150 frames is the last of 5";
}
