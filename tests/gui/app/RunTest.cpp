#include "RunTest.h"

#include "CAppRig.h"
#include "app/CMainFrame.h"
#include "app/CMorphConfigDlg.h"
#include "app/Resource.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "editing/CImageView.h"
#include "gui/support/CGuiTestSupport.h"
#include "run/CRunLock.h"
#include "support/CRiffReader.h"
#include "support/TestFiles.h"
#include "view/CTrevalinView.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QDialog>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QTest>

#include <filesystem>

namespace {

const QString kEndMessage = QStringLiteral("渐变序列存成视频文件:trv.avi");

void LoadPair(CAppRig& rig, int width = 48, int height = 36)
{
    rig.LoadPicture(0, "a.bmp", width, height, QColor(220, 40, 40));
    rig.LoadPicture(1, "b.bmp", width, height, QColor(40, 40, 220));
}

// Presses 开始 and waits for the frame it starts (frames are made on the
// view's frame thread).
void PressStart(CAppRig& rig, int steps)
{
    rig.Frame().GetConfigDlg()->StepsEdit()->setText(QString::number(steps));
    QTest::mouseClick(rig.Frame().GetConfigDlg()->findChild<QPushButton*>(QStringLiteral("IDC_START")), Qt::LeftButton);
    rig.ResultView().WaitForFrame();
}

// One timer tick and the frame it starts.
void Tick(CTrevalinView& view)
{
    view.OnTimer();
    view.WaitForFrame();
}

bool FrameFile(const CAppRig& rig, int k)
{
    return std::filesystem::exists(rig.Work("ouput_image/Frame-" + std::to_string(k) + ".bmp"));
}

int FrameFiles(const CAppRig& rig)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(rig.dir / "ouput_image"))
        count += entry.path().extension() == ".bmp" ? 1 : 0;
    return count;
}

// Number of frames ffprobe decodes from the video, or -1 without ffprobe.
int VideoFrames(const QString& path)
{
    const QString ffprobe = QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
    if (ffprobe.isEmpty()) return -1;
    QProcess probe;
    probe.start(ffprobe,
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-count_frames"),
                 QStringLiteral("-select_streams"), QStringLiteral("v:0"), QStringLiteral("-show_entries"),
                 QStringLiteral("stream=nb_read_frames"), QStringLiteral("-of"), QStringLiteral("csv=p=0"), path});
    if (!probe.waitForFinished(60000) || probe.exitCode() != 0) return -2;
    return probe.readAllStandardOutput().trimmed().toInt();
}

// Frames the video's RIFF chunks hold, -1 when it cannot be read.
int VideoChunks(const CAppRig& rig)
{
    CRiffReader riff;
    if (!riff.Parse(testfiles::ReadBytesOrEmpty(rig.Work("output_video/trevalin.avi"))) || riff.Top().empty())
        return -1;
    const CRiffReader::Chunk* movi = riff.Top().front().Find("movi");
    return movi != nullptr ? static_cast<int>(movi->All("00db").size()) : -1;
}

// Drops `path` on `target` as a file manager would; returns whether the
// drop was taken.
bool DropOn(QWidget& target, const QString& path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QCoreApplication::sendEvent(&target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &drop);
    return drop.isAccepted();
}

} // namespace

void RunTest::twoStepRunWritesFramesAndVideo()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    LoadPair(rig);
    rig.Frame().GetAction(ID_VIEW_RESULT)->trigger();
    // Without lines the feature engine draws black: dissolve, to see the pictures.
    rig.Frame().GetAction(ID_MORPH_LINEAR)->trigger();
    CTrevalinView& view = rig.ResultView();

    PressStart(rig, 2);
    QCOMPARE(rig.prompts.compressionDialogs, 1);
    QVERIFY(view.IsTimerActive());
    // Start produces frame 0 at once.
    QVERIFY(FrameFile(rig, 0));
    QCOMPARE(view.GetShownFrameIndex(), 0);
    QCOMPARE(FrameFiles(rig), 1);

    Tick(view);
    QVERIFY(FrameFile(rig, 1));
    Tick(view);
    QVERIFY(FrameFile(rig, 2));
    QCOMPARE(view.GetShownFrameIndex(), 2);
    QVERIFY(rig.prompts.messages.empty());
    // Repaints produce nothing more.
    view.repaint();
    view.repaint();
    QCOMPARE(FrameFiles(rig), 3);

    // The tick past the last frame ends the run, once.
    Tick(view);
    QCOMPARE(rig.prompts.Texts(), QStringList{kEndMessage});
    QVERIFY(!view.IsTimerActive());
    QVERIFY(!view.GetDriver().IsRunning());
    QCOMPARE(view.GetDriver().GetFrameIndex(), 0);
    Tick(view);
    QCOMPARE(rig.prompts.messages.size(), size_t(1));
    QCOMPARE(FrameFiles(rig), 3);

    // Frame 0 is the source picture, frame 2 the target.
    const QImage first(QString::fromStdString(rig.Work("ouput_image/Frame-0.bmp")));
    const QImage last(QString::fromStdString(rig.Work("ouput_image/Frame-2.bmp")));
    QCOMPARE(first.size(), QSize(48, 36));
    QCOMPARE(first.pixelColor(10, 5), QColor(220, 40, 40));
    QCOMPARE(last.pixelColor(10, 5), QColor(40, 40, 220));

    const QString video = QString::fromStdString(rig.Work("output_video/trevalin.avi"));
    QVERIFY(QFile::exists(video));
    const int frames = VideoFrames(video);
    if (frames == -1) QSKIP("ffprobe is not installed");
    QCOMPARE(frames, 3);
}

void RunTest::pauseThenStartContinuesFromPausedFrame()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    LoadPair(rig);
    CTrevalinView& view = rig.ResultView();
    PressStart(rig, 3);
    Tick(view);
    QCOMPARE(view.GetDriver().GetFrameIndex(), 1);
    QTest::mouseClick(rig.Frame().GetConfigDlg()->findChild<QPushButton*>(QStringLiteral("IDC_PAUSE")), Qt::LeftButton);
    QVERIFY(!view.IsTimerActive());
    QVERIFY(!view.GetDriver().IsRunning());
    QCOMPARE(view.GetDriver().GetFrameIndex(), 1);
    std::filesystem::remove(rig.Work("ouput_image/Frame-1.bmp"));

    // Start again: the same video, from the frame after the paused one
    // (frame 1 is not made twice), without asking for the compression again.
    PressStart(rig, 3);
    QCOMPARE(rig.prompts.compressionDialogs, 1);
    QVERIFY(view.IsTimerActive());
    QCOMPARE(view.GetDriver().GetFrameIndex(), 2);
    QVERIFY(!FrameFile(rig, 1));
    QVERIFY(FrameFile(rig, 2));
    Tick(view);
    QVERIFY(FrameFile(rig, 3));
    Tick(view);
    QCOMPARE(rig.prompts.Texts(), QStringList{kEndMessage});
    QCOMPARE(VideoChunks(rig), 4); // frames 0 to 3
    // 开始 after the sequence ended starts a new one, with a new video.
    PressStart(rig, 3);
    QCOMPARE(rig.prompts.compressionDialogs, 2);
    QCOMPARE(view.GetDriver().GetFrameIndex(), 0);
}

void RunTest::stopRewindsAndTellsWhereTheVideoWent()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    LoadPair(rig);
    CTrevalinView& view = rig.ResultView();
    // Before any Start there is no video to tell about.
    view.StopRun();
    QVERIFY(rig.prompts.messages.empty());

    PressStart(rig, 5);
    Tick(view);
    Tick(view);
    QTest::mouseClick(rig.Frame().GetConfigDlg()->findChild<QPushButton*>(QStringLiteral("IDC_STOP")), Qt::LeftButton);
    QCOMPARE(rig.prompts.Texts(), QStringList{kEndMessage});
    QVERIFY(!view.IsTimerActive());
    QCOMPARE(view.GetDriver().GetFrameIndex(), 0);
    QVERIFY(QFile::exists(QString::fromStdString(rig.Work("output_video/trevalin.avi"))));
    // Stop again: told again; the next Start begins at frame 0.
    view.StopRun();
    QCOMPARE(rig.prompts.messages.size(), size_t(2));
    std::filesystem::remove(rig.Work("ouput_image/Frame-0.bmp"));
    PressStart(rig, 5);
    QVERIFY(FrameFile(rig, 0));
    QCOMPARE(view.GetShownFrameIndex(), 0);
}

void RunTest::runGoesOnWhileThePanesAreShown()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    LoadPair(rig);
    CTrevalinView& view = rig.ResultView();
    QVERIFY(!view.isVisible());
    PressStart(rig, 2);
    Tick(view);
    Tick(view);
    // Every frame was produced although the view was hidden.
    QCOMPARE(FrameFiles(rig), 3);
    rig.Frame().GetAction(ID_VIEW_RESULT)->trigger();
    QCOMPARE(view.GetShownFrameIndex(), 2);
    QVERIFY(rig.prompts.messages.empty());
    Tick(view);
    QCOMPARE(rig.prompts.Texts(), QStringList{kEndMessage});
    const int frames = VideoFrames(QString::fromStdString(rig.Work("output_video/trevalin.avi")));
    if (frames == -1) QSKIP("ffprobe is not installed");
    QCOMPARE(frames, 3);
}

void RunTest::cancelledVideoStillWritesFrames()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    LoadPair(rig);
    rig.prompts.acceptCompression = false;
    CTrevalinView& view = rig.ResultView();
    PressStart(rig, 2);
    QVERIFY(view.IsTimerActive());
    Tick(view);
    Tick(view);
    // No message per frame for the video that was never opened.
    QVERIFY(rig.prompts.messages.empty());
    QCOMPARE(FrameFiles(rig), 3);
    Tick(view);
    // No video: the end says so instead of telling where it went.
    QCOMPARE(rig.prompts.Texts(), QStringList{QStringLiteral("没有写入视频文件(已取消选择压缩方式)")});
    QVERIFY(!QFile::exists(QString::fromStdString(rig.Work("output_video/trevalin.avi"))));
}

void RunTest::writeFailureToldOnceWithTimerHeld()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    LoadPair(rig);
    // A plain file where the frame folder should be: no frame can be written.
    std::filesystem::remove_all(rig.dir / "ouput_image");
    QFile blocker(QString::fromStdString(rig.Work("ouput_image")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    CTrevalinView& view = rig.ResultView();
    QList<bool> timerDuringMessage;
    rig.prompts.onMessage = [&](const QString&) { timerDuringMessage << view.IsTimerActive(); };

    PressStart(rig, 3);
    Tick(view);
    Tick(view);
    QCOMPARE(rig.prompts.messages.size(), size_t(1));
    QCOMPARE(rig.prompts.messages[0].icon, CUserPrompts::Icon::kWarning);
    QVERIFY(rig.prompts.messages[0].text != kEndMessage);
    QVERIFY(view.IsTimerActive());
    Tick(view);
    Tick(view);
    QCOMPARE(rig.prompts.messages.size(), size_t(2));
    QCOMPARE(rig.prompts.messages[1].text, kEndMessage);
    QCOMPARE(timerDuringMessage, (QList<bool>{false, false}));
    QVERIFY(!view.GetDriver().IsRunning());

    // A later run tells it again, once.
    PressStart(rig, 1);
    Tick(view);
    QCOMPARE(rig.prompts.messages.size(), size_t(3));
}

void RunTest::incompatiblePicturesStartNothing()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    rig.LoadPicture(0, "a.bmp", 40, 30, Qt::red);
    rig.LoadPicture(1, "b.bmp", 41, 30, Qt::blue);
    PressStart(rig, 2);
    // The message names both sizes on a line of its own.
    QCOMPARE(rig.prompts.Texts(),
             QStringList{QStringLiteral("不一致的图片大小或颜色格式!\n源图像 40 × 30，目标图像 41 × 30")});
    QCOMPARE(rig.prompts.messages[0].icon, CUserPrompts::Icon::kWarning);
    QCOMPARE(rig.prompts.compressionDialogs, 0);
    QVERIFY(!rig.ResultView().IsTimerActive());
    QVERIFY(!rig.ResultView().GetDriver().IsRunning());
    QCOMPARE(FrameFiles(rig), 0);
}

void RunTest::labelOnScreenOnly()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    LoadPair(rig, 120, 60);
    rig.Frame().GetAction(ID_VIEW_RESULT)->trigger();
    rig.Frame().GetAction(ID_MORPH_LINEAR)->trigger();
    PressStart(rig, 2);
    CTrevalinView& view = rig.ResultView();
    const QImage screen = view.grab().toImage();
    const QImage file(QString::fromStdString(rig.Work("ouput_image/Frame-0.bmp")));
    // The top middle of the screen holds the dark label text; the file
    // holds the plain picture there.
    int dark = 0;
    for (int y = 0; y < 15; ++y) {
        for (int x = 30; x < 90; ++x)
            dark += qGray(screen.pixel(x, y)) < 60 ? 1 : 0;
    }
    QVERIFY(dark > 0);
    QCOMPARE(file.pixelColor(60, 5), QColor(220, 40, 40));
    QCOMPARE(view.GetShownFrame().pixelColor(60, 5), QColor(220, 40, 40));
}

void RunTest::framesAreMadeOffTheInterfaceThreadAndPauseOrStopAbandonThem()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    LoadPair(rig, 1600, 1200);
    // Thousands of line pairs: a frame takes seconds.
    CFeatureSet& lines = *rig.Doc().GetFeatureSet();
    for (int i = 0; i < 8000; ++i) {
        for (int image : {0, 1}) {
            CPointSet<int>& line = lines.m_sets[image].Line(lines.m_sets[image].Add());
            line.AddPoint(i % 1600, i % 1200, 0, 1);
            line.AddPoint((i * 7) % 1600, (i * 3 + 1) % 1200, 0, 1);
        }
    }
    CTrevalinView& view = rig.ResultView();
    QPushButton* start = rig.Frame().GetConfigDlg()->findChild<QPushButton*>(QStringLiteral("IDC_START"));
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(view.IsFrameInProgress());
    // The event loop goes on while the frame is computed, and lines may be
    // edited meanwhile.
    bool served = false;
    QTimer::singleShot(0, &view, [&] { served = true; });
    QTRY_VERIFY(served);
    lines.m_sets[0].Line(0).Point(0).x += 5;
    QVERIFY(view.IsFrameInProgress());

    QTest::mouseClick(rig.Frame().GetConfigDlg()->findChild<QPushButton*>(QStringLiteral("IDC_PAUSE")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!view.IsFrameInProgress(), 30000);
    QCOMPARE(FrameFiles(rig), 0);
    QCOMPARE(view.GetShownFrameIndex(), -1);

    // Start again: frame 0 anew; Stop gives it up and tells that the video
    // holds no frame.
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(view.IsFrameInProgress());
    QTest::mouseClick(rig.Frame().GetConfigDlg()->findChild<QPushButton*>(QStringLiteral("IDC_STOP")), Qt::LeftButton);
    QVERIFY(!view.IsFrameInProgress());
    QCOMPARE(rig.prompts.Texts(), QStringList{QStringLiteral("没有写入视频文件:还没有生成任何一帧。")});
    QCOMPARE(FrameFiles(rig), 0);
}

void RunTest::aSecondRunInTheFolderIsRefused()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    LoadPair(rig);
    CRunLock other;
    QCOMPARE(other.Acquire(rig.dir.Str()), CRunLock::Result::kAcquired);
    PressStart(rig, 2);
    QCOMPARE(rig.prompts.Texts(), QStringList{QStringLiteral("另一个渐变正在使用文件夹 %1 的输出,请等它结束后再开始。")
                                                  .arg(QString::fromStdString(rig.dir.Str()))});
    QVERIFY(!rig.ResultView().IsTimerActive());
    QCOMPARE(rig.prompts.compressionDialogs, 0);
    QCOMPARE(FrameFiles(rig), 0);
}

void RunTest::openingAProjectDuringARunAsksAndStopsItFirst()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    WriteTestPicture(PathIn(rig.dir, "images/c.bmp"), 48, 36, QColor(40, 220, 40));
    const QString other = rig.WriteProject(rig.dir / "other.tvl", "c.bmp", "c.bmp", 4, 4, 40, 30);
    LoadPair(rig);
    rig.Frame().GetAction(ID_VIEW_RESULT)->trigger();
    rig.Frame().GetAction(ID_MORPH_LINEAR)->trigger();
    CTrevalinView& view = rig.ResultView();
    PressStart(rig, 20);
    Tick(view);

    // 否, from 文件 → 打开 and from a drop on the window: the run and the
    // document stay as they are.
    const QString question = QStringLiteral("正在生成渐变序列。停止它并打开另一个项目吗?");
    rig.prompts.yesNoAnswers = {false, false};
    rig.prompts.fileAnswers.push_back(other);
    rig.Frame().GetAction(ID_FILE_OPEN)->trigger();
    QVERIFY(DropOn(rig.Frame(), other));
    QCOMPARE(rig.prompts.yesNoQuestions, QStringList({question, question}));
    QVERIFY(view.IsTimerActive());
    QVERIFY(rig.Doc().GetDoc().GetPathName().empty());
    QVERIFY(rig.prompts.messages.empty());
    Tick(view);

    // 是: stopped as 停止 stops it, then opened; the video holds the three
    // frames of the first project only.
    rig.prompts.fileAnswers.push_back(other);
    rig.Frame().GetAction(ID_FILE_OPEN)->trigger();
    QCOMPARE(rig.prompts.yesNoQuestions.size(), 3);
    QCOMPARE(rig.prompts.Texts(), QStringList{kEndMessage});
    QVERIFY(!view.IsRunActive());
    QVERIFY(QString::fromStdString(rig.Doc().GetDoc().GetPathName()).endsWith(QStringLiteral("/other.tvl")));
    QCOMPARE(VideoChunks(rig), 3);
    QCOMPARE(FrameFiles(rig), 3);
    const QImage last(QString::fromStdString(rig.Work("ouput_image/Frame-2.bmp")));
    QCOMPARE(last.pixelColor(10, 5).green(), 40);

    // Without a run nothing is asked.
    rig.Frame().GetAction(ID_FILE_NEW)->trigger();
    QCOMPARE(rig.prompts.yesNoQuestions.size(), 3);
    // Under a modal dialog (an export's progress) a drop opens nothing.
    QDialog modal(&rig.Frame());
    modal.setModal(true);
    modal.show();
    QVERIFY(!DropOn(rig.Frame(), other));
    QVERIFY(rig.Doc().GetDoc().GetPathName().empty());
}

void RunTest::newDuringAPausedRunAsksAndStopsIt()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    LoadPair(rig);
    CTrevalinView& view = rig.ResultView();
    PressStart(rig, 5);
    Tick(view);
    rig.Frame().OnMorphPause();
    rig.prompts.yesNoAnswers = {false};
    rig.Frame().GetAction(ID_FILE_NEW)->trigger();
    QCOMPARE(rig.prompts.yesNoQuestions, QStringList{QStringLiteral("正在生成渐变序列。停止它并新建项目吗?")});
    QVERIFY(view.IsRunActive());
    QVERIFY(rig.prompts.messages.empty());

    rig.Frame().GetAction(ID_FILE_NEW)->trigger();
    QCOMPARE(rig.prompts.Texts(), QStringList{kEndMessage});
    QVERIFY(!view.IsRunActive());
    QCOMPARE(VideoChunks(rig), 2);
}

void RunTest::openingAPictureEndsTheRun()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    const QString green = PathIn(rig.dir, "green.bmp");
    WriteTestPicture(green, 48, 36, QColor(40, 220, 40));
    LoadPair(rig);
    CTrevalinView& view = rig.ResultView();
    // Running, then paused: the run ends with the picture's change, before
    // any frame of the new picture.
    for (const bool paused : {false, true}) {
        rig.prompts.messages.clear();
        PressStart(rig, 5);
        Tick(view);
        if (paused) rig.Frame().OnMorphPause();
        rig.prompts.fileAnswers.push_back(green);
        rig.Frame().GetPane(1)->OnOpenImage();
        QCOMPARE(rig.prompts.Texts(), QStringList{kEndMessage});
        QVERIFY(!view.IsRunActive());
        QCOMPARE(VideoChunks(rig), 2);
        rig.Doc().OnEditUndo();
    }
    // Undone without a run: nothing to stop.
    QCOMPARE(rig.prompts.messages.size(), size_t(1));
}
