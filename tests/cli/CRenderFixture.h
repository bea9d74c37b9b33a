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

    // Runs the program with `args` in the working folder (killed after two
    // minutes: a run that hangs fails instead of hanging the tests).
    Outcome Render(const std::vector<std::string>& args) const;
    // Starts the program in the working folder with its output going to
    // the file `log` (and its address space limited to `addressSpace`
    // bytes unless 0); returns its process id. The program is killed when
    // the test's process ends.
    int Spawn(const std::vector<std::string>& args, const std::string& log, uint64_t addressSpace = 0) const;
    // Waits for a spawned program; its exit status, 128 + the signal that
    // killed it, or -1; and the most memory it held, in kilobytes.
    static int Wait(int pid, long* maxRssKilobytes = nullptr);
    // Line pairs of a project slow enough to interrupt, and quick enough to
    // make its first frames in seconds: fewer under the sanitizers, which
    // make a frame many times slower.
#ifdef TREVALIN_RENDER_TESTS_SANITIZED
    static constexpr int kHeavyPairs = 300;
#else
    static constexpr int kHeavyPairs = 3000;
#endif
    // Writes a project of `pairs` line pairs over the demo pictures (each
    // pair the same line on both images), slow enough to interrupt.
    void WriteHeavyProject(const std::string& name, int pairs) const;
    // Writes a project of `pairs` line pairs over two 16 x 16 pictures of
    // its own (images/small-*.bmp).
    void WriteBigProject(const std::string& name, int pairs) const;
    // Runs a shell command line; returns its standard output (empty when it
    // fails).
    static std::string Capture(const std::string& command);

    std::string Work() const
    {
        return m_dir.Str();
    }
    // The locale the program runs in (LANG, with LC_ALL and LC_MESSAGES
    // unset): Chinese unless changed; empty runs it with none set.
    void SetLocale(std::string locale)
    {
        m_locale = std::move(locale);
    }

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
    // Starts the program with its standard output and error on `output`.
    int Launch(const std::vector<std::string>& args, int output, uint64_t addressSpace) const;
    // The environment of a run: this process's, with the locale's.
    std::vector<std::string> Environment() const;

    CTempDir m_dir;
    std::string m_locale = "zh_CN.UTF-8";
};
