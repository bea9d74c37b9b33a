#pragma once

#include "morph/CMorphOptions.h"

#include <cstdint>
#include <vector>

class CTrevalinDoc;

// The morphs of one export in order, each following the one before (A to B,
// B to C, ...), as one run of frames numbered 0 .. FrameCount() - 1.
//
// Morph i has N_i steps. Where one morph ends the next begins: the join
// frame is made once, as frame 0 of the next morph. Each picture's frame
// (the first, every join, the last) is followed by `hold` copies of itself:
//
//   FrameCount = N_0 + ... + N_(P-1) + 1 + hold (P + 1)
//
// One morph without held frames is the plain export: frame g is frame g of
// N. The documents are the caller's and must outlive the sequence's use.
class CExportSequence {
public:
    struct Part {
        const CTrevalinDoc* doc = nullptr;
        CMorphOptions morph;
        int32_t steps = 10; // N, 1 or more
    };
    // Where frame g of the sequence comes from: frame k of morph `part`.
    struct Place {
        int32_t part = 0;
        int32_t k = 0;
        int32_t steps = 0; // N of that morph
    };

    CExportSequence() = default;
    // One morph.
    CExportSequence(const CTrevalinDoc& doc, const CMorphOptions& morph, int32_t steps);

    void Add(const CTrevalinDoc& doc, const CMorphOptions& morph, int32_t steps);
    // Copies of each picture's frame added after it; 0 or more.
    void SetHold(int32_t frames) { m_hold = frames < 0 ? 0 : frames; }
    int32_t GetHold() const { return m_hold; }

    int32_t PartCount() const { return static_cast<int32_t>(m_parts.size()); }
    const Part& GetPart(int32_t i) const { return m_parts[static_cast<size_t>(i)]; }

    int64_t FrameCount() const;
    // Frame g, 0 <= g < FrameCount() (outside: the nearest end).
    Place Locate(int64_t g) const;

    // The frame count of morphs of these steps with `hold` copies per picture.
    static int64_t CountFrames(const std::vector<int32_t>& steps, int32_t hold);

private:
    std::vector<Part> m_parts;
    int32_t m_hold = 0;
};
