#include "ImageViewTest.h"

#include "PaneRig.h"
#include "editing/CFBCommand.h"
#include "editing/CSelectCommand.h"

#include <QFile>
#include <QScrollBar>

void ImageViewTest::panesNumberThemselvesInConstructionOrder()
{
    PaneRig rig;
    QCOMPARE(rig.left->GetImageIndex(), 0);
    QCOMPARE(rig.right->GetImageIndex(), 1);
    QCOMPARE(rig.viewCount, 2);
    // No picture: the scroll range still covers 20 x 20.
    rig.left->UpdateScrollSizes();
    QCOMPARE(rig.left->GetTotalSize(), QSize(20, 20));
}

void ImageViewTest::scrollSizesFollowThePicture()
{
    PaneRig rig;
    rig.LoadPictures(400, 300, 120, 90);
    const QSize client = rig.left->viewport()->size();
    QCOMPARE(rig.left->GetTotalSize(), QSize(420, 320));
    QCOMPARE(rig.left->GetPageSize(), client);
    QCOMPARE(rig.left->GetLineSize(), QSize(client.width() / 10, client.height() / 10));
    QCOMPARE(rig.left->horizontalScrollBar()->maximum(), 420 - client.width());
    QCOMPARE(rig.left->verticalScrollBar()->maximum(), 320 - client.height());
    QCOMPARE(rig.right->GetTotalSize(), QSize(140, 110));
}

void ImageViewTest::drawLinePairInScrolledPane()
{
    PaneRig rig;
    rig.LoadPictures(400, 300, 400, 300);
    rig.tools.OnToolDraw();
    rig.right->horizontalScrollBar()->setValue(30);
    rig.right->verticalScrollBar()->setValue(20);
    QCOMPARE(rig.right->GetScrollPos(Qt::Horizontal), 30);
    QCOMPARE(rig.right->GetScrollPos(Qt::Vertical), 20);

    Press(rig.right, QPoint(90, 60));
    QVERIFY(rig.right->HasCapture());
    Release(rig.right, QPoint(90, 60));
    QVERIFY(rig.right->HasCapture());
    Move(rig.right->viewport(), QPoint(200, 110));
    QCOMPARE(rig.spy.updates, 0);
    Click(rig.right, QPoint(200, 110));
    QVERIFY(!rig.right->HasCapture());
    // Finishing the line tells the other views, with the pane as sender.
    QCOMPARE(rig.spy.updates, 1);
    QCOMPARE(rig.spy.lastSender, static_cast<CDocView*>(rig.right));

    // Both images hold the same line: first point where the pointer was
    // last, second point at the first press, in image pixels.
    for (int image : {0, 1}) {
        QCOMPARE(rig.Lines(image).m_nCount, 1);
        const CPointSet<int>& line = rig.Lines(image).Line(0);
        QCOMPARE(line.m_nCount, 2);
        QCOMPARE(PointOf(line, 0), QPoint(230, 130));
        QCOMPARE(PointOf(line, 1), QPoint(120, 80));
        QCOMPARE(line.Point(0).label, 0);
        QCOMPARE(line.Point(1).label, 1);
    }

    // A second line gets the next labels; two presses without a move give
    // coinciding points.
    Click(rig.right, QPoint(10, 10));
    Click(rig.right, QPoint(50, 50));
    const CPointSet<int>& second = rig.Lines(0).Line(1);
    QCOMPARE(PointOf(second, 0), QPoint(40, 30));
    QCOMPARE(PointOf(second, 1), QPoint(40, 30));
    QCOMPARE(second.Point(0).label, 2);
    QCOMPARE(second.Point(1).label, 3);
}

void ImageViewTest::drawAbandonedWithRightButton()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 200, 150);
    rig.tools.OnToolDraw();
    Click(rig.left, QPoint(20, 30));
    Move(rig.left->viewport(), QPoint(60, 70));
    Click(rig.left, QPoint(60, 70), Qt::RightButton);
    QVERIFY(!rig.left->HasCapture());
    QCOMPARE(rig.spy.updates, 0);
    // The line stays as the last move left it; further moves change nothing.
    Move(rig.left->viewport(), QPoint(100, 100));
    QCOMPARE(PointOf(rig.Lines(1).Line(0), 0), QPoint(60, 70));
    QCOMPARE(PointOf(rig.Lines(1).Line(0), 1), QPoint(20, 30));
    // A right press while idle does nothing.
    Click(rig.left, QPoint(5, 5), Qt::RightButton);
    QCOMPARE(rig.Lines(0).m_nCount, 1);
    QVERIFY(rig.prompts.menuPositions.empty());
}

void ImageViewTest::captureBringsMovesOverOtherWidgets()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 200, 150);
    rig.tools.OnToolDraw();
    Click(rig.left, QPoint(20, 30));
    // The pointer travels over the right pane: the left pane still gets it,
    // in its own client coordinates.
    const QPoint overRight(15, 25);
    Move(rig.right->viewport(), overRight);
    const QPoint expected = rig.left->viewport()->mapFromGlobal(rig.right->viewport()->mapToGlobal(overRight));
    QVERIFY(expected.x() > rig.left->viewport()->width());
    QCOMPARE(PointOf(rig.Lines(0).Line(0), 0), expected);
    // The finishing press over the right pane also belongs to the left one.
    Click(rig.right, overRight);
    QVERIFY(!rig.left->HasCapture());
    QCOMPARE(rig.Lines(0).m_nCount, 1);
    QCOMPARE(rig.spy.lastSender, static_cast<CDocView*>(rig.left));
    // Without capture the right pane's own tool gets its input again.
    Click(rig.right, QPoint(40, 40));
    QVERIFY(rig.right->HasCapture());
    QCOMPARE(rig.Lines(0).m_nCount, 2);
}

void ImageViewTest::selectThenDragPoint()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 200, 150);
    rig.tools.OnToolDraw();
    DrawLine(rig.left, QPoint(40, 40), QPoint(120, 100));
    rig.tools.OnToolSelect();
    auto* tool = dynamic_cast<CSelectCommand*>(rig.right->GetCommand());
    QVERIFY(tool);
    CPointSet<int>& target = rig.Lines(1).Line(0);

    Move(rig.right->viewport(), QPoint(121, 101));
    QCOMPARE(target.m_nState, int32_t(STATE_POINT_HOVER));
    QCOMPARE(tool->m_nHover, 0);

    // The first press selects the point without moving it.
    Press(rig.right, QPoint(121, 101));
    QCOMPARE(target.m_nState, int32_t(STATE_POINT_SELECTED));
    QCOMPARE(target.m_nSelPoint, 0);
    QCOMPARE(tool->m_nToolState, 1);
    QVERIFY(!rig.right->HasCapture());
    Release(rig.right, QPoint(121, 101));
    QCOMPARE(PointOf(target, 0), QPoint(120, 100));

    // A second press on it starts the drag.
    Press(rig.right, QPoint(121, 101));
    QCOMPARE(tool->m_nToolState, 2);
    QVERIFY(rig.right->HasCapture());
    Move(rig.right->viewport(), QPoint(131, 106));
    Move(rig.right->viewport(), QPoint(141, 111));
    Release(rig.right, QPoint(141, 111));
    QCOMPARE(tool->m_nToolState, 1);
    QVERIFY(!rig.right->HasCapture());
    QCOMPARE(PointOf(target, 0), QPoint(140, 110));
    QCOMPARE(PointOf(target, 1), QPoint(40, 40));
    QCOMPARE(target.m_nState, int32_t(STATE_POINT_SELECTED));
    // Only the pane's own image changed.
    QCOMPARE(PointOf(rig.Lines(0).Line(0), 0), QPoint(120, 100));
    QCOMPARE(rig.spy.updates, 1); // only the one from finishing the line
}

void ImageViewTest::dragSegmentMovesBothEnds()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 200, 150);
    rig.tools.OnToolDraw();
    DrawLine(rig.left, QPoint(20, 20), QPoint(100, 60));
    rig.tools.OnToolSelect();
    CPointSet<int>& source = rig.Lines(0).Line(0);
    const QPoint middle(60, 40);
    Click(rig.left, middle);
    QCOMPARE(source.m_nState, int32_t(STATE_SEGMENT_SELECTED));
    Press(rig.left, middle);
    Move(rig.left->viewport(), middle + QPoint(5, -3));
    Release(rig.left, middle + QPoint(5, -3));
    QCOMPARE(PointOf(source, 0), QPoint(105, 57));
    QCOMPARE(PointOf(source, 1), QPoint(25, 17));
    QCOMPARE(PointOf(rig.Lines(1).Line(0), 0), QPoint(100, 60));
}

void ImageViewTest::pressOnEmptySpaceDeselects()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 200, 150);
    rig.tools.OnToolDraw();
    DrawLine(rig.left, QPoint(20, 20), QPoint(100, 60));
    DrawLine(rig.left, QPoint(20, 120), QPoint(100, 120));
    rig.tools.OnToolSelect();
    auto* tool = dynamic_cast<CSelectCommand*>(rig.left->GetCommand());
    QVERIFY(tool);
    CPointSet<int>& first = rig.Lines(0).Line(0);
    CPointSet<int>& second = rig.Lines(0).Line(1);

    Click(rig.left, QPoint(100, 60));
    QCOMPARE(tool->m_nCurrent, 0);
    // Pressing the other end selects it without a drag.
    Click(rig.left, QPoint(20, 20));
    QCOMPARE(first.m_nSelPoint, 1);
    QCOMPARE(first.m_nState, int32_t(STATE_POINT_SELECTED));
    QCOMPARE(tool->m_nToolState, 1);
    // A press on another line moves the selection there.
    Click(rig.left, QPoint(20, 120));
    QCOMPARE(tool->m_nCurrent, 1);
    QCOMPARE(first.m_nState, int32_t(STATE_NONE));
    QCOMPARE(first.m_nSelPoint, -1);
    QCOMPARE(second.m_nState, int32_t(STATE_POINT_SELECTED));
    // Empty space: deselected, back to idle.
    Click(rig.left, QPoint(180, 20));
    QCOMPARE(tool->m_nToolState, 0);
    QCOMPARE(tool->m_nCurrent, -1);
    QCOMPARE(second.m_nState, int32_t(STATE_NONE));
}

void ImageViewTest::toolCommandsNeedBothPictures()
{
    PaneRig rig;
    std::filesystem::create_directories(rig.dir / "images");
    WriteTestPicture(PathIn(rig.dir, "images/a.bmp"), 50, 40, Qt::red);
    QVERIFY(rig.doc.GetDoc().GetPicture(0)->LoadFromFile((rig.dir / "images/a.bmp").string()));
    rig.tools.OnToolDraw();
    rig.tools.OnToolSelect();
    QVERIFY(!rig.tools.IsDrawToolChecked());
    QVERIFY(!rig.tools.IsSelectToolChecked());
    QCOMPARE(typeid(*rig.left->GetCommand()), typeid(CMorphCommand));
    QCOMPARE(typeid(*rig.right->GetCommand()), typeid(CMorphCommand));
}

void ImageViewTest::toolCommandsGiveFreshTools()
{
    PaneRig rig;
    rig.LoadPictures(200, 150, 200, 150);
    rig.tools.OnToolDraw();
    QVERIFY(rig.tools.IsDrawToolChecked());
    QVERIFY(!rig.tools.IsSelectToolChecked());
    QCOMPARE(typeid(*rig.left->GetCommand()), typeid(CFBCommand));
    QCOMPARE(typeid(*rig.right->GetCommand()), typeid(CFBCommand));
    QVERIFY(rig.left->GetCommand() != rig.right->GetCommand());
    // Half-way through a line, the same command again drops the drawing
    // state and the capture.
    Click(rig.left, QPoint(10, 10));
    QVERIFY(rig.left->HasCapture());
    rig.tools.OnToolDraw();
    QVERIFY(!rig.left->HasCapture());
    QCOMPARE(static_cast<CFBCommand*>(rig.left->GetCommand())->m_nToolState, 0);
    QVERIFY(rig.tools.IsDrawToolChecked());

    rig.tools.OnToolSelect();
    QVERIFY(!rig.tools.IsDrawToolChecked());
    QVERIFY(rig.tools.IsSelectToolChecked());
    QCOMPARE(typeid(*rig.right->GetCommand()), typeid(CSelectCommand));
    // The spy view is not an image pane and never takes a tool; the
    // feature lines stay.
    QCOMPARE(rig.Lines(0).m_nCount, 1);
}

void ImageViewTest::contextMenuOpensImageIntoImagesFolder()
{
    PaneRig rig;
    // A picture elsewhere; the working folder has no images/ yet.
    CTempDir elsewhere;
    WriteTestPicture(PathIn(elsewhere, "face.bmp"), 300, 200, Qt::darkGreen);
    QVERIFY(!std::filesystem::exists(rig.dir / "images"));
    rig.prompts.menuChoice = QStringLiteral("打开图像");
    rig.prompts.fileAnswers.push_back(PathIn(elsewhere, "face.bmp"));

    Click(rig.right, QPoint(12, 14), Qt::RightButton);
    QCOMPARE(rig.prompts.menuPositions.size(), size_t(1));
    QCOMPARE(rig.prompts.menuPositions[0], rig.right->viewport()->mapToGlobal(QPoint(12, 14)));
    QCOMPARE(rig.prompts.menuItems[0], QStringList{QStringLiteral("打开图像")});
    QCOMPARE(rig.prompts.openFilters.size(), 1);
    // Every picture the program reads first (chosen at first), the classic
    // filter kept after it.
    QVERIFY(rig.prompts.openFilters[0].startsWith(
        QStringLiteral("所有图像 (*.bmp *.jpg *.jpeg *.png *.gif *.webp *.tif *.tiff) (")));
    QVERIFY(rig.prompts.openFilters[0].contains(QStringLiteral(";;Image Files (*.bmp;*jpg) (*.bmp *.jpg)")));

    const std::filesystem::path copy = rig.dir / "images" / "face.bmp";
    QVERIFY(std::filesystem::exists(copy));
    const CPictureFile* picture = rig.doc.GetDoc().GetPicture(1);
    QVERIFY(picture->IsLoaded());
    QCOMPARE(QString::fromStdString(picture->GetPath()), QString::fromStdString(copy.string()));
    QVERIFY(!rig.doc.GetDoc().GetPicture(0)->IsLoaded());
    QCOMPARE(rig.right->GetTotalSize(), QSize(320, 220));
    QVERIFY(rig.prompts.messages.empty());

    // Scrolled, the menu still opens at the pointer.
    rig.right->horizontalScrollBar()->setValue(25);
    rig.right->verticalScrollBar()->setValue(15);
    rig.prompts.menuChoice.clear();
    Click(rig.right, QPoint(40, 30), Qt::RightButton);
    QCOMPARE(rig.prompts.menuPositions.back(), rig.right->viewport()->mapToGlobal(QPoint(40, 30)));
    QCOMPARE(rig.prompts.openFilters.size(), 1); // nothing chosen: no dialog
}

void ImageViewTest::pictureFromImagesFolderLoadsAsItStands()
{
    PaneRig rig;
    std::filesystem::create_directories(rig.dir / "images");
    WriteTestPicture(PathIn(rig.dir, "images/own.bmp"), 64, 48, Qt::blue);
    rig.prompts.fileAnswers.push_back(PathIn(rig.dir, "images/own.bmp"));
    rig.left->OnOpenImage();
    QVERIFY(rig.doc.GetDoc().GetPicture(0)->IsLoaded());
    QCOMPARE(rig.left->GetTotalSize(), QSize(84, 68));
    QVERIFY(rig.prompts.messages.empty());
    // A cancelled dialog changes nothing.
    rig.left->OnOpenImage();
    QCOMPARE(rig.left->GetTotalSize(), QSize(84, 68));
    QVERIFY(rig.doc.GetDoc().GetPicture(0)->IsLoaded());
}

void ImageViewTest::undecodablePictureChangesNothing()
{
    PaneRig rig;
    rig.LoadPictures(100, 80, 100, 80);
    const std::filesystem::path good = rig.dir / "images" / "a.bmp";
    const auto goodSize = std::filesystem::file_size(good);
    // Elsewhere: a broken BMP bearing the name of the pane's picture, and
    // text posing as a JPEG.
    CTempDir elsewhere;
    QFile bad(PathIn(elsewhere, "a.bmp"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("BM this is not a picture at all");
    bad.close();
    QFile text(PathIn(elsewhere, "notes.jpg"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("some notes\n");
    text.close();

    rig.prompts.fileAnswers.push_back(bad.fileName());
    rig.left->OnOpenImage();
    QCOMPARE(rig.prompts.messages.size(), size_t(1));
    // The pane keeps its picture and the copy in images/ stays whole.
    const CPictureFile* picture = rig.doc.GetDoc().GetPicture(0);
    QVERIFY(picture->IsLoaded());
    QCOMPARE(QString::fromStdString(picture->GetPath()), QString::fromStdString(good.string()));
    QCOMPARE(std::filesystem::file_size(good), goodSize);
    QCOMPARE(rig.left->GetTotalSize(), QSize(120, 100));
    // The warning names the file the user chose.
    QCOMPARE(rig.prompts.messages[0].icon, CUserPrompts::Icon::kWarning);
    QVERIFY(rig.prompts.messages[0].text.contains(bad.fileName()));

    rig.prompts.fileAnswers.push_back(text.fileName());
    rig.right->OnOpenImage();
    QCOMPARE(rig.prompts.messages.size(), size_t(2));
    QVERIFY(rig.doc.GetDoc().GetPicture(1)->IsLoaded());
    QVERIFY(!std::filesystem::exists(rig.dir / "images" / "notes.jpg"));
    QCOMPARE(rig.right->GetTotalSize(), QSize(120, 100));
}

void ImageViewTest::onlyDefaultToolHasContextMenu()
{
    PaneRig rig;
    rig.LoadPictures(100, 80, 100, 80);
    rig.tools.OnToolSelect();
    Click(rig.left, QPoint(10, 10), Qt::RightButton);
    rig.tools.OnToolDraw();
    Click(rig.left, QPoint(10, 10), Qt::RightButton);
    QVERIFY(rig.prompts.menuPositions.empty());
}
