#include "OracleFBMorphing.h"

#include "OracleArithmetic.h"

#include "document/CTrevalinDoc.h"
#include "geometry/CFeatureSet.h"

#include <cmath>
#include <typeinfo>
#include <vector>

using oracle_arith::Diff;
using oracle_arith::TruncToInt32;

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

} // namespace

double OracleFBMorphing::SignedDistance(const CFeaturePoint& x, const CFeaturePoint& p, const CFeaturePoint& q)
{
    const double dx = Diff(p.x, q.x);
    const double dy = Diff(p.y, q.y);
    const float len = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    const double cross = Diff(p.x, x.x) * Diff(q.y, p.y) + Diff(p.y, x.y) * Diff(p.x, q.x);
    return cross / static_cast<double>(len);
}

CFeaturePoint OracleFBMorphing::MapPoint(double u, double v, const CFeaturePoint& p, const CFeaturePoint& q)
{
    const double dx = Diff(p.x, q.x);
    const double dy = Diff(p.y, q.y);
    const double len = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    const int64_t across = TruncToInt32(TruncToInt32(v * Diff(q.y, p.y)) / len);
    const int64_t down = TruncToInt32(TruncToInt32(v * dx) / len);
    CFeaturePoint r;
    r.x = oracle_arith::SaturateToInt32(p.x + int64_t{TruncToInt32(u * dx)} + across);
    r.y = oracle_arith::SaturateToInt32(p.y + int64_t{TruncToInt32(u * dy)} + down);
    r.z = 0;
    r.w = 1;
    return r;
}

int32_t OracleFBMorphing::InterpolateLines(int32_t k, CDocument* pDoc)
{
    CFeatureSet* lines = ProjectLines(pDoc);
    if (lines == nullptr || !CanMakeFrame(k)) {
        return 0;
    }
    m_lines.RemoveAll();
    const double t = static_cast<double>(k) / static_cast<double>(m_fSteps);
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

int32_t OracleFBMorphing::SamplePositions(const CFeatureSet& lines, int32_t x, int32_t y, CFeaturePoint& src,
                                          CFeaturePoint& dst) const
{
    const CFeaturePoint X = Pixel(x, y);
    int64_t sumSrcX = 0, sumSrcY = 0, sumDstX = 0, sumDstY = 0;
    double weightSum = 0.0;
    bool any = false;
    const CPointSets<int>& from = lines.m_sets[0];
    const CPointSets<int>& to = lines.m_sets[1];
    for (int32_t i = 0; i < m_lines.m_nCount && i < from.m_nCount && i < to.m_nCount; ++i) {
        const CPointSet<int>& mid = m_lines.Line(i);
        if (!HasLength(mid) || !HasLength(from.Line(i)) || !HasLength(to.Line(i))) {
            continue;
        }
        any = true;
        const CFeaturePoint& P = mid.Point(0);
        const CFeaturePoint& Q = mid.Point(1);
        const double qx = Diff(P.x, Q.x);
        const double qy = Diff(P.y, Q.y);
        const double l2 = qx * qx + qy * qy;
        const double u = (Diff(P.x, X.x) * qx + Diff(P.y, X.y) * qy) / l2;
        const double v = SignedDistance(X, P, Q);
        double dist;
        if (u < 0.0 || u > 1.0) {
            const CFeaturePoint& end = u < 0.0 ? P : Q;
            const double ex = Diff(end.x, X.x);
            const double ey = Diff(end.y, X.y);
            dist = std::sqrt(static_cast<float>(ex * ex + ey * ey));
        } else {
            dist = std::fabs(v);
        }
        const CFeaturePoint s = MapPoint(u, v, from.Line(i).Point(0), from.Line(i).Point(1));
        const CFeaturePoint d = MapPoint(u, v, to.Line(i).Point(0), to.Line(i).Point(1));
        const double len = std::sqrt(static_cast<float>(l2));
        double w = len / (1.0 + dist);
        w = w * w;
        using oracle_arith::AddToSum;
        using oracle_arith::TruncToSumTerm;
        sumSrcX = AddToSum(sumSrcX, TruncToSumTerm(Diff(X.x, s.x) * w));
        sumSrcY = AddToSum(sumSrcY, TruncToSumTerm(Diff(X.y, s.y) * w));
        sumDstX = AddToSum(sumDstX, TruncToSumTerm(Diff(X.x, d.x) * w));
        sumDstY = AddToSum(sumDstY, TruncToSumTerm(Diff(X.y, d.y) * w));
        weightSum += w;
    }
    if (!any) {
        return 0;
    }
    using oracle_arith::SaturateToInt32;
    const auto shift = [weightSum](int64_t sum) { return int64_t{TruncToInt32(static_cast<double>(sum) / weightSum)}; };
    src = Pixel(SaturateToInt32(x + shift(sumSrcX)), SaturateToInt32(y + shift(sumSrcY)));
    dst = Pixel(SaturateToInt32(x + shift(sumDstX)), SaturateToInt32(y + shift(sumDstY)));
    return 1;
}

int32_t OracleFBMorphing::Morph(CBitmap& out, int32_t k, CDocument* pDoc)
{
    if (InterpolateLines(k, pDoc) == 0) {
        return 0;
    }
    const CFeatureSet& lines = *static_cast<CTrevalinDoc*>(pDoc)->GetFeatureSet();
    const size_t stride = static_cast<size_t>(m_image[0].bmWidthBytes);
    const int32_t height = m_image[0].bmHeight;
    const int32_t bpp = m_image[0].bmBitsPixel / 8;
    const int32_t columns = static_cast<int32_t>(stride / static_cast<size_t>(bpp));
    const float kf = static_cast<float>(k);
    const float weights[2] = {(m_fSteps - kf) / m_fSteps, kf / m_fSteps};
    const uint8_t* pictures[2] = {Pixels(0), Pixels(1)};

    std::vector<uint8_t> frame(FrameBytes(), 0);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < columns; ++x) {
            CFeaturePoint at[2];
            if (SamplePositions(lines, x, y, at[0], at[1]) == 0) {
                continue;
            }
            uint8_t* px = &frame[static_cast<size_t>(y) * stride + static_cast<size_t>(x) * bpp];
            for (int image = 0; image < 2; ++image) {
                const CFeaturePoint& p = at[image];
                if (p.x < 0 || p.x >= columns || p.y < 0 || p.y >= height) {
                    break;
                }
                const uint8_t* sample =
                    pictures[image] + static_cast<size_t>(p.y) * stride + static_cast<size_t>(p.x) * bpp;
                for (int32_t c = 0; c < bpp; ++c) {
                    const double part = sample[c] * static_cast<double>(weights[image]);
                    px[c] = static_cast<uint8_t>(px[c] + static_cast<uint8_t>(TruncToInt32(part)));
                }
            }
        }
    }
    out.SetBitmapBits(static_cast<long>(frame.size()), frame.data());
    return 1;
}
