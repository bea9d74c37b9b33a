#pragma once

#include "morph/CCancelToken.h"

// Turns SIGINT, SIGTERM and SIGHUP into a request to stop, for as long as
// the object lives: the first such signal is recorded and cancels the token
// (abandoning the frame being computed); a second one of the same kind gets
// the signal's default action. Only one object may live at a time.
class CSignalStop {
public:
    explicit CSignalStop(CCancelToken& token);
    ~CSignalStop();
    CSignalStop(const CSignalStop&) = delete;
    CSignalStop& operator=(const CSignalStop&) = delete;

    // 0, or the number of the first signal received.
    int Signal() const;
    // A ticket issued when the handlers were installed: abandoned by the
    // first signal, whenever it comes.
    CCancelToken::Ticket Ticket() const { return m_ticket; }

    // The exit status of a run ended by `signal`: 128 + its number.
    static int ExitStatus(int signal) { return 128 + signal; }
    // "SIGINT", "SIGTERM" or "SIGHUP".
    static const char* Name(int signal);

private:
    CCancelToken& m_token;
    CCancelToken::Ticket m_ticket;
};
