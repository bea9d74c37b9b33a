#include "CFeatureSet.h"

#include "CLineGrid.h"

#include <algorithm>
#include <cmath>

namespace {

bool HasMarks(const CPointSet<int>& line)
{
    return line.m_nState != STATE_NONE || line.m_nSelPoint != -1 || line.m_nSelSegment != -1;
}

// CPointSet::HitTest finds a point within 5 of the pointer or a segment
// whose box holds it: nothing farther than this from a line's box.
constexpr double kHitReach = 5.0;
} // namespace

const std::vector<int32_t>* CFeatureSet::Near(int32_t image, double u, double v, double reach,
                                              const CLineGrid* index) const
{
    if (index == nullptr || index->LineCount() != m_sets[image].m_nCount) return nullptr;
    // A margin of a pixel beyond the reach keeps rounding on the safe side.
    const double r = reach + 1.0;
    index->Candidates(u - r, v - r, u + r, v + r, m_near);
    return &m_near;
}

void CFeatureSet::CopyLinesFrom(const CFeatureSet& from)
{
    for (int s = 0; s < 2; ++s) {
        m_sets[s].RemoveAll();
        for (int32_t i = 0; i < from.m_sets[s].m_nCount; ++i) {
            const CPointSet<int>& line = from.m_sets[s].Line(i);
            CPointSet<int>& copy = m_sets[s].Line(m_sets[s].Add());
            for (int32_t j = 0; j < line.m_nCount; ++j) {
                const CFeaturePoint& point = line.Point(j);
                copy.AddPoint(point.x, point.y, point.z, point.w);
            }
        }
    }
}

int32_t CFeatureSet::HitTest(const CFeaturePoint& pt, int32_t image, const CLineGrid* index)
{
    if (image < 0 || image > 1) {
        return -1;
    }
    CPointSets<int>& lines = m_sets[image];
    const std::vector<int32_t>* near = Near(image, pt.x, pt.y, kHitReach, index);
    if (near == nullptr) {
        m_marksKnown[image] = false;
        for (int32_t i = 0; i < lines.m_nCount; ++i) {
            if (lines.Line(i).HitTest(pt) == 1) {
                return i;
            }
        }
        return -1;
    }
    // The lines that cannot be hit are only marked as missed, up to the
    // first line hit, as the plain scan marks them.
    int32_t hit = -1;
    for (const int32_t i : *near) {
        if (lines.Line(i).HitTest(pt) == 1) {
            hit = i;
            break;
        }
    }
    MissOthers(image, hit, hit);
    return hit;
}

int32_t CFeatureSet::PickAt(double u, double v, int32_t image, double reach, const CLineGrid* index)
{
    if (image < 0 || image > 1) {
        return -1;
    }
    CPointSets<int>& lines = m_sets[image];
    std::vector<int32_t> all;
    const std::vector<int32_t>* near = Near(image, u, v, reach, index);
    if (near == nullptr) {
        m_marksKnown[image] = false;
        all.resize(static_cast<size_t>(lines.m_nCount));
        for (int32_t i = 0; i < lines.m_nCount; ++i)
            all[static_cast<size_t>(i)] = i;
        near = &all;
    }
    int32_t found = -1;
    int32_t element = -1;
    bool point = true;
    // A selected point under the pointer.
    for (const int32_t i : *near) {
        const CPointSet<int>& line = lines.Line(i);
        if (line.m_nState == STATE_POINT_SELECTED && line.IsNearPoint(line.m_nSelPoint, u, v, reach)) {
            found = i;
            element = line.m_nSelPoint;
            break;
        }
    }
    // The nearest point; the lower line on a tie.
    if (found < 0) {
        double nearest = 0.0;
        for (const int32_t i : *near) {
            double d = 0.0;
            const int32_t j = lines.Line(i).NearestPoint(u, v, reach, &d);
            if (j >= 0 && (found < 0 || d < nearest)) {
                found = i;
                element = j;
                nearest = d;
            }
        }
    }
    // A selected segment, then the nearest segment; the lower line on a tie.
    for (const int32_t i : *near) {
        if (found >= 0) break;
        const CPointSet<int>& line = lines.Line(i);
        const double d = line.SegmentDistance(line.m_nSelSegment, u, v);
        if (line.m_nState == STATE_SEGMENT_SELECTED && d >= 0.0 && d <= reach) {
            found = i;
            element = line.m_nSelSegment;
            point = false;
        }
    }
    if (found < 0) {
        double nearest = 0.0;
        for (const int32_t i : *near) {
            double d = 0.0;
            const int32_t j = lines.Line(i).NearestSegment(u, v, reach, &d);
            if (j >= 0 && (found < 0 || d < nearest)) {
                found = i;
                element = j;
                nearest = d;
                point = false;
            }
        }
    }
    if (found >= 0) {
        CPointSet<int>& line = lines.Line(found);
        if (point) {
            line.MarkPoint(element);
        } else {
            line.MarkSegment(element);
        }
    }
    if (near == &all) {
        for (int32_t i = 0; i < lines.m_nCount; ++i) {
            if (i != found) lines.Line(i).MarkMiss();
        }
    } else {
        MissOthers(image, found, -1);
    }
    return found;
}

const std::vector<int32_t>* CFeatureSet::MarkedLines(int32_t image) const
{
    if (image < 0 || image > 1 || !m_marksKnown[image]) return nullptr;
    const CPointSets<int>& lines = m_sets[image];
    m_markedIndices.clear();
    for (const Marked& m : m_marked[image]) {
        // A line that moved (a line taken out or put in before it) or went.
        if (m.index >= lines.m_nCount || &lines.Line(m.index) != m.line) return nullptr;
        m_markedIndices.push_back(m.index);
    }
    return &m_markedIndices;
}

void CFeatureSet::MissOthers(int32_t image, int32_t found, int32_t below)
{
    CPointSets<int>& lines = m_sets[image];
    const int32_t end = below < 0 ? lines.m_nCount : below;
    std::vector<Marked>& marked = m_marked[image];
    if (MarkedLines(image) != nullptr) {
        for (const Marked& m : marked) {
            if (m.index < end && m.index != found) lines.Line(m.index).MarkMiss();
        }
        std::erase_if(marked, [&lines](const Marked& m) { return !HasMarks(lines.Line(m.index)); });
        if (found >= 0 && HasMarks(lines.Line(found))) {
            const auto at = std::lower_bound(marked.begin(), marked.end(), found,
                                             [](const Marked& m, int32_t i) { return m.index < i; });
            if (at == marked.end() || at->index != found) marked.insert(at, Marked{found, &lines.Line(found)});
        }
        return;
    }
    // Not known: a pass over every line, which finds them.
    marked.clear();
    for (int32_t i = 0; i < lines.m_nCount; ++i) {
        CPointSet<int>& line = lines.Line(i);
        if (i < end && i != found) line.MarkMiss();
        if (HasMarks(line)) marked.push_back(Marked{i, &line});
    }
    m_marksKnown[image] = true;
}

CFeatureSet::PointRef CFeatureSet::NearestPoint(int32_t image, double u, double v, double reach, int32_t skipLine,
                                                const CLineGrid* index) const
{
    PointRef best;
    if (image < 0 || image > 1) return best;
    const CPointSets<int>& lines = m_sets[image];
    const std::vector<int32_t>* near = Near(image, u, v, reach, index);
    double nearest = 0.0;
    auto test = [&](int32_t i) {
        const CPointSet<int>& line = lines.Line(i);
        for (int32_t j = 0; i != skipLine && j < line.m_nCount; ++j) {
            const double dx = u - line.Point(j).x;
            const double dy = v - line.Point(j).y;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d <= reach && (!best.IsValid() || d < nearest)) {
                best = PointRef{i, j};
                nearest = d;
            }
        }
    };
    if (near == nullptr) {
        for (int32_t i = 0; i < lines.m_nCount; ++i)
            test(i);
    } else {
        for (const int32_t i : *near)
            test(i);
    }
    return best;
}

void CFeatureSet::SelectPair(int32_t line)
{
    if (line < 0 || line >= m_sets[0].m_nCount || line >= m_sets[1].m_nCount) return;
    m_marksKnown[0] = m_marksKnown[1] = false;
    for (CPointSets<int>& lines : m_sets) {
        for (int32_t i = 0; i < lines.m_nCount; ++i) {
            CPointSet<int>& each = lines.Line(i);
            const bool chosen = i == line && each.m_nCount >= 2;
            each.m_nState = chosen ? STATE_SEGMENT_SELECTED : STATE_NONE;
            each.m_nSelSegment = chosen ? 0 : -1;
            each.m_nSelPoint = -1;
        }
    }
}
