#include "OverlayTest.h"

#include "editing/CFeatureOverlay.h"
#include "geometry/CFeatureSet.h"
#include "geometry/CLineGrid.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

// Paints image 0 of `features` on white the way a pane prepares its painter.
QImage Paint(const CFeatureSet& features, int width = 160, int height = 120)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter dc(&image);
    dc.setPen(QPen(Qt::black, 0));
    dc.setBrush(Qt::white);
    dc.setBackground(Qt::white);
    dc.setBackgroundMode(Qt::OpaqueMode);
    CFeatureOverlay::DrawFeatures(dc, features, 0);
    return image;
}

CPointSet<int>& AddLine(CFeatureSet& features, std::initializer_list<std::pair<int, int>> points)
{
    const int32_t i = features.m_sets[0].Add();
    CPointSet<int>& line = features.m_sets[0].Line(i);
    for (const auto& [x, y] : points)
        line.AddPoint(x, y, 0, 1);
    return line;
}

QColor At(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 255, 0);
const QColor kWhite(255, 255, 255);

} // namespace

void OverlayTest::markerCoversFourByFourPixels()
{
    CFeatureSet features;
    AddLine(features, {{40, 40}});
    const QImage image = Paint(features);
    // Outline from x - 2 to x + 1 and y - 2 to y + 1, white inside.
    QCOMPARE(At(image, 38, 38), kGreen);
    QCOMPARE(At(image, 41, 38), kGreen);
    QCOMPARE(At(image, 38, 41), kGreen);
    QCOMPARE(At(image, 41, 41), kGreen);
    QCOMPARE(At(image, 39, 39), kWhite);
    QCOMPARE(At(image, 40, 40), kWhite);
    QCOMPARE(At(image, 37, 40), kWhite);
    QCOMPARE(At(image, 40, 37), kWhite);
    QCOMPARE(At(image, 40, 42), kWhite);
}

void OverlayTest::selectionAndHoverColours()
{
    CFeatureSet features;
    CPointSet<int>& selected = AddLine(features, {{20, 20}, {60, 20}});
    selected.m_nState = STATE_POINT_SELECTED;
    selected.m_nSelPoint = 1;
    CPointSet<int>& hovered = AddLine(features, {{20, 60}, {60, 60}});
    hovered.m_nState = STATE_SEGMENT_HOVER;
    hovered.m_nSelSegment = 0;
    hovered.m_nSelPoint = 0; // stale: a segment hover colours no point
    CPointSet<int>& idle = AddLine(features, {{20, 100}, {60, 100}});
    idle.m_nState = STATE_NONE;
    idle.m_nSelPoint = 0;
    idle.m_nSelSegment = 0;
    const QImage image = Paint(features);

    // Line 0: exactly its point 1 red, point 0 and the segment green.
    QCOMPARE(At(image, 58, 18), kRed);
    QCOMPARE(At(image, 18, 18), kGreen);
    QCOMPARE(At(image, 40, 20), kGreen);
    // Line 1: the segment blue, both markers green.
    QCOMPARE(At(image, 40, 60), kBlue);
    QCOMPARE(At(image, 18, 58), kGreen);
    QCOMPARE(At(image, 58, 58), kGreen);
    // Line 2: state 0 draws everything green whatever its indices.
    QCOMPARE(At(image, 40, 100), kGreen);
    QCOMPARE(At(image, 18, 98), kGreen);

    selected.m_nState = STATE_POINT_HOVER;
    hovered.m_nState = STATE_SEGMENT_SELECTED;
    const QImage second = Paint(features);
    QCOMPARE(At(second, 58, 18), kBlue);
    QCOMPARE(At(second, 40, 60), kRed);
}

void OverlayTest::segmentsAreDrawnOverMarkers()
{
    CFeatureSet features;
    CPointSet<int>& line = AddLine(features, {{20, 50}, {80, 50}});
    line.m_nState = STATE_SEGMENT_SELECTED;
    line.m_nSelSegment = 0;
    const QImage image = Paint(features);
    // The segment crosses both markers' edges at y = 50 and wins there.
    QCOMPARE(At(image, 18, 50), kGreen);
    QCOMPARE(At(image, 21, 50), kRed);
    QCOMPARE(At(image, 78, 50), kRed);
    // Marker corners off the segment keep the point colour.
    QCOMPARE(At(image, 21, 48), kGreen);
    QCOMPARE(At(image, 78, 51), kGreen);
}

void OverlayTest::segmentStopsBeforeItsEndPoint()
{
    CFeatureSet features;
    CPointSet<int>& line = AddLine(features, {{20, 50}, {80, 50}, {80, 90}});
    line.m_nState = STATE_SEGMENT_SELECTED;
    line.m_nSelSegment = 1;
    const QImage image = Paint(features);
    // Segment 0 covers its first point's pixel but not its last one: the
    // second marker's inside stays white there.
    QCOMPARE(At(image, 20, 50), kGreen);
    QCOMPARE(At(image, 79, 50), kGreen);
    QCOMPARE(At(image, 80, 50), kRed); // segment 1 starts here
    QCOMPARE(At(image, 80, 89), kRed);
    QCOMPARE(At(image, 80, 90), kWhite);
    QCOMPARE(At(image, 79, 90), kWhite);
}

void OverlayTest::segmentDrawsItsStartInEveryDirection()
{
    // Painted leftward and upward: the start pixel in the segment colour,
    // the end pixel left to the marker's white inside.
    for (const auto& [a, b] : {std::pair{QPoint(80, 50), QPoint(20, 50)}, std::pair{QPoint(60, 100), QPoint(60, 30)},
                               std::pair{QPoint(90, 90), QPoint(30, 60)}}) {
        CFeatureSet features;
        CPointSet<int>& line = AddLine(features, {{a.x(), a.y()}, {b.x(), b.y()}});
        line.m_nState = STATE_SEGMENT_SELECTED;
        line.m_nSelSegment = 0;
        const QImage image = Paint(features);
        QCOMPARE(At(image, a.x(), a.y()), kRed);
        QCOMPARE(At(image, b.x(), b.y()), kWhite);
    }
    // Every direction gives the same pixels but for which end is left out.
    const QRectF area(-100, -100, 400, 400);
    for (const auto& [a, b] : {std::pair{QPoint(0, 0), QPoint(7, 3)}, std::pair{QPoint(5, 9), QPoint(-4, 2)},
                               std::pair{QPoint(3, 3), QPoint(3, -5)}, std::pair{QPoint(0, 0), QPoint(6, 6)}}) {
        std::vector<QPoint> forward;
        std::vector<QPoint> backward;
        CFeatureOverlay::SegmentPixels(a, b, area, forward);
        CFeatureOverlay::SegmentPixels(b, a, area, backward);
        const int steps = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
        QCOMPARE(int(forward.size()), steps);
        QVERIFY(std::find(forward.begin(), forward.end(), a) != forward.end());
        QVERIFY(std::find(forward.begin(), forward.end(), b) == forward.end());
        forward.push_back(b);
        backward.push_back(a);
        auto less = [](QPoint p, QPoint q) { return std::pair(p.x(), p.y()) < std::pair(q.x(), q.y()); };
        std::sort(forward.begin(), forward.end(), less);
        std::sort(backward.begin(), backward.end(), less);
        QCOMPARE(forward, backward);
    }
}

void OverlayTest::markersAndLabelsKeepTheirSizeWhenZoomed()
{
    CFeatureSet features;
    AddLine(features, {{10, 10}});
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter dc(&image);
    dc.setPen(QPen(Qt::black, 0));
    dc.setBrush(Qt::white);
    CFeatureOverlay::DrawFeatures(dc, features, 0, 4.0);
    dc.end();
    // Point 10 is drawn at 42, the centre of its 4-pixel block; 4 x 4.
    QCOMPARE(At(image, 40, 40), kGreen);
    QCOMPARE(At(image, 43, 43), kGreen);
    QCOMPARE(At(image, 41, 41), kWhite);
    QCOMPARE(At(image, 42, 38), kWhite);
    QCOMPARE(At(image, 38, 42), kWhite);
}

void OverlayTest::labelStaysInItsRectangle()
{
    CFeatureSet features;
    CPointSet<int>& line = AddLine(features, {{30, 30}});
    line.Point(0).label = 1234567890; // far wider than 38 pixels
    const QImage image = Paint(features);
    int inside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = At(image, x, y);
            const bool marker = x >= 28 && x <= 31 && y >= 28 && y <= 31;
            if (c == kWhite || marker) continue;
            // Text only in (x + 2, y - 2)-(x + 40, y + 40), right and bottom excluded.
            QVERIFY2(x >= 32 && x < 70 && y >= 28 && y < 70,
                     qPrintable(QStringLiteral("pixel at %1,%2").arg(x).arg(y)));
            ++inside;
        }
    }
    QVERIFY(inside > 0);
}

void OverlayTest::emptyLineDrawsNothing()
{
    CFeatureSet features;
    AddLine(features, {});
    const QImage image = Paint(features);
    QImage white(image.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    QCOMPARE(image, white);
}

void OverlayTest::onlyTheRequestedImageIsDrawn()
{
    CFeatureSet features;
    const int32_t i = features.m_sets[1].Add();
    features.m_sets[1].Line(i).AddPoint(50, 50, 0, 1);
    features.m_sets[1].Line(i).AddPoint(90, 90, 0, 1);
    const QImage image = Paint(features);
    QCOMPARE(At(image, 48, 48), kWhite);
    QCOMPARE(At(image, 70, 70), kWhite);
}

namespace {

// Image 0 of `features` painted into a 300 x 200 window onto the picture,
// scrolled by (dx, dy) and clipped to `clip`, with or without the grid.
QImage PaintPart(const CFeatureSet& features, double zoom, int dx, int dy, const QRect& clip, const CLineGrid* grid)
{
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter dc(&image);
    dc.setClipRect(clip);
    dc.translate(-dx, -dy);
    dc.setPen(QPen(Qt::black, 0));
    dc.setBrush(Qt::white);
    dc.setBackground(Qt::white);
    dc.setBackgroundMode(Qt::OpaqueMode);
    CFeatureOverlay::DrawFeatures(dc, features, 0, zoom, grid);
    return image;
}

} // namespace

void OverlayTest::paintThroughTheGridMatchesTheFullPaint()
{
    CFeatureSet features;
    std::mt19937 rng(5);
    for (int k = 0; k < 300; ++k) {
        const int x = static_cast<int>(rng() % 500) - 50;
        const int y = static_cast<int>(rng() % 400) - 50;
        CPointSet<int>& line = AddLine(features, {{x, y}, {x + static_cast<int>(rng() % 81) - 40, y + 20}});
        if (k % 7 == 0) line.AddPoint(x + 2000, y - 900, 0, 1); // reaching far off
        if (k % 11 == 0) line.MarkSegment(0);
    }
    CLineGrid grid;
    grid.Build(features.m_sets[0]);
    int drawn = 0;
    for (const double zoom : {1.0, 0.5, 1.5, 4.0}) {
        for (const QRect& clip : {QRect(0, 0, 300, 200), QRect(40, 30, 90, 70)}) {
            const QImage full = PaintPart(features, zoom, 60, 20, clip, nullptr);
            QCOMPARE(PaintPart(features, zoom, 60, 20, clip, &grid), full);
            drawn += full != PaintPart(CFeatureSet(), zoom, 60, 20, clip, nullptr) ? 1 : 0;
        }
    }
    QCOMPARE(drawn, 8); // every paint had lines in it
}

void OverlayTest::crowdIsDrawnAsOneImage()
{
    CFeatureSet features;
    for (size_t k = 0; k <= CFeatureOverlay::kMaxDetailed; ++k)
        AddLine(features, {{static_cast<int>(k % 150) * 2, 40}, {static_cast<int>(k % 150) * 2 + 1, 60}});
    AddLine(features, {{20, 100}, {60, 140}}).MarkSegment(0);
    CLineGrid grid;
    grid.Build(features.m_sets[0]);
    const QImage crowd = PaintPart(features, 1.0, 0, 0, QRect(0, 0, 300, 200), &grid);
    // The same pixels as the full paint but for the labels.
    const QImage full = PaintPart(features, 1.0, 0, 0, QRect(0, 0, 300, 200), nullptr);
    QCOMPARE(At(crowd, 40, 120), CFeatureOverlay::kHover);
    QCOMPARE(At(crowd, 40, 120), At(full, 40, 120));
    QCOMPARE(At(crowd, 18, 98), At(full, 18, 98));  // a marker's corner
    QCOMPARE(At(crowd, 19, 99), QColor(Qt::white)); // its inside
    // No labels: nothing black.
    auto black = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) == QColor(Qt::black) ? 1 : 0;
        return count;
    };
    QCOMPARE(black(crowd), 0);
    QVERIFY(black(full) > 0);
}
