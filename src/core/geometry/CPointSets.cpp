#include "CPointSets.h"

template <typename T> CPointSets<T>::CPointSets()
{
    m_pBlocks.push_back(std::make_unique<CPointSet<T>[]>(kGrowth));
}

template <typename T> void CPointSets<T>::Reserve(int32_t lines)
{
    if (lines > 0) {
        m_pBlocks.reserve(static_cast<size_t>(lines / kGrowth + 1));
    }
}

template <typename T> int32_t CPointSets<T>::Add()
{
    if (m_nSize <= m_nCount) {
        m_pBlocks.push_back(std::make_unique<CPointSet<T>[]>(kGrowth));
        m_nSize += kGrowth;
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

template class CPointSets<int>;
