#include "CLineGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct Box {
    double left;
    double top;
    double right;
    double bottom;
};

// A line's box; false for a line without points.
bool BoxOf(const CPointSet<int>& line, Box& box)
{
    if (line.m_nCount <= 0) return false;
    const CFeaturePoint& first = line.Point(0);
    box = Box{double(first.x), double(first.y), double(first.x), double(first.y)};
    for (int32_t j = 1; j < line.m_nCount; ++j) {
        const CFeaturePoint& p = line.Point(j);
        box.left = std::min(box.left, double(p.x));
        box.right = std::max(box.right, double(p.x));
        box.top = std::min(box.top, double(p.y));
        box.bottom = std::max(box.bottom, double(p.y));
    }
    return true;
}

} // namespace

void CLineGrid::Clear()
{
    *this = CLineGrid();
}

int64_t CLineGrid::CellX(double x) const
{
    return std::clamp<int64_t>(static_cast<int64_t>(std::floor((x - m_left) / m_cellSize)), 0, m_columns - 1);
}

int64_t CLineGrid::CellY(double y) const
{
    return std::clamp<int64_t>(static_cast<int64_t>(std::floor((y - m_top) / m_cellSize)), 0, m_rows - 1);
}

void CLineGrid::Build(const CPointSets<int>& lines)
{
    Clear();
    m_lineCount = lines.m_nCount;
    m_seen.assign(static_cast<size_t>(m_lineCount), 0);
    std::vector<Box> boxes(static_cast<size_t>(m_lineCount));
    std::vector<bool> used(static_cast<size_t>(m_lineCount));
    Box all{0, 0, -1, -1};
    int32_t usedCount = 0;
    for (int32_t i = 0; i < m_lineCount; ++i) {
        Box& box = boxes[static_cast<size_t>(i)];
        if (!BoxOf(lines.Line(i), box)) continue;
        used[static_cast<size_t>(i)] = true;
        all = usedCount++ == 0 ? box
                               : Box{std::min(all.left, box.left), std::min(all.top, box.top),
                                     std::max(all.right, box.right), std::max(all.bottom, box.bottom)};
    }
    if (usedCount == 0) return;
    // About two lines a cell, at most 1024 cells a side, and cells no
    // smaller than the middle line's box: where many lines crowd a small
    // picture, smaller cells would put most lines into many cells each, or
    // keep them apart as wide lines that every question gets.
    const double width = all.right - all.left + 1.0;
    const double height = all.bottom - all.top + 1.0;
    const double cells = std::max(1.0, usedCount / 2.0);
    std::vector<float> extents;
    extents.reserve(static_cast<size_t>(usedCount));
    for (int32_t i = 0; i < m_lineCount; ++i) {
        const Box& box = boxes[static_cast<size_t>(i)];
        if (used[static_cast<size_t>(i)])
            extents.push_back(static_cast<float>(std::max(box.right - box.left, box.bottom - box.top)));
    }
    const auto middle = extents.begin() + static_cast<std::ptrdiff_t>(extents.size() / 2);
    std::nth_element(extents.begin(), middle, extents.end());
    const double typical = std::min(static_cast<double>(*middle), std::max(width, height));
    std::vector<float>().swap(extents);
    m_cellSize = std::max({1.0, std::sqrt(width * height / cells), typical, width / 1024.0, height / 1024.0});
    m_left = all.left;
    m_top = all.top;
    m_columns = std::max<int64_t>(1, static_cast<int64_t>(std::ceil(width / m_cellSize)));
    m_rows = std::max<int64_t>(1, static_cast<int64_t>(std::ceil(height / m_cellSize)));
    m_cellStart.assign(static_cast<size_t>(m_columns * m_rows + 1), 0);
    // Two passes: count each cell's lines, then place them (in line order).
    for (int pass = 0; pass < 2; ++pass) {
        for (int32_t i = 0; i < m_lineCount; ++i) {
            if (!used[static_cast<size_t>(i)]) continue;
            const Box& box = boxes[static_cast<size_t>(i)];
            const int64_t cx0 = CellX(box.left);
            const int64_t cx1 = CellX(box.right);
            const int64_t cy0 = CellY(box.top);
            const int64_t cy1 = CellY(box.bottom);
            if ((cx1 - cx0 + 1) * (cy1 - cy0 + 1) > kMaxCellsPerLine) {
                if (pass == 0) m_wide.push_back(i);
                continue;
            }
            for (int64_t cy = cy0; cy <= cy1; ++cy) {
                for (int64_t cx = cx0; cx <= cx1; ++cx) {
                    const size_t cell = static_cast<size_t>(cy * m_columns + cx);
                    if (pass == 0)
                        ++m_cellStart[cell + 1];
                    else
                        m_cellLines[m_cellStart[cell]++] = i;
                }
            }
        }
        if (pass == 0) {
            for (size_t c = 1; c < m_cellStart.size(); ++c)
                m_cellStart[c] += m_cellStart[c - 1];
            m_cellLines.resize(m_cellStart.back());
        }
    }
    // Placing advanced every start to the next cell's: shift them back.
    for (size_t c = m_cellStart.size() - 1; c > 0; --c)
        m_cellStart[c] = m_cellStart[c - 1];
    m_cellStart[0] = 0;
}

bool CLineGrid::Touch(int32_t line)
{
    if (line < 0 || line >= m_lineCount) return false;
    if (std::find(m_touched.begin(), m_touched.end(), line) == m_touched.end()) m_touched.push_back(line);
    return m_touched.size() <= kMaxTouched;
}

void CLineGrid::Candidates(double x0, double y0, double x1, double y1, std::vector<int32_t>& out) const
{
    out.clear();
    if (m_columns == 0 && m_touched.empty()) return;
    if (++m_query == 0) {
        std::fill(m_seen.begin(), m_seen.end(), 0);
        m_query = 1;
    }
    out.clear();
    for (const std::vector<int32_t>* always : {&m_wide, &m_touched}) {
        for (const int32_t line : *always) {
            if (m_seen[static_cast<size_t>(line)] == m_query) continue;
            m_seen[static_cast<size_t>(line)] = m_query;
            out.push_back(line);
        }
    }
    const double right = m_left + static_cast<double>(m_columns) * m_cellSize;
    const double bottom = m_top + static_cast<double>(m_rows) * m_cellSize;
    if (m_columns > 0 && x1 >= m_left && x0 <= right && y1 >= m_top && y0 <= bottom) {
        const int64_t cx0 = CellX(x0);
        const int64_t cx1 = CellX(x1);
        const int64_t cy0 = CellY(y0);
        const int64_t cy1 = CellY(y1);
        for (int64_t cy = cy0; cy <= cy1; ++cy) {
            for (int64_t cx = cx0; cx <= cx1; ++cx) {
                const size_t cell = static_cast<size_t>(cy * m_columns + cx);
                for (uint32_t k = m_cellStart[cell]; k < m_cellStart[cell + 1]; ++k) {
                    const int32_t line = m_cellLines[k];
                    if (m_seen[static_cast<size_t>(line)] == m_query) continue;
                    m_seen[static_cast<size_t>(line)] = m_query;
                    out.push_back(line);
                }
            }
        }
    }
    // Many lines are put in order faster by going over all of them.
    if (out.size() > static_cast<size_t>(m_lineCount) / 16) {
        out.clear();
        for (int32_t line = 0; line < m_lineCount; ++line) {
            if (m_seen[static_cast<size_t>(line)] == m_query) out.push_back(line);
        }
    } else {
        std::sort(out.begin(), out.end());
    }
}
