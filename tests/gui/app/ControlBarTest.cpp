#include "ControlBarTest.h"

#include "CAppRig.h"
#include "app/CMainFrame.h"
#include "app/CMorphConfigDlg.h"
#include "view/CTrevalinView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QPushButton* Button(CMainFrame& frame, const char* name)
{
    return frame.GetConfigDlg()->findChild<QPushButton*>(QString::fromLatin1(name));
}

// A rig with two equal pictures, ready for a run.
void LoadPair(CAppRig& rig)
{
    rig.LoadPicture(0, "a.bmp", 40, 30, Qt::red);
    rig.LoadPicture(1, "b.bmp", 40, 30, Qt::blue);
}

} // namespace

void ControlBarTest::startUpValues()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    CMorphConfigDlg* bar = rig.Frame().GetConfigDlg();
    QCOMPARE(bar->m_nSteps, 10);
    QCOMPARE(bar->StepsEdit()->text(), QStringLiteral("10"));
    QCOMPARE(bar->SpeedList()->currentIndex(), -1);
    QCOMPARE(bar->SpeedList()->count(), 3);
    QCOMPARE(bar->SpeedList()->itemText(0), QStringLiteral("快"));
    QCOMPARE(bar->SpeedList()->itemText(1), QStringLiteral("中"));
    QCOMPARE(bar->SpeedList()->itemText(2), QStringLiteral("慢"));
    QVERIFY(!bar->SpeedList()->isEditable());
}

void ControlBarTest::controlsLeftToRight()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    CMainFrame& frame = rig.Frame();
    QPushButton* start = Button(frame, "IDC_START");
    QPushButton* pause = Button(frame, "IDC_PAUSE");
    QPushButton* stop = Button(frame, "IDC_STOP");
    QVERIFY(start && pause && stop);
    QCOMPARE(start->text(), QStringLiteral("开始"));
    QCOMPARE(pause->text(), QStringLiteral("暂停"));
    QCOMPARE(stop->text(), QStringLiteral("停止"));
    CMorphConfigDlg* bar = frame.GetConfigDlg();
    QVERIFY(bar->StepsEdit()->x() < bar->SpeedList()->x());
    QVERIFY(bar->SpeedList()->x() < start->x());
    QVERIFY(start->x() < pause->x());
    QVERIFY(pause->x() < stop->x());
}

void ControlBarTest::invalidStepsAreRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString notInteger = QStringLiteral("请键入一个整数。");
    const QString outOfRange = QStringLiteral("“请填入一个在1和100之间的整数。”");
    QTest::newRow("zero") << QStringLiteral("0") << outOfRange;
    QTest::newRow("101") << QStringLiteral("101") << outOfRange;
    QTest::newRow("negative") << QStringLiteral("-3") << outOfRange;
    QTest::newRow("word") << QStringLiteral("abc") << notInteger;
    QTest::newRow("empty") << QString() << notInteger;
    QTest::newRow("trailing") << QStringLiteral("12x") << notInteger;
    // Integers beyond 32 bits are integers out of range, not words.
    QTest::newRow("huge") << QStringLiteral("99999999999") << outOfRange;
    QTest::newRow("hugeNegative") << QStringLiteral("-99999999999999999999999") << outOfRange;
}

void ControlBarTest::invalidStepsAreRefused()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    CAppRig rig;
    QVERIFY(rig.Start());
    LoadPair(rig);
    CMainFrame& frame = rig.Frame();
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QLineEdit* edit = frame.GetConfigDlg()->StepsEdit();
    edit->setText(text);
    QTest::mouseClick(Button(frame, "IDC_START"), Qt::LeftButton);
    QCOMPARE(rig.prompts.Texts(), QStringList{message});
    QCOMPARE(rig.prompts.messages[0].icon, CUserPrompts::Icon::kWarning);
    QVERIFY(edit->hasFocus());
    // Nothing reached the result view: no run, no video dialog.
    QCOMPARE(rig.prompts.compressionDialogs, 0);
    QVERIFY(!frame.GetResultView()->GetDriver().IsRunning());
    QCOMPARE(frame.GetResultView()->GetDriver().GetSteps(), 0);
}

void ControlBarTest::validStepsReachTheResultView_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("steps");
    QTest::newRow("one") << QStringLiteral("1") << 1;
    QTest::newRow("hundred") << QStringLiteral("100") << 100;
    QTest::newRow("blanks") << QStringLiteral(" 7 ") << 7;
}

void ControlBarTest::validStepsReachTheResultView()
{
    QFETCH(QString, text);
    QFETCH(int, steps);
    CAppRig rig;
    QVERIFY(rig.Start());
    LoadPair(rig);
    rig.Frame().GetConfigDlg()->StepsEdit()->setText(text);
    QTest::mouseClick(Button(rig.Frame(), "IDC_START"), Qt::LeftButton);
    QVERIFY(rig.prompts.messages.empty());
    QCOMPARE(rig.ResultView().GetDriver().GetSteps(), steps);
    QVERIFY(rig.ResultView().GetDriver().IsRunning());
    // Frame 0 in the video: the end tells where it went.
    rig.ResultView().WaitForFrame();
    // Pause and Stop read nothing: a bad field does not stop them.
    rig.Frame().GetConfigDlg()->StepsEdit()->setText(QStringLiteral("abc"));
    QTest::mouseClick(Button(rig.Frame(), "IDC_PAUSE"), Qt::LeftButton);
    QVERIFY(!rig.ResultView().GetDriver().IsRunning());
    QTest::mouseClick(Button(rig.Frame(), "IDC_STOP"), Qt::LeftButton);
    QCOMPARE(rig.prompts.Texts(), QStringList{QStringLiteral("渐变序列存成视频文件:trv.avi")});
}

void ControlBarTest::speedListSetsTheInterval()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    LoadPair(rig);
    CMorphConfigDlg* bar = rig.Frame().GetConfigDlg();
    QCOMPARE(bar->GetInterval(), 100);
    const int expected[] = {50, 100, 250};
    for (int i = 0; i < 3; ++i) {
        bar->SpeedList()->setCurrentIndex(i);
        QTest::mouseClick(Button(rig.Frame(), "IDC_START"), Qt::LeftButton);
        QCOMPARE(rig.ResultView().GetInterval(), expected[i]);
        QVERIFY(rig.ResultView().IsTimerActive());
        QTest::mouseClick(Button(rig.Frame(), "IDC_PAUSE"), Qt::LeftButton);
        QVERIFY(!rig.ResultView().IsTimerActive());
    }
}
