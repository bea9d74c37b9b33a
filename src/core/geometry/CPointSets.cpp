#include "CPointSets.h"

#include <utility>

#include <algorithm>

template <typename T> CPointSets<T>::CPointSets()
{
    m_nSize = 0;
    Grow();
}

template <typename T> void CPointSets<T>::Grow()
{
    m_pBlocks.push_back(std::make_unique<CPointSet<T>[]>(kGrowth));
    for (int32_t i = 0; i < kGrowth; ++i) {
        m_pSets.push_back(&m_pBlocks.back()[i]);
    }
    m_nSize += kGrowth;
}

template <typename T> void CPointSets<T>::Reserve(int32_t lines)
{
    if (lines > m_nSize) {
        m_pSets.reserve(static_cast<size_t>(lines / kGrowth + 1) * kGrowth);
        m_pBlocks.reserve(static_cast<size_t>(lines / kGrowth + 1));
    }
}

template <typename T> int32_t CPointSets<T>::Add()
{
    if (m_nSize <= m_nCount) {
        Grow();
    }
    Line(m_nCount).m_nIndex = m_nCount;
    ++m_nCount;
    return m_nCount - 1;
}

template <typename T> void CPointSets<T>::RemoveAll()
{
    for (int32_t i = 0; i < m_nCount; ++i) {
        Line(i).m_nCount = 0;
    }
    m_nCount = 0;
}

template <typename T> bool CPointSets<T>::RemoveAt(int32_t i)
{
    if (i < 0 || i >= m_nCount) return false;
    CPointSet<T>& gone = Line(i);
    gone.m_nCount = 0;
    gone.m_nState = STATE_NONE;
    gone.m_nSelPoint = -1;
    gone.m_nSelSegment = -1;
    // The line object moves behind the last line in use: nothing is freed.
    const auto first = m_pSets.begin() + i;
    std::rotate(first, first + 1, m_pSets.begin() + m_nCount);
    --m_nCount;
    for (int32_t j = i; j < m_nCount; ++j)
        Renumber(j);
    return true;
}

template <typename T> CPointSet<T>& CPointSets<T>::InsertAt(int32_t i)
{
    if (i < 0) i = 0;
    if (i > m_nCount) i = m_nCount;
    if (m_nSize <= m_nCount) {
        Grow();
    }
    // The first spare line moves in front of line i.
    const auto first = m_pSets.begin() + i;
    std::rotate(first, m_pSets.begin() + m_nCount, m_pSets.begin() + m_nCount + 1);
    ++m_nCount;
    CPointSet<T>& line = Line(i);
    line.m_nCount = 0;
    line.m_nState = STATE_NONE;
    line.m_nSelPoint = -1;
    line.m_nSelSegment = -1;
    line.m_nIndex = i;
    for (int32_t j = i + 1; j < m_nCount; ++j)
        Renumber(j);
    return line;
}

template <typename T> void CPointSets<T>::Renumber(int32_t i)
{
    // A label is the point's position plus 2 x the line's index, or 10 x the
    // index for a point that was appended while the line's storage was full.
    // Which one a point has shows in its label (a line that moves is never
    // line 0 before the move, where both give the same); it keeps that kind.
    CPointSet<T>& line = Line(i);
    const uint32_t oldIndex = static_cast<uint32_t>(line.m_nIndex);
    const uint32_t newIndex = static_cast<uint32_t>(i);
    for (int32_t j = 0; j < line.m_nCount; ++j) {
        CFeaturePoint& p = line.Point(j);
        const uint32_t position = static_cast<uint32_t>(j);
        const bool grown = oldIndex != 0 && static_cast<uint32_t>(p.label) - position == 10u * oldIndex;
        p.label = static_cast<int32_t>(position + (grown ? 10u : 2u) * newIndex);
    }
    line.m_nIndex = i;
}

template <typename T> void CPointSets<T>::Swap(CPointSets& other) noexcept
{
    m_pBlocks.swap(other.m_pBlocks);
    m_pSets.swap(other.m_pSets);
    std::swap(m_nSize, other.m_nSize);
    std::swap(m_nCount, other.m_nCount);
}

template class CPointSets<int>;
