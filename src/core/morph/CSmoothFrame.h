#pragma once

#include "CCancelToken.h"
#include "morph/kernels/KernelDispatch.h"

#include <cstdint>
#include <vector>

class CLinePairs;
class CRowPool;

// The smooth frames of the feature morph: the line-pair field of the
// classic frames (weight (len / (1 + dist))^2 per pair, the same pairs),
// in real numbers throughout. For fraction t every line point is
// P = Ps + (Pt - Ps) t; a frame pixel (x, y) sits at position (x, y), the
// lines' points at their pixels' positions, so a field that moves nothing
// takes every pixel to itself. The pair of in-between line P->Q (d = Q - P,
// len = |d|) and picture line P'->Q' (d', len') takes X to
//
//   X' = P' + u d' + v (-d'y, d'x) / len',  u = (X - P).d / len^2,
//                                           v = (X - P).(-dy, dx) / len,
//
// with weight w = (len / (1 + dist))^2, dist being |v| for 0 <= u <= 1 and
// the distance from P (u < 0) or Q (u > 1) elsewhere. Each picture is
// sampled bilinearly at X plus the weighted mean of X' - X over the pairs,
// a position outside it taken to the nearest point on its edge, and the
// frame byte is round(alpha_s S + alpha_t T).
//
// A pair takes part when its source and target lines have two distinct
// first points and its in-between line is longer than kMinLength.
class CSmoothFrame {
public:
    static constexpr double kMinLength = 1.0 / 1024.0;

    // Makes the constants of the pairs of `lines` taking part at fraction
    // t, in order; returns their count.
    int32_t Prepare(const CLinePairs& lines, double t);
    // Gives back the tables of the last Prepare when they hold more than
    // `kept` pairs.
    void Release(size_t kept);
    int32_t Count() const { return static_cast<int32_t>(m_lines.size()); }

    // Computes the frame of `job` (its lines and count set here from the
    // last Prepare, which found at least one pair) on the pool's threads
    // with the kernel of the resolved path. False when the ticket was
    // abandoned part-way.
    bool Compute(SmoothFrameJob& job, CRowPool& pool, MorphKernelPath resolved, const CCancelToken::Ticket& ticket);

private:
    std::vector<SmoothLine> m_lines;
    std::vector<double> m_lengths;
    std::vector<float> m_scratch;
};
