#include "document/CPictureDecoder.h"
#include "document/CPictureImage.h"
#include "document/CTrevalinDoc.h"
#include "geometry/CLinePairs.h"
#include "run/CPreviewRenderer.h"
#include "run/CRunDriver.h"
#include "support/CTempDir.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Decodes "W H SEED" into a picture of stripes and ramps that differ from
// seed to seed, so that a sample taken from the wrong place shows.
class CPatternDecoder : public CPictureDecoder {
public:
    bool Decode(const uint8_t* data, size_t size, CPictureImage& out, CMessage& error) const override
    {
        int w = 0, h = 0, seed = 0;
        const std::string text(reinterpret_cast<const char*>(data), size);
        if (std::sscanf(text.c_str(), "%d %d %d", &w, &h, &seed) != 3 || w < 0 || h < 0) {
            error = CMessage::Plain("not a pattern");
            return false;
        }
        out.width = w;
        out.height = h;
        out.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                uint8_t* p = &out.pixels[(static_cast<size_t>(y) * w + x) * 4];
                p[0] = static_cast<uint8_t>(x * 7 + y * 3 + seed * 40);
                p[1] = static_cast<uint8_t>((x / 5 + y / 3) % 2 ? 230 - seed * 50 : 20);
                p[2] = static_cast<uint8_t>(y * 255 / (h > 1 ? h - 1 : 1));
                p[3] = 255;
            }
        }
        return true;
    }
};

class PreviewRenderer : public ::testing::Test {
protected:
    PreviewRenderer() : doc(dir.Str(), std::make_shared<CPatternDecoder>())
    {
        fs::create_directories(dir / "images");
        Picture(0, "64 48 0");
        Picture(1, "64 48 1");
        AddPair({10, 10, 50, 12}, {14, 20, 56, 16});
        AddPair({30, 40, 20, 8}, {26, 44, 30, 6});
    }

    void Picture(int index, const std::string& pattern)
    {
        const fs::path path = dir / "images" / ("p" + std::to_string(index));
        std::ofstream(path) << pattern;
        ASSERT_EQ(doc.GetPicture(index)->LoadFromFile(path.string()), 1);
    }

    void AddPair(std::array<int, 4> source, std::array<int, 4> target)
    {
        for (int image = 0; image < 2; ++image) {
            const std::array<int, 4>& p = image == 0 ? source : target;
            CPointSets<int>& lines = doc.GetFeatureSet()->m_sets[image];
            CPointSet<int>& line = lines.Line(lines.Add());
            line.AddPoint(p[0], p[1], 0, 1);
            line.AddPoint(p[2], p[3], 0, 1);
        }
    }

    CPreviewRenderer::Request Ask(EngineKind kind, int32_t k, int32_t n) const
    {
        CPreviewRenderer::Request r;
        r.engineKind = kind;
        r.frame = k;
        r.steps = n;
        r.pictures[0] = doc.GetPicture(0)->GetSharedImage();
        r.pictures[1] = doc.GetPicture(1)->GetSharedImage();
        return r;
    }

    // What the renderer hands out, kept in order.
    struct Shown {
        uint64_t generation;
        int32_t frame;
        bool half;
        int32_t width;
        std::vector<uint8_t> bytes;
    };
    std::vector<Shown> Frames()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return shown;
    }
    CPreviewRenderer::FrameSink Sink()
    {
        return [this](CPreviewRenderer::Frame& f) {
            std::lock_guard<std::mutex> lock(mutex);
            shown.push_back({f.generation, f.frame, f.halfResolution, f.bitmap.Width(),
                             std::vector<uint8_t>(f.bitmap.Bits(), f.bitmap.Bits() + f.bitmap.SizeBytes())});
        };
    }

    // The pixel rows of a 32-bit frame file, top row first, as the frame
    // bitmap holds them.
    static std::vector<uint8_t> FileRows(const fs::path& file, int width, int height)
    {
        const std::vector<uint8_t> b = testfiles::ReadBytesOrEmpty(file);
        uint32_t offset = 0;
        if (b.size() < 14) return {};
        std::memcpy(&offset, &b[10], 4);
        const size_t pitch = static_cast<size_t>(width) * 4;
        if (b.size() < offset + pitch * height) return {};
        std::vector<uint8_t> rows;
        for (int y = height - 1; y >= 0; --y)
            rows.insert(rows.end(), b.begin() + offset + pitch * y, b.begin() + offset + pitch * (y + 1));
        return rows;
    }

    CTempDir dir;
    CTrevalinDoc doc;
    std::mutex mutex;
    std::vector<Shown> shown;
};

TEST_F(PreviewRenderer, FrameEqualsTheRunsFrameAndFile)
{
    const int32_t n = 6;
    CMorphOptions warpSmooth;
    warpSmooth.warpOnly = true;
    warpSmooth.SetEase(CMorphOptions::Ease::kSmooth);
    CMorphOptions extend;
    extend.edge = CMorphOptions::Edge::kExtend;
    const struct {
        EngineKind kind;
        CMorphOptions options;
    } cases[] = {{EngineKind::kFeature, {}},
                 {EngineKind::kLinear, {}},
                 {EngineKind::kFeature, warpSmooth},
                 {EngineKind::kFeature, extend},
                 {EngineKind::kLinear, warpSmooth}};
    for (const auto& c : cases) {
        CRunDriver driver(doc, [](CCompressionOptions&) { return false; });
        driver.UseEngine(c.kind);
        driver.SetMorphOptions(c.options);
        driver.SetSteps(n);
        ASSERT_EQ(driver.Start().status, CRunDriver::StartStatus::kStarted);
        CPreviewRenderer preview(Sink());
        do {
            const int32_t k = driver.GetFrameIndex();
            ASSERT_TRUE(driver.ProduceFrame().fileWritten);
            shown.clear();
            CPreviewRenderer::Request r = Ask(c.kind, k, n);
            r.options = c.options;
            preview.Submit(r, *doc.GetFeatureSet());
            ASSERT_TRUE(preview.WaitIdle(10s));
            const std::vector<Shown> frames = Frames();
            ASSERT_EQ(frames.size(), 1u);
            const Shown& f = frames[0];
            EXPECT_FALSE(f.half);
            const CBitmap& run = driver.GetFrame();
            ASSERT_EQ(f.bytes, std::vector<uint8_t>(run.Bits(), run.Bits() + run.SizeBytes()))
                << static_cast<int>(c.kind) << " warp " << c.options.warpOnly << " k=" << k;
            EXPECT_EQ(f.bytes, FileRows(dir / "ouput_image" / ("Frame-" + std::to_string(k) + ".bmp"), 64, 48));
        } while (driver.Advance());
        driver.Stop();
    }
}

TEST_F(PreviewRenderer, NewerRequestsSupersedeWaitingOnesAndLinesAreCopied)
{
    CPreviewRenderer preview(Sink());
    preview.Hold(true);
    const auto taken = std::make_shared<const CLinePairs>(*doc.GetFeatureSet());
    preview.Submit(Ask(EngineKind::kFeature, 1, 4), taken);
    preview.Submit(Ask(EngineKind::kFeature, 2, 4), taken);
    EXPECT_EQ(taken.use_count(), 2) << "one request waits";
    const uint64_t last = preview.Submit(Ask(EngineKind::kFeature, 3, 4), *doc.GetFeatureSet());
    EXPECT_EQ(taken.use_count(), 1) << "a superseded request lets its lines go";
    // Editing after the request does not reach it.
    doc.GetFeatureSet()->m_sets[0].Line(0).Point(0).x = 40;
    EXPECT_FALSE(preview.WaitIdle(50ms)) << "held: nothing computed";
    EXPECT_TRUE(Frames().empty());
    preview.Hold(false);
    ASSERT_TRUE(preview.WaitIdle(10s));
    ASSERT_EQ(Frames().size(), 1u);
    EXPECT_EQ(Frames()[0].generation, last);
    EXPECT_EQ(Frames()[0].frame, 3);

    doc.GetFeatureSet()->m_sets[0].Line(0).Point(0).x = 10;
    CRunDriver driver(doc, [](CCompressionOptions&) { return false; });
    driver.SetSteps(4);
    ASSERT_EQ(driver.Start().status, CRunDriver::StartStatus::kStarted);
    CBitmap expected;
    driver.ComputeFrame(3, expected);
    EXPECT_EQ(Frames()[0].bytes, std::vector<uint8_t>(expected.Bits(), expected.Bits() + expected.SizeBytes()));
}

TEST_F(PreviewRenderer, AnotherFrameOrARunAbandonsTheFrameInProgress)
{
    Picture(0, "1600 1200 0");
    Picture(1, "1600 1200 1");
    for (int i = 0; i < 18; ++i)
        AddPair({20 + 80 * i, 100, 60 + 80 * i, 1000}, {30 + 80 * i, 120, 50 + 80 * i, 980});
    CPreviewRenderer preview(Sink());
    preview.SetPacing(1e9, 0); // exact frames only
    const CFeatureSet& lines = *doc.GetFeatureSet();
    const auto startFrame = [&](int32_t k) {
        shown.clear();
        const uint64_t generation = preview.Submit(Ask(EngineKind::kFeature, k, 4), lines);
        for (int i = 0; i < 1000000 && !preview.IsComputing() && Frames().empty(); ++i)
            std::this_thread::yield();
        return generation;
    };
    // The frame in progress is given up for one of another k (a frame that
    // ends before the second request counts as no try).
    bool abandoned = false;
    for (int attempt = 0; attempt < 5 && !abandoned; ++attempt) {
        const int64_t before = preview.GetFramesAbandoned();
        startFrame(1);
        const uint64_t last = preview.Submit(Ask(EngineKind::kFeature, 3, 4), lines);
        ASSERT_TRUE(preview.WaitIdle(30s));
        ASSERT_FALSE(Frames().empty());
        EXPECT_EQ(Frames().back().generation, last);
        abandoned = preview.GetFramesAbandoned() > before;
        if (abandoned) {
            EXPECT_EQ(Frames().size(), 1u) << "an abandoned frame is never shown";
        }
    }
    EXPECT_TRUE(abandoned);
    // A run's hold gives it up too; it is made after the release.
    const int64_t before = preview.GetFramesAbandoned();
    const uint64_t held = startFrame(2);
    preview.Hold(true);
    EXPECT_FALSE(preview.WaitIdle(100ms));
    preview.Hold(false);
    ASSERT_TRUE(preview.WaitIdle(30s));
    ASSERT_EQ(Frames().size(), 1u);
    EXPECT_EQ(Frames()[0].generation, held);
    EXPECT_FALSE(Frames()[0].bytes.empty());
    EXPECT_LE(preview.GetFramesAbandoned(), before + 1);
}

TEST_F(PreviewRenderer, SlowFramesShowHalfResolutionFirstThenTheExactFrame)
{
    CPreviewRenderer preview(Sink());
    preview.SetPacing(-1.0, 0); // every measured frame counts as slow
    const auto taken = std::make_shared<const CLinePairs>(*doc.GetFeatureSet());
    preview.Submit(Ask(EngineKind::kFeature, 2, 4), taken);
    ASSERT_TRUE(preview.WaitIdle(10s));
    ASSERT_EQ(Frames().size(), 1u) << "nothing measured yet: the exact frame at once";
    const std::vector<uint8_t> exact = Frames()[0].bytes;
    preview.Submit(Ask(EngineKind::kFeature, 2, 4), taken);
    ASSERT_TRUE(preview.WaitIdle(10s));
    EXPECT_EQ(taken.use_count(), 1) << "nothing of the lines kept once the frames are made";
    const std::vector<Shown> f = Frames();
    ASSERT_EQ(f.size(), 3u);
    EXPECT_TRUE(f[1].half);
    EXPECT_EQ(f[1].width, 32);
    EXPECT_EQ(f[1].bytes.size(), 32u * 24u * 4u);
    EXPECT_FALSE(f[2].half);
    EXPECT_EQ(f[2].bytes, exact);
}

TEST_F(PreviewRenderer, NothingToShowGivesAnEmptyFrame)
{
    CPreviewRenderer preview(Sink());
    CPreviewRenderer::Request missing = Ask(EngineKind::kFeature, 1, 4);
    missing.pictures[1].reset();
    for (const CPreviewRenderer::Request& r : {missing, Ask(EngineKind::kFeature, 5, 4)}) {
        shown.clear();
        preview.Submit(r, *doc.GetFeatureSet());
        ASSERT_TRUE(preview.WaitIdle(10s));
        ASSERT_EQ(Frames().size(), 1u);
        EXPECT_TRUE(Frames()[0].bytes.empty());
    }
}

} // namespace
