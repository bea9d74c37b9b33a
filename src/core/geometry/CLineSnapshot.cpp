#include "CLineSnapshot.h"

#include <algorithm>

CLineSnapshot CLineSnapshot::Take(const CPointSet<int>& line)
{
    CLineSnapshot snapshot;
    snapshot.points.reserve(static_cast<size_t>(std::max(line.m_nCount, 0)));
    for (int32_t j = 0; j < line.m_nCount; ++j)
        snapshot.points.push_back(line.Point(j));
    return snapshot;
}

void CLineSnapshot::ApplyTo(CPointSet<int>& line) const
{
    line.m_nCount = 0;
    for (const CFeaturePoint& p : points) {
        line.AddPoint(p.x, p.y, p.z, p.w);
        line.Point(line.m_nCount - 1).label = p.label;
    }
}

std::vector<CLineSnapshot> CLineSnapshot::TakeAll(const CPointSets<int>& lines)
{
    std::vector<CLineSnapshot> all;
    for (int32_t i = 0; i < lines.m_nCount; ++i)
        all.push_back(Take(lines.Line(i)));
    return all;
}

void CLineSnapshot::ApplyAll(const std::vector<CLineSnapshot>& snapshots, CPointSets<int>& lines)
{
    const size_t n = std::min(snapshots.size(), static_cast<size_t>(std::max(lines.m_nCount, 0)));
    for (size_t i = 0; i < n; ++i)
        snapshots[i].ApplyTo(lines.Line(static_cast<int32_t>(i)));
}
