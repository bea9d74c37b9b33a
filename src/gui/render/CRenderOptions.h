#pragma once

#include "geometry/CFitTransform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Command line of trevalin-render:
//   trevalin-render [--steps N] [--engine feature|dissolve] [--codec none|mjpeg]
//                   [--fit pad|crop|stretch] PROJECT.tvl
// Only "-" starts a switch; anything else is the project path.
struct CRenderOptions {
    int32_t steps = 10;
    bool featureEngine = true;
    bool motionJpeg = false;
    // Brings a target picture of another size to the source picture's size
    // for this run (the project is not changed); none: such a project fails.
    std::optional<FitMode> fit;
    std::string project;

    // Fills the options from the arguments after the program name; on a
    // mistake returns the message to print with the usage.
    static std::optional<std::string> Parse(const std::vector<std::string>& args, CRenderOptions& out);
    static const char* Usage();
};
