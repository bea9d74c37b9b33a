#include "WindowLayoutTest.h"

#include "CAppRig.h"
#include "app/CDocManager.h"
#include "app/CEditCommands.h"
#include "app/CMainFrame.h"
#include "app/CMorphConfigDlg.h"
#include "app/CPaneFit.h"
#include "app/CPaneScrollSync.h"
#include "app/CTrevalinApp.h"
#include "app/CWindowLayout.h"
#include "app/Resource.h"
#include "editing/CImageView.h"
#include "editing/CSelectCommand.h"
#include "editing/CToolSwitcher.h"
#include "gui/support/CGuiTestSupport.h"
#include "view/CFrameDisplay.h"
#include "view/CPreviewDock.h"
#include "view/CTrevalinView.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

namespace {

// Starts `rig` on a project of two pictures of w x h, shown.
bool StartOnProject(CAppRig& rig, int w, int h)
{
    WriteTestPicture(PathIn(rig.dir, "images/s.bmp"), w, h, Qt::red);
    WriteTestPicture(PathIn(rig.dir, "images/t.bmp"), w, h, Qt::blue);
    const QString project = rig.WriteProject(rig.dir / "p.tvl", "s.bmp", "t.bmp", 5, 6, 30, 40);
    if (!rig.Start({project}) || !QTest::qWaitForWindowExposed(&rig.Frame())) return false;
    QCoreApplication::processEvents();
    return true;
}

void Wheel(CImageView* pane, QPoint at, int delta)
{
    QWheelEvent wheel(QPointF(at), QPointF(pane->viewport()->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pane->viewport(), &wheel);
}

QPoint Scroll(const CImageView* pane)
{
    return QPoint(pane->horizontalScrollBar()->value(), pane->verticalScrollBar()->value());
}

} // namespace

void WindowLayoutTest::firstStartFillsFourFifthsWithEvenPanes()
{
    QCOMPARE(CWindowLayout::FirstGeometry(QRect(0, 0, 1600, 1000)), QRect(160, 100, 1280, 800));
    QCOMPARE(CWindowLayout::FirstGeometry(QRect(100, 40, 1000, 500)).center(), QRect(100, 40, 1000, 500).center());

    CAppRig rig;
    QVERIFY(rig.Start());
    QVERIFY(QTest::qWaitForWindowExposed(&rig.Frame()));
    CMainFrame& frame = rig.Frame();
    const QRect available = frame.screen()->availableGeometry();
    QCOMPARE(frame.geometry().size(), CWindowLayout::FirstGeometry(available).size());
    // The panel takes a quarter, the panes half each of the rest.
    QVERIFY(qAbs(frame.GetPreview()->width() - frame.width() / 4) <= 8);
    QVERIFY(qAbs(frame.GetPane(0)->width() - frame.GetPane(1)->width()) <= 1);
}

void WindowLayoutTest::layoutStepsAndToolComeBackAtTheNextStart()
{
    CAppRig rig;
    QVERIFY(StartOnProject(rig, 64, 48));
    CMainFrame& frame = rig.Frame();
    // No tool is chosen before the user chooses one.
    QVERIFY(!frame.GetTools().IsDrawToolChecked() && !frame.GetTools().IsSelectToolChecked());
    frame.setGeometry(QRect(30, 20, 700, 500));
    QTRY_COMPARE(frame.width(), 700);
    frame.GetSplitter()->setSizes({150, 250});
    const QList<int> split = frame.GetSplitter()->sizes();
    frame.GetConfigDlg()->StepsEdit()->setText(QStringLiteral("37"));
    frame.GetAction(ID_TOOL_SELECT)->trigger();
    rig.Quit();

    CAppRig again(rig.settingsPath);
    QVERIFY(StartOnProject(again, 64, 48));
    CMainFrame& restored = again.Frame();
    QCOMPARE(restored.size(), QSize(700, 500));
    QCOMPARE(restored.GetSplitter()->sizes(), split);
    QCOMPARE(restored.GetConfigDlg()->StepsEdit()->text(), QStringLiteral("37"));
    QCOMPARE(restored.GetConfigDlg()->m_nSteps, 37);
    QCOMPARE(restored.GetPreview()->GetSteps(), 37);
    QVERIFY(restored.GetTools().IsSelectToolChecked());
    QVERIFY(restored.GetAction(ID_TOOL_SELECT)->isChecked());
    QVERIFY(dynamic_cast<CSelectCommand*>(restored.GetPane(1)->GetCommand()));
    again.Quit();

    // A count the field does not take is not brought back.
    QSettings(rig.settingsPath, QSettings::IniFormat).setValue(QStringLiteral("Morph/Steps"), 500);
    CAppRig third(rig.settingsPath);
    QCOMPARE(third.settings->value(QStringLiteral("Morph/Steps")).toInt(), 500);
    QVERIFY(third.Start());
    QCOMPARE(third.Frame().GetConfigDlg()->StepsEdit()->text(), QStringLiteral("10"));
}

void WindowLayoutTest::panesScrollTogetherUntilTurnedOff()
{
    CAppRig rig;
    QVERIFY(StartOnProject(rig, 900, 700));
    CMainFrame& frame = rig.Frame();
    CImageView* left = frame.GetPane(0);
    CImageView* right = frame.GetPane(1);
    QAction* sync = frame.GetAction(ID_VIEW_SYNC_SCROLL);
    QVERIFY(sync->isChecked());
    QVERIFY(frame.GetEditCommands().GetViewMenu()->actions().contains(sync));
    frame.GetAction(ID_VIEW_ZOOM_ACTUAL)->trigger();

    // Either pane leads: the same picture point under the same place.
    left->horizontalScrollBar()->setValue(130);
    left->verticalScrollBar()->setValue(90);
    QCOMPARE(Scroll(right), QPoint(130, 90));
    right->verticalScrollBar()->setValue(100);
    QCOMPARE(Scroll(left), QPoint(130, 100));
    QCOMPARE(left->ClientToPicture(QPoint(40, 50)), right->ClientToPicture(QPoint(40, 50)));

    // Ctrl and the wheel over the right pane: the point under the pointer
    // stays there, and the left pane shows the same point there too.
    const QPoint at(60, 70);
    const QPoint point = right->ClientToPicture(at);
    Wheel(right, at, 120);
    QCOMPARE(right->GetZoom().Factor(), 1.5);
    QVERIFY((right->ClientToPicture(at) - point).manhattanLength() <= 1);
    QCOMPARE(Scroll(left), Scroll(right));
    QCOMPARE(left->ClientToPicture(at), right->ClientToPicture(at));

    // Off: each pane scrolls alone, and it stays off at the next start.
    sync->trigger();
    QVERIFY(!frame.GetScrollSync().IsOn());
    const QPoint kept = Scroll(right);
    left->horizontalScrollBar()->setValue(10);
    left->verticalScrollBar()->setValue(20);
    QCOMPARE(Scroll(left), QPoint(10, 20));
    QCOMPARE(Scroll(right), kept);
    rig.Quit();
    CAppRig again(rig.settingsPath);
    QVERIFY(again.Start());
    QVERIFY(!again.Frame().GetAction(ID_VIEW_SYNC_SCROLL)->isChecked());
    QVERIFY(!again.Frame().GetScrollSync().IsOn());
}

void WindowLayoutTest::picturesFitWhenOpenedUntilTheUserZooms()
{
    CAppRig rig;
    QVERIFY(StartOnProject(rig, 1500, 1200));
    CMainFrame& frame = rig.Frame();
    // Both seen whole, at the largest zoom that shows them so.
    const double fit = std::min(frame.GetPane(0)->FitFactor(), frame.GetPane(1)->FitFactor());
    QTRY_COMPARE(frame.GetPane(0)->GetZoom().Factor(), fit);
    // The result view still shows its frames whole.
    QVERIFY(rig.ResultView().GetDisplay()->IsFit());
    for (int column : {0, 1}) {
        const CImageView* pane = frame.GetPane(column);
        QVERIFY(pane->GetTotalSize().width() <= pane->maximumViewportSize().width());
        QVERIFY(pane->GetTotalSize().height() <= pane->maximumViewportSize().height());
    }
    // A narrower pane shows them smaller.
    const int width = frame.GetSplitter()->width();
    frame.GetSplitter()->setSizes({width / 3, width - width / 3});
    QTRY_VERIFY(frame.GetPane(0)->GetZoom().Factor() < fit);
    frame.GetSplitter()->setSizes({width / 2, width - width / 2});

    // Small pictures are enlarged to fill the panes.
    rig.LoadPicture(0, "a.bmp", 40, 30, Qt::green);
    rig.LoadPicture(1, "b.bmp", 40, 30, Qt::green);
    QTRY_COMPARE(frame.GetPane(0)->GetZoom().Factor(),
                 std::min(frame.GetPane(0)->FitFactor(), frame.GetPane(1)->FitFactor()));
    QVERIFY(frame.GetPane(0)->GetZoom().Factor() > 1.0);

    // The user's zoom stays when the next picture opens.
    frame.GetAction(ID_VIEW_ZOOM_OUT)->trigger();
    QVERIFY(!frame.GetPaneFit().IsOn());
    const double chosen = frame.GetPane(0)->GetZoom().Factor();
    rig.LoadPicture(0, "c.bmp", 1500, 1200, Qt::green);
    QTest::qWait(20);
    QCOMPARE(frame.GetPane(0)->GetZoom().Factor(), chosen);
    // 适合窗口 fits again, and from then on as pictures open.
    frame.GetAction(ID_VIEW_ZOOM_FIT)->trigger();
    QVERIFY(frame.GetPaneFit().IsOn());
    rig.LoadPicture(1, "d.bmp", 1500, 1200, Qt::green);
    QTRY_VERIFY(frame.GetPane(0)->GetZoom().Factor() < chosen);
    QTRY_COMPARE(frame.GetPane(0)->GetZoom().Factor(),
                 std::min(frame.GetPane(0)->FitFactor(), frame.GetPane(1)->FitFactor()));
    // Pictures many times the pane (a camera's photo in a narrow pane) are
    // still seen whole.
    frame.GetSplitter()->setSizes({width / 10, width - width / 10});
    QTRY_VERIFY(frame.GetPane(0)->GetZoom().Factor() < 0.125);
    QTRY_COMPARE(frame.GetPane(0)->GetZoom().Factor(),
                 std::min(frame.GetPane(0)->FitFactor(), frame.GetPane(1)->FitFactor()));
    QVERIFY(frame.GetPane(0)->GetTotalSize().width() <= frame.GetPane(0)->maximumViewportSize().width());
}

void WindowLayoutTest::previewHasItsOwnScale()
{
    CAppRig rig;
    QVERIFY(StartOnProject(rig, 900, 700));
    CMainFrame& frame = rig.Frame();
    CFrameDisplay& preview = *frame.GetPreview()->GetDisplay();
    QTRY_VERIFY(!preview.GetImage().isNull());
    QVERIFY(preview.IsFit());
    // Zooming the panes leaves the preview whole.
    Wheel(frame.GetPane(0), QPoint(20, 20), 120);
    QCOMPARE(rig.ResultView().GetDisplay()->GetScale(), frame.GetPane(0)->GetZoom().Factor());
    frame.GetAction(ID_VIEW_ZOOM_ACTUAL)->trigger();
    QVERIFY(preview.IsFit() && preview.GetScale() < 1.0);
    // Its own button: 100 %, and whole again.
    QToolButton* actual = frame.GetPreview()->GetActualSizeButton();
    actual->click();
    QCOMPARE(preview.GetScale(), 1.0);
    QCOMPARE(preview.horizontalScrollBar()->maximum(), 900 - preview.viewport()->width());
    QVERIFY(preview.actions().contains(actual->defaultAction()));
    actual->click();
    QVERIFY(preview.IsFit());
}
