#include "CLinePairs.h"

#include "CFeatureSet.h"

#include <algorithm>

namespace {

CLinePairs::Ends EndsOf(const CPointSet<int>& line)
{
    CLinePairs::Ends ends;
    if (line.m_nCount >= 1) {
        ends.x0 = ends.x1 = line.Point(0).x;
        ends.y0 = ends.y1 = line.Point(0).y;
    }
    if (line.m_nCount >= 2) {
        ends.x1 = line.Point(1).x;
        ends.y1 = line.Point(1).y;
    }
    return ends;
}

// Rounding down, so that a pixel of a half picture covers the two pixels of
// the full one it was made from.
int32_t Half(int32_t v)
{
    return v >= 0 ? v / 2 : -((1 - v) / 2);
}

} // namespace

CLinePairs::CLinePairs(const CFeatureSet& lines)
{
    const CPointSets<int>& from = lines.m_sets[0];
    const CPointSets<int>& to = lines.m_sets[1];
    m_pairs.resize(static_cast<size_t>(std::max(std::min(from.m_nCount, to.m_nCount), 0)));
    for (int32_t i = 0; i < Count(); ++i)
        m_pairs[static_cast<size_t>(i)] = Pair{{EndsOf(from.Line(i)), EndsOf(to.Line(i))}};
}

CLinePairs CLinePairs::Halved() const
{
    CLinePairs half;
    half.m_pairs.reserve(m_pairs.size());
    for (const Pair& pair : m_pairs) {
        Pair h;
        for (int s = 0; s < 2; ++s)
            h.side[s] =
                Ends{Half(pair.side[s].x0), Half(pair.side[s].y0), Half(pair.side[s].x1), Half(pair.side[s].y1)};
        half.m_pairs.push_back(h);
    }
    return half;
}
