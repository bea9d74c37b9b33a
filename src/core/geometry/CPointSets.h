#pragma once

#include "CObject.h"
#include "CPointSet.h"

#include <cstdint>
#include <memory>
#include <vector>

// All feature lines of one image. Line storage grows ten slots at a time
// (one block of ten line objects per step: no allocation per line); every
// slot always holds a constructed line, so emptying and refilling the
// collection reuses the same line objects (and their point storage). A line
// object never moves; removing and inserting reorder the slots' pointers.
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
    // Takes line i out of use: the lines after it move down one slot and
    // are renumbered; the line taken out is emptied, deselected and kept as
    // the first spare slot. Returns false (and changes nothing) for an index
    // not in use.
    bool RemoveAt(int32_t i);
    // Puts a line into slot i (0 <= i <= m_nCount), the lines from i on
    // moving up one slot and renumbered. The line is the first spare one
    // (the collection grows by ten slots when none is left, as Add does),
    // emptied, deselected and numbered i. Returns it.
    CPointSet<T>& InsertAt(int32_t i);
    // Makes room for `lines` slots in the slot table (not the lines
    // themselves), so that growing to them moves the table at most once.
    void Reserve(int32_t lines);
    // Exchanges every line (and all their storage) with `other`.
    void Swap(CPointSets& other) noexcept;

    static constexpr int32_t kGrowth = 10;

    CPointSet<T>& Line(int32_t i) { return *m_pSets[static_cast<size_t>(i)]; }
    const CPointSet<T>& Line(int32_t i) const { return *m_pSets[static_cast<size_t>(i)]; }

private:
    // Gives line i the index i and its points the labels that index implies.
    void Renumber(int32_t i);
    // Ten more slots, each holding a new line.
    void Grow();

    std::vector<std::unique_ptr<CPointSet<T>[]>> m_pBlocks; // the line objects, ten to a block

public:
    int32_t m_nSize = 10;
    int32_t m_nCount = 0;
    std::vector<CPointSet<T>*> m_pSets; // slot i: line i (owned by a block)
};

extern template class CPointSets<int>;
