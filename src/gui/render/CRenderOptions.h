#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Command line of trevalin-render:
//   trevalin-render [--steps N] [--engine feature|dissolve] [--codec none|mjpeg] [--clean] PROJECT.tvl
// Only "-" starts a switch; anything else is the project path.
struct CRenderOptions {
    int32_t steps = 10;
    bool featureEngine = true;
    bool motionJpeg = false;
    bool clean = false; // remove frame files numbered beyond the steps before the run
    std::string project;

    // Fills the options from the arguments after the program name; on a
    // mistake returns the message to print with the usage.
    static std::optional<std::string> Parse(const std::vector<std::string>& args, CRenderOptions& out);
    static const char* Usage();
};
