#pragma once

#include "CDissolveSetup.h"
#include "ImageMorphing.h"

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
    CDissolveSetup m_setup;
};
