// The preview's answer to an edit: from a line moved to the new frame ready
// for display (computed on the preview's thread over the shared row pool and,
// where Qt is built, turned into the image the panel shows), as a user
// dragging a point waits for it. Times are wall-clock medians of whole
// round trips.
#include "BenchScene.h"
#include "document/CPictureImage.h"
#include "morph/CRowPool.h"
#include "run/CPreviewRenderer.h"
#include "run/CRunDriver.h"

#ifdef TREVALIN_BENCH_QT
#include "picture/CBitmapImage.h"

#include <QImage>
#include <QPainter>
#endif

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

constexpr int32_t kSteps = 10;
constexpr int32_t kFrame = 5;

std::shared_ptr<const CPictureImage> Picture(const CBitmap& bitmap)
{
    auto image = std::make_shared<CPictureImage>();
    image->width = bitmap.Width();
    image->height = bitmap.Height();
    image->pixels.assign(bitmap.Bits(), bitmap.Bits() + bitmap.SizeBytes());
    for (size_t i = 3; i < image->pixels.size(); i += 4)
        image->pixels[i] = 255;
    return image;
}

// Waits for the frames of one generation.
class CFrameWaiter {
public:
    void Ready(const CPreviewRenderer::Frame& frame)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_generation = frame.generation;
        m_half = frame.halfResolution;
        m_done.notify_all();
    }
    void Wait(uint64_t generation, bool half)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait(lock, [&] { return m_generation == generation && m_half == half; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    uint64_t m_generation = 0;
    bool m_half = false;
};

// range(3): 0 the exact frame, 1 the half-resolution frame a slow exact
// frame is preceded by. range(4): 1 for smooth frames (compare with the
// smooth frame alone, SmoothFeatureMorph).
void PreviewAfterEdit(benchmark::State& state)
{
    const BenchScene scene(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)),
                           static_cast<int32_t>(state.range(2)));
    const bool half = state.range(3) != 0;
    CRowPool pool(CRowPool::DefaultThreadCount());
    CFrameWaiter waiter;
#ifdef TREVALIN_BENCH_QT
    // As the panel does: images taken in turn from three kept ones, the
    // latest one held by the display meanwhile.
    QImage images[3];
    int next = 0, last = 0;
    QImage shown;
#endif
    CPreviewRenderer preview([&](CPreviewRenderer::Frame& frame) {
#ifdef TREVALIN_BENCH_QT
        CBitmapImage::CopyInto(frame.bitmap, images[next]);
        last = next;
        next = (next + 1) % 3;
#endif
        waiter.Ready(frame);
    });
    preview.SetRowPool(&pool);
    // Half first: every exact frame counts as slow, and none follows within
    // the round trip.
    // Exact only: no frame counts as slow.
    preview.SetPacing(half ? -1.0 : 1e9, 60000);
    CPreviewRenderer::Request request;
    request.engineKind = EngineKind::kFeature;
    request.frame = kFrame;
    request.steps = kSteps;
    if (state.range(4) != 0) request.options.quality = CMorphOptions::Quality::kSmooth;
    request.pictures[0] = Picture(scene.source);
    request.pictures[1] = Picture(scene.target);
    CFeatureSet& lines = *scene.doc->GetFeatureSet();
    // The first frame takes the pictures and measures the exact time.
    waiter.Wait(preview.Submit(request, lines), false);
    CFeaturePoint& dragged = lines.m_sets[1].Line(0).Point(0);
    int32_t step = 1;
    for (auto _ : state) {
        // The point follows the pointer back and forth by a pixel.
        dragged.x += step;
        step = -step;
        waiter.Wait(preview.Submit(request, lines), half);
#ifdef TREVALIN_BENCH_QT
        shown = images[last];
#endif
    }
}

#ifdef TREVALIN_BENCH_QT
// What the panel then does on the user-interface thread: draw the frame
// scaled to fit a panel 640 pixels wide.
void PreviewDraw(benchmark::State& state)
{
    const BenchScene scene(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)), 0);
    const QImage frame = CBitmapImage::ToImage(scene.source);
    QImage panel(640, 640 * frame.height() / frame.width(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter dc(&panel);
        dc.setRenderHint(QPainter::SmoothPixmapTransform, true);
        dc.drawImage(panel.rect(), frame, frame.rect());
        dc.end();
        benchmark::DoNotOptimize(panel.constBits());
    }
}
BENCHMARK(PreviewDraw)->ArgNames({"w", "h"})->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

BENCHMARK(PreviewAfterEdit)
    ->ArgNames({"w", "h", "pairs", "half", "smooth"})
    ->Args({1920, 1080, 20, 0, 0})
    ->Args({1920, 1080, 20, 1, 0})
    ->Args({1920, 1080, 20, 0, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
