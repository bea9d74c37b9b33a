// Exports of trevalin-render as separate processes: the locks of their
// output folders, the leftovers of a killed export, stop signals, and
// folders and names checked before the first frame.
#include "CRenderFixture.h"
#include "run/COutputLocks.h"
#include "support/RunUnprivileged.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Waits (up to a minute) until `path` exists.
bool WaitFor(const std::string& path)
{
    for (int i = 0; i < 6000; ++i) {
        if (fs::exists(path)) return true;
        ::usleep(10000);
    }
    return false;
}

int CountNamed(const std::string& folder, const std::string& part)
{
    int n = 0;
    for (const auto& e : fs::directory_iterator(folder))
        n += e.path().filename().string().find(part) != std::string::npos ? 1 : 0;
    return n;
}

std::string ReadLog(const std::string& path)
{
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

TEST(RenderExport, ASecondExportIntoTheFolderRefusesAndAKilledOnesLeftoversGoWithTheNext)
{
    CRenderFixture f;
    f.WriteHeavyProject("heavy.tvl", CRenderFixture::kHeavyPairs);
    fs::create_directory(f.Work() + "/out");
    const std::vector<std::string> heavy{"--steps", "100", "--out", "out", "--image-format", "png", "--video", "mp4"};
    std::vector<std::string> args = heavy;
    args.push_back("heavy.tvl");
    const int pid = f.Spawn(args, f.Work() + "/log");
    ASSERT_TRUE(WaitFor(f.Work() + "/out/heavy-0001.png"));

    const CRenderFixture::Outcome second =
        f.Render({"--steps", "2", "--out", "out", "--name", "light", "--image-format", "bmp", "demo.tvl"});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(second.output, "export failed: 另一个渐变或导出正在写入文件夹 out,请等它结束后再导出。\n");
    EXPECT_EQ(CountNamed(f.Work() + "/out", "light"), 0);

    ::kill(pid, SIGKILL);
    CRenderFixture::Wait(pid);
    EXPECT_GE(CountNamed(f.Work() + "/out", "heavy.mp4.tmp-" + std::to_string(pid) + "-"), 1);
    const CRenderFixture::Outcome next =
        f.Render({"--steps", "1", "--out", "out", "--name", "heavy", "--image-format", "png", "demo.tvl"});
    ASSERT_EQ(next.exitCode, 0) << next.output;
    EXPECT_EQ(CountNamed(f.Work() + "/out", ".tmp-"), 0);
}

TEST(RenderExport, RunsAndExportsIntoTheWorkingFolderHoldItsOutputFolders)
{
    CRenderFixture f;
    fs::create_directory(f.Work() + "/ouput_image");
    fs::create_directory(f.Work() + "/output_video");
    for (const std::string folder : {"/ouput_image", "/output_video"}) {
        SCOPED_TRACE(folder);
        COutputLocks other;
        ASSERT_EQ(other.Acquire({f.Work() + folder}), CRunLock::Result::kAcquired);
        const CRenderFixture::Outcome run = f.Render({"--steps", "2", "demo.tvl"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.output.find("another run or export is writing the outputs of"), std::string::npos) << run.output;
        const CRenderFixture::Outcome exported = f.Render({"--steps", "2", "--video", "gif", "demo.tvl"});
        EXPECT_EQ(exported.exitCode, 1);
        EXPECT_NE(exported.output.find("另一个渐变或导出正在写入文件夹 " + f.Work() + folder), std::string::npos)
            << exported.output;
    }
    EXPECT_TRUE(fs::is_empty(f.Work() + "/ouput_image"));
    EXPECT_TRUE(fs::is_empty(f.Work() + "/output_video"));

    // Free again, a run clears what killed exports left there (not what a
    // live process writes).
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ASSERT_EQ(CRenderFixture::Wait(dead), 0);
    const std::string left[] = {"/ouput_image/Frame-3.png.tmp-" + std::to_string(dead) + "-0",
                                "/output_video/trevalin.mp4.tmp-" + std::to_string(dead) + "-1"};
    const std::string live = "/output_video/trevalin.gif.tmp-" + std::to_string(::getpid()) + "-0";
    for (const std::string& name : {left[0], left[1], live})
        std::ofstream(f.Work() + name) << "part";
    EXPECT_EQ(f.Render({"--steps", "2", "demo.tvl"}).exitCode, 0);
    EXPECT_FALSE(fs::exists(f.Work() + left[0]));
    EXPECT_FALSE(fs::exists(f.Work() + left[1]));
    EXPECT_TRUE(fs::exists(f.Work() + live));
}

// A stop signal ends an export after the frame being written, with a video
// of the frames written that plays, whatever its format.
TEST(RenderExport, StopSignalsCompleteTheVideoOfTheFramesWritten)
{
    const struct {
        int signal;
        int status;
        std::string video;
    } cases[] = {{SIGINT, 130, "mp4"}, {SIGTERM, 143, "webm"}, {SIGHUP, 129, "gif"}, {SIGINT, 130, "avi"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.video);
        CRenderFixture f;
        f.WriteHeavyProject("heavy.tvl", CRenderFixture::kHeavyPairs);
        fs::create_directory(f.Work() + "/out");
        const int pid =
            f.Spawn({"--steps", "100", "--out", "out", "--image-format", "bmp", "--video", c.video, "heavy.tvl"},
                    f.Work() + "/log");
        ASSERT_TRUE(WaitFor(f.Work() + "/out/heavy-0001.bmp"));
        ::kill(pid, c.signal);
        EXPECT_EQ(CRenderFixture::Wait(pid), c.status);
        const std::string log = ReadLog(f.Work() + "/log");
        EXPECT_NE(log.find("stopped by SIG"), std::string::npos) << log;
        EXPECT_EQ(CountNamed(f.Work() + "/out", ".tmp-"), 0);
        const int frames = CountNamed(f.Work() + "/out", ".bmp");
        EXPECT_LT(frames, 101);
        const std::string probe = CRenderFixture::Capture(
            "ffprobe -v error -select_streams v:0 -count_frames -show_entries stream=nb_read_frames -of "
            "default=noprint_wrappers=1 '" +
            f.Work() + "/out/heavy." + c.video + "'");
        EXPECT_EQ(probe, "nb_read_frames=" + std::to_string(frames) + "\n") << log;
    }
}

TEST(RenderExport, FoldersAndNamesAreCheckedBeforeTheFirstFrame)
{
    CRenderFixture f;
    f.SetLocale("");
    fs::create_directory(f.Work() + "/out");
    // The video's name, 252 + 4 bytes, is one more than a name may be.
    const CRenderFixture::Outcome longName = f.Render(
        {"--steps", "30", "--out", "out", "--name", std::string(252, 'n'), "--image-format", "none", "demo.tvl"});
    EXPECT_EQ(longName.exitCode, 1);
    EXPECT_NE(longName.output.find("The file name is too long"), std::string::npos) << longName.output;
    EXPECT_EQ(longName.output.find("frames in"), std::string::npos) << longName.output;

    // A working folder that cannot be written to: the reason is told, for
    // a run and for an export into it.
    fs::permissions(f.Work(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    // What the child says when it cannot reach the program (an exit status).
    constexpr int kUnreachable = 100;
    const int failures = RunUnprivileged([&f] {
        // The build may lie in a folder only its owner can reach.
        if (::access(TREVALIN_RENDER, X_OK) != 0) return kUnreachable;
        int failed = 0;
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"--steps", "2", "demo.tvl"},
              std::vector<std::string>{"--steps", "2", "--image-format", "png", "demo.tvl"}}) {
            const CRenderFixture::Outcome run = f.Render(args);
            failed = failed * 2 + (run.exitCode != 1 || run.output.find("Permission denied") == std::string::npos ||
                                   run.output.find("No such file") != std::string::npos ||
                                   run.output.find("frames in") != std::string::npos);
        }
        return failed;
    });
    fs::permissions(f.Work(), fs::perms::owner_all);
    if (failures == kUnreachable) GTEST_SKIP() << "the unprivileged user cannot reach " << TREVALIN_RENDER;
    EXPECT_EQ(failures, 0);
}
