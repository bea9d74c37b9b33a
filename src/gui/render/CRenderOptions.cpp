#include "CRenderOptions.h"

#include <charconv>

namespace {

bool ParseSteps(const std::string& text, int32_t& out)
{
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 1 || value > 100) {
        return false;
    }
    out = value;
    return true;
}

} // namespace

const char* CRenderOptions::Usage()
{
    return "usage: trevalin-render [--steps N] [--engine feature|dissolve] [--codec none|mjpeg] [--clean] "
           "PROJECT.tvl\n"
           "  --steps N        number of steps, 1 to 100 (default 10): frames 0 to N are written\n"
           "  --engine KIND    feature (line-pair warp and dissolve, default) or dissolve\n"
           "  --codec CODEC    none (uncompressed, default) or mjpeg (Motion JPEG)\n"
           "  --clean          remove the frame files of an earlier, longer run (Frame-<k>.bmp, k > N)\n"
           "The working folder is the current directory: pictures come from ./images/,\n"
           "frames go to ./ouput_image/Frame-<k>.bmp and the video to ./output_video/trevalin.avi.\n";
}

std::optional<std::string> CRenderOptions::Parse(const std::vector<std::string>& args, CRenderOptions& out)
{
    bool haveProject = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty() || arg[0] != '-') {
            if (haveProject) {
                return "only one project may be given (" + out.project + ", " + arg + ")";
            }
            out.project = arg;
            haveProject = true;
            continue;
        }
        std::string name = arg;
        std::string value;
        bool inlineValue = false;
        if (const size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        if (name == "--help" || name == "-h") {
            return std::string();
        }
        if (name == "--clean" && !inlineValue) {
            out.clean = true;
            continue;
        }
        if (name != "--steps" && name != "--engine" && name != "--codec") {
            return "unknown option " + arg;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                return name + " needs a value";
            }
            value = args[++i];
        }
        if (name == "--steps") {
            if (!ParseSteps(value, out.steps)) {
                return "--steps takes a whole number from 1 to 100, not '" + value + "'";
            }
        } else if (name == "--engine") {
            if (value == "feature") {
                out.featureEngine = true;
            } else if (value == "dissolve") {
                out.featureEngine = false;
            } else {
                return "--engine takes feature or dissolve, not '" + value + "'";
            }
        } else {
            if (value == "none") {
                out.motionJpeg = false;
            } else if (value == "mjpeg") {
                out.motionJpeg = true;
            } else {
                return "--codec takes none or mjpeg, not '" + value + "'";
            }
        }
    }
    if (!haveProject) {
        return std::string("no project file given");
    }
    return std::nullopt;
}
