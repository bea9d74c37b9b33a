#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CFeatureSet;

// The line pairs of a project as the morph engines read them, in a flat
// array: for pair i (i below the smaller line count of the two images) the
// first two points of source line i and of target line i, coordinates only.
// A line of fewer than two points is stored with both ends at its first
// point (or at the origin), which the engines treat like any line without
// length: the pair takes no part. 32 bytes a pair, without the labels,
// states and objects of the document's lines; made once and then only read,
// so that threads may share it.
class CLinePairs {
public:
    struct Ends {
        int32_t x0 = 0;
        int32_t y0 = 0;
        int32_t x1 = 0;
        int32_t y1 = 0;

        bool HasLength() const { return x0 != x1 || y0 != y1; }
        friend bool operator==(const Ends&, const Ends&) = default;
    };
    struct Pair {
        Ends side[2]; // [0] the source line, [1] the target line
        friend bool operator==(const Pair&, const Pair&) = default;
    };

    CLinePairs() = default;
    explicit CLinePairs(const CFeatureSet& lines);

    int32_t Count() const { return static_cast<int32_t>(m_pairs.size()); }
    const Pair& operator[](int32_t i) const { return m_pairs[static_cast<size_t>(i)]; }
    const std::vector<Pair>& Pairs() const { return m_pairs; }
    size_t Bytes() const { return m_pairs.capacity() * sizeof(Pair); }

    // Every coordinate halved, rounding down (for half-resolution pictures).
    CLinePairs Halved() const;

    friend bool operator==(const CLinePairs&, const CLinePairs&) = default;

private:
    std::vector<Pair> m_pairs;
};
