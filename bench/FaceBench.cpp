// Face lines for two 1920 x 1080 photos: detection on a reduced copy, the
// landmarks at full size, both pictures side by side. Once with a fresh
// finder (the module loaded and the landmark model read), then with a finder
// kept. Skips when the photos or the model are missing.
#include "document/CPictureImage.h"
#include "faces/CFaceJob.h"
#include "faces/CFaceModule.h"
#include "support/TestFiles.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

using Pictures = std::array<std::shared_ptr<const CPictureImage>, 2>;

// A photo from scripts/fetch-face-photo, or null when there is none.
std::shared_ptr<const CPictureImage> Photo(const char* name)
{
    return testfiles::ReadPicture(std::filesystem::path(TREVALIN_FACE_PHOTO_DIR) / name);
}

bool LoadPhotos(benchmark::State& state, Pictures& photos)
{
    photos = {Photo("face-1080.bmp"), Photo("face-1080-mirrored.bmp")};
    if (photos[0] != nullptr && photos[1] != nullptr && std::filesystem::exists(CFaceModule::ModelPath())) return true;
    state.SkipWithError("no face photos in " TREVALIN_FACE_PHOTO_DIR " or no landmark model");
    return false;
}

void FaceLinesFreshFinder(benchmark::State& state)
{
    Pictures photos;
    if (!LoadPhotos(state, photos)) return;
    for (auto _ : state) {
        CMessage error;
        const std::unique_ptr<CFaceFinder> finder = CFaceModule::MakeFinder(error);
        if (finder == nullptr) {
            state.SkipWithError(error.Text().c_str());
            return;
        }
        benchmark::DoNotOptimize(CFaceJob::Run(*finder, photos, CCancelToken::Ticket()).HasLines());
    }
}
BENCHMARK(FaceLinesFreshFinder)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void FaceLinesKeptFinder(benchmark::State& state)
{
    Pictures photos;
    if (!LoadPhotos(state, photos)) return;
    CMessage error;
    const std::unique_ptr<CFaceFinder> finder = CFaceModule::MakeFinder(error);
    if (finder == nullptr) {
        state.SkipWithError(error.Text().c_str());
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(CFaceJob::Run(*finder, photos, CCancelToken::Ticket()).HasLines());
}
BENCHMARK(FaceLinesKeptFinder)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
