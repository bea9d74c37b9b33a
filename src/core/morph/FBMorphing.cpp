#include "FBMorphing.h"

#include "MorphArithmetic.h"
#include "document/CTrevalinDoc.h"
#include "geometry/CFeatureSet.h"

#include "CRowPool.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <typeinfo>
#include <vector>

using morph_arith::Diff;
using morph_arith::TruncToInt32;

namespace {

CFeatureSet* ProjectLines(CDocument* pDoc)
{
    if (pDoc == nullptr || typeid(*pDoc) != typeid(CTrevalinDoc)) {
        return nullptr;
    }
    return static_cast<CTrevalinDoc*>(pDoc)->GetFeatureSet();
}

bool HasLength(const CPointSet<int>& line)
{
    return line.m_nCount >= 2 && (line.Point(0).x != line.Point(1).x || line.Point(0).y != line.Point(1).y);
}

CFeaturePoint Pixel(int32_t x, int32_t y)
{
    return CFeaturePoint{x, y, 0, 1, 0};
}

CFeaturePoint At(int32_t x, int32_t y)
{
    return CFeaturePoint{x, y, 0, 1, 0};
}

// The in-between line of `pair` at fraction t: each end interpolated as
// CFeaturePoint::Interpolate does.
CLinePairs::Ends Between(const CLinePairs::Pair& pair, double t)
{
    const CLinePairs::Ends& a = pair.side[0];
    const CLinePairs::Ends& b = pair.side[1];
    const CFeaturePoint p = At(a.x0, a.y0).Interpolate(t, At(b.x0, b.y0));
    const CFeaturePoint q = At(a.x1, a.y1).Interpolate(t, At(b.x1, b.y1));
    return CLinePairs::Ends{p.x, p.y, q.x, q.y};
}

// Pairs whose frame tables an engine keeps between frames; a frame of more
// gives its tables back.
constexpr size_t kKeptPairs = 4096;

} // namespace

namespace {

// Where frame pixel (x, y) samples the source (`src`) and the target
// (`dst`) from `count` line pairs: pairAt(i, ends) gives the first two points
// of pair i's in-between, source and target lines (ends[0], [1], [2]) and
// whether the pair takes part. Returns 0 when none does.
template <class PairAt>
int32_t SampleAt(int32_t count, const PairAt& pairAt, int32_t x, int32_t y, CFeaturePoint& src, CFeaturePoint& dst)
{
    const CFeaturePoint X = Pixel(x, y);
    int64_t sumSrcX = 0, sumSrcY = 0, sumDstX = 0, sumDstY = 0;
    double weightSum = 0.0;
    bool any = false;
    for (int32_t i = 0; i < count; ++i) {
        CFeaturePoint ends[3][2];
        if (!pairAt(i, ends)) {
            continue;
        }
        any = true;
        const CFeaturePoint& P = ends[0][0];
        const CFeaturePoint& Q = ends[0][1];
        const double qx = Diff(P.x, Q.x);
        const double qy = Diff(P.y, Q.y);
        const double l2 = qx * qx + qy * qy;
        const double u = (Diff(P.x, X.x) * qx + Diff(P.y, X.y) * qy) / l2;
        const double v = FBMorphing::SignedDistance(X, P, Q);
        double dist;
        if (u < 0.0 || u > 1.0) {
            const CFeaturePoint& end = u < 0.0 ? P : Q;
            const double ex = Diff(end.x, X.x);
            const double ey = Diff(end.y, X.y);
            dist = std::sqrt(static_cast<float>(ex * ex + ey * ey));
        } else {
            dist = std::fabs(v);
        }
        const CFeaturePoint s = FBMorphing::MapPoint(u, v, ends[1][0], ends[1][1]);
        const CFeaturePoint d = FBMorphing::MapPoint(u, v, ends[2][0], ends[2][1]);
        const double len = std::sqrt(static_cast<float>(l2));
        double w = len / (1.0 + dist);
        w = w * w;
        using morph_arith::AddToSum;
        using morph_arith::TruncToSumTerm;
        sumSrcX = AddToSum(sumSrcX, TruncToSumTerm(Diff(X.x, s.x) * w));
        sumSrcY = AddToSum(sumSrcY, TruncToSumTerm(Diff(X.y, s.y) * w));
        sumDstX = AddToSum(sumDstX, TruncToSumTerm(Diff(X.x, d.x) * w));
        sumDstY = AddToSum(sumDstY, TruncToSumTerm(Diff(X.y, d.y) * w));
        weightSum += w;
    }
    if (!any) {
        return 0;
    }
    using morph_arith::SaturateToInt32;
    const auto shift = [weightSum](int64_t sum) { return int64_t{TruncToInt32(static_cast<double>(sum) / weightSum)}; };
    src = Pixel(SaturateToInt32(x + shift(sumSrcX)), SaturateToInt32(y + shift(sumSrcY)));
    dst = Pixel(SaturateToInt32(x + shift(sumDstX)), SaturateToInt32(y + shift(sumDstY)));
    return 1;
}

// The constants of a pair taking part with in-between line `mid`, for
// frames whose pixel positions reach xMax and yMax; false when some value
// could leave the range where the row kernels are exact. `sumTerm` receives
// the pair's share of the bound of the sums of weighted displacements.
bool MakeConstants(const CLinePairs::Pair& pair, const CLinePairs::Ends& mid, double xMax, double yMax, FBLineConst& c,
                   double& sumTerm)
{
    const auto farthest = [](double p, double hi) { return std::fmax(std::fabs(p), std::fabs(hi - p)); };
    // Every product of integers must stay exact in double precision, every
    // truncated value inside 32 bits and the sums of weighted displacements
    // below 2^52, with room to spare for the rounding of the bounds.
    constexpr double kExact = 0x1p50;
    constexpr double kInt = 0x1p30;
    bool exact = true;
    const CFeaturePoint P = At(mid.x0, mid.y0);
    const CFeaturePoint Q = At(mid.x1, mid.y1);
    c = FBLineConst{};
    c.px = P.x;
    c.py = P.y;
    c.qx = Q.x;
    c.qy = Q.y;
    c.dx = Diff(P.x, Q.x);
    c.dy = Diff(P.y, Q.y);
    c.ndy = Diff(Q.y, P.y);
    c.l2 = c.dx * c.dx + c.dy * c.dy;
    c.lenSD = static_cast<float>(std::sqrt(c.l2));
    c.lenW = std::sqrt(static_cast<float>(c.l2));
    c.recipL2 = 1.0 / c.l2;
    c.recipLenSD = 1.0 / c.lenSD;

    const double ex = farthest(c.px, xMax), ey = farthest(c.py, yMax);
    const double exq = farthest(c.qx, xMax), eyq = farthest(c.qy, yMax);
    exact = exact && c.l2 <= kExact && ex * std::fabs(c.dx) + ey * std::fabs(c.dy) <= kExact &&
            ex * std::fabs(c.dy) + ey * std::fabs(c.dx) <= kExact && ex * ex + ey * ey <= kExact &&
            exq * exq + eyq * eyq <= kExact;
    // |u| <= |X - P| / len and |v| <= |X - P| len / lenSD.
    const double reach = std::sqrt(ex * ex + ey * ey) * (1.0 + 0x1p-20) + 1.0;
    const double uMax = reach / std::sqrt(c.l2);
    const double vMax = reach;
    double lineBound = 0.0;
    for (int32_t s = 0; s < 2; ++s) {
        const CLinePairs::Ends& line = pair.side[s];
        FBLineConst::Side& sd = c.side[s];
        sd.px = line.x0;
        sd.py = line.y0;
        sd.dx = Diff(line.x0, line.x1);
        sd.dy = Diff(line.y0, line.y1);
        sd.ndy = Diff(line.y1, line.y0);
        sd.len = static_cast<float>(std::sqrt(sd.dx * sd.dx + sd.dy * sd.dy));
        sd.invBelow = (1.0 / sd.len) * (1.0 - 0x1p-49);
        sd.invAbove = 1.0 / sd.len;
        if (std::fma(sd.invAbove, sd.len, -1.0) < 0.0) {
            sd.invAbove = std::nextafter(sd.invAbove, 2.0);
        }
        const double span = std::fmax(std::fabs(sd.dx), std::fabs(sd.dy));
        const double along = uMax * span;
        const double across = vMax * span;
        const double displacement =
            std::fmax(std::fabs(sd.px) + xMax, std::fabs(sd.py) + yMax) + along + across / sd.len + 2.0;
        exact = exact && along <= kInt && across <= kInt && across / sd.len <= 0x1p28 && displacement <= kInt;
        sd.quick = across <= 0x1p26;
        lineBound = std::fmax(lineBound, displacement);
    }
    sumTerm = lineBound * c.l2 * (1.0 + 0x1p-20);
    return exact;
}

// What the kernels need to make the constants of a block of pairs.
struct PairBlocks {
    const CLinePairs* lines;
    const int32_t* taking; // the pairs taking part, in order
    double t;
    double xMax;
    double yMax;

    static void Make(const void* source, int32_t begin, int32_t n, FBLineConst* out)
    {
        const auto& blocks = *static_cast<const PairBlocks*>(source);
        for (int32_t i = 0; i < n; ++i) {
            const CLinePairs::Pair& pair = (*blocks.lines)[blocks.taking[begin + i]];
            double sumTerm = 0.0;
            MakeConstants(pair, Between(pair, blocks.t), blocks.xMax, blocks.yMax, out[i], sumTerm);
        }
    }
};

} // namespace

double FBMorphing::SignedDistance(const CFeaturePoint& x, const CFeaturePoint& p, const CFeaturePoint& q)
{
    const double dx = Diff(p.x, q.x);
    const double dy = Diff(p.y, q.y);
    const float len = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    const double cross = Diff(p.x, x.x) * Diff(q.y, p.y) + Diff(p.y, x.y) * Diff(p.x, q.x);
    return cross / static_cast<double>(len);
}

CFeaturePoint FBMorphing::MapPoint(double u, double v, const CFeaturePoint& p, const CFeaturePoint& q)
{
    const double dx = Diff(p.x, q.x);
    const double dy = Diff(p.y, q.y);
    const double len = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    const int64_t across = TruncToInt32(TruncToInt32(v * Diff(q.y, p.y)) / len);
    const int64_t down = TruncToInt32(TruncToInt32(v * dx) / len);
    CFeaturePoint r;
    r.x = morph_arith::SaturateToInt32(p.x + int64_t{TruncToInt32(u * dx)} + across);
    r.y = morph_arith::SaturateToInt32(p.y + int64_t{TruncToInt32(u * dy)} + down);
    r.z = 0;
    r.w = 1;
    return r;
}

int32_t FBMorphing::InterpolateLines(int32_t k, CDocument* pDoc)
{
    CFeatureSet* lines = ProjectLines(pDoc);
    if (lines == nullptr || !CanMakeFrame(k)) {
        return 0;
    }
    m_lines.RemoveAll();
    const double t = ShapeFraction(k);
    const CPointSets<int>& from = lines->m_sets[0];
    const CPointSets<int>& to = lines->m_sets[1];
    for (int32_t i = 0; i < from.m_nCount && i < to.m_nCount; ++i) {
        CPointSet<int>& line = m_lines.Line(m_lines.Add());
        const CPointSet<int>& a = from.Line(i);
        const CPointSet<int>& b = to.Line(i);
        for (int32_t j = 0; j < a.m_nCount && j < b.m_nCount; ++j) {
            const CFeaturePoint p = a.Point(j).Interpolate(t, b.Point(j));
            line.AddPoint(p.x, p.y, 0, 1);
        }
    }
    return 1;
}

int32_t FBMorphing::SamplePositions(const CFeatureSet& lines, int32_t x, int32_t y, CFeaturePoint& src,
                                    CFeaturePoint& dst) const
{
    const CPointSets<int>& from = lines.m_sets[0];
    const CPointSets<int>& to = lines.m_sets[1];
    const int32_t count = std::min({m_lines.m_nCount, from.m_nCount, to.m_nCount});
    return SampleAt(
        count,
        [this, &from, &to](int32_t i, CFeaturePoint(&ends)[3][2]) {
            const CPointSet<int>* three[3] = {&m_lines.Line(i), &from.Line(i), &to.Line(i)};
            for (int32_t s = 0; s < 3; ++s) {
                if (!HasLength(*three[s])) return false;
                ends[s][0] = three[s]->Point(0);
                ends[s][1] = three[s]->Point(1);
            }
            return true;
        },
        x, y, src, dst);
}

bool FBMorphing::PrepareLines(const CLinePairs& lines, double t, int32_t columns, int32_t height)
{
    m_lineTable.clear();
    m_taking.clear();
    // Pixel positions the kernels evaluate reach past the last column by
    // less than one vector or chunk.
    const double xMax = static_cast<double>(columns) + 64.0;
    const double yMax = static_cast<double>(height);
    bool exact = true;
    double sumBound = 0.0;
    for (int32_t i = 0; i < lines.Count(); ++i) {
        const CLinePairs::Pair& pair = lines[i];
        if (!pair.side[0].HasLength() || !pair.side[1].HasLength()) {
            continue;
        }
        const CLinePairs::Ends mid = Between(pair, t);
        if (!mid.HasLength()) {
            continue;
        }
        FBLineConst c;
        double sumTerm = 0.0;
        exact = MakeConstants(pair, mid, xMax, yMax, c, sumTerm) && exact;
        sumBound += sumTerm;
        m_taking.push_back(i);
        // Past kKeptPairs the kernels make the constants a block at a time.
        if (m_taking.size() <= kKeptPairs) {
            m_lineTable.push_back(c);
        } else if (!m_lineTable.empty()) {
            std::vector<FBLineConst>().swap(m_lineTable);
        }
    }
    return exact && sumBound <= 0x1p52;
}

void FBMorphing::FrameWeights(int32_t k, float weights[2]) const
{
    if (GetOptions().warpOnly) {
        weights[0] = 1.0f;
        weights[1] = 0.0f;
    } else if (GetOptions().colour.IsLinear()) {
        const float kf = static_cast<float>(k);
        weights[0] = (m_fSteps - kf) / m_fSteps;
        weights[1] = kf / m_fSteps;
    } else {
        const double t = ColourFraction(k);
        weights[0] = static_cast<float>(1.0 - t);
        weights[1] = static_cast<float>(t);
    }
}

void FBMorphing::ComputeByPositions(const CLinePairs& lines, const std::vector<CLinePairs::Ends>& mids,
                                    const FBFrameJob& job, int32_t first, int32_t last) const
{
    const auto pairAt = [&lines, &mids](int32_t i, CFeaturePoint(&ends)[3][2]) {
        const CLinePairs::Ends* three[3] = {&mids[static_cast<size_t>(i)], &lines[i].side[0], &lines[i].side[1]};
        for (int32_t s = 0; s < 3; ++s) {
            if (!three[s]->HasLength()) return false;
            ends[s][0] = At(three[s]->x0, three[s]->y0);
            ends[s][1] = At(three[s]->x1, three[s]->y1);
        }
        return true;
    };
    for (int32_t y = first; y < last; ++y) {
        uint8_t* row = job.out + static_cast<size_t>(y) * job.stride;
        std::memset(row, 0, job.stride);
        for (int32_t x = 0; x < job.columns; ++x) {
            CFeaturePoint at[2];
            if (SampleAt(lines.Count(), pairAt, x, y, at[0], at[1]) == 0) {
                continue;
            }
            uint8_t* px = row + static_cast<size_t>(x) * job.bpp;
            for (int image = 0; image < 2; ++image) {
                CFeaturePoint& p = at[image];
                ClampToPicture(job, p.x, p.y);
                if (p.x < 0 || p.x >= job.columns || p.y < 0 || p.y >= job.height) {
                    break;
                }
                const uint8_t* sample =
                    job.pictures[image] + static_cast<size_t>(p.y) * job.stride + static_cast<size_t>(p.x) * job.bpp;
                for (int32_t c = 0; c < job.bpp; ++c) {
                    px[c] = static_cast<uint8_t>(px[c] + job.contrib[image][sample[c]]);
                }
            }
        }
    }
}

int32_t FBMorphing::Morph(CBitmap& out, int32_t k, CDocument* pDoc)
{
    const CFeatureSet* lines = ProjectLines(pDoc);
    if (lines == nullptr || !CanMakeFrame(k)) {
        return 0;
    }
    return MorphPairs(out, k, CLinePairs(*lines));
}

void FBMorphing::ReleaseFrameTables()
{
    if (m_lineTable.capacity() > kKeptPairs) std::vector<FBLineConst>().swap(m_lineTable);
    if (m_taking.capacity() > kKeptPairs) std::vector<int32_t>().swap(m_taking);
}

int32_t FBMorphing::MorphPairs(CBitmap& out, int32_t k, const CLinePairs& lines)
{
    if (!CanMakeFrame(k)) {
        return 0;
    }
    m_nPairsInLastFrame = lines.Count();
    if (GetOptions().quality == CMorphOptions::Quality::kSmooth) {
        return MorphSmooth(out, k, lines);
    }
    const size_t bytes = FrameBytes();
    const int32_t bpp = m_image[0].bmBitsPixel / 8;

    FBFrameJob job{};
    job.stride = static_cast<size_t>(m_image[0].bmWidthBytes);
    job.height = m_image[0].bmHeight;
    job.bpp = bpp;
    job.columns = static_cast<int32_t>(job.stride / static_cast<size_t>(bpp));
    job.pictures[0] = Pixels(0);
    job.pictures[1] = Pixels(1);
    job.out = FrameTarget(out, bytes);

    // Each picture's share of a byte b is trunc(b x alpha), alpha in single
    // precision and the product in double.
    float weights[2];
    FrameWeights(k, weights);
    job.clampColumns = GetOptions().edge == CMorphOptions::Edge::kExtend ? m_image[0].bmWidth : 0;
    for (int image = 0; image < 2; ++image) {
        for (int32_t b = 0; b < 256; ++b) {
            m_contrib[image][b] = static_cast<uint8_t>(TruncToInt32(b * static_cast<double>(weights[image])));
        }
        job.contrib[image] = m_contrib[image];
    }
    // alpha = f 2^e with f in [0.5, 1) carries 24 significant bits, so
    // byte x alpha is exact in double precision and its truncation is
    // (byte x f 2^24) >> (24 - e); below 2^-8 every share is 0.
    job.wholePixels = bpp == 4 && static_cast<double>(job.height) * job.columns < 0x1p31 && job.clampColumns == 0;
    for (int image = 0; image < 2; ++image) {
        int exponent = 0;
        const double fraction = std::frexp(static_cast<double>(weights[image]), &exponent);
        const int shift = 24 - exponent;
        job.shareScale[image] = 0;
        job.shareShift[image] = 0;
        if (fraction > 0.0 && shift <= 31) {
            job.shareScale[image] = static_cast<uint32_t>(std::ldexp(fraction, 24));
            job.shareShift[image] = static_cast<uint32_t>(shift);
        }
        for (uint32_t b = 0; b < 256; ++b) {
            const uint64_t share = (static_cast<uint64_t>(b) * job.shareScale[image]) >> job.shareShift[image];
            job.wholePixels = job.wholePixels && share == m_contrib[image][b];
        }
    }

    job.targetUnused = std::all_of(m_contrib[1], m_contrib[1] + 256, [](uint8_t share) { return share == 0; });

    CRowPool& pool = Pool();
    const double t = ShapeFraction(k);
    const bool exact = PrepareLines(lines, t, job.columns, job.height);
    job.lines = m_lineTable.data();
    job.count = static_cast<int32_t>(m_taking.size());
    const PairBlocks blocks{&lines, m_taking.data(), t, static_cast<double>(job.columns) + 64.0,
                            static_cast<double>(job.height)};
    if (m_taking.size() > kKeptPairs) {
        job.block = &PairBlocks::Make;
        job.blockSource = &blocks;
    }
    const int32_t grain = 2;
    m_bUsedRowKernels = job.count > 0 && exact;
    bool whole = true;
    if (job.count == 0) {
        std::memset(job.out, 0, bytes);
    } else if (!exact) {
        // The in-between lines of the frame, for the positions of every pixel.
        std::vector<CLinePairs::Ends> mids(static_cast<size_t>(lines.Count()));
        for (int32_t i = 0; i < lines.Count(); ++i)
            mids[static_cast<size_t>(i)] = Between(lines[i], t);
        whole = pool.Run(
            job.height, grain,
            [this, &lines, &mids, &job](int32_t first, int32_t last, int32_t) {
                ComputeByPositions(lines, mids, job, first, last);
            },
            Ticket());
    } else {
        const FBRowsKernel kernel = SelectFBKernel(GetKernelPath());
        // A block of line pairs per thread taking part, whatever the count.
        const size_t perThread = FBScratchDoubles(job.count);
        const size_t needed = perThread * static_cast<size_t>(pool.Participants(job.height, grain));
        if (m_scratch.size() < needed) {
            m_scratch.resize(needed);
        }
        double* scratch = m_scratch.data();
        whole = pool.Run(
            job.height, grain,
            [&job, kernel, scratch, perThread](int32_t first, int32_t last, int32_t worker) {
                kernel(job, first, last, scratch + perThread * static_cast<size_t>(worker));
            },
            Ticket());
    }
    ReleaseFrameTables();
    FinishFrame(out, job.out, bytes);
    return whole ? 1 : kAbandoned;
}

int32_t FBMorphing::MorphSmooth(CBitmap& out, int32_t k, const CLinePairs& lines)
{
    const double t = ShapeFraction(k);
    const double mix = ColourFraction(k);
    const bool warpOnly = GetOptions().warpOnly;
    const size_t bytes = FrameBytes();
    uint8_t* frame = FrameTarget(out, bytes);
    m_bUsedRowKernels = false;
    bool whole = true;
    if (m_smooth.Prepare(lines, t) == 0) {
        std::memset(frame, 0, bytes);
    } else if (k == 0) {
        std::memcpy(frame, Pixels(0), bytes);
    } else if (!warpOnly && static_cast<double>(k) == static_cast<double>(m_fSteps)) {
        std::memcpy(frame, Pixels(1), bytes);
    } else {
        SmoothFrameJob job{};
        const BITMAP& image = m_image[0];
        job.stride = static_cast<size_t>(image.bmWidthBytes);
        job.height = image.bmHeight;
        job.bpp = image.bmBitsPixel / 8;
        // Rows hold bmWidthBytes: a width past them is not pixels.
        job.width = std::min(image.bmWidth, static_cast<int32_t>(job.stride / static_cast<size_t>(job.bpp)));
        job.pictures[0] = Pixels(0);
        job.pictures[1] = Pixels(1);
        job.out = frame;
        job.alpha[0] = warpOnly ? 1.0f : static_cast<float>(1.0 - mix);
        job.alpha[1] = warpOnly ? 0.0f : static_cast<float>(mix);
        job.targetUnused = job.alpha[1] == 0.0f;
        job.supersample = GetSupersample();
        job.gatherable = job.bpp == 4 && job.width >= 2 && job.height >= 2 &&
                         static_cast<double>(job.stride / 4) * job.height < 0x1p31;
        if (job.width < 1) {
            std::memset(frame, 0, bytes);
        } else {
            m_bUsedRowKernels = true;
            whole = m_smooth.Compute(job, Pool(), GetKernelPath(), Ticket());
        }
    }
    m_smooth.Release(kKeptPairs);
    FinishFrame(out, frame, bytes);
    return whole ? 1 : kAbandoned;
}
