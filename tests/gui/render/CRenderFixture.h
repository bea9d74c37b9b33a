#pragma once

#include "support/CTempDir.h"

#include <cstdint>
#include <string>
#include <vector>

// Runs the built trevalin-render in a temporary working folder that holds a
// copy of the demo project, and reads back what it wrote.
class CRenderFixture {
public:
    CRenderFixture();

    struct Outcome {
        int exitCode = -1;
        std::string output; // standard output and error together
    };

    // Runs the program with `args` in the working folder.
    Outcome Render(const std::vector<std::string>& args) const;
    // Runs a shell command line; returns its standard output (empty when it
    // fails).
    static std::string Capture(const std::string& command);

    std::string Work() const { return m_dir.Str(); }

    // Pixel rows of a BMP file as stored (bottom-up), and its header fields.
    struct Bmp {
        int32_t width = 0;
        int32_t height = 0;
        uint16_t bits = 0;
        uint32_t offset = 0;
        std::vector<uint8_t> pixels;
    };
    static bool ReadBmp(const std::string& path, Bmp& out);

private:
    CTempDir m_dir;
};
