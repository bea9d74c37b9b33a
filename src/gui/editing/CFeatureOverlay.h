#pragma once

#include "geometry/CFeatureSet.h"
#include "geometry/CPointSet.h"

#include <QColor>
#include <QPoint>
#include <QRectF>
#include <cstdint>
#include <vector>

class CLineGrid;
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
    // With `index` (a grid of those lines as they are now) only the lines
    // near the paint area are gone through; when more than kMaxLabelled of
    // them are there, the points go without their labels (unreadable in
    // such a crowd, and the slowest part to draw).
    static void DrawFeatures(QPainter& dc, const CFeatureSet& features, int32_t p, double zoom = 1.0,
                             const CLineGrid* index = nullptr);
    static constexpr size_t kMaxLabelled = 2000;
    // Beyond this many lines near the paint area, the points and segments
    // are drawn at once as one image of their pixels (no labels).
    static constexpr size_t kMaxDetailed = 20000;
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

private:
    // DrawPoint and DrawSegment within an area worked out once: the painter's
    // (DrawSegment's grown by 2); the segment's pixels go through `pixels`.
    static void DrawPointIn(QPainter& dc, const CPointSet<int>& line, int32_t j, double zoom, const QRectF& area,
                            bool label);
    static void DrawSegmentIn(QPainter& dc, const CPointSet<int>& line, int32_t j, double zoom, const QRectF& area,
                              std::vector<QPoint>& pixels);
    static void DrawCrowd(QPainter& dc, const CPointSets<int>& lines, const std::vector<int32_t>& near, double zoom,
                          const QRectF& area);
};
