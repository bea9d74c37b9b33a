#pragma once

#include "CFaceFinder.h"
#include "CFaceLinePairs.h"
#include "message/CMessage.h"
#include "morph/CCancelToken.h"

#include <array>
#include <memory>
#include <vector>

struct CPictureImage;

// Finds the largest face in the source and the target picture at once (one
// thread each) and makes the feature lines of both (CFaceLinePairs).
class CFaceJob {
public:
    struct Outcome {
        // Why no lines were made (no picture, no face in one of them, the
        // model unreadable); empty when they were, or when cancelled.
        CMessage error;
        bool cancelled = false;
        // What the user should know beside the lines: a picture with
        // several faces (the largest was taken).
        CMessage note;
        // Line i of `lines[0]` pairs with line i of `lines[1]`; empty
        // unless both faces were found.
        std::array<std::vector<CFaceLinePairs::Line>, 2> lines;

        bool HasLines() const { return !lines[0].empty(); }
    };

    // `pictures`: source, then target (null when not loaded).
    static Outcome Run(const CFaceFinder& finder, const std::array<std::shared_ptr<const CPictureImage>, 2>& pictures,
                       CCancelToken::Ticket cancel);
};
