#pragma once

#include "geometry/CFitTransform.h"

#include <cstdint>

class CTrevalinDoc;

// Brings one picture of a project, with its feature lines, to another size
// in memory (the project's files are not changed): for a morph of another
// size in a sequence, or a target of another size than its source.
class CDocumentFitter {
public:
    // Picture `index` (0 source, 1 target) fitted to width x height as
    // `mode` says (nothing changes when it has that size already); false
    // when the fitted picture cannot be made (too large, or no memory):
    // then the project is as it was.
    static bool Fit(CTrevalinDoc& doc, int index, int32_t width, int32_t height, FitMode mode);
};
