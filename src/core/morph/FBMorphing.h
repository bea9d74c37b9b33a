#pragma once

#include "CSmoothFrame.h"
#include "ImageMorphing.h"
#include "geometry/CFeaturePoint.h"
#include "geometry/CLinePairs.h"
#include "geometry/CPointSets.h"
#include "morph/kernels/KernelDispatch.h"

#include <cstdint>
#include <vector>

class CFeatureSet;

// Feature-based field morphing: a two-image warp driven by the line pairs of
// the project (line i of the source lines with line i of the target lines),
// followed by a cross-dissolve. For frame k of N every line moves to its
// in-between position; each frame pixel then finds where it comes from in
// both pictures from its position relative to every in-between line.
//
// A line pair takes part only when its in-between, source and target lines
// all have two distinct first points; with no such pair the frame is black.
//
// Options (ImageMorphing::SetOptions): warp only gives the source its whole
// weight and the target none; smooth easing moves the lines and sets the
// weights (1 - t, t) by the eased fraction t; extended edges sample the
// nearest edge pixel where a position falls outside a picture.
//
// Smooth quality computes the frames of CSmoothFrame instead (always with
// extended edges; the supersampling of SetSupersample): frame 0 is the
// source picture and, unless warping only, frame N the target picture,
// byte for byte; with no line pair taking part a frame is black, as in
// classic frames.
class FBMorphing : public ImageMorphing {
public:
    FBMorphing() = default;
    // Returns 1 after writing frame k; 0 (nothing written) when the
    // document is not exactly a CTrevalinDoc or the frame is refused;
    // kAbandoned when the cancel ticket was abandoned part-way. The frame
    // is computed from the line pairs of the document (CLinePairs).
    int32_t Morph(CBitmap& out, int32_t k, CDocument* pDoc) override;
    // The same from line pairs taken before; 0 when the frame is refused.
    int32_t MorphPairs(CBitmap& out, int32_t k, const CLinePairs& lines) override;
    ~FBMorphing() override = default;

    // Line pairs of the last frame computed (the smaller line count of the
    // two images), 0 before the first.
    int32_t PairsInLastFrame() const { return m_nPairsInLastFrame; }

    // For looking into the field: refills m_lines with the in-between lines
    // of frame k (frames do not keep them): point j of line i is source
    // point j interpolated toward target point j by t = k / N (eased, with
    // smooth easing).
    // Returns 0, changing nothing, when the document is not exactly a
    // CTrevalinDoc or frame k cannot be made (see ImageMorphing::Morph).
    int32_t InterpolateLines(int32_t k, CDocument* pDoc);

    // Signed distance of X from the directed line P->Q, positive to the
    // left of the direction in image coordinates (y down).
    static double SignedDistance(const CFeaturePoint& x, const CFeaturePoint& p, const CFeaturePoint& q);
    // The point at line coordinates (u, v) of the directed line P'->Q'.
    static CFeaturePoint MapPoint(double u, double v, const CFeaturePoint& p, const CFeaturePoint& q);

    // Where frame pixel (x, y) samples the source (`src`) and the target
    // (`dst`), from the in-between lines of the last InterpolateLines and the
    // source and target lines of `lines`. Returns 0 (positions untouched)
    // when no line pair takes part.
    int32_t SamplePositions(const CFeatureSet& lines, int32_t x, int32_t y, CFeaturePoint& src,
                            CFeaturePoint& dst) const;

    // Whether the last frame went through the row kernels (false: pixel by
    // pixel with SamplePositions, for lines far outside the range where the
    // kernels are exact, or no frame yet; for smooth frames, false when the
    // frame was a picture or black).
    bool UsedRowKernels() const { return m_bUsedRowKernels; }

    CPointSets<int> m_lines;

private:
    // Fills m_lineTable with the constants of the pairs taking part at
    // fraction t, in order (m_taking with their indices); returns false when some value of the frame
    // could leave the range where the row kernels are exact (then the frame
    // is computed pixel by pixel, as SamplePositions does).
    bool PrepareLines(const CLinePairs& lines, double t, int32_t columns, int32_t height);
    // The weights of the source and the target in frame k (see Morph).
    void FrameWeights(int32_t k, float weights[2]) const;
    void ComputeByPositions(const CLinePairs& lines, const std::vector<CLinePairs::Ends>& mids, const FBFrameJob& job,
                            int32_t first, int32_t last) const;
    int32_t MorphSmooth(CBitmap& out, int32_t k, const CLinePairs& lines);
    // Gives back the per-frame tables of a frame of many pairs, so that an
    // engine kept between frames holds little more than a small frame needs.
    void ReleaseFrameTables();

    // The constants of the pairs taking part (of the first kKeptPairs of
    // them only, when more take part) and the indices of those pairs.
    std::vector<FBLineConst> m_lineTable;
    std::vector<int32_t> m_taking;
    std::vector<double> m_scratch;
    uint8_t m_contrib[2][256] = {};
    CSmoothFrame m_smooth;
    bool m_bUsedRowKernels = false;
    int32_t m_nPairsInLastFrame = 0;
};
