#include "EditingStepsTest.h"

#include "PaneRig.h"
#include "editing/CFeatureOverlay.h"
#include "editing/CSelectCommand.h"

#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QUndoStack>
#include <QWheelEvent>

namespace {

const QColor kGreen(0, 255, 0);
const QColor kWhite(255, 255, 255);

// What the pane shows on screen now: its window's backing store, which holds
// only what was repainted (a fresh grab would repaint everything).
QImage OnScreen(CImageView* pane)
{
    QWidget* window = pane->window();
    const QImage all = window->screen()->grabWindow(window->winId()).toImage();
    const QPoint origin = pane->viewport()->mapTo(window, QPoint(0, 0));
    return all.copy(QRect(origin, pane->viewport()->size()));
}

void Settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace

void EditingStepsTest::drawAndHitTestAtFourHundredPercent()
{
    PaneRig rig;
    rig.LoadPictures(100, 80, 100, 80);
    rig.zoom.SetFactor(4.0);
    // Zoomed about the centre; from the top-left corner here.
    for (CImageView* pane : {rig.left, rig.right}) {
        pane->horizontalScrollBar()->setValue(0);
        pane->verticalScrollBar()->setValue(0);
    }
    // The scroll range covers the enlarged picture plus 20.
    QCOMPARE(rig.left->GetTotalSize(), QSize(420, 340));
    QCOMPARE(rig.right->GetTotalSize(), QSize(420, 340));
    rig.tools.OnToolDraw();
    // Client pixels 40..43 are picture pixel 10.
    DrawLine(rig.left, QPoint(43, 41), QPoint(122, 82));
    QCOMPARE(PointOf(rig.Lines(0).Line(0), 1), QPoint(10, 10));
    QCOMPARE(PointOf(rig.Lines(1).Line(0), 0), QPoint(30, 20));

    // Point 1 is drawn at 42 (the centre of its block) with a marker of 4 x 4
    // screen pixels, not 16 x 16.
    const QImage shown = rig.left->viewport()->grab().toImage();
    for (QPoint corner : {QPoint(40, 40), QPoint(43, 40), QPoint(40, 43)})
        QCOMPARE(shown.pixelColor(corner), kGreen);
    QCOMPARE(shown.pixelColor(41, 41), kWhite);
    QVERIFY(shown.pixelColor(39, 39) != kGreen);
    QVERIFY(shown.pixelColor(44, 40) != kGreen);

    // The grab radius is 5 screen pixels: 1.25 picture pixels.
    rig.tools.OnToolSelect();
    CPointSet<int>& line = rig.Lines(0).Line(0);
    const struct {
        QPoint at;
        int32_t state;
    } moves[] = {
        {QPoint(37, 42), STATE_POINT_HOVER}, {QPoint(36, 42), STATE_NONE}, {QPoint(42, 47), STATE_POINT_HOVER}};
    for (const auto& m : moves) {
        Move(rig.left->viewport(), m.at);
        QCOMPARE(line.m_nState, m.state);
    }
    // Scrolled, the same client point reaches other picture pixels.
    rig.left->horizontalScrollBar()->setValue(8);
    Move(rig.left->viewport(), QPoint(34, 42));
    QCOMPARE(line.m_nState, int32_t(STATE_POINT_HOVER));
    QCOMPARE(line.m_nSelPoint, 1);
}

void EditingStepsTest::wheelWithCtrlZoomsAboutThePointer()
{
    PaneRig rig;
    rig.LoadPictures(400, 300, 400, 300);
    auto wheel = [&](QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(at), QPointF(rig.left->viewport()->mapToGlobal(at)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(rig.left->viewport(), &event);
    };
    // Picture pixel 50 lies under client x = 50; after zooming in it still
    // does, in both panes' shared zoom.
    wheel(QPoint(50, 40), 120, Qt::ControlModifier);
    QCOMPARE(rig.zoom.Factor(), 1.5);
    QCOMPARE(rig.left->ClientToPicture(QPoint(50, 40)), QPoint(50, 40));
    QCOMPARE(rig.right->GetTotalSize(), QSize(620, 470));
    wheel(QPoint(50, 40), -120, Qt::ControlModifier);
    wheel(QPoint(50, 40), -120, Qt::ControlModifier);
    QCOMPARE(rig.zoom.Factor(), 2.0 / 3.0);
    // Without Ctrl the wheel scrolls.
    rig.zoom.SetActual();
    wheel(QPoint(50, 40), -120, Qt::NoModifier);
    QCOMPARE(rig.zoom.Factor(), 1.0);
    QVERIFY(rig.left->verticalScrollBar()->value() > 0);
}

void EditingStepsTest::directDragAndPointsBeforeSegments()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 200, 150);
    rig.tools.OnToolDraw();
    DrawLine(rig.left, QPoint(20, 20), QPoint(100, 100));
    // Line 1's first point lies on line 0's segment.
    DrawLine(rig.left, QPoint(140, 20), QPoint(60, 60));
    rig.tools.OnToolSelect();
    CPointSet<int>& first = rig.Lines(0).Line(0);
    CPointSet<int>& second = rig.Lines(0).Line(1);
    QUndoStack& stack = rig.doc.GetUndoStack();
    const int steps = stack.count();

    // Pressed on the point and moved by up to 3 pixels: nothing moves yet.
    Press(rig.left, QPoint(60, 60));
    QCOMPARE(second.m_nState, int32_t(STATE_POINT_SELECTED));
    QCOMPARE(first.m_nState, int32_t(STATE_NONE));
    Move(rig.left->viewport(), QPoint(62, 62));
    QCOMPARE(PointOf(second, 0), QPoint(60, 60));
    // Further: the point follows the pointer from where it was pressed.
    Move(rig.left->viewport(), QPoint(70, 64));
    Move(rig.left->viewport(), QPoint(75, 66));
    QVERIFY(rig.left->HasCapture());
    Release(rig.left, QPoint(75, 66));
    QCOMPARE(PointOf(second, 0), QPoint(75, 66));
    QCOMPARE(PointOf(first, 0), QPoint(100, 100));
    QCOMPARE(PointOf(first, 1), QPoint(20, 20));
    QCOMPARE(stack.count(), steps + 1); // one step for the whole drag

    // A press without a move only selects.
    Click(rig.left, QPoint(20, 20));
    QCOMPARE(first.m_nState, int32_t(STATE_POINT_SELECTED));
    QCOMPARE(PointOf(first, 1), QPoint(20, 20));
    QCOMPARE(stack.count(), steps + 1);

    // Turned off: the press selects and moving does not drag.
    rig.doc.SetDirectDrag(false);
    Press(rig.left, QPoint(100, 100));
    Move(rig.left->viewport(), QPoint(120, 110));
    Release(rig.left, QPoint(120, 110));
    QCOMPARE(PointOf(first, 0), QPoint(100, 100));
    QCOMPARE(first.m_nSelPoint, 0);
    QVERIFY(!rig.left->HasCapture());
}

void EditingStepsTest::dragLeavesNoMarkerBehindAndStaysOnThePicture()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 200, 150);
    rig.tools.OnToolDraw();
    DrawLine(rig.left, QPoint(20, 20), QPoint(120, 100));
    rig.tools.OnToolSelect();
    // Focus repaints the whole pane: taken before, so that only what the
    // drag repaints is repainted after.
    rig.left->setFocus();
    Settle();
    QCOMPARE(OnScreen(rig.left).pixelColor(118, 98), kGreen);

    // Dragged up and to the right, clear of the line's old place.
    // Painted between the steps, as on screen.
    Press(rig.left, QPoint(120, 100));
    Settle();
    Move(rig.left->viewport(), QPoint(150, 30));
    Settle();
    Move(rig.left->viewport(), QPoint(170, 20));
    Release(rig.left, QPoint(170, 20));
    Settle();
    // Where the point, its marker and its label were, the picture shows
    // again; the marker stands at the new place.
    const QImage shown = OnScreen(rig.left);
    for (int y = 98; y < 140; ++y) {
        for (int x = 118; x < 160; ++x) {
            const QColor c = shown.pixelColor(x, y);
            QVERIFY2(c != kGreen && c != kWhite && qGray(c.rgb()) > 40,
                     qPrintable(QStringLiteral("left behind at %1,%2: %3").arg(x).arg(y).arg(c.name())));
        }
    }
    QCOMPARE(shown.pixelColor(168, 18), QColor(255, 0, 0));

    // Dragged past the picture's edge, the point stops on its last pixel
    // and can be grabbed there again.
    CPointSet<int>& line = rig.Lines(0).Line(0);
    Press(rig.left, QPoint(170, 20));
    Move(rig.left->viewport(), QPoint(-40, 400));
    Release(rig.left, QPoint(-40, 400));
    QCOMPARE(PointOf(line, 0), QPoint(0, 149));
    Move(rig.left->viewport(), QPoint(2, 147 - rig.left->GetScrollPos(Qt::Vertical)));
    QCOMPARE(line.m_nState, int32_t(STATE_POINT_SELECTED));
}

void EditingStepsTest::drawnMovedAndDeletedLinesUndoAndRedo()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 200, 150);
    rig.tools.OnToolDraw();
    for (int i = 0; i < 3; ++i)
        DrawLine(rig.left, QPoint(20 + 40 * i, 20), QPoint(30 + 40 * i, 120));
    QUndoStack& stack = rig.doc.GetUndoStack();
    QCOMPARE(stack.count(), 3);
    rig.tools.OnToolSelect();
    // Drag line 1's first point, then delete line 0 from the right pane.
    Press(rig.left, QPoint(70, 120));
    Move(rig.left->viewport(), QPoint(90, 130));
    Release(rig.left, QPoint(90, 130));
    Click(rig.right, QPoint(30, 120));
    QVERIFY(rig.tools.HasSelectedLine());
    rig.tools.OnEditDelete(1);
    QCOMPARE(stack.count(), 5);
    for (int image : {0, 1}) {
        QCOMPARE(rig.Lines(image).m_nCount, 2);
        QCOMPARE(rig.Lines(image).Line(0).Point(0).label, 0);
        QCOMPARE(rig.Lines(image).Line(1).Point(1).label, 3);
    }
    QCOMPARE(PointOf(rig.Lines(0).Line(0), 0), QPoint(90, 130));
    QCOMPARE(PointOf(rig.Lines(1).Line(0), 0), QPoint(70, 120));

    // Each undo takes back one step, in order; redo puts them back.
    const struct {
        int lines;
        QPoint leftLine1;
    } back[] = {{3, QPoint(90, 130)}, {3, QPoint(70, 120)}, {2, QPoint(70, 120)}};
    // Every step tells the panes through the controller that the lines changed.
    QSignalSpy linesChanged(&rig.doc, &CDocController::linesChanged);
    for (const auto& b : back) {
        rig.doc.OnEditUndo();
        QCOMPARE(rig.Lines(0).m_nCount, b.lines);
        QCOMPARE(rig.Lines(1).m_nCount, b.lines);
        QCOMPARE(PointOf(rig.Lines(0).Line(1), 0), b.leftLine1);
    }
    QCOMPARE(rig.Lines(0).Line(1).Point(1).label, 3);
    QCOMPARE(linesChanged.count(), 3);
    for (int i = 0; i < 3; ++i)
        rig.doc.OnEditRedo();
    QCOMPARE(rig.Lines(0).m_nCount, 2);
    QCOMPARE(PointOf(rig.Lines(0).Line(0), 0), QPoint(90, 130));
    QCOMPARE(rig.Lines(1).Line(1).Point(0).label, 2);
    // Undo in the middle of drawing ends the line first: it is the step
    // undone.
    rig.tools.OnToolDraw();
    Click(rig.right, QPoint(10, 10));
    rig.doc.OnEditUndo();
    QVERIFY(!rig.right->HasCapture());
    QCOMPARE(rig.Lines(1).m_nCount, 2);
}

void EditingStepsTest::differentSizeIsFittedWithItsLines()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 400, 150);
    for (int image : {0, 1}) {
        const int32_t i = rig.Lines(image).Add();
        rig.Lines(image).Line(i).AddPoint(300, 100, 0, 1);
        rig.Lines(image).Line(i).AddPoint(41, 0, 0, 1);
    }
    CTempDir elsewhere;
    WriteTestPicture(PathIn(elsewhere, "wide.bmp"), 400, 150, Qt::darkCyan);
    const std::string before = rig.doc.GetDoc().GetPicture(1)->GetPath();

    // Kept as it is: a plain copy, the lines stay.
    rig.prompts.fileAnswers = {PathIn(elsewhere, "wide.bmp"), PathIn(elsewhere, "wide.bmp")};
    rig.prompts.fitAnswers = {CUserPrompts::FitAnswer::kKeep, CUserPrompts::FitAnswer::kPad};
    rig.right->OnOpenImage();
    QCOMPARE(rig.prompts.fitQuestions.size(), 1);
    QVERIFY(rig.prompts.fitQuestions[0].contains(QStringLiteral("wide.bmp 的大小是 400 × 150，源图像是 200 × 150")));
    QCOMPARE(rig.doc.GetDoc().GetPicture(1)->GetPath(), (rig.dir / "images" / "wide.bmp").string());
    QCOMPARE(PointOf(rig.Lines(1).Line(0), 0), QPoint(300, 100));

    // Padded: half size, 37 rows of black above; the target's lines move
    // with it, the source's stay; one step.
    rig.right->OnOpenImage();
    const std::filesystem::path fitted = rig.dir / "images" / "wide-200x150.png";
    QCOMPARE(rig.doc.GetDoc().GetPicture(1)->GetPath(), fitted.string());
    const QImage written(QString::fromStdString(fitted.string()));
    QCOMPARE(written.size(), QSize(200, 150));
    QCOMPARE(written.pixelColor(100, 10), QColor(Qt::black));
    QCOMPARE(written.pixelColor(100, 40), QColor(Qt::darkCyan));
    QCOMPARE(rig.right->GetTotalSize(), QSize(220, 170));
    QCOMPARE(PointOf(rig.Lines(1).Line(0), 0), QPoint(150, 87));
    QCOMPARE(PointOf(rig.Lines(1).Line(0), 1), QPoint(20, 37));
    QCOMPARE(PointOf(rig.Lines(0).Line(0), 0), QPoint(300, 100));
    QCOMPARE(rig.doc.GetUndoStack().count(), 2);

    QSignalSpy pictureChanged(&rig.doc, &CDocController::pictureChanged);
    rig.doc.OnEditUndo();
    QCOMPARE(PointOf(rig.Lines(1).Line(0), 0), QPoint(300, 100));
    QCOMPARE(rig.doc.GetDoc().GetPicture(1)->GetSizeInPixels(), (SIZE{400, 150}));
    QCOMPARE(pictureChanged.count(), 1);
    QCOMPARE(pictureChanged.at(0).at(0).toInt(), 1);
    rig.doc.OnEditUndo();
    QCOMPARE(rig.doc.GetDoc().GetPicture(1)->GetPath(), before);
    rig.doc.OnEditRedo();
    rig.doc.OnEditRedo();
    QCOMPARE(PointOf(rig.Lines(1).Line(0), 1), QPoint(20, 37));
    QCOMPARE(rig.doc.GetDoc().GetPicture(1)->GetSizeInPixels(), (SIZE{200, 150}));
}

void EditingStepsTest::segmentsPickedByDistanceAtFourHundredPercent()
{
    PaneRig rig;
    rig.LoadPictures(100, 80, 100, 80);
    rig.AddPair(5, 10, 35, 10);  // horizontal
    rig.AddPair(40, 30, 40, 2);  // vertical, drawn upwards
    rig.AddPair(10, 36, 30, 16); // diagonal
    rig.zoom.SetFactor(4.0);
    rig.left->horizontalScrollBar()->setValue(0);
    rig.left->verticalScrollBar()->setValue(0);
    rig.tools.OnToolSelect();
    // Picture position p is drawn at floor((p + 0.5) * 4); the grab radius
    // is 5 screen pixels on every side of a segment.
    const struct {
        QPoint at;
        int32_t line; // -1: nothing
    } moves[] = {
        {QPoint(82, 46), 0},  {QPoint(82, 38), 0},   {QPoint(82, 48), -1}, {QPoint(158, 62), 1},
        {QPoint(166, 62), 1}, {QPoint(156, 62), -1}, {QPoint(85, 109), 2}, {QPoint(86, 110), -1},
    };
    for (const auto& m : moves) {
        Move(rig.left->viewport(), m.at);
        for (int32_t i = 0; i < 3; ++i)
            QCOMPARE(rig.Lines(0).Line(i).m_nState, int32_t(i == m.line ? STATE_SEGMENT_HOVER : STATE_NONE));
    }
    // A press beside the horizontal segment drags it at once.
    Press(rig.left, QPoint(82, 45));
    Move(rig.left->viewport(), QPoint(82, 53));
    Release(rig.left, QPoint(82, 53));
    QCOMPARE(PointOf(rig.Lines(0).Line(0), 0), QPoint(5, 12));
    QCOMPARE(PointOf(rig.Lines(0).Line(0), 1), QPoint(35, 12));
    // Without direct drag the classic test holds: axis-parallel segments
    // are caught only near their ends.
    rig.doc.SetDirectDrag(false);
    Click(rig.left, QPoint(82, 50));
    QCOMPARE(rig.Lines(0).Line(0).m_nState, int32_t(STATE_NONE));
}

void EditingStepsTest::classicSequenceWithoutDirectDrag()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 200, 150);
    rig.AddPair(60, 10, 60, 60);  // line 0: its second point ...
    rig.AddPair(64, 60, 120, 60); // ... 4 pixels from line 1's first
    rig.doc.SetDirectDrag(false);
    rig.tools.OnToolSelect();
    auto* tool = dynamic_cast<CSelectCommand*>(rig.left->GetCommand());
    QVERIFY(tool);
    CPointSet<int>& first = rig.Lines(0).Line(0);
    CPointSet<int>& second = rig.Lines(0).Line(1);
    Click(rig.left, QPoint(68, 60));
    QCOMPARE(tool->m_nCurrent, 1);
    QCOMPARE(second.m_nState, int32_t(STATE_POINT_SELECTED));

    // Near the selected point, but line 0 comes first: it takes the
    // selection, and nothing is dragged.
    Press(rig.left, QPoint(62, 60));
    QVERIFY(!rig.left->HasCapture());
    QCOMPARE(tool->m_nCurrent, 0);
    QCOMPARE(first.m_nState, int32_t(STATE_POINT_SELECTED));
    QCOMPARE(first.m_nSelPoint, 1);
    QCOMPARE(second.m_nState, int32_t(STATE_NONE));
    Move(rig.left->viewport(), QPoint(70, 70));
    Release(rig.left, QPoint(70, 70));
    QCOMPARE(PointOf(first, 1), QPoint(60, 60));
    QCOMPARE(PointOf(second, 0), QPoint(64, 60));

    // Dragged toward the line's other point: within 5 pixels of it the hit
    // test takes the selection and the point stops; the release still ends
    // the drag, as one step.
    const int steps = rig.doc.GetUndoStack().count();
    Press(rig.left, QPoint(61, 61));
    QVERIFY(rig.left->HasCapture());
    for (QPoint at : {QPoint(61, 41), QPoint(61, 17), QPoint(61, 14), QPoint(61, 30)})
        Move(rig.left->viewport(), at);
    QCOMPARE(PointOf(first, 1), QPoint(60, 16));
    QCOMPARE(first.m_nState, int32_t(STATE_NONE));
    Release(rig.left, QPoint(61, 30));
    QVERIFY(!rig.left->HasCapture());
    QCOMPARE(tool->m_nToolState, 1);
    QCOMPARE(rig.doc.GetUndoStack().count(), steps + 1);
}

void EditingStepsTest::endsSnapOntoOtherLinesPointsUnlessShift()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 200, 150);
    rig.AddPair(100, 20, 20, 20);
    rig.Lines(1).Line(0).Point(0) = CFeaturePoint{110, 30, 0, 1, 0}; // its partner elsewhere
    rig.tools.OnToolDraw();
    auto magenta = [&] {
        const QImage shown = rig.left->viewport()->grab().toImage();
        int n = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                n += shown.pixelColor(x, y) == CFeatureOverlay::kSnap;
        return n;
    };
    // Drawing: the end lands on line 0's point in this image, on its
    // partner in the other; the ring shows it.
    Click(rig.left, QPoint(60, 80));
    Move(rig.left->viewport(), QPoint(103, 22));
    QCOMPARE(PointOf(rig.Lines(0).Line(1), 0), QPoint(100, 20));
    QCOMPARE(PointOf(rig.Lines(1).Line(1), 0), QPoint(110, 30));
    QVERIFY(magenta() > 0);
    Move(rig.left->viewport(), QPoint(103, 22), Qt::ShiftModifier);
    QCOMPARE(PointOf(rig.Lines(0).Line(1), 0), QPoint(103, 22));
    QCOMPARE(PointOf(rig.Lines(1).Line(1), 0), QPoint(103, 22));
    QCOMPARE(magenta(), 0);
    Move(rig.left->viewport(), QPoint(98, 19));
    Click(rig.left, QPoint(98, 19));
    QCOMPARE(PointOf(rig.Lines(0).Line(1), 0), QPoint(100, 20));
    QCOMPARE(magenta(), 0);

    // Dragging a point: it snaps, Shift frees it, a segment never snaps.
    rig.tools.OnToolSelect();
    Press(rig.left, QPoint(60, 80));
    Move(rig.left->viewport(), QPoint(23, 24));
    QCOMPARE(PointOf(rig.Lines(0).Line(1), 1), QPoint(20, 20));
    Move(rig.left->viewport(), QPoint(23, 24), Qt::ShiftModifier);
    QCOMPARE(PointOf(rig.Lines(0).Line(1), 1), QPoint(23, 24));
    Move(rig.left->viewport(), QPoint(22, 18));
    Release(rig.left, QPoint(22, 18));
    QCOMPARE(PointOf(rig.Lines(0).Line(1), 1), QPoint(20, 20));
    QCOMPARE(PointOf(rig.Lines(1).Line(1), 1), QPoint(60, 80)); // only the pane's image
    rig.AddPair(150, 20, 150, 60);
    Press(rig.left, QPoint(150, 40));
    Move(rig.left->viewport(), QPoint(102, 40));
    Release(rig.left, QPoint(102, 40));
    QCOMPARE(PointOf(rig.Lines(0).Line(2), 0), QPoint(102, 20));
    // Turned off: no snapping at all.
    rig.doc.SetSnapToPoints(false);
    Press(rig.left, QPoint(20, 20));
    Move(rig.left->viewport(), QPoint(98, 22));
    Release(rig.left, QPoint(98, 22));
    QCOMPARE(PointOf(rig.Lines(0).Line(0), 1), QPoint(98, 22));
    // A line begun near a point begins on it, in both images.
    rig.doc.SetSnapToPoints(true);
    rig.tools.OnToolDraw();
    DrawLine(rig.left, QPoint(22, 21), QPoint(60, 120));
    QCOMPARE(PointOf(rig.Lines(0).Line(3), 1), QPoint(20, 20));
    QCOMPARE(PointOf(rig.Lines(1).Line(3), 1), QPoint(60, 80));
}

void EditingStepsTest::arrowsNudgeOneStepPerBurst()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 200, 150);
    rig.AddPair(50, 50, 100, 60);
    rig.tools.OnToolSelect();
    CPointSet<int>& line = rig.Lines(0).Line(0);
    QUndoStack& stack = rig.doc.GetUndoStack();
    QSignalSpy content(&rig.doc, &CDocController::contentChanged);
    Click(rig.left, QPoint(50, 50));
    QTest::keyClick(rig.left, Qt::Key_Right);
    QTest::keyClick(rig.left, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(rig.left, Qt::Key_Down);
    QCOMPARE(PointOf(line, 0), QPoint(61, 51));
    QCOMPARE(stack.count(), 1);
    QCOMPARE(content.count(), 3);
    QCOMPARE(PointOf(rig.Lines(1).Line(0), 0), QPoint(50, 50));
    rig.doc.OnEditUndo();
    QCOMPARE(PointOf(line, 0), QPoint(50, 50));
    rig.doc.OnEditRedo();
    QCOMPARE(PointOf(line, 0), QPoint(61, 51));

    // A click, a pause, another element: each starts a new step.
    Click(rig.left, QPoint(61, 51));
    QTest::keyClick(rig.left, Qt::Key_Left);
    QCOMPARE(stack.count(), 2);
    QTest::qWait(CSelectCommand::kNudgePauseMs + 100);
    QTest::keyClick(rig.left, Qt::Key_Up);
    QCOMPARE(stack.count(), 3);
    QCOMPARE(PointOf(line, 0), QPoint(60, 50));
    // Held to the picture's edge; still the same burst.
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(rig.left, Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(PointOf(line, 0), QPoint(60, 0));
    QCOMPARE(stack.count(), 3);
    // A segment moves with both ends.
    Click(rig.left, QPoint(80, 30));
    QCOMPARE(line.m_nState, int32_t(STATE_SEGMENT_SELECTED));
    QTest::keyClick(rig.left, Qt::Key_Left);
    QCOMPARE(PointOf(line, 0), QPoint(59, 0));
    QCOMPARE(PointOf(line, 1), QPoint(99, 60));
    QCOMPARE(stack.count(), 4);
    rig.doc.OnEditUndo();
    rig.doc.OnEditUndo();
    QCOMPARE(PointOf(line, 0), QPoint(60, 51));
}

void EditingStepsTest::tabStepsThroughLinePairs()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 200, 150);
    for (int i = 0; i < 3; ++i)
        rig.AddPair(20 + 50 * i, 20, 30 + 50 * i, 100);
    rig.tools.OnToolSelect();
    rig.left->setFocus();
    QSignalSpy selection(&rig.doc, &CDocController::selectionChanged);
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int32_t line;
    } keys[] = {{Qt::Key_Tab, Qt::NoModifier, 0},        {Qt::Key_Tab, Qt::NoModifier, 1},
                {Qt::Key_Tab, Qt::NoModifier, 2},        {Qt::Key_Tab, Qt::NoModifier, 0},
                {Qt::Key_Backtab, Qt::ShiftModifier, 2}, {Qt::Key_Tab, Qt::ShiftModifier, 1}};
    for (const auto& k : keys) {
        QTest::keyClick(rig.left, k.key, k.modifiers);
        for (CImageView* pane : {rig.left, rig.right}) {
            QCOMPARE(pane->GetCommand()->CurrentLine(), k.line);
            for (int32_t i = 0; i < 3; ++i)
                QCOMPARE(rig.Lines(pane->GetImageIndex()).Line(i).m_nState,
                         int32_t(i == k.line ? STATE_SEGMENT_SELECTED : STATE_NONE));
        }
    }
    QVERIFY(selection.count() >= 6);
    QCOMPARE(QApplication::focusWidget(), rig.left);
    // The arrows move the pair's line in the pane that has the keys.
    QTest::keyClick(rig.right, Qt::Key_Down);
    QCOMPARE(PointOf(rig.Lines(1).Line(1), 0), QPoint(70, 21));
    QCOMPARE(PointOf(rig.Lines(0).Line(1), 0), QPoint(70, 20));
}
