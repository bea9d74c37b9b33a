#include "CMorphOptionsFile.h"

#include "export/CExportMessages.h"
#include "files/CFileAccess.h"
#include "files/CReplacingFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

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

CMorphOptions CMorphOptionsFile::Parse(const std::string& text, std::vector<std::string>* notUnderstood)
{
    CMorphOptions options;
    std::vector<std::string> missed;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        // No value holds a '#': whatever follows one is a comment.
        line = Trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) {
            missed.push_back(line);
            continue;
        }
        const std::string key = Trim(line.substr(0, eq));
        const std::string value = Trim(line.substr(eq + 1));
        bool understood = true;
        if (key == "warp-only") {
            understood = value == "yes" || value == "no";
            if (understood) options.warpOnly = value == "yes";
        } else if (key == "ease") {
            CMorphOptions::Ease ease{};
            understood = CMorphOptions::ParseEase(value.c_str(), ease);
            if (understood) options.SetEase(ease);
        } else if (key == "shape-curve") {
            understood = CTimingCurve::Parse(value, options.shape);
        } else if (key == "colour-curve") {
            understood = CTimingCurve::Parse(value, options.colour);
        } else if (key == "edge") {
            understood = CMorphOptions::ParseEdge(value.c_str(), options.edge);
        } else if (key == "quality") {
            understood = CMorphOptions::ParseQuality(value.c_str(), options.quality);
        } else {
            missed.push_back(key);
            continue;
        }
        if (!understood) missed.push_back(key + "=" + value);
    }
    if (notUnderstood != nullptr) *notUnderstood = std::move(missed);
    return options;
}

std::string CMorphOptionsFile::Format(const CMorphOptions& options)
{
    return std::string("# Trevalin morph options of the project beside this file\n") +
           "warp-only=" + (options.warpOnly ? "yes" : "no") + "\n" + "shape-curve=" + options.shape.Name() + "\n" +
           "colour-curve=" + options.colour.Name() + "\n" + "edge=" + CMorphOptions::EdgeName(options.edge) + "\n" +
           "quality=" + CMorphOptions::QualityName(options.quality) + "\n";
}

CMorphOptions CMorphOptionsFile::Read(const std::string& projectPath, CMessage* problem)
{
    CMessage told;
    CMorphOptions options = ReadFile(projectPath, told);
    if (problem != nullptr) *problem = told;
    return options;
}

CMorphOptions CMorphOptionsFile::ReadFile(const std::string& projectPath, CMessage& problem)
{
    const std::string path = PathFor(projectPath);
    if (projectPath.empty()) return CMorphOptions{};
    // Opened without waiting (a FIFO in its place would block a plain
    // open), then looked at for what it is.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err != ENOENT) problem = CMessage(kUnreadableText, {CMessage::Name(path), CFileAccess::ErrorMessage(err)});
        return CMorphOptions{};
    }
    struct stat st {};
    std::string text;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        problem = CMessage(kNotAFileText, {CMessage::Name(path)});
    } else if (static_cast<uint64_t>(st.st_size) > kMaxBytes) {
        problem = CMessage(kTooLargeText, {CMessage::Name(path), static_cast<uint64_t>(kMaxBytes)});
    } else {
        text.resize(kMaxBytes + 1);
        size_t got = 0;
        while (got < text.size()) {
            const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                problem = CMessage(kUnreadableText, {CMessage::Name(path), CFileAccess::ErrorMessage(errno)});
                break;
            }
            if (n == 0) break;
            got += static_cast<size_t>(n);
        }
        text.resize(got);
        if (problem.IsEmpty() && got > kMaxBytes) {
            problem = CMessage(kTooLargeText, {CMessage::Name(path), static_cast<uint64_t>(kMaxBytes)});
        }
    }
    ::close(fd);
    if (!problem.IsEmpty()) return CMorphOptions{};
    std::vector<std::string> missed;
    const CMorphOptions options = Parse(text, &missed);
    if (!missed.empty()) {
        std::string list;
        for (size_t i = 0; i < missed.size() && i < kListed; ++i)
            list += (i == 0 ? "" : ", ") + CMessage::Shortened(missed[i]);
        if (missed.size() > kListed) list += ", ...";
        problem = CMessage(kNotUnderstoodText, {CMessage::Name(path), list});
    }
    return options;
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
