#include "CPointSets.h"

namespace {
constexpr int32_t kGrowth = 10;
}

template <typename T>
CPointSets<T>::CPointSets()
{
    m_pSets.reserve(kGrowth);
    for (int32_t i = 0; i < kGrowth; ++i) {
        m_pSets.push_back(std::make_unique<CPointSet<T>>());
    }
}

template <typename T>
int32_t CPointSets<T>::Add()
{
    if (m_nSize <= m_nCount) {
        for (int32_t i = 0; i < kGrowth; ++i) {
            m_pSets.push_back(std::make_unique<CPointSet<T>>());
        }
        m_nSize += kGrowth;
    }
    Line(m_nCount).m_nIndex = m_nCount;
    ++m_nCount;
    return m_nCount - 1;
}

template <typename T>
void CPointSets<T>::RemoveAll()
{
    for (int32_t i = 0; i < m_nCount; ++i) {
        Line(i).m_nCount = 0;
    }
    m_nCount = 0;
}

template class CPointSets<int>;
