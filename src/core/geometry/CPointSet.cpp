#include "CPointSet.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPointReach = 5.0;
constexpr double kSegmentSlack = 0.4;

// Coordinates are int32 values or real positions near them: differences of
// two int32 values are exact in double precision, so integer positions give
// exactly what integer arithmetic would.
double Distance(double x, double y, const CFeaturePoint& p)
{
    const double dx = x - static_cast<double>(p.x);
    const double dy = y - static_cast<double>(p.y);
    return std::sqrt(dx * dx + dy * dy);
}

bool Between(double v, double a, double b)
{
    return (a <= v && v <= b) || (b <= v && v <= a);
}

// The segment test: the pointer's fractional positions along x and along y
// must agree to within 0.4 (measured in single precision), inside the
// segment's box. Axis-parallel segments never pass it.
bool OnSegment(double x, double y, const CFeaturePoint& a, const CFeaturePoint& b)
{
    const int64_t spanX = static_cast<int64_t>(b.x) - a.x;
    const int64_t spanY = static_cast<int64_t>(b.y) - a.y;
    if (spanX == 0 || spanY == 0) {
        return false;
    }
    const double rx = (x - static_cast<double>(a.x)) / static_cast<double>(spanX);
    const double ry = (y - static_cast<double>(a.y)) / static_cast<double>(spanY);
    const float gap = static_cast<float>(std::fabs(rx - ry));
    return static_cast<double>(gap) < kSegmentSlack && Between(x, a.x, b.x) && Between(y, a.y, b.y);
}
} // namespace

template <typename T> CPointSet<T>::CPointSet() = default;

template <typename T> void CPointSet<T>::GrowMore(int32_t capacity)
{
    auto more = std::make_unique<CFeaturePoint[]>(static_cast<size_t>(capacity));
    for (int32_t i = 0; i < m_nMoreCapacity; ++i) {
        more[static_cast<size_t>(i)] = m_pMore[static_cast<size_t>(i)];
    }
    m_pMore = std::move(more);
    m_nMoreCapacity = capacity;
}

template <typename T> void CPointSet<T>::Reserve(int32_t points)
{
    if (points > 2 && points - 2 > m_nMoreCapacity) {
        GrowMore(points - 2);
    }
}

template <typename T> void CPointSet<T>::AddPoint(T x, T y, T z, T w)
{
    int32_t labelStride = 2;
    if (m_nSize <= m_nCount) {
        // Two fresh zeroed slots; the array behind them doubles when full.
        const int32_t needed = m_nSize; // slots of m_pMore after growing: m_nSize + 2 - 2
        if (needed > m_nMoreCapacity) {
            GrowMore(needed > 2 * m_nMoreCapacity ? needed : 2 * m_nMoreCapacity);
        }
        Point(m_nSize) = CFeaturePoint{};
        Point(m_nSize + 1) = CFeaturePoint{};
        m_nSize += 2;
        labelStride = 10;
    }
    CFeaturePoint& p = Point(m_nCount);
    p.x = static_cast<int32_t>(x);
    p.y = static_cast<int32_t>(y);
    p.z = static_cast<int32_t>(z);
    p.w = static_cast<int32_t>(w);
    // Labels are display numbers only; wrap-around on absurd indices is
    // harmless, so compute in unsigned arithmetic.
    p.label = static_cast<int32_t>(static_cast<uint32_t>(m_nCount) +
                                   static_cast<uint32_t>(labelStride) * static_cast<uint32_t>(m_nIndex));
    ++m_nCount;
}

template <typename T> void CPointSet<T>::GetBoundingBox(CFeaturePoint& min, CFeaturePoint& max) const
{
    min = CFeaturePoint{10000, 10000, 0, 1, min.label};
    max = CFeaturePoint{-10000, -10000, 0, 1, max.label};
    for (int32_t i = 0; i < m_nCount; ++i) {
        const CFeaturePoint& p = Point(i);
        if (p.x < min.x) min.x = p.x;
        if (p.x > max.x) max.x = p.x;
        if (p.y < min.y) min.y = p.y;
        if (p.y > max.y) max.y = p.y;
    }
}

template <typename T> RECT CPointSet<T>::GetBoundingRect() const
{
    CFeaturePoint min;
    CFeaturePoint max;
    GetBoundingBox(min, max);
    // Saturate so that points near the coordinate limits still give an
    // ordered rectangle instead of wrapping around.
    auto grow = [](int32_t v, int32_t by) {
        const int64_t r = static_cast<int64_t>(v) + by;
        if (r > INT32_MAX) return INT32_MAX;
        if (r < INT32_MIN) return INT32_MIN;
        return static_cast<int32_t>(r);
    };
    return RECT{grow(min.x, -40), grow(min.y, -40), grow(max.x, 40), grow(max.y, 40)};
}

template <typename T> int32_t CPointSet<T>::HitTest(CFeaturePoint pt)
{
    const double x = pt.x;
    const double y = pt.y;
    for (int32_t i = 1; i < m_nCount; ++i) {
        const CFeaturePoint& a = Point(i - 1);
        const CFeaturePoint& b = Point(i);
        if (Distance(x, y, a) <= kPointReach) {
            MarkPoint(i - 1);
            return 1;
        }
        if (Distance(x, y, b) <= kPointReach) {
            MarkPoint(i);
            return 1;
        }
        if (OnSegment(x, y, a, b)) {
            MarkSegment(i - 1);
            return 1;
        }
    }
    MarkMiss();
    return 0;
}

template <typename T> int32_t CPointSet<T>::NearestPoint(double u, double v, double reach, double* distance) const
{
    // A line of one point is never hit, as in HitTest.
    int32_t best = -1;
    double bestDistance = 0.0;
    for (int32_t i = 0; m_nCount >= 2 && i < m_nCount; ++i) {
        const double d = Distance(u, v, Point(i));
        if (d <= reach && (best < 0 || d < bestDistance)) {
            best = i;
            bestDistance = d;
        }
    }
    if (distance != nullptr) *distance = bestDistance;
    return best;
}

template <typename T> double CPointSet<T>::SegmentDistance(int32_t i, double u, double v) const
{
    if (i < 0 || i + 1 >= m_nCount) return -1.0;
    const CFeaturePoint& a = Point(i);
    const CFeaturePoint& b = Point(i + 1);
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    const double length2 = dx * dx + dy * dy;
    // The foot of the perpendicular, held between the ends.
    double t = 0.0;
    if (length2 > 0.0) t = std::clamp(((u - a.x) * dx + (v - a.y) * dy) / length2, 0.0, 1.0);
    const double ex = u - (a.x + t * dx);
    const double ey = v - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

template <typename T> int32_t CPointSet<T>::NearestSegment(double u, double v, double reach, double* distance) const
{
    int32_t best = -1;
    double bestDistance = 0.0;
    for (int32_t i = 0; i + 1 < m_nCount; ++i) {
        const double d = SegmentDistance(i, u, v);
        if (d <= reach && (best < 0 || d < bestDistance)) {
            best = i;
            bestDistance = d;
        }
    }
    if (distance != nullptr) *distance = bestDistance;
    return best;
}

template <typename T> bool CPointSet<T>::IsNearPoint(int32_t i, double u, double v, double reach) const
{
    return m_nCount >= 2 && i >= 0 && i < m_nCount && Distance(u, v, Point(i)) <= reach;
}

template <typename T> void CPointSet<T>::MarkPoint(int32_t i)
{
    if (m_nState == STATE_NONE || m_nSelPoint != i) m_nState = STATE_POINT_HOVER;
    m_nSelPoint = i;
}

template <typename T> void CPointSet<T>::MarkSegment(int32_t i)
{
    if (m_nState == STATE_NONE || m_nSelSegment != i) m_nState = STATE_SEGMENT_HOVER;
    m_nSelSegment = i;
}

template <typename T> void CPointSet<T>::MarkMiss()
{
    if (m_nState < STATE_POINT_SELECTED) {
        m_nSelSegment = -1;
        m_nSelPoint = -1;
        m_nState = STATE_NONE;
    }
}

template <typename T> void CPointSet<T>::MoveSelection(CFeaturePoint delta)
{
    // Index checks guard against a selection left dangling by a reload that
    // shortened the line.
    auto move = [&](int32_t i) {
        if (i < 0 || i >= m_nCount) return;
        CFeaturePoint& p = Point(i);
        p.x = static_cast<int32_t>(static_cast<uint32_t>(p.x) + static_cast<uint32_t>(delta.x));
        p.y = static_cast<int32_t>(static_cast<uint32_t>(p.y) + static_cast<uint32_t>(delta.y));
    };
    if (m_nState == STATE_POINT_SELECTED) {
        move(m_nSelPoint);
    } else if (m_nState == STATE_SEGMENT_SELECTED) {
        move(m_nSelSegment);
        move(m_nSelSegment + 1);
    }
}

template class CPointSet<int>;
