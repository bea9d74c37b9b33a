// Frame times of the morph engines against the straightforward reference
// engines, and a copy of a frame's bytes for scale. Every engine computes
// the middle frame (k = 5 of 10) of a generated scene; times are wall-clock
// (the engines use all hardware threads).
#include "BenchScene.h"
#include "core/morph/OracleFBMorphing.h"
#include "core/morph/OracleLinearMorphing.h"
#include "morph/CRowPool.h"
#include "morph/FBMorphing.h"
#include "morph/LinearMorphing.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int32_t kSteps = 10;
constexpr int32_t kFrame = 5;

template <class Engine>
void RunEngine(benchmark::State& state, Engine& engine, const BenchScene& scene, CDocument* doc, int32_t k = kFrame)
{
    engine.LoadImage(scene.target, 1);
    engine.LoadImage(scene.source, 0);
    engine.SetSteps(kSteps);
    CBitmap out;
    out.CreateCompatibleBitmap(scene.source.Width(), scene.source.Height());
    engine.Morph(out, k, doc); // starts the engine's threads
    for (auto _ : state) {
        engine.Morph(out, k, doc);
        benchmark::DoNotOptimize(out.Bits());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(out.SizeBytes()));
}

void FeatureMorph(benchmark::State& state)
{
    const BenchScene scene(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)),
                           static_cast<int32_t>(state.range(2)));
    FBMorphing engine;
    if (state.range(3) >= 0) {
        engine.SetKernelPath(static_cast<MorphKernelPath>(state.range(3)));
    }
    RunEngine(state, engine, scene, scene.doc.get());
}

// The smooth frames (CMorphOptions::Quality::kSmooth), one sample per pixel.
void SmoothFeatureMorph(benchmark::State& state)
{
    const BenchScene scene(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)),
                           static_cast<int32_t>(state.range(2)));
    FBMorphing engine;
    CMorphOptions options;
    options.quality = CMorphOptions::Quality::kSmooth;
    engine.SetOptions(options);
    if (state.range(3) >= 0) {
        engine.SetKernelPath(static_cast<MorphKernelPath>(state.range(3)));
    }
    RunEngine(state, engine, scene, scene.doc.get());
}

// Classic (quality 0) and smooth (1) frames of the 1920 x 1080 scene with
// 20 pairs on one thread: with the machine busy, their ratio is best read
// off the CPU times of this one thread.
void FeatureMorphOneThread(benchmark::State& state)
{
    const BenchScene scene(1920, 1080, 20);
    CRowPool pool(1);
    FBMorphing engine;
    engine.SetRowPool(&pool);
    CMorphOptions options;
    options.quality = static_cast<CMorphOptions::Quality>(state.range(0));
    engine.SetOptions(options);
    engine.SetKernelPath(static_cast<MorphKernelPath>(state.range(1)));
    RunEngine(state, engine, scene, scene.doc.get());
}

void OracleFeatureMorph(benchmark::State& state)
{
    const BenchScene scene(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)),
                           static_cast<int32_t>(state.range(2)));
    OracleFBMorphing engine;
    RunEngine(state, engine, scene, scene.doc.get());
}

void Dissolve(benchmark::State& state)
{
    const BenchScene scene(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)), 0);
    LinearMorphing engine;
    if (state.range(2) >= 0) {
        engine.SetKernelPath(static_cast<MorphKernelPath>(state.range(2)));
    }
    RunEngine(state, engine, scene, nullptr, static_cast<int32_t>(state.range(3)));
}

void OracleDissolve(benchmark::State& state)
{
    const BenchScene scene(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)), 0);
    OracleLinearMorphing engine;
    RunEngine(state, engine, scene, nullptr);
}

void FrameMemcpy(benchmark::State& state)
{
    const size_t bytes = static_cast<size_t>(state.range(0)) * static_cast<size_t>(state.range(1)) * 4;
    std::vector<uint8_t> from(bytes, 1), to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

// Path -1 is the engine's own choice (the best the processor has); 1, 2, 3
// force baseline, AVX2, AVX-512 (a path the processor lacks falls back).
// The dissolve's frame 5 of 10 is computed in whole numbers, frame 3 of 10
// (where the double rounding makes some whole results one less) in whole
// numbers corrected by an exact whole-number test of the rounding
// (AVX-512) or by lookups (AVX2: path 2).
BENCHMARK(FeatureMorph)
    ->ArgNames({"w", "h", "pairs", "path"})
    ->Args({640, 480, 10, -1})
    ->Args({1920, 1080, 20, -1})
    ->Args({1920, 1080, 20, 2})
    ->Args({1920, 1080, 20, 3})
    ->Args({1920, 1080, 20, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// Beside the classic frames above: the same scenes and paths.
BENCHMARK(SmoothFeatureMorph)
    ->ArgNames({"w", "h", "pairs", "path"})
    ->Args({1920, 1080, 20, -1})
    ->Args({1920, 1080, 20, 2})
    ->Args({1920, 1080, 20, 3})
    ->Args({1920, 1080, 20, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(FeatureMorphOneThread)
    ->ArgNames({"quality", "path"})
    ->Args({0, 2})
    ->Args({1, 2})
    ->Args({0, 3})
    ->Args({1, 3})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(OracleFeatureMorph)
    ->ArgNames({"w", "h", "pairs"})
    ->Args({640, 480, 10})
    ->Args({1920, 1080, 20})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK(Dissolve)
    ->ArgNames({"w", "h", "path", "k"})
    ->Args({1920, 1080, -1, 5})
    ->Args({1920, 1080, -1, 3})
    ->Args({1920, 1080, 2, 3})
    ->Args({1920, 1080, 2, 5})
    ->Args({1920, 1080, 1, 5})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(OracleDissolve)->ArgNames({"w", "h"})->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FrameMemcpy)->ArgNames({"w", "h"})->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
