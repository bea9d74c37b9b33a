#include "CSignalStop.h"

#include <atomic>
#include <csignal>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// What the handler may touch: lock-free atomics only.
std::atomic<int> g_signal{0};
std::atomic<CCancelToken*> g_token{nullptr};
struct sigaction g_previous[3];

void OnSignal(int signal)
{
    int none = 0;
    g_signal.compare_exchange_strong(none, signal);
    if (CCancelToken* token = g_token.load()) {
        token->Cancel();
    }
}

} // namespace

CSignalStop::CSignalStop(CCancelToken& token) : m_token(token), m_ticket(token.Issue())
{
    g_signal.store(0);
    g_token.store(&token);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls go on; a second signal of the same kind
    // ends the process the ordinary way.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int i = 0; i < 3; ++i) {
        ::sigaction(kSignals[i], &action, &g_previous[i]);
    }
}

CSignalStop::~CSignalStop()
{
    for (int i = 0; i < 3; ++i) {
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    }
    g_token.store(nullptr);
}

int CSignalStop::Signal() const
{
    return g_signal.load();
}

const char* CSignalStop::Name(int signal)
{
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "a signal";
    }
}
