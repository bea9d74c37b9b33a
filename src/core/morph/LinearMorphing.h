#pragma once

#include "ImageMorphing.h"

#include <vector>

// Plain cross-dissolve: every byte of frame k of N is
// trunc(source x (N - k) / N + target x k / N), weights and sum in double
// precision, truncated once. Pixels and colour channels play no role.
// With smooth easing the weights are 1 - t and t of the eased fraction t;
// warp only and edges concern the feature morph and change nothing here.
class LinearMorphing : public ImageMorphing {
public:
    LinearMorphing() = default;
    // Writes the frame and returns 0 (also when the frame is refused, see
    // ImageMorphing::Morph; then nothing is written), or kAbandoned. The
    // document is unused.
    int32_t Morph(CBitmap& out, int32_t k, CDocument* pDoc) override;
    ~LinearMorphing() override = default;

private:
    // The frame's results for every byte pair, [t << 8 | s], for the kernels
    // that look them up (with room for 4-byte reads at the last entry).
    std::vector<uint8_t> m_table;
};
