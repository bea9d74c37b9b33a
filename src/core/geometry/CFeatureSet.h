#pragma once

#include "CFeaturePoint.h"
#include "CObject.h"
#include "CPointSets.h"

#include <cstdint>
#include <vector>

class CLineGrid;

// The feature lines of a project: m_sets[0] holds the lines of the source
// image, m_sets[1] those of the target image; line i of both forms pair i.
class CFeatureSet : public CObject {
public:
    CFeatureSet() = default;
    ~CFeatureSet() override = default;

    CFeatureSet(const CFeatureSet&) = delete;
    CFeatureSet& operator=(const CFeatureSet&) = delete;

    // Stores or loads both collections in the project file layout.
    void Serialize(CArchive& ar) override;
    // Replaces the lines of both images with copies of `from`'s points
    // (nothing selected or marked).
    void CopyLinesFrom(const CFeatureSet& from);

    // Index of the first line of image `image` (0 or 1) that the point hits,
    // or -1. Lines after the one hit are not tested. With `index` (a grid
    // built from the image's lines as they are now) only the lines near the
    // point are tested; the result and the marks are the same.
    int32_t HitTest(const CFeaturePoint& pt, int32_t image, const CLineGrid* index = nullptr);

    // What the pointer at (u, v), in real picture coordinates, is over in
    // image `image`, ranked for editing: a selected point within `reach`,
    // then the point nearest the pointer within `reach` on any line, then a
    // selected segment within `reach`, then the segment nearest the pointer
    // within `reach` (the lower line on a tie). Segments are measured by
    // their true distance, whichever way they run. So a point lying on
    // another line's segment can always be caught, and what is selected wins
    // over what lies on top of it. The line found is marked as HitTest marks
    // what it finds (a selected element stays selected); every other line is
    // marked as missed. Returns the line's index or -1. `index` as for
    // HitTest.
    int32_t PickAt(double u, double v, int32_t image, double reach, const CLineGrid* index = nullptr);

    // A point of a line: its line's index and its own, -1 for none.
    struct PointRef {
        int32_t line = -1;
        int32_t point = -1;
        bool IsValid() const { return line >= 0; }
        friend bool operator==(const PointRef&, const PointRef&) = default;
    };
    // The point of image `image` nearest (u, v) no farther than `reach`,
    // on any line but `skipLine` (the lower line and point on a tie). Lines
    // of one point count too: a point is a point to snap onto. `index` as
    // for HitTest.
    PointRef NearestPoint(int32_t image, double u, double v, double reach, int32_t skipLine,
                          const CLineGrid* index = nullptr) const;

    // Selects line pair `line` as a whole (its first segment) in both images
    // and clears every other line's state there. Nothing when either image
    // has no such line.
    void SelectPair(int32_t line);

    // The lines of image `image` that may be marked (hovered or selected),
    // ascending, as HitTest and PickAt with a grid keep track of them, so
    // that a pointer's move over many lines touches only those; nullptr
    // while they are not known (before the first such test, after a test
    // without a grid, after SelectPair, or when lines moved since). Every
    // line of the image outside the list has no mark left by these tests;
    // marks set from outside before the first test are found by its pass
    // over all lines.
    const std::vector<int32_t>* MarkedLines(int32_t image) const;

    static constexpr const char* kClassName = "CFeatureSet";
    static constexpr int kSchema = 1;

    CPointSets<int> m_sets[2];

private:
    // The lines of image `image` that may lie within `reach` of (u, v), in
    // line order: the index's candidates, or every line without one.
    const std::vector<int32_t>* Near(int32_t image, double u, double v, double reach, const CLineGrid* index) const;

    // Clears the marks of the lines of image `image` that a test did not
    // find, below `below` (every line for -1) and other than `found`: only
    // the lines known to be marked when they are known, every line
    // otherwise. Then notes which lines are marked now.
    void MissOthers(int32_t image, int32_t found, int32_t below);

    mutable std::vector<int32_t> m_near;
    // Per image: the lines that may be marked, with the line objects they
    // were (a line that moved makes the list unknown again).
    struct Marked {
        int32_t index;
        const CPointSet<int>* line;
    };
    std::vector<Marked> m_marked[2];
    bool m_marksKnown[2] = {false, false};
    mutable std::vector<int32_t> m_markedIndices;
};
