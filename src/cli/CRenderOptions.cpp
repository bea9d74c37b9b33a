#include "CRenderOptions.h"

#include "export/CExportSequence.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

bool ParseNumber(const std::string& text, int32_t lo, int32_t hi, int32_t& out)
{
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < lo || value > hi) {
        return false;
    }
    out = value;
    return true;
}

bool ParseRange(const std::string& text, int32_t& first, int32_t& last)
{
    const size_t dash = text.find('-');
    constexpr int32_t kLast = CExportSettings::kMaxSequenceFrames - 1;
    return dash != std::string::npos && ParseNumber(text.substr(0, dash), 0, kLast, first) &&
           ParseNumber(text.substr(dash + 1), 0, kLast, last) && first <= last;
}

// Switches that take a value.
bool TakesValue(const std::string& name)
{
    for (const char* s :
         {"--steps",    "--engine",  "--codec",       "--out",         "--name",         "--image-format",
          "--video",    "--fps",     "--range",       "--threads",     "--ease",         "--edge",
          "--fit",      "--quality", "--supersample", "--shape-curve", "--colour-curve", "--frames",
          "--duration", "--hold",    "--webm-speed",  "--gif-dither",  "--mp4-preset"}) {
        if (name == s) return true;
    }
    return false;
}

std::optional<std::string> ExportSwitch(const std::string& name, const std::string& value, CRenderOptions& out);
std::optional<std::string> TimeSwitch(const std::string& name, const std::string& value, CRenderOptions& out);
std::optional<std::string> TimeProblem(CRenderOptions& out);
std::optional<std::string> Problem(const std::vector<std::string>& args, CRenderOptions& out);

} // namespace

const char* CRenderOptions::Usage()
{
    return "usage: trevalin-render [OPTIONS] PROJECT.tvl [MORE.tvl ...]\n"
           "  --steps N              number of steps, 1 to 100 (default 10): frames 0 to N\n"
           "  --frames F             export F frames of each morph, 2 to 10000 (N = F - 1)\n"
           "  --duration SECONDS     export round(SECONDS x fps) frames of each morph\n"
           "  --hold N               N more copies of each picture's frame: the first, each join, the last\n"
           "  --engine KIND          feature (line-pair warp and dissolve, default) or dissolve\n"
           "  --codec CODEC          codec of an AVI video: none (uncompressed, default) or mjpeg (Motion JPEG)\n"
           "  --out DIR              write the frames as DIR/BASE-0000.EXT and the video as DIR/BASE.EXT\n"
           "  --name BASE            base name of the files in DIR (default: the project's name)\n"
           "  --image-format FORMAT  frame files: bmp (default), png, jpeg or none\n"
           "  --video FORMAT         video: avi (default), mp4, webm, gif or none\n"
           "  --fps N                frames per second, 1 to 120 (default 3 for the AVI without --out, else 25)\n"
           "  --mp4-preset NAME      MP4 encoding speed: an x264 preset, ultrafast (default) to veryslow\n"
           "                         (slower: smaller file, same picture)\n"
           "  --webm-speed N         WebM encoding speed, 0 (slowest, smallest file) to 9 (default 6)\n"
           "  --gif-dither ordered|diffusion  GIF colours: an ordered pattern (default, fast) or error\n"
           "                         diffusion (smoother gradients, slower)\n"
           "  --range A-B            only frames A to B (of the whole sequence); no video unless --video is given\n"
           "  --threads N            threads computing each frame (default: one per processor thread)\n"
           "  --pingpong             the video runs forward, then back\n"
           "  --warp-only            the source warped to the in-between lines, no dissolve\n"
           "  --ease linear|smooth   how the fraction k / N runs (default linear): both curves below\n"
           "  --shape-curve CURVE    the fraction placing the in-between lines: linear (default), ease-in,\n"
           "                         ease-out, smooth or bezier:X1,Y1,X2,Y2 (x1, x2 in 0..1)\n"
           "  --colour-curve CURVE   the fraction weighing the dissolve, the same words\n"
           "  --edge black|extend    samples outside the picture: black (default) or the nearest edge pixel\n"
           "  --quality classic|smooth  classic (whole pixels, default) or smooth frames (positions in real\n"
           "                         numbers, pictures sampled bilinearly, edges extended)\n"
           "  --supersample 1|2      with --out and smooth quality: 2 averages 2 x 2 samples per pixel\n"
           "  --clean                remove the Frame-<k>.bmp files of an earlier, longer run (k > N)\n"
           "  --fit pad|crop|stretch a target picture of another size is brought, with its lines, to the\n"
           "                         source's size for this run: scaled to fit with black bars, scaled to\n"
           "                         fill and cut, or stretched; the project is not changed\n"
           "  --auto-face            a project without feature lines gets line pairs from the largest face\n"
           "                         in each picture for this run; fails when a picture shows no face\n"
           "  --faces A B [C ...]    with --out: the arguments are pictures; one video morphs A into B into\n"
           "                         C along their face lines, each fitted to A's size (--fit, pad unless\n"
           "                         given), smooth quality unless --quality classic\n"
           "Without --out the working folder is the current directory: pictures come from ./images/,\n"
           "frames go to ./ouput_image/Frame-<k>.bmp and the video to ./output_video/trevalin.avi.\n"
           "Morph options not given come from PROJECT.tvl.options when it exists.\n"
           "Several projects make one export, each morph following the one before; their pictures are\n"
           "brought to the first project's size with --fit.\n";
}

bool CRenderOptions::IsExport() const
{
    return outDir || name || imageFormat || video || fps || rangeFirst || pingPong || frames || duration || hold > 0 ||
           projects.size() > 1;
}

int32_t CRenderOptions::ExportFps() const
{
    const CExportSettings::Video chosen =
        video ? *video : (rangeFirst ? CExportSettings::Video::kNone : CExportSettings::Video::kAviUncompressed);
    return fps ? *fps : (!outDir && CExportSettings::IsAvi(chosen) ? 3 : 25);
}

CMorphOptions CRenderOptions::MorphOptions(const CMorphOptions& kept) const
{
    CMorphOptions options = kept;
    if (warpOnly) options.warpOnly = *warpOnly;
    if (shape) options.shape = *shape;
    if (colour) options.colour = *colour;
    if (edge) options.edge = *edge;
    if (quality) options.quality = *quality;
    return options;
}

CExportSettings CRenderOptions::ExportSettings(const std::string& workDir, const std::string& projectBase) const
{
    CExportSettings s;
    if (outDir) {
        s.layout = CExportSettings::Layout::kFolder;
        s.folder = *outDir;
        s.baseName = name ? *name : projectBase;
    } else {
        s.layout = CExportSettings::Layout::kWorkFolder;
        s.folder = workDir;
    }
    s.frames = imageFormat ? *imageFormat : CExportSettings::Frames::kBmp;
    s.video = video ? *video : (rangeFirst ? CExportSettings::Video::kNone : CExportSettings::Video::kAviUncompressed);
    if (s.video == CExportSettings::Video::kAviUncompressed && motionJpeg) {
        s.video = CExportSettings::Video::kAviMotionJpeg;
    }
    s.fps = ExportFps();
    s.videoQuality = 90; // the Motion JPEG quality of the compression dialog's default
    s.pingPong = pingPong;
    s.steps = MorphSteps();
    s.engine = engine;
    s.firstFrame = rangeFirst ? *rangeFirst : 0;
    s.lastFrame = rangeLast ? *rangeLast : -1;
    s.threads = threads;
    s.webmSpeed = webmSpeed;
    s.mp4Preset = mp4Preset;
    s.gifDither = gifDither;
    s.supersample = supersample;
    return s;
}

CMessage CRenderOptions::Parse(const std::vector<std::string>& args, CRenderOptions& out)
{
    const std::optional<std::string> problem = Problem(args, out);
    return problem ? CMessage::Plain(*problem) : CMessage();
}

namespace {

// The first mistake in the arguments, in the program's words.
std::optional<std::string> Problem(const std::vector<std::string>& args, CRenderOptions& out)
{
    bool haveProject = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty() || arg[0] != '-') {
            if (!haveProject) out.project = arg;
            out.projects.push_back(arg);
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
            out.help = true;
            return std::nullopt;
        }
        if (name == "--clean" && !inlineValue) {
            out.clean = true;
            continue;
        }
        if ((name == "--auto-face" || name == "--faces") && !inlineValue) {
            (name == "--faces" ? out.faces : out.autoFace) = true;
            continue;
        }
        if (name == "--pingpong" || name == "--warp-only") {
            if (inlineValue) return name + " takes no value";
            if (name == "--pingpong") {
                out.pingPong = true;
            } else {
                out.warpOnly = true;
            }
            continue;
        }
        if (!TakesValue(name)) {
            return "unknown option " + arg;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                return name + " needs a value";
            }
            value = args[++i];
        }
        if (name == "--steps") {
            if (!ParseNumber(value, 1, CExportSettings::kMaxSteps, out.steps)) {
                return "--steps takes a whole number from 1 to 100, not '" + value + "'";
            }
        } else if (name == "--engine") {
            if (value == "feature") {
                out.engine = EngineKind::kFeature;
            } else if (value == "dissolve") {
                out.engine = EngineKind::kLinear;
            } else {
                return "--engine takes feature or dissolve, not '" + value + "'";
            }
        } else if (name == "--codec") {
            if (value == "none") {
                out.motionJpeg = false;
            } else if (value == "mjpeg") {
                out.motionJpeg = true;
            } else {
                return "--codec takes none or mjpeg, not '" + value + "'";
            }
            out.codecGiven = true;
        } else if (name == "--fit") {
            out.fit = CFitTransform::ParseMode(value);
            if (!out.fit) {
                return "--fit takes pad, crop or stretch, not '" + value + "'";
            }
        } else if (std::optional<std::string> problem = ExportSwitch(name, value, out)) {
            return problem;
        }
    }
    if (!haveProject) {
        return std::string("no project file given");
    }
    if (std::optional<std::string> problem = TimeProblem(out)) {
        return problem;
    }
    if (out.faces && (out.projects.size() < 2 || !out.outDir)) {
        return std::string("--faces takes two pictures or more and --out DIR");
    }
    // --faces A B C: two morphs.
    const size_t morphs = out.faces ? out.projects.size() - 1 : out.projects.size();
    const int64_t frames = CExportSequence::CountFrames(std::vector<int32_t>(morphs, out.MorphSteps()), out.hold);
    if (out.rangeLast && *out.rangeLast >= frames) {
        return "--range " + std::to_string(*out.rangeFirst) + "-" + std::to_string(*out.rangeLast) +
               " goes past the last frame, " + std::to_string(frames - 1);
    }
    if (out.supersample != 1 && !out.outDir) {
        return std::string("--supersample is for exports; give --out too");
    }
    if (out.supersample != 1 && out.quality == CMorphOptions::Quality::kClassic) {
        return std::string("--supersample is for smooth frames; classic frames are whole pixels by definition");
    }
    if (out.name && !out.outDir) {
        return std::string("--name names the files in --out DIR; give --out too");
    }
    if (out.codecGiven && out.video && !CExportSettings::IsAvi(*out.video)) {
        return std::string("--codec chooses the codec of an AVI video; it does not go with --video other than avi");
    }
    return std::nullopt;
}

std::optional<std::string> ExportSwitch(const std::string& name, const std::string& value, CRenderOptions& out)
{
    using Frames = CExportSettings::Frames;
    using Video = CExportSettings::Video;
    if (name == "--out") {
        if (value.empty()) return std::string("--out needs a folder");
        out.outDir = value;
    } else if (name == "--name") {
        if (value.empty() || value.find('/') != std::string::npos || value == "." || value == "..") {
            return "--name takes a file name without '/', not '" + value + "'";
        }
        out.name = value;
    } else if (name == "--image-format") {
        const std::pair<const char*, Frames> formats[] = {
            {"bmp", Frames::kBmp}, {"png", Frames::kPng}, {"jpeg", Frames::kJpeg}, {"none", Frames::kNone}};
        for (const auto& [word, format] : formats) {
            if (value == word) out.imageFormat = format;
        }
        if (!out.imageFormat) return "--image-format takes bmp, png, jpeg or none, not '" + value + "'";
    } else if (name == "--video") {
        const std::pair<const char*, Video> formats[] = {{"avi", Video::kAviUncompressed},
                                                         {"mp4", Video::kMp4},
                                                         {"webm", Video::kWebm},
                                                         {"gif", Video::kGif},
                                                         {"none", Video::kNone}};
        out.video.reset();
        for (const auto& [word, format] : formats) {
            if (value == word) out.video = format;
        }
        if (!out.video) return "--video takes avi, mp4, webm, gif or none, not '" + value + "'";
    } else if (name == "--fps") {
        int32_t fps = 0;
        if (!ParseNumber(value, 1, 120, fps)) return "--fps takes a whole number from 1 to 120, not '" + value + "'";
        out.fps = fps;
    } else if (name == "--mp4-preset") {
        if (!CVideoSettings::ParseMp4Preset(value.c_str(), out.mp4Preset)) {
            return "--mp4-preset takes ultrafast, superfast, veryfast, faster, fast, medium, slow, slower or "
                   "veryslow, not '" +
                   value + "'";
        }
    } else if (name == "--webm-speed") {
        if (!ParseNumber(value, 0, CVideoSettings::kMaxWebmSpeed, out.webmSpeed)) {
            return "--webm-speed takes a whole number from 0 to 9, not '" + value + "'";
        }
    } else if (name == "--gif-dither") {
        if (!CVideoSettings::ParseGifDither(value.c_str(), out.gifDither)) {
            return "--gif-dither takes ordered or diffusion, not '" + value + "'";
        }
    } else if (name == "--range") {
        int32_t first = 0, last = 0;
        if (!ParseRange(value, first, last)) {
            return "--range takes A-B, whole numbers with 0 <= A <= B <= 100, not '" + value + "'";
        }
        out.rangeFirst = first;
        out.rangeLast = last;
    } else if (name == "--threads") {
        if (!ParseNumber(value, 1, 1024, out.threads)) {
            return "--threads takes a whole number from 1 to 1024, not '" + value + "'";
        }
    } else if (std::optional<std::string> problem = TimeSwitch(name, value, out)) {
        return problem;
    } else if (name == "--edge") {
        CMorphOptions::Edge edge{};
        if (!CMorphOptions::ParseEdge(value.c_str(), edge)) return "--edge takes black or extend, not '" + value + "'";
        out.edge = edge;
    } else if (name == "--quality") {
        CMorphOptions::Quality quality{};
        if (!CMorphOptions::ParseQuality(value.c_str(), quality)) {
            return "--quality takes classic or smooth, not '" + value + "'";
        }
        out.quality = quality;
    } else if (name == "--supersample") {
        if (!ParseNumber(value, 1, 2, out.supersample)) return "--supersample takes 1 or 2, not '" + value + "'";
    }
    return std::nullopt;
}

// The switches of the morph's timing: its curves, frame count and held frames.
std::optional<std::string> TimeSwitch(const std::string& name, const std::string& value, CRenderOptions& out)
{
    if (name == "--ease") {
        CMorphOptions::Ease ease{};
        if (!CMorphOptions::ParseEase(value.c_str(), ease)) return "--ease takes linear or smooth, not '" + value + "'";
        CMorphOptions both;
        both.SetEase(ease);
        out.shape = both.shape;
        out.colour = both.colour;
    } else if (name == "--shape-curve" || name == "--colour-curve") {
        CTimingCurve curve;
        if (!CTimingCurve::Parse(value, curve)) {
            return name + " takes linear, ease-in, ease-out, smooth or bezier:X1,Y1,X2,Y2, not '" + value + "'";
        }
        (name == "--shape-curve" ? out.shape : out.colour) = curve;
    } else if (name == "--frames") {
        int32_t frames = 0;
        if (!ParseNumber(value, 2, CExportSettings::kMaxFrames, frames)) {
            return "--frames takes a whole number from 2 to 10000, not '" + value + "'";
        }
        out.frames = frames;
    } else if (name == "--duration") {
        char* end = nullptr;
        const double seconds = std::strtod(value.c_str(), &end);
        if (value.empty() || end != value.c_str() + value.size() || !(seconds > 0.0 && seconds <= 10000.0)) {
            return "--duration takes a number of seconds, not '" + value + "'";
        }
        out.duration = seconds;
    } else if (name == "--hold") {
        if (!ParseNumber(value, 0, CExportSettings::kMaxFrames, out.hold)) {
            return "--hold takes a whole number from 0 to 10000, not '" + value + "'";
        }
    }
    return std::nullopt;
}

// --frames and --duration say the same (either takes the place of --steps);
// the duration becomes frames.
std::optional<std::string> TimeProblem(CRenderOptions& out)
{
    if (out.frames && out.duration) {
        return std::string("--frames and --duration both give the frame count; give one");
    }
    if (out.duration) {
        const double frames = std::round(*out.duration * out.ExportFps());
        if (frames < 2.0 || frames > CExportSettings::kMaxFrames) {
            return "--duration " + std::to_string(*out.duration) + " at " + std::to_string(out.ExportFps()) +
                   " fps gives " + std::to_string(static_cast<int64_t>(frames)) + " frames; 2 to 10000 are possible";
        }
        out.frames = static_cast<int32_t>(frames);
    }
    return std::nullopt;
}

} // namespace
