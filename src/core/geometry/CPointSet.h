#pragma once

#include "CFeaturePoint.h"
#include "CObject.h"
#include "RECT.h"

#include <cstdint>
#include <memory>

// Selection states of a feature line.
enum : int32_t {
    STATE_NONE = 0,
    STATE_POINT_HOVER = 1,
    STATE_SEGMENT_HOVER = 2,
    STATE_POINT_SELECTED = 4,
    STATE_SEGMENT_SELECTED = 5,
};

// One feature line: an ordered run of points (segment i joins points i and
// i + 1) with its own hover/selection state. Point slots grow two at a time
// (m_nSize) and are never freed while the line lives; slots past m_nCount
// keep whatever they held before and are reused by AddPoint.
//
// Storage is compact, since a project may hold hundreds of thousands of
// lines: the first two slots (all an editor's line has) live inside the
// object, the others in one array that grows geometrically behind the
// two-slot steps. A point's reference stays valid until the line grows.
template <typename T> class CPointSet : public CObject {
public:
    CPointSet();
    ~CPointSet() override = default;

    CPointSet(const CPointSet&) = delete;
    CPointSet& operator=(const CPointSet&) = delete;

    void AddPoint(T x, T y, T z, T w);
    void GetBoundingBox(CFeaturePoint& min, CFeaturePoint& max) const;
    RECT GetBoundingRect() const;
    int32_t HitTest(CFeaturePoint pt);
    void MoveSelection(CFeaturePoint delta);
    // Makes room for `points` points without growing m_nSize, so that
    // appending them allocates at most once.
    void Reserve(int32_t points);

    // Measures by true distance, for callers that rank what lies under the
    // pointer across lines themselves (HitTest keeps its own tests). (u, v)
    // is a position in real picture coordinates: a point's pixel centre is
    // its integer position.
    //
    // The point nearest (u, v) no farther than `reach`, the lower index on a
    // tie, or -1; `distance` receives how far it is.
    int32_t NearestPoint(double u, double v, double reach, double* distance = nullptr) const;
    // How far (u, v) is from segment i (from its nearest point, ends
    // included), or -1 for an index that is not in use.
    double SegmentDistance(int32_t i, double u, double v) const;
    // The segment nearest (u, v) no farther than `reach`, the lower index on
    // a tie, or -1; `distance` receives how far it is.
    int32_t NearestSegment(double u, double v, double reach, double* distance = nullptr) const;
    // Whether point i lies within `reach` of (u, v). False for an index
    // that is not in use.
    bool IsNearPoint(int32_t i, double u, double v, double reach) const;
    // The selection changes HitTest makes when it finds point i, segment i,
    // or nothing.
    void MarkPoint(int32_t i);
    void MarkSegment(int32_t i);
    void MarkMiss();

    // Point i of the line (0 <= i < m_nSize).
    CFeaturePoint& Point(int32_t i) { return i < 2 ? m_first[i] : m_pMore[static_cast<size_t>(i - 2)]; }
    const CFeaturePoint& Point(int32_t i) const { return i < 2 ? m_first[i] : m_pMore[static_cast<size_t>(i - 2)]; }

    int32_t m_nState = STATE_NONE;
    int32_t m_nSize = 2;
    int32_t m_nIndex = 0;
    int32_t m_nCount = 0;
    int32_t m_nSelPoint = -1;
    int32_t m_nSelSegment = -1;

private:
    void GrowMore(int32_t capacity);

    int32_t m_nMoreCapacity = 0; // slots in m_pMore
    CFeaturePoint m_first[2];
    std::unique_ptr<CFeaturePoint[]> m_pMore;
};

extern template class CPointSet<int>;
