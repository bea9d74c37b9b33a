#include "OracleSmoothMorphing.h"

#include "document/CTrevalinDoc.h"
#include "geometry/CFeatureSet.h"
#include "morph/CSmoothFrame.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <typeinfo>

namespace {

struct Vec {
    double x, y;
};

Vec Sub(Vec a, Vec b)
{
    return {a.x - b.x, a.y - b.y};
}

double Dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y;
}

Vec PointOf(const CPointSet<int>& line, int32_t j)
{
    return {static_cast<double>(line.Point(j).x), static_cast<double>(line.Point(j).y)};
}

bool Distinct(const CPointSet<int>& line)
{
    return line.m_nCount >= 2 && (line.Point(0).x != line.Point(1).x || line.Point(0).y != line.Point(1).y);
}

} // namespace

bool OracleSmoothMorphing::Positions(const CFeatureSet& lines, double t, double x, double y, double src[2],
                                     double dst[2])
{
    const Vec X{x, y};
    double weightSum = 0.0;
    double sums[2][2] = {};
    const CPointSets<int>& from = lines.m_sets[0];
    const CPointSets<int>& to = lines.m_sets[1];
    for (int32_t i = 0; i < from.m_nCount && i < to.m_nCount; ++i) {
        if (!Distinct(from.Line(i)) || !Distinct(to.Line(i))) continue;
        const Vec sp = PointOf(from.Line(i), 0), sq = PointOf(from.Line(i), 1);
        const Vec tp = PointOf(to.Line(i), 0), tq = PointOf(to.Line(i), 1);
        const Vec P{sp.x + (tp.x - sp.x) * t, sp.y + (tp.y - sp.y) * t};
        const Vec Q{sq.x + (tq.x - sq.x) * t, sq.y + (tq.y - sq.y) * t};
        const Vec d = Sub(Q, P);
        const double len = std::sqrt(Dot(d, d));
        if (!(len > CSmoothFrame::kMinLength)) continue;
        const double u = Dot(Sub(X, P), d) / (len * len);
        const double v = Dot(Sub(X, P), Vec{-d.y, d.x}) / len;
        double dist = std::fabs(v);
        if (u < 0.0) dist = std::sqrt(Dot(Sub(X, P), Sub(X, P)));
        if (u > 1.0) dist = std::sqrt(Dot(Sub(X, Q), Sub(X, Q)));
        const double w = std::pow(len / (1.0 + dist), 2.0);
        weightSum += w;
        const Vec picture[2][2] = {{sp, sq}, {tp, tq}};
        for (int32_t s = 0; s < 2; ++s) {
            const Vec p = picture[s][0];
            const Vec e = Sub(picture[s][1], p);
            const double elen = std::sqrt(Dot(e, e));
            const Vec mapped{p.x + u * e.x - v * e.y / elen, p.y + u * e.y + v * e.x / elen};
            sums[s][0] += w * (mapped.x - X.x);
            sums[s][1] += w * (mapped.y - X.y);
        }
    }
    if (weightSum == 0.0) return false;
    src[0] = x + sums[0][0] / weightSum;
    src[1] = y + sums[0][1] / weightSum;
    dst[0] = x + sums[1][0] / weightSum;
    dst[1] = y + sums[1][1] / weightSum;
    return true;
}

void OracleSmoothMorphing::Bilinear(int32_t image, double x, double y, double* bytes) const
{
    const BITMAP& b = m_image[0];
    const int32_t bpp = b.bmBitsPixel / 8;
    x = std::clamp(x, 0.0, static_cast<double>(b.bmWidth - 1));
    y = std::clamp(y, 0.0, static_cast<double>(b.bmHeight - 1));
    const auto x0 = static_cast<int32_t>(std::floor(x)), y0 = static_cast<int32_t>(std::floor(y));
    const int32_t x1 = std::min(x0 + 1, b.bmWidth - 1), y1 = std::min(y0 + 1, b.bmHeight - 1);
    const double ax = x - x0, ay = y - y0;
    const uint8_t* pixels = Pixels(image);
    const auto at = [&](int32_t px, int32_t py, int32_t c) {
        return static_cast<double>(
            pixels[static_cast<size_t>(py) * b.bmWidthBytes + static_cast<size_t>(px) * bpp + c]);
    };
    for (int32_t c = 0; c < bpp; ++c) {
        const double top = at(x0, y0, c) * (1.0 - ax) + at(x1, y0, c) * ax;
        const double bottom = at(x0, y1, c) * (1.0 - ax) + at(x1, y1, c) * ax;
        bytes[c] = top * (1.0 - ay) + bottom * ay;
    }
}

int32_t OracleSmoothMorphing::Morph(CBitmap& out, int32_t k, CDocument* pDoc)
{
    if (pDoc == nullptr || typeid(*pDoc) != typeid(CTrevalinDoc) || !CanMakeFrame(k)) return 0;
    const CFeatureSet& lines = *static_cast<CTrevalinDoc*>(pDoc)->GetFeatureSet();
    const BITMAP& b = m_image[0];
    const size_t bytes = FrameBytes();
    std::vector<uint8_t> frame(bytes, 0);
    const double t = ShapeFraction(k);
    const double mix = ColourFraction(k);
    const bool warpOnly = GetOptions().warpOnly;
    const double alpha[2] = {warpOnly ? 1.0 : 1.0 - mix, warpOnly ? 0.0 : mix};
    const int32_t bpp = b.bmBitsPixel / 8;
    double probe[2], unused[2];
    const bool any = Positions(lines, t, 0.0, 0.0, probe, unused);
    if (any && k == 0) {
        std::memcpy(frame.data(), Pixels(0), bytes);
    } else if (any && !warpOnly && k == static_cast<int32_t>(m_fSteps)) {
        std::memcpy(frame.data(), Pixels(1), bytes);
    } else if (any) {
        const int32_t n = m_samples;
        for (int32_t y = 0; y < b.bmHeight; ++y) {
            for (int32_t x = 0; x < b.bmWidth; ++x) {
                double sum[4] = {};
                for (int32_t i = 0; i < n * n; ++i) {
                    const double sx = x + (i % n + 0.5) / n - 0.5, sy = y + (i / n + 0.5) / n - 0.5;
                    double at[2][2];
                    Positions(lines, t, sx, sy, at[0], at[1]);
                    for (int32_t image = 0; image < 2; ++image) {
                        double value[4];
                        Bilinear(image, at[image][0], at[image][1], value);
                        for (int32_t c = 0; c < bpp; ++c)
                            sum[c] += alpha[image] * value[c] / (n * n);
                    }
                }
                for (int32_t c = 0; c < bpp; ++c) {
                    frame[static_cast<size_t>(y) * b.bmWidthBytes + static_cast<size_t>(x) * bpp + c] =
                        static_cast<uint8_t>(std::min(255.0, std::floor(sum[c] + 0.5)));
                }
            }
        }
    }
    out.SetBitmapBits(static_cast<long>(bytes), frame.data());
    return 1;
}
