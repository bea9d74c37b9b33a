#pragma once

#include "message/CMessage.h"
#include "morph/CMorphOptions.h"

#include <string>

// The morph options of a project, kept beside the project file as
// "<project>.options" (the project file itself never changes), in lines of
// key=value:
//
//   warp-only=no          yes or no
//   shape-curve=linear    the curve placing the in-between lines and
//   colour-curve=linear   the one weighing the dissolve: linear, ease-in,
//                         ease-out, smooth or bezier:X1,Y1,X2,Y2 (CTimingCurve)
//   edge=black            black or extend
//   quality=classic       classic or smooth (files without it: classic)
//
// Files of earlier versions have ease=linear or ease=smooth instead of the
// curves: both curves linear or smooth (a curve's own key, later in the
// file, wins).
//
// Lines starting with '#' and blank lines are ignored, as are unknown keys;
// a key with a value it does not know keeps its default.
class CMorphOptionsFile {
public:
    static constexpr const char* kSuffix = ".options";
    // Options files larger than this are not options files: not read.
    static constexpr size_t kMaxBytes = 64 * 1024;

    static std::string PathFor(const std::string& projectPath);
    // The options kept for the project; the defaults when it has none.
    static CMorphOptions Read(const std::string& projectPath);
    // Keeps the options beside the project. A project that has no options
    // file and keeps the defaults gets none. Written to a temporary file
    // renamed over the old one. Empty, or why it failed.
    static CMessage Write(const std::string& projectPath, const CMorphOptions& options);

    static CMorphOptions Parse(const std::string& text);
    static std::string Format(const CMorphOptions& options);
};
