#pragma once

#include "CObject.h"
#include "CPointSet.h"

#include <cstdint>
#include <memory>
#include <vector>

// All feature lines of one image. Line storage grows ten slots at a time
// (one block of ten lines per step, no allocation per line); every slot
// always holds a constructed line, so emptying and refilling the collection
// reuses the same line objects (and their point storage). Lines never move.
template <typename T> class CPointSets : public CObject {
public:
    CPointSets();
    ~CPointSets() override = default;

    CPointSets(const CPointSets&) = delete;
    CPointSets& operator=(const CPointSets&) = delete;

    // Takes the next line slot, stamps it with its index and returns that
    // index. The line keeps whatever points it held: callers use Add only on
    // emptied collections.
    int32_t Add();
    // Empties every line in use and the collection itself; frees nothing.
    void RemoveAll();

    // Makes room for `lines` slots in the block table (not the lines
    // themselves), so that growing to them moves the table at most once.
    void Reserve(int32_t lines);

    static constexpr int32_t kGrowth = 10;

    CPointSet<T>& Line(int32_t i) { return m_pBlocks[static_cast<size_t>(i / kGrowth)][i % kGrowth]; }
    const CPointSet<T>& Line(int32_t i) const { return m_pBlocks[static_cast<size_t>(i / kGrowth)][i % kGrowth]; }

    int32_t m_nSize = 10;
    int32_t m_nCount = 0;

private:
    std::vector<std::unique_ptr<CPointSet<T>[]>> m_pBlocks; // m_nSize / kGrowth blocks of kGrowth lines
};

extern template class CPointSets<int>;
