#pragma once

#include "morph/ImageMorphing.h"

// The straightforward cross-dissolve, byte by byte: the reference the
// shipped LinearMorphing is checked against. Test and benchmark code only.
//
// Plain cross-dissolve: every byte of frame k of N is
// trunc(source x (N - k) / N + target x k / N), weights and sum in double
// precision, truncated once. Pixels and colour channels play no role.
class OracleLinearMorphing : public ImageMorphing {
public:
    OracleLinearMorphing() = default;
    // Writes the frame and returns 0 (also when the frame is refused, see
    // ImageMorphing::Morph; then nothing is written). The document is unused.
    int32_t Morph(CBitmap& out, int32_t k, CDocument* pDoc) override;
    ~OracleLinearMorphing() override = default;
};
