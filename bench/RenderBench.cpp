// Whole runs of the built trevalin-render, timed from process start to exit:
// a generated 1920 x 1080 project with 20 line pairs whose two pictures are
// 24-bit BMP files (6 MB each), or baseline JPEG files, in a temporary
// working folder. Each run decodes both pictures, computes and writes every
// frame as a BMP file and into an uncompressed video; the export runs
// compute 51 frames into BMP files and no video (the frames' own time), or
// into no files and an MP4, a WebM or
// a GIF at their default settings, and give each video's time as a multiple
// of the frames' own.
#include "BenchScene.h"
#include "document/CArchive.h"
#include "document/CFeatureBlock.h"

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <algorithm>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
constexpr int32_t kPairs = 20;

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A 24-bit bottom-up BMP file of the picture's blue, green and red bytes.
std::vector<uint8_t> Bmp24(const CBitmap& picture)
{
    const auto w = static_cast<uint32_t>(picture.Width());
    const auto h = static_cast<uint32_t>(picture.Height());
    const uint32_t row = (3 * w + 3) & ~3u;
    std::vector<uint8_t> b(54 + static_cast<size_t>(row) * h, 0);
    auto put = [&b](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<uint32_t>(b.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, w, 4);
    put(22, h, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* src =
            picture.Bits() + static_cast<size_t>(h - 1 - y) * static_cast<size_t>(picture.WidthBytes());
        uint8_t* dst = b.data() + 54 + static_cast<size_t>(y) * row;
        for (uint32_t x = 0; x < w; ++x) {
            dst[3 * x] = src[4 * x];
            dst[3 * x + 1] = src[4 * x + 1];
            dst[3 * x + 2] = src[4 * x + 2];
        }
    }
    return b;
}

std::vector<uint8_t> Jpeg(const CBitmap& picture)
{
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, picture.Bits(), picture.Width(), picture.WidthBytes(), picture.Height(), TJPF_BGRX, &jpeg,
                &size, TJSAMP_420, 90, 0);
    std::vector<uint8_t> bytes(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(handle);
    return bytes;
}

// The working folder of one kind of picture file, made once.
class RenderScene {
public:
    explicit RenderScene(const char* extension)
    {
        char pattern[] = "/tmp/trevalin-render-bench-XXXXXX";
        m_dir = ::mkdtemp(pattern);
        const BenchScene scene(kWidth, kHeight, kPairs);
        fs::create_directories(m_dir / "images");
        fs::create_directories(m_dir / "export");
        const std::string ext = extension;
        WriteFile(m_dir / "images" / ("source." + ext), ext == "bmp" ? Bmp24(scene.source) : Jpeg(scene.source));
        WriteFile(m_dir / "images" / ("target." + ext), ext == "bmp" ? Bmp24(scene.target) : Jpeg(scene.target));
        CArchive ar;
        ar << ("\\source." + ext) << ("\\target." + ext);
        CFeatureBlock::Write(ar, *scene.doc->GetFeatureSet());
        WriteFile(m_dir / "render.tvl", ar.GetBuffer());
    }
    ~RenderScene()
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    RenderScene(const RenderScene&) = delete;
    RenderScene& operator=(const RenderScene&) = delete;

    // Runs trevalin-render with the arguments; returns its wall time in
    // seconds, or a negative value when it failed.
    double Run(const std::vector<std::string>& args) const
    {
        std::vector<std::string> all{TREVALIN_RENDER};
        all.insert(all.end(), args.begin(), args.end());
        all.push_back("render.tvl");
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, m_dir.c_str());
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const auto begin = std::chrono::steady_clock::now();
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        if (spawned != 0 || ::waitpid(pid, &status, 0) != pid) return -1.0;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1.0;
    }

private:
    fs::path m_dir;
};

void Render(benchmark::State& state, const char* extension, int32_t steps)
{
    static RenderScene bmp("bmp");
    static RenderScene jpg("jpg");
    const RenderScene& scene = std::string(extension) == "bmp" ? bmp : jpg;
    const std::vector<std::string> args{"--steps", std::to_string(steps)};
    double frames = 0.0;
    double seconds = 0.0;
    for (auto _ : state) {
        const double t = scene.Run(args);
        if (t < 0.0) {
            state.SkipWithError("trevalin-render failed");
            break;
        }
        state.SetIterationTime(t);
        frames += steps + 1;
        seconds += t;
    }
    state.counters["frames_per_second"] = seconds > 0.0 ? frames / seconds : 0.0;
}

void RenderBmp(benchmark::State& state)
{
    Render(state, "bmp", static_cast<int32_t>(state.range(0)));
}

void RenderJpeg(benchmark::State& state)
{
    Render(state, "jpg", static_cast<int32_t>(state.range(0)));
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    return n == 0 ? 0.0 : (n % 2 == 1 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2);
}

// Each iteration exports the four ways in turn, so that the machine's load
// weighs on all of them alike; the counters are the medians and ratios.
void ExportVideos(benchmark::State& state)
{
    static RenderScene bmp("bmp");
    const char* const videos[] = {"none", "mp4", "webm", "gif"};
    std::vector<double> times[4];
    for (auto _ : state) {
        double total = 0.0;
        for (size_t v = 0; v < 4; ++v) {
            // Frames only: written as BMP files (an export needs an output).
            const double t = bmp.Run(
                {"--out", "export", "--image-format", v == 0 ? "bmp" : "none", "--video", videos[v], "--steps", "50"});
            if (t < 0.0) {
                state.SkipWithError("trevalin-render failed");
                return;
            }
            times[v].push_back(t);
            total += t;
        }
        state.SetIterationTime(total);
    }
    const double frames = Median(times[0]);
    for (size_t v = 0; v < 4; ++v) {
        const double median = Median(times[v]);
        state.counters[std::string(videos[v]) + "_s"] = median;
        if (v > 0) state.counters[std::string(videos[v]) + "_x"] = frames > 0.0 ? median / frames : 0.0;
    }
}

BENCHMARK(ExportVideos)->Iterations(3)->Unit(benchmark::kSecond)->UseManualTime();
BENCHMARK(RenderBmp)->ArgName("steps")->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(RenderJpeg)->ArgName("steps")->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

BENCHMARK_MAIN();
