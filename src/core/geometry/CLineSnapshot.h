#pragma once

#include "CFeaturePoint.h"
#include "CPointSet.h"
#include "CPointSets.h"

#include <vector>

// The points of one feature line (coordinates and labels), kept apart from
// the line so that they can be put back later, for undo and redo.
struct CLineSnapshot {
    std::vector<CFeaturePoint> points;

    static CLineSnapshot Take(const CPointSet<int>& line);
    // Gives `line` exactly these points, labels included. Point storage
    // grows as AddPoint grows it and is never given back; the selection
    // fields stay as they are.
    void ApplyTo(CPointSet<int>& line) const;

    // Every line in use of one image, in order.
    static std::vector<CLineSnapshot> TakeAll(const CPointSets<int>& lines);
    // Puts back what TakeAll took into a collection of as many lines.
    static void ApplyAll(const std::vector<CLineSnapshot>& snapshots, CPointSets<int>& lines);

    friend bool operator==(const CLineSnapshot&, const CLineSnapshot&) = default;
};
