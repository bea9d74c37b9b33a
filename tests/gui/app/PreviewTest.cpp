#include "PreviewTest.h"

#include "CAppRig.h"
#include "app/CMainFrame.h"
#include "app/CMorphConfigDlg.h"
#include "app/Resource.h"
#include "editing/CDocController.h"
#include "editing/CImageView.h"
#include "geometry/CFeatureSet.h"
#include "gui/support/CGuiTestSupport.h"
#include "run/CRunDriver.h"
#include "picture/CBitmapImage.h"
#include "view/CFrameDisplay.h"
#include "view/CPreviewDock.h"
#include "view/CTrevalinView.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace {

void MouseTo(QWidget* widget, QPoint client, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(client), QPointF(widget->mapToGlobal(client)), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// The run's frame k of n for the document as it is now.
QImage RunFrame(CAppRig& rig, int k, int n)
{
    CRunDriver driver(rig.Doc().GetDoc(), [](CCompressionOptions&) { return false; });
    driver.SetSteps(n);
    if (driver.Start().status != CRunDriver::StartStatus::kStarted) return QImage();
    CBitmap frame;
    driver.ComputeFrame(k, frame);
    driver.Stop();
    return CBitmapImage::ToImage(frame);
}

bool Caught(CPreviewDock& dock)
{
    return dock.GetShown() == dock.GetRequested();
}

} // namespace

void PreviewTest::previewFollowsADragAndEqualsTheRunsFrame()
{
    CAppRig rig;
    WriteTestPicture(PathIn(rig.dir, "images/s.bmp"), 160, 120, Qt::red);
    WriteTestPicture(PathIn(rig.dir, "images/t.bmp"), 160, 120, Qt::blue);
    QVERIFY(rig.Start({rig.WriteProject(rig.dir / "p.tvl", "s.bmp", "t.bmp", 20, 30, 120, 90)}));
    CPreviewDock& dock = *rig.Frame().GetPreview();
    QVERIFY(dock.isVisible());
    QTRY_VERIFY(Caught(dock));
    QCOMPARE(dock.GetDisplay()->GetImage(), RunFrame(rig, 5, 10));
    QCOMPARE(dock.GetStateLabel()->text(), QStringLiteral("预览(精确)"));
    QCOMPARE(dock.GetDisplay()->GetLabel(), QStringLiteral("Frame-5"));

    // Every step of a drag asks for the frame with the lines of that moment
    // (dragged at 100 %).
    rig.Frame().GetAction(ID_VIEW_ZOOM_ACTUAL)->trigger();
    rig.Frame().GetAction(ID_TOOL_SELECT)->trigger();
    QWidget* pane = rig.Frame().GetPane(1)->viewport();
    QTest::mousePress(pane, Qt::LeftButton, {}, QPoint(120, 90));
    for (int step = 1; step <= 4; ++step) {
        const uint64_t before = dock.GetRequested();
        MouseTo(pane, QPoint(120 - 5 * step, 90 - 3 * step), Qt::LeftButton);
        QCOMPARE(dock.GetRequested(), before + 1);
        QTRY_VERIFY(Caught(dock));
        QCOMPARE(dock.GetDisplay()->GetImage(), RunFrame(rig, 5, 10));
    }
    QTest::mouseRelease(pane, Qt::LeftButton, {}, QPoint(100, 78));
    QCOMPARE(rig.Doc().GetFeatureSet()->m_sets[1].Line(0).Point(1).x, 100);
}

void PreviewTest::userInterfaceStaysFreeWhileThePreviewComputes()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    rig.LoadPicture(0, "a.bmp", 1600, 1200, QColor(220, 40, 40));
    rig.LoadPicture(1, "b.bmp", 1600, 1200, QColor(40, 40, 220));
    CFeatureSet& lines = *rig.Doc().GetFeatureSet();
    for (int i = 0; i < 100; ++i) {
        for (int image : {0, 1}) {
            CPointSet<int>& line = lines.m_sets[image].Line(lines.m_sets[image].Add());
            line.AddPoint(40 + 14 * i, 100 + 20 * image, 0, 1);
            line.AddPoint(90 + 14 * i, 1000 - 15 * image, 0, 1);
        }
    }
    CPreviewDock& dock = *rig.Frame().GetPreview();
    QTRY_VERIFY_WITH_TIMEOUT(Caught(dock), 30000);
    dock.SetBusyDelay(0);
    QSignalSpy shown(&dock, &CPreviewDock::frameShown);
    int turns = 0;
    QTimer turn;
    connect(&turn, &QTimer::timeout, [&turns] { ++turns; });
    turn.start(0);
    rig.Doc().NotifyContentChanged();
    // The request returns at once; the event loop goes on turning while the
    // frame is computed elsewhere.
    QCOMPARE(shown.count(), 0);
    QVERIFY(!Caught(dock));
    // Meanwhile the caption says the frame is being computed (looked at
    // event by event: the frame's own caption follows within a few tens of
    // milliseconds).
    const QString computing = QStringLiteral("预览：正在计算…");
    for (int i = 0; i < 1000 && dock.GetStateLabel()->text() != computing && shown.count() == 0; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCOMPARE(dock.GetStateLabel()->text(), computing);
    QVERIFY(shown.count() > 0 || shown.wait(30000));
    QVERIFY(turns > 1);
    QVERIFY(Caught(dock));
    // A frame this slow comes at half resolution first, then exact.
    QTRY_COMPARE_WITH_TIMEOUT(dock.GetStateLabel()->text(), QStringLiteral("预览(精确)"), 30000);
}

void PreviewTest::stepsAndKeysChooseTheFrame()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    CPreviewDock& dock = *rig.Frame().GetPreview();
    QCOMPARE(dock.GetFrameLabel()->text(), QStringLiteral("帧 5 / 10"));
    // The step count follows the control bar; k keeps its place.
    rig.Frame().GetConfigDlg()->StepsEdit()->setText(QStringLiteral("20"));
    QCOMPARE(dock.GetSteps(), 20);
    QCOMPARE(dock.GetFrameIndex(), 10);
    rig.Frame().GetConfigDlg()->StepsEdit()->setText(QStringLiteral("abc"));
    rig.Frame().GetConfigDlg()->StepsEdit()->setText(QStringLiteral("200"));
    QCOMPARE(dock.GetSteps(), 20);
    // A count out of range is not used silently: the caption says which is.
    const QString outOfRange = QStringLiteral("步数应在 1 到 100 之间，预览仍按 20 步");
    QVERIFY2(dock.GetStateLabel()->text().endsWith(outOfRange), qPrintable(dock.GetStateLabel()->text()));
    rig.Frame().GetConfigDlg()->StepsEdit()->setText(QStringLiteral("20"));
    QVERIFY(!dock.GetStateLabel()->text().contains(outOfRange));
    const struct {
        Qt::Key key;
        int frame;
    } keys[] = {{Qt::Key_Right, 11}, {Qt::Key_End, 20}, {Qt::Key_Right, 20}, {Qt::Key_Home, 0}, {Qt::Key_Left, 0}};
    for (const auto& k : keys) {
        QTest::keyClick(dock.GetSlider(), k.key);
        QCOMPARE(dock.GetFrameIndex(), k.frame);
    }
    QCOMPARE(dock.GetFrameLabel()->text(), QStringLiteral("帧 0 / 20"));
}

void PreviewTest::runShowsProgressAndEscapeStopsIt()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    rig.LoadPicture(0, "a.bmp", 48, 36, Qt::red);
    rig.LoadPicture(1, "b.bmp", 48, 36, Qt::blue);
    auto* text = rig.Frame().statusBar()->findChild<QLabel*>(QStringLiteral("m_wndProgressText"));
    auto* bar = rig.Frame().statusBar()->findChild<QProgressBar*>(QStringLiteral("m_wndProgress"));
    QVERIFY(text && bar && !text->isVisible() && !bar->isVisible());
    // No line pairs: every frame is black, and the preview and Start say so.
    const QString noLines = QStringLiteral("还没有特征线:请画特征线，或选择交叉溶解");
    QTRY_VERIFY(Caught(*rig.Frame().GetPreview()));
    QCOMPARE(rig.Frame().GetPreview()->GetStateLabel()->text(), QStringLiteral("预览(精确)　") + noLines);
    rig.Frame().GetConfigDlg()->StepsEdit()->setText(QStringLiteral("4"));
    QTest::mouseClick(rig.Frame().GetConfigDlg()->findChild<QPushButton*>(QStringLiteral("IDC_START")), Qt::LeftButton);
    QVERIFY(text->isVisible() && bar->isVisible());
    QCOMPARE(rig.Frame().statusBar()->currentMessage(), noLines);
    rig.ResultView().WaitForFrame();
    QCOMPARE(text->text(), QStringLiteral("帧 0 / 4"));
    rig.ResultView().OnTimer();
    rig.ResultView().WaitForFrame();
    QCOMPARE(text->text(), QStringLiteral("帧 1 / 4"));
    QCOMPARE(bar->value(), 1);
    QCOMPARE(bar->maximum(), 4);
    rig.Frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.Frame()));
    QTest::keyClick(&rig.Frame(), Qt::Key_Escape);
    QVERIFY(!rig.ResultView().IsRunActive());
    QCOMPARE(rig.ResultView().GetDriver().GetFrameIndex(), 0);
    QCOMPARE(rig.prompts.Texts(), QStringList{QStringLiteral("渐变序列存成视频文件:trv.avi")});
    QVERIFY(!text->isVisible() && !bar->isVisible());
    QVERIFY(!rig.Frame().GetAction(ID_MORPH_STOP_KEY)->isEnabled());
}

void PreviewTest::zoomCommandsReachTheFrames()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    rig.LoadPicture(0, "a.bmp", 2400, 1600, Qt::red);
    rig.LoadPicture(1, "b.bmp", 2400, 1600, Qt::blue);
    rig.Frame().GetAction(ID_VIEW_RESULT)->trigger();
    rig.Frame().GetAction(ID_MORPH_LINEAR)->trigger();
    QTest::mouseClick(rig.Frame().GetConfigDlg()->findChild<QPushButton*>(QStringLiteral("IDC_START")), Qt::LeftButton);
    rig.ResultView().WaitForFrame();
    CFrameDisplay& display = *rig.ResultView().GetDisplay();
    CFrameDisplay& preview = *rig.Frame().GetPreview()->GetDisplay();
    QTRY_VERIFY(!preview.GetImage().isNull());
    // Whole, scaled down, with the label on top of what is shown.
    for (CFrameDisplay* d : {&display, &preview}) {
        QVERIFY(d->GetScale() < 1.0);
        QVERIFY(d->viewport()->rect().contains(d->FrameRect()));
    }
    // The result view follows the panes' zoom; the panel keeps its own.
    rig.Frame().GetAction(ID_VIEW_ZOOM_ACTUAL)->trigger();
    QCOMPARE(display.GetScale(), 1.0);
    QCOMPARE(display.horizontalScrollBar()->maximum(), 2400 - display.viewport()->width());
    QVERIFY(preview.IsFit());
    display.horizontalScrollBar()->setValue(700);
    QCOMPARE(display.FrameRect().left(), -700);
    const QImage screen = display.viewport()->grab().toImage();
    int dark = 0;
    for (int x = screen.width() / 2 - 25; x < screen.width() / 2 + 25; ++x)
        dark += qGray(screen.pixel(x, 6)) < 60 ? 1 : 0;
    QVERIFY(dark > 0);
    rig.Frame().GetAction(ID_VIEW_ZOOM_FIT)->trigger();
    QVERIFY(display.IsFit() && preview.IsFit());
    rig.Frame().OnMorphStop();
}

void PreviewTest::onionSkinAndPanelPlaceAreKept()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    rig.LoadPicture(0, "a.bmp", 48, 36, QColor(220, 40, 40));
    rig.LoadPicture(1, "b.bmp", 48, 36, QColor(40, 40, 220));
    rig.Frame().GetAction(ID_VIEW_ONION_SKIN)->trigger();
    for (int column : {0, 1}) {
        const QImage shown = rig.Frame().GetPane(column)->viewport()->grab().toImage();
        // Red and blue half and half.
        QVERIFY(qAbs(shown.pixelColor(5, 20).red() - 130) <= 2);
        QVERIFY(qAbs(shown.pixelColor(5, 20).blue() - 130) <= 2);
    }
    // The panel starts shown; hidden, it stays hidden at the next start.
    QVERIFY(rig.Frame().GetPreview()->isVisible());
    rig.Frame().GetAction(ID_VIEW_PREVIEW)->trigger();
    QVERIFY(!rig.Frame().GetPreview()->isVisible());
    rig.Quit();
    CAppRig again(rig.settingsPath);
    QVERIFY(again.Start());
    QVERIFY(!again.Frame().GetPreview()->isVisible());
    again.Frame().GetAction(ID_VIEW_PREVIEW)->trigger();
    QVERIFY(again.Frame().GetPreview()->isVisible());
}
