#include "CFaceLinePairs.h"

#include "geometry/CFeatureSet.h"

#include <algorithm>
#include <cmath>

namespace {

CFeaturePoint At(double x, double y, int32_t width, int32_t height)
{
    CFeaturePoint p;
    p.x = std::clamp(static_cast<int32_t>(std::lround(x)), 0, std::max(width - 1, 0));
    p.y = std::clamp(static_cast<int32_t>(std::lround(y)), 0, std::max(height - 1, 0));
    p.w = 1;
    return p;
}

} // namespace

std::vector<CFaceLinePairs::Line> CFaceLinePairs::Lines(const CFaceLandmarks& face, int32_t width, int32_t height)
{
    std::vector<Line> lines;
    lines.reserve(kCount);
    for (const Joint& joint : kFaceLines) {
        const CFaceLandmarks::Point& a = face.points[static_cast<size_t>(joint.from)];
        const CFaceLandmarks::Point& b = face.points[static_cast<size_t>(joint.to)];
        lines.push_back({At(a.x, a.y, width, height), At(b.x, b.y, width, height)});
    }
    const double right = width - 1;
    const double bottom = height - 1;
    const CFeaturePoint corners[4] = {At(0, 0, width, height), At(right, 0, width, height),
                                      At(right, bottom, width, height), At(0, bottom, width, height)};
    for (int i = 0; i < kBorderLines; ++i)
        lines.push_back({corners[i], corners[(i + 1) % 4]});
    return lines;
}

int32_t CFaceLinePairs::Append(CFeatureSet& set, const std::vector<Line>& source, const std::vector<Line>& target)
{
    const int32_t first = set.m_sets[0].m_nCount;
    const std::vector<Line>* lines[2] = {&source, &target};
    for (int image : {0, 1}) {
        CPointSets<int>& sets = set.m_sets[image];
        for (const Line& line : *lines[image]) {
            CPointSet<int>& added = sets.InsertAt(sets.m_nCount);
            for (const CFeaturePoint& p : line)
                added.AddPoint(p.x, p.y, 0, 1);
        }
    }
    return first;
}
