#pragma once

#include <string>

// Outcome of opening or saving a document. On failure `message` is the text
// to show the user as it stands; `detail` says what the system reported
// (for example that the disk is full) and, for a failed save, that the file
// already on disk was left as it was. `warning` is what a successful open
// still has to tell (for example pictures the project names that could not
// be loaded).
struct CDocStatus {
    bool ok = true;
    std::string message;
    std::string detail;
    std::string warning;
};
