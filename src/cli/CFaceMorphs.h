#pragma once

#include "geometry/CFitTransform.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class CCliLanguage;
class CPictureDecoder;
class CTrevalinDoc;

// trevalin-render --faces A B [C ...]: one morph for each neighbouring pair
// of pictures (A to B, B to C, ...), each picture brought to the first one's
// size as `fit` says, with the line pairs of the largest face in both
// (CFaceJob). The documents live in memory only.
class CFaceMorphs {
public:
    // The morphs, in order, in `docs`; false after telling on `err` why
    // not (a picture that cannot be loaded or fitted, or shows no face).
    static bool Make(const std::vector<std::string>& pictures, const std::string& workDir,
                     const std::shared_ptr<const CPictureDecoder>& decoder, FitMode fit,
                     std::vector<std::unique_ptr<CTrevalinDoc>>& docs, std::ostream& err, const CCliLanguage& language);
};
