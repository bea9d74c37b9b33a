#pragma once

#include "geometry/CFeatureSet.h"
#include "geometry/CPointSet.h"

#include <QColor>
#include <cstdint>

class QPainter;

// Draws the feature lines of one image over its picture: a 4 x 4 marker and
// the label of every point, then every segment, coloured by selection state.
// The painter is in image coordinates; its pen colour is the text colour of
// the labels, its brush fills the markers and its background mode and colour
// apply to the labels.
class CFeatureOverlay {
public:
    static const QColor kSelected; // red
    static const QColor kHover;    // blue
    static const QColor kNormal;   // green

    // Every line of image p in index order: its points, then its segments.
    static void DrawFeatures(QPainter& dc, const CFeatureSet& features, int32_t p);
    // Label of point j in (x + 2, y - 2)-(x + 40, y + 40), then its marker.
    static void DrawPoint(QPainter& dc, const CPointSet<int>& line, int32_t j);
    // Segment j, from point j to point j + 1.
    static void DrawSegment(QPainter& dc, const CPointSet<int>& line, int32_t j);

    static QColor PointColour(const CPointSet<int>& line, int32_t j);
    static QColor SegmentColour(const CPointSet<int>& line, int32_t j);
};
