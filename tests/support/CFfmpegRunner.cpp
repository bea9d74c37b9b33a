#include "CFfmpegRunner.h"
#include "TestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool OnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

std::string Quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') {
            q += "'\\''";
        } else {
            q += c;
        }
    }
    return q + "'";
}

} // namespace

bool CFfmpegRunner::Available()
{
    return OnPath("ffmpeg") && OnPath("ffprobe");
}

int CFfmpegRunner::Run(const std::string& program, const std::vector<std::string>& args, std::string& out,
                       std::string& err)
{
    char errName[] = "/tmp/trevalin-ffmpeg-err-XXXXXX";
    const int errFd = ::mkstemp(errName);
    if (errFd < 0) {
        return -1;
    }
    ::close(errFd);
    std::string command = Quote(program);
    for (const std::string& a : args) {
        command += " " + Quote(a);
    }
    command += " </dev/null 2>" + Quote(errName);
    out.clear();
    FILE* pipe = ::popen(command.c_str(), "r");
    int status = -1;
    if (pipe != nullptr) {
        char buffer[65536];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            out.append(buffer, n);
        }
        const int rc = ::pclose(pipe);
        status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    const std::vector<uint8_t> errors = testfiles::ReadBytesOrEmpty(errName);
    err.assign(errors.begin(), errors.end());
    std::remove(errName);
    return status;
}

std::string CFfmpegRunner::ProbeStream(const std::string& path, std::string& err)
{
    std::string out;
    Run("ffprobe",
        {"-v", "error", "-select_streams", "v:0", "-count_frames", "-show_entries",
         "stream=codec_name,codec_tag_string,width,height,r_frame_rate,nb_frames,nb_read_frames", "-of",
         "default=noprint_wrappers=1", path},
        out, err);
    return out;
}

std::string CFfmpegRunner::Value(const std::string& probe, const std::string& key)
{
    std::stringstream lines(probe);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(key + "=", 0) == 0) {
            return line.substr(key.size() + 1);
        }
    }
    return "";
}

bool CFfmpegRunner::DecodeBgra(const std::string& path, std::vector<uint8_t>& pixels, std::string& err)
{
    std::string out;
    const int rc = Run(
        "ffmpeg",
        {"-nostdin", "-v", "error", "-i", path, "-fps_mode", "passthrough", "-f", "rawvideo", "-pix_fmt", "bgra", "-"},
        out, err);
    pixels.assign(out.begin(), out.end());
    return rc == 0;
}

bool CFfmpegRunner::DecodeFrameAt(const std::string& path, const std::string& seconds, std::vector<uint8_t>& pixels,
                                  std::string& err)
{
    std::string out;
    const int rc = Run("ffmpeg",
                       {"-nostdin", "-v", "error", "-ss", seconds, "-i", path, "-frames:v", "1", "-f", "rawvideo",
                        "-pix_fmt", "bgra", "-"},
                       out, err);
    pixels.assign(out.begin(), out.end());
    return rc == 0;
}
