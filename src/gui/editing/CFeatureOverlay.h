#pragma once

#include "geometry/CFeatureSet.h"
#include "geometry/CPointSet.h"

#include <QColor>
#include <QPoint>
#include <QRectF>
#include <cstdint>
#include <vector>

class QPainter;

// Draws the feature lines of one image over its picture: a 4 x 4 marker and
// the label of every point, then every segment, coloured by selection state.
// The painter is in screen pixels from the picture's origin; `zoom` maps
// picture pixels there (a point at x is drawn at floor((x + 0.5) * zoom),
// x itself at 1), and markers, labels and segments keep their screen size at
// every zoom. The painter's pen colour is the text colour of the labels, its
// brush fills the markers and its background mode and colour apply to the
// labels.
class CFeatureOverlay {
public:
    static const QColor kSelected; // red
    static const QColor kHover;    // blue
    static const QColor kNormal;   // green

    // Every line of image p in index order: its points, then its segments.
    static void DrawFeatures(QPainter& dc, const CFeatureSet& features, int32_t p, double zoom = 1.0);
    // Label of point j in (x + 2, y - 2)-(x + 40, y + 40), then its marker.
    static void DrawPoint(QPainter& dc, const CPointSet<int>& line, int32_t j, double zoom = 1.0);
    // Segment j, from point j to point j + 1.
    static void DrawSegment(QPainter& dc, const CPointSet<int>& line, int32_t j, double zoom = 1.0);

    // A ring of kSnapRingRadius screen pixels around point `pt`: the point
    // an end being drawn or dragged snaps onto.
    static void DrawSnapRing(QPainter& dc, const CFeaturePoint& pt, double zoom = 1.0);
    static constexpr int kSnapRingRadius = 7;
    static const QColor kSnap; // magenta

    static QColor PointColour(const CPointSet<int>& line, int32_t j);
    static QColor SegmentColour(const CPointSet<int>& line, int32_t j);

    // The pixels of a segment from a to b: a's pixel drawn, b's left out, the
    // same pixels whichever way the segment runs (one pixel per step along
    // the longer axis, the other coordinate rounded to nearest). Only the
    // part inside `area` is produced.
    static void SegmentPixels(QPoint a, QPoint b, const QRectF& area, std::vector<QPoint>& out);
};
