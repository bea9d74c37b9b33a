#pragma once

#include "message/CMessage.h"

// Outcome of opening or saving a document. On failure `message` is what to
// show the user; `detail` says what the system reported (for example that
// the disk is full) and, for a failed save, that the file already on disk
// was left as it was. `warning` is what a successful open still has to tell
// (for example pictures the project names that could not be loaded).
struct CDocStatus {
    bool ok = true;
    CMessage message;
    CMessage detail;
    CMessage warning;
};
