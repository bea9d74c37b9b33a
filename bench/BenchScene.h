#pragma once

#include "document/CTrevalinDoc.h"
#include "morph/CBitmap.h"

#include <cstdint>
#include <memory>

// A generated morph scene: two 32-bit pictures of one size and a project
// document with `pairs` line pairs, the kind a user draws: lines of 5 to 35
// percent of the picture's width in all directions, spread over the picture,
// each target line moved, turned and stretched a little from its source.
struct BenchScene {
    BenchScene(int32_t width, int32_t height, int32_t pairs);

    CBitmap source;
    CBitmap target;
    std::unique_ptr<CTrevalinDoc> doc;
};
