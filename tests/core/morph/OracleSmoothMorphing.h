#pragma once

#include "morph/ImageMorphing.h"

#include <cstdint>

class CFeatureSet;

// The smooth feature morph computed straightforwardly in double precision,
// pixel by pixel and line by line from the geometric definition (see
// CSmoothFrame): the reference the shipped engine's single-precision
// kernels are compared with. Test and benchmark code only.
class OracleSmoothMorphing : public ImageMorphing {
public:
    // Returns 1 after writing frame k; 0 when the document is not exactly a
    // CTrevalinDoc or the frame is refused. Options as the engine's (the
    // quality is taken to be smooth; edges are always extended).
    int32_t Morph(CBitmap& out, int32_t k, CDocument* pDoc) override;

    // Samples per pixel side: n x n at x + (i + 1/2) / n - 1/2 (and the
    // same in y), averaged before rounding. 1 by default.
    void SetSamples(int32_t n) { m_samples = n; }

    // The byte values of picture `image` sampled bilinearly at (x, y), a
    // position outside it taken to its edge.
    void Bilinear(int32_t image, double x, double y, double* bytes) const;
    // Where position (x, y) samples both pictures at fraction t; false when
    // no line pair takes part.
    static bool Positions(const CFeatureSet& lines, double t, double x, double y, double src[2], double dst[2]);

private:
    int32_t m_samples = 1;
};
