#pragma once

#include <cstdint>
#include <memory>

class ImageMorphing;

// The two engines a run, the preview and an export can compute frames
// with: the line-pair field warp followed by the dissolve, or the plain
// dissolve. The values are those the engine commands have always stood for.
enum class EngineKind : int32_t {
    kLinear = 0,  // LinearMorphing: the cross-dissolve alone
    kFeature = 1, // FBMorphing: field warp of both pictures, then the dissolve
};

// A new engine of that kind (no pictures, N = 0).
std::unique_ptr<ImageMorphing> MakeEngine(EngineKind kind);
