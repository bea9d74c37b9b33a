#include "CRenderFixture.h"
#include "support/CBmpBuilder.h"
#include "support/TestFiles.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

} // namespace

CRenderFixture::CRenderFixture()
{
    fs::copy(fs::path(TREVALIN_EXAMPLES) / "images", m_dir / "images", fs::copy_options::recursive);
    fs::copy_file(fs::path(TREVALIN_EXAMPLES) / "demo.tvl", m_dir / "demo.tvl");
}

std::string CRenderFixture::Capture(const std::string& command)
{
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    std::array<char, 4096> buf{};
    size_t n = 0;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        out.append(buf.data(), n);
    const int status = ::pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::string();
    return out;
}

CRenderFixture::Outcome CRenderFixture::Render(const std::vector<std::string>& args) const
{
    Outcome outcome;
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return outcome;
    const int pid = Launch(args, pipeEnds[1], 0);
    ::close(pipeEnds[1]);
    if (pid < 0) {
        ::close(pipeEnds[0]);
        return outcome;
    }
    // Killed after two minutes: a run that hangs fails instead of hanging
    // the tests.
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    std::array<char, 4096> buf{};
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        pollfd in{pipeEnds[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&in, 1, static_cast<int>(left.count())) == 0) {
            ::kill(pid, SIGKILL);
            break;
        }
        const ssize_t n = ::read(pipeEnds[0], buf.data(), buf.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        outcome.output.append(buf.data(), static_cast<size_t>(n));
    }
    ::close(pipeEnds[0]);
    const int status = Wait(pid);
    outcome.exitCode = status < 128 ? status : -1;
    return outcome;
}

bool CRenderFixture::ReadBmp(const std::string& path, Bmp& out)
{
    const std::vector<uint8_t> b = testfiles::ReadBytesOrEmpty(path);
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
    out.offset = U32(b, 10);
    out.width = static_cast<int32_t>(U32(b, 18));
    out.height = static_cast<int32_t>(U32(b, 22));
    out.bits = static_cast<uint16_t>(b[28] | b[29] << 8);
    if (out.offset > b.size()) return false;
    out.pixels.assign(b.begin() + out.offset, b.end());
    return true;
}

std::vector<std::string> CRenderFixture::Environment() const
{
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.rfind("LC_ALL=", 0) != 0 && entry.rfind("LC_MESSAGES=", 0) != 0 && entry.rfind("LANG=", 0) != 0)
            env.push_back(entry);
    }
    if (!m_locale.empty()) env.push_back("LANG=" + m_locale);
    return env;
}

int CRenderFixture::Launch(const std::vector<std::string>& args, int output, uint64_t addressSpace) const
{
    std::vector<std::string> argv{TREVALIN_RENDER};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env = Environment();
    std::vector<char*> rawEnv;
    for (std::string& e : env)
        rawEnv.push_back(e.data());
    rawEnv.push_back(nullptr);
    std::vector<char*> raw;
    for (std::string& a : argv)
        raw.push_back(a.data());
    raw.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    // The child: only calls that are safe after fork. It dies with the test
    // (a test that times out is killed, and leaves no run behind).
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) ::_exit(127);
    if (addressSpace > 0) {
        const rlimit limit{addressSpace, addressSpace};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(127);
    }
    if (::chdir(m_dir.Str().c_str()) != 0) ::_exit(127);
    ::dup2(output, 1);
    ::dup2(output, 2);
    ::execve(raw[0], raw.data(), rawEnv.data());
    ::_exit(127);
}

int CRenderFixture::Spawn(const std::vector<std::string>& args, const std::string& log, uint64_t addressSpace) const
{
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) return -1;
    const int pid = Launch(args, out, addressSpace);
    ::close(out);
    return pid;
}

int CRenderFixture::Wait(int pid, long* maxRssKilobytes)
{
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid) return -1;
    if (maxRssKilobytes != nullptr) *maxRssKilobytes = usage.ru_maxrss;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

void CRenderFixture::WriteHeavyProject(const std::string& name, int pairs) const
{
    std::vector<uint8_t> b;
    auto put32 = [&b](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    for (const std::string picture : {"\\source.bmp", "\\target.bmp"}) {
        b.push_back(static_cast<uint8_t>(picture.size()));
        b.insert(b.end(), picture.begin(), picture.end());
    }
    for (int image = 0; image < 2; ++image) {
        put32(static_cast<uint32_t>(pairs));
        for (int i = 0; i < pairs; ++i) {
            put32(2);
            for (uint32_t v :
                 {uint32_t(i % 400), uint32_t(i % 300), uint32_t((i * 7) % 400), uint32_t((i * 3 + 1) % 300)})
                put32(v);
        }
    }
    testfiles::WriteBytes(m_dir / name, b);
}

void CRenderFixture::WriteBigProject(const std::string& name, int pairs) const
{
    testfiles::WriteBytes(m_dir / "images" / "small-source.bmp", CBmpBuilder::Grey24(16, 16));
    testfiles::WriteBytes(m_dir / "images" / "small-target.bmp", CBmpBuilder::Grey24(16, 16));
    std::vector<uint8_t> b;
    auto put32 = [&b](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    for (const std::string picture : {"\\small-source.bmp", "\\small-target.bmp"}) {
        b.push_back(static_cast<uint8_t>(picture.size()));
        b.insert(b.end(), picture.begin(), picture.end());
    }
    b.reserve(b.size() + static_cast<size_t>(pairs) * 40 + 8);
    for (int image = 0; image < 2; ++image) {
        put32(static_cast<uint32_t>(pairs));
        for (int i = 0; i < pairs; ++i) {
            put32(2);
            for (uint32_t v : {uint32_t(i % 16), uint32_t((i / 16) % 16), uint32_t((i * 7 + 3 + image) % 16),
                               uint32_t((i * 5 + 9) % 16)})
                put32(v);
        }
    }
    testfiles::WriteBytes(m_dir / name, b);
}
