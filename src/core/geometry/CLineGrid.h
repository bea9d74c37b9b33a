#pragma once

#include "CPointSets.h"

#include <cstdint>
#include <vector>

// Where the lines of one image lie: a uniform grid over the box of all their
// points, each cell listing the lines whose bounding box touches it. A
// question about an area gets every line whose box reaches into it (and
// some more near it), in line order, so that a test or a drawing over the
// candidates alone gives what it gives over all lines, for anything that
// happens only within a line's box grown by the area's margin. Lines that
// would span very many cells are kept apart and always given. The grid
// holds indices only: it describes the lines as they were at Build.
class CLineGrid {
public:
    // Indexes the lines in use of `lines`; a line without points is never a
    // candidate.
    void Build(const CPointSets<int>& lines);
    void Clear();
    int32_t LineCount() const { return m_lineCount; }
    // Line `line` (one of those indexed) changed in place: from now on it is
    // a candidate of every question, wherever it went. False when so many
    // lines have changed that the grid had better be built again.
    bool Touch(int32_t line);

    // The lines whose box may meet [x0, x1] x [y0, y1] (picture
    // coordinates, ends included), ascending, each once.
    void Candidates(double x0, double y0, double x1, double y1, std::vector<int32_t>& out) const;

    // Most cells a line may span before it is kept apart.
    static constexpr int64_t kMaxCellsPerLine = 64;
    // Most lines Touch takes before it asks for a new grid.
    static constexpr size_t kMaxTouched = 64;

private:
    int64_t CellX(double x) const;
    int64_t CellY(double y) const;

    int32_t m_lineCount = 0;
    double m_left = 0.0;
    double m_top = 0.0;
    double m_cellSize = 1.0;
    int64_t m_columns = 0;
    int64_t m_rows = 0;
    std::vector<uint32_t> m_cellStart; // cell c's lines: m_cellLines[m_cellStart[c] .. m_cellStart[c + 1])
    std::vector<int32_t> m_cellLines;
    std::vector<int32_t> m_wide;          // lines spanning too many cells
    std::vector<int32_t> m_touched;       // lines changed since Build
    mutable std::vector<uint32_t> m_seen; // per line: the query that last gave it
    mutable uint32_t m_query = 0;
};
