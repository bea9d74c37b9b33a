#include "CMorphOptionsFile.h"

#include "export/CExportMessages.h"
#include "files/CReplacingFile.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

std::string Trim(const std::string& s)
{
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    const size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

} // namespace

std::string CMorphOptionsFile::PathFor(const std::string& projectPath)
{
    return projectPath + kSuffix;
}

CMorphOptions CMorphOptionsFile::Parse(const std::string& text)
{
    CMorphOptions options;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        line = Trim(line);
        const size_t eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos) continue;
        const std::string key = Trim(line.substr(0, eq));
        const std::string value = Trim(line.substr(eq + 1));
        if (key == "warp-only") {
            if (value == "yes") options.warpOnly = true;
            if (value == "no") options.warpOnly = false;
        } else if (key == "ease") {
            CMorphOptions::Ease ease{};
            if (CMorphOptions::ParseEase(value.c_str(), ease)) options.SetEase(ease);
        } else if (key == "shape-curve") {
            CTimingCurve::Parse(value, options.shape);
        } else if (key == "colour-curve") {
            CTimingCurve::Parse(value, options.colour);
        } else if (key == "edge") {
            CMorphOptions::ParseEdge(value.c_str(), options.edge);
        } else if (key == "quality") {
            CMorphOptions::ParseQuality(value.c_str(), options.quality);
        }
    }
    return options;
}

std::string CMorphOptionsFile::Format(const CMorphOptions& options)
{
    return std::string("# Trevalin morph options of the project beside this file\n") +
           "warp-only=" + (options.warpOnly ? "yes" : "no") + "\n" + "shape-curve=" + options.shape.Name() + "\n" +
           "colour-curve=" + options.colour.Name() + "\n" + "edge=" + CMorphOptions::EdgeName(options.edge) + "\n" +
           "quality=" + CMorphOptions::QualityName(options.quality) + "\n";
}

CMorphOptions CMorphOptionsFile::Read(const std::string& projectPath)
{
    const std::string path = PathFor(projectPath);
    struct stat st {};
    if (projectPath.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<uint64_t>(st.st_size) > kMaxBytes) {
        return CMorphOptions{};
    }
    std::ifstream in(path, std::ios::binary);
    std::string text(kMaxBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return Parse(text);
}

CMessage CMorphOptionsFile::Write(const std::string& projectPath, const CMorphOptions& options)
{
    const std::string path = PathFor(projectPath);
    struct stat st {};
    if (options.IsDefault() && ::lstat(path.c_str(), &st) != 0) {
        return CMessage();
    }
    const std::string text = Format(options);
    CReplacingFile file;
    int err = file.Create(path, CReplacingFile::Durability::kFlushed);
    if (err == 0 && !file.File().Write(text.data(), text.size())) err = file.File().Error();
    if (err == 0) err = file.Commit();
    return err == 0 ? CMessage() : CExportMessages::WriteFailed(path, err);
}
