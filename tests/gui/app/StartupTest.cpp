#include "StartupTest.h"

#include "CAppRig.h"
#include "app/CDocManager.h"
#include "app/CMainFrame.h"
#include "app/CMorphConfigDlg.h"
#include "app/CRecentFileList.h"
#include "app/CTrevalinApp.h"
#include "app/Resource.h"
#include "document/CArchive.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "editing/CImageView.h"
#include "editing/CToolSwitcher.h"
#include "editing/CUserPrompts.h"
#include "gui/support/CGuiTestSupport.h"
#include "support/TestFiles.h"
#include "view/CTrevalinView.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QSettings>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QUndoStack>

#include <filesystem>

namespace {

QStringList RecentMenuTexts(const CMainFrame& frame)
{
    QStringList texts;
    for (QAction* action : frame.RecentFileActions())
        texts << action->text();
    return texts;
}

const CPointSet<int>& Line(CAppRig& rig, int image, int i)
{
    return rig.Doc().GetFeatureSet()->m_sets[image].Line(i);
}

} // namespace

void StartupTest::commandLineNamesOneProject()
{
    QCOMPARE(CTrevalinApp::ParseCommandLine({}), QString());
    QCOMPARE(CTrevalinApp::ParseCommandLine({QStringLiteral("-x"), QStringLiteral("a.tvl"), QStringLiteral("b.tvl")}),
             QStringLiteral("a.tvl"));
    // Only "-" starts a switch: an absolute path is a project.
    QCOMPARE(CTrevalinApp::ParseCommandLine({QStringLiteral("/home/u/p.tvl")}), QStringLiteral("/home/u/p.tvl"));
    QCOMPARE(CTrevalinApp::ParseCommandLine({QStringLiteral("-"), QStringLiteral("--flag")}), QString());
    // "--lang" takes the next argument: it is no project.
    QCOMPARE(CTrevalinApp::ParseCommandLine({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("p.tvl")}),
             QStringLiteral("p.tvl"));
    QCOMPARE(CTrevalinApp::ParseCommandLine({QStringLiteral("--lang=en"), QStringLiteral("p.tvl")}),
             QStringLiteral("p.tvl"));
}

void StartupTest::startsUntitledWithoutArguments()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    QVERIFY(rig.Frame().isVisible());
    QCOMPARE(rig.Frame().windowTitle(), QStringLiteral("无标题 - Trevalin"));
    QVERIFY(rig.Frame().IsShowingInputs());
    QCOMPARE(rig.Frame().GetConfigDlg()->StepsEdit()->text(), QStringLiteral("10"));
    QCOMPARE(QString::fromStdString(rig.Doc().GetDoc().GetWorkDir()), QString::fromStdString(rig.dir.Str()));
    QVERIFY(RecentMenuTexts(rig.Frame()).isEmpty());
}

void StartupTest::opensProjectFromCommandLine()
{
    CAppRig rig;
    WriteTestPicture(PathIn(rig.dir, "images/s.bmp"), 64, 48, Qt::red);
    WriteTestPicture(PathIn(rig.dir, "images/t.bmp"), 64, 48, Qt::blue);
    const QString project = rig.WriteProject(rig.dir / "demo.tvl", "s.bmp", "t.bmp", 5, 6, 30, 40);
    // The first event handled comes while the project is read: the window
    // is up by then.
    bool shownWhileReading = false;
    QTimer::singleShot(0, [&rig, &shownWhileReading] {
        shownWhileReading = rig.app->GetMainWnd() && rig.app->GetMainWnd()->isVisible() &&
                            rig.app->GetMainWnd()->windowTitle() != QStringLiteral("demo.tvl - Trevalin");
    });
    QVERIFY(rig.Start({QStringLiteral("-switch"), project}));
    QVERIFY(shownWhileReading);
    QCOMPARE(rig.Frame().windowTitle(), QStringLiteral("demo.tvl - Trevalin"));
    QVERIFY(rig.Doc().GetDoc().GetPicture(0)->IsLoaded());
    QVERIFY(rig.Doc().GetDoc().GetPicture(1)->IsLoaded());
    QCOMPARE(Line(rig, 1, 0).Point(1).x, 30);
    QCOMPARE(rig.Frame().GetPane(0)->GetTotalSize(), QSize(84, 68));
    QCOMPARE(RecentMenuTexts(rig.Frame()).size(), 1);
    QVERIFY(RecentMenuTexts(rig.Frame())[0].endsWith(QStringLiteral("demo.tvl")));
    QVERIFY(rig.prompts.messages.empty());
}

void StartupTest::projectAtStartUpScrollsByTheShownPane()
{
    CAppRig rig;
    WriteTestPicture(PathIn(rig.dir, "images/s.bmp"), 1500, 1200, Qt::red);
    WriteTestPicture(PathIn(rig.dir, "images/t.bmp"), 1500, 1200, Qt::blue);
    const QString project = rig.WriteProject(rig.dir / "big.tvl", "s.bmp", "t.bmp", 5, 6, 30, 40);
    // The window shows first; the project is read with the window up.
    QVERIFY(rig.Start({project}));
    QVERIFY(QTest::qWaitForWindowExposed(&rig.Frame()));
    QCoreApplication::processEvents();
    for (int column : {0, 1}) {
        CImageView* pane = rig.Frame().GetPane(column);
        const QSize client = pane->viewport()->size();
        QVERIFY(client.width() > 200 && client.height() > 200);
        QCOMPARE(pane->GetPageSize(), client);
        QCOMPARE(pane->GetLineSize(), QSize(client.width() / 10, client.height() / 10));
        QCOMPARE(pane->verticalScrollBar()->pageStep(), client.height());
        QCOMPARE(pane->horizontalScrollBar()->singleStep(), client.width() / 10);
    }
}

void StartupTest::unreadableProjectEndsStartUp()
{
    CAppRig rig;
    const QString missing = PathIn(rig.dir, "missing.tvl");
    QVERIFY(!rig.Start({missing}));
    QVERIFY(!rig.app->GetMainWnd());
    QCOMPARE(rig.prompts.messages.size(), size_t(1));
    QCOMPARE(rig.prompts.messages[0].icon, CUserPrompts::Icon::kWarning);
    QVERIFY(rig.prompts.messages[0].text.startsWith(QStringLiteral("没有找到 ")));
    QVERIFY(rig.prompts.messages[0].text.contains(missing));

    // A file that is not a project ends it too.
    CAppRig second;
    QFile junk(PathIn(second.dir, "junk.tvl"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("\x05\x01");
    junk.close();
    QVERIFY(!second.Start({junk.fileName()}));
    QCOMPARE(second.prompts.Texts().size(), 1);
    QVERIFY(second.prompts.Texts()[0].startsWith(QStringLiteral("非预期的文件格式。")));
}

void StartupTest::recentFilesSurviveRestart()
{
    QString settingsFile;
    QStringList projects;
    CTempDir settingsDir;
    settingsFile = PathIn(settingsDir, "Trevalin.ini");
    {
        CAppRig rig(settingsFile);
        QVERIFY(rig.Start());
        for (int i = 1; i <= 5; ++i) {
            projects << rig.WriteProject(settingsDir / ("p" + std::to_string(i) + ".tvl"), "", "", i, i, 10 * i,
                                         10 * i);
            rig.prompts.fileAnswers.push_back(projects.back());
            rig.Frame().GetAction(ID_FILE_OPEN)->trigger();
        }
        QCOMPARE(rig.prompts.openFilters.size(), 5);
        QVERIFY(rig.prompts.openFilters[0].startsWith(QStringLiteral("tvl 文件(*.tvl)")));
        QVERIFY(rig.prompts.openFilters[0].contains(QStringLiteral("所有文件 (*.*)")));
        const QStringList texts = RecentMenuTexts(rig.Frame());
        QCOMPARE(texts.size(), 4);
        QVERIFY(texts[0].startsWith(QStringLiteral("&1 ")) && texts[0].endsWith(QStringLiteral("p5.tvl")));
        QVERIFY(texts[3].startsWith(QStringLiteral("&4 ")) && texts[3].endsWith(QStringLiteral("p2.tvl")));
        QVERIFY(!rig.Frame().GetAction(ID_FILE_MRU_FIRST)->isVisible());
        for (QAction* action : rig.Frame().RecentFileActions())
            QCOMPARE(action->statusTip(), QStringLiteral("打开该文档"));
        rig.Quit();
    }
    {
        QSettings stored(settingsFile, QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("Recent File List/File1")).toString(), projects[4]);
        QCOMPARE(stored.value(QStringLiteral("Recent File List/File4")).toString(), projects[1]);
        QVERIFY(!stored.contains(QStringLiteral("Recent File List/File5")));
    }
    CAppRig restarted(settingsFile);
    QVERIFY(restarted.Start());
    const QStringList texts = RecentMenuTexts(restarted.Frame());
    QCOMPARE(texts.size(), 4);
    QVERIFY(texts[1].endsWith(QStringLiteral("p4.tvl")));
    // Choosing an entry opens that project and moves it to the top.
    restarted.Frame().RecentFileActions()[2]->trigger();
    QCOMPARE(restarted.Frame().windowTitle(), QStringLiteral("p3.tvl - Trevalin"));
    QCOMPARE(Line(restarted, 0, 0).Point(1).x, 30);
    QVERIFY(RecentMenuTexts(restarted.Frame())[0].endsWith(QStringLiteral("p3.tvl")));
    // An entry whose file has gone leaves the list after its message.
    QFile::remove(projects[1]);
    restarted.Frame().RecentFileActions()[3]->trigger();
    QCOMPARE(restarted.prompts.messages.size(), size_t(1));
    QCOMPARE(RecentMenuTexts(restarted.Frame()).size(), 3);
}

void StartupTest::reopeningOpenProjectReadsNothing()
{
    CAppRig rig;
    const QString project = rig.WriteProject(rig.dir / "same.tvl", "", "", 10, 10, 50, 50);
    QVERIFY(rig.Start({project}));
    rig.Doc().GetFeatureSet()->m_sets[0].Line(0).Point(0).x = 99;
    QVERIFY(rig.app->GetDocManager()->OpenDocumentFile(project));
    QCOMPARE(Line(rig, 0, 0).Point(0).x, 99);
    // Also through another spelling of the same path.
    QVERIFY(rig.app->GetDocManager()->OpenDocumentFile(PathIn(rig.dir, "images/../same.tvl")));
    QCOMPARE(Line(rig, 0, 0).Point(0).x, 99);
    QVERIFY(rig.prompts.messages.empty());
}

void StartupTest::saveAsNewAndSave()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    rig.LoadPicture(0, "s.bmp", 30, 20, Qt::green);
    rig.LoadPicture(1, "t.bmp", 30, 20, Qt::yellow);
    rig.Frame().GetTools().OnToolDraw();
    const int32_t i = rig.Doc().GetFeatureSet()->m_sets[0].Add();
    rig.Doc().GetFeatureSet()->m_sets[1].Add();
    for (int image : {0, 1}) {
        rig.Doc().GetFeatureSet()->m_sets[image].Line(i).AddPoint(1, 2, 0, 1);
        rig.Doc().GetFeatureSet()->m_sets[image].Line(i).AddPoint(3, 4, 0, 1);
    }

    // Save with no path goes through Save As.
    const QString target = PathIn(rig.dir, "saved.tvl");
    rig.prompts.fileAnswers.push_back(target);
    rig.Frame().GetAction(ID_FILE_SAVE)->trigger();
    QCOMPARE(rig.prompts.saveSuffixes, QStringList{QStringLiteral("tvl")});
    QCOMPARE(rig.prompts.proposedNames, QStringList{QStringLiteral("无标题.tvl")});
    QVERIFY(rig.prompts.saveFilters[0].startsWith(QStringLiteral("tvl 文件(*.tvl)")));
    QVERIFY(QFile::exists(target));
    QCOMPARE(rig.Frame().windowTitle(), QStringLiteral("saved.tvl - Trevalin"));
    const qint64 size = QFileInfo(target).size();
    QVERIFY(size > 0);

    // Save again: no dialog, same bytes.
    QFile::remove(target);
    rig.Frame().GetAction(ID_FILE_SAVE)->trigger();
    QCOMPARE(rig.prompts.saveSuffixes.size(), 1);
    QCOMPARE(QFileInfo(target).size(), size);

    // New: untitled, content kept; Save As proposes the untitled name again.
    rig.Frame().GetAction(ID_FILE_NEW)->trigger();
    QCOMPARE(rig.Frame().windowTitle(), QStringLiteral("无标题 - Trevalin"));
    QCOMPARE(rig.Doc().GetFeatureSet()->m_sets[0].m_nCount, 1);
    QVERIFY(rig.Doc().GetDoc().GetPicture(1)->IsLoaded());
    rig.Frame().GetAction(ID_FILE_SAVE_AS)->trigger(); // cancelled
    QCOMPARE(rig.Frame().windowTitle(), QStringLiteral("无标题 - Trevalin"));
    QVERIFY(rig.prompts.messages.empty());
}

void StartupTest::failedOpenKeepsTheProject()
{
    CAppRig rig;
    const QString project = rig.WriteProject(rig.dir / "good.tvl", "", "", 7, 8, 9, 10);
    QVERIFY(rig.Start({project}));
    rig.prompts.fileAnswers.push_back(PathIn(rig.dir, "nothing-here.tvl"));
    rig.Frame().GetAction(ID_FILE_OPEN)->trigger();
    QCOMPARE(rig.prompts.messages.size(), size_t(1));
    QCOMPARE(rig.prompts.messages[0].icon, CUserPrompts::Icon::kWarning);
    // A folder, and a project beyond the reader's limits: why, under the
    // failure.
    std::filesystem::create_directory(rig.dir / "folder.tvl");
    rig.prompts.fileAnswers.push_back(PathIn(rig.dir, "folder.tvl"));
    rig.Frame().GetAction(ID_FILE_OPEN)->trigger();
    CArchive longName;
    longName << std::string(800, 'n') << "" << int32_t{0} << int32_t{0};
    testfiles::WriteBytes(rig.dir / "name.tvl", longName.GetBuffer());
    rig.prompts.fileAnswers.push_back(PathIn(rig.dir, "name.tvl"));
    rig.Frame().GetAction(ID_FILE_OPEN)->trigger();
    QCOMPARE(rig.prompts.messages.size(), size_t(3));
    QCOMPARE(rig.prompts.messages[1].text, QStringLiteral("打开文档失败。\n这是一个文件夹。"));
    QVERIFY2(rig.prompts.messages[2].text.startsWith(QStringLiteral("打开文档失败。\n项目中的图片文件名 nnn")) &&
                 rig.prompts.messages[2].text.endsWith(QStringLiteral("nnn 超过了文件名 765 字节的上限。")) &&
                 rig.prompts.messages[2].text.size() < 200,
             qPrintable(rig.prompts.messages[2].text));
    QCOMPARE(rig.Frame().windowTitle(), QStringLiteral("good.tvl - Trevalin"));
    QCOMPARE(Line(rig, 0, 0).Point(0).x, 7);
    QCOMPARE(rig.app->GetRecentFileList()->Entries().size(), 1);
}

void StartupTest::changesAreNotLostWithoutAsking()
{
    using Answer = CUserPrompts::SaveAnswer;
    CAppRig rig;
    const QString other = rig.WriteProject(rig.dir / "other.tvl", "", "", 1, 2, 3, 4);
    QVERIFY(rig.Start());
    rig.LoadPicture(0, "a.bmp", 100, 80, Qt::red);
    rig.LoadPicture(1, "b.bmp", 100, 80, Qt::blue);
    CMainFrame& frame = rig.Frame();
    QCOMPARE(frame.windowTitle(), QStringLiteral("无标题 - Trevalin"));
    frame.GetAction(ID_TOOL_DRAW)->trigger();
    rig.DrawLine(0, QPoint(10, 10), QPoint(60, 50));
    QCOMPARE(frame.windowTitle(), QStringLiteral("无标题* - Trevalin"));

    // 取消: closing, New and Open all stop and change nothing.
    rig.prompts.saveAnswers = {Answer::kCancel, Answer::kCancel, Answer::kCancel};
    QVERIFY(!frame.close());
    frame.GetAction(ID_FILE_NEW)->trigger();
    rig.prompts.fileAnswers.push_back(other);
    frame.GetAction(ID_FILE_OPEN)->trigger();
    QVERIFY(frame.isVisible());
    QCOMPARE(rig.prompts.saveQuestions, QStringList(3, QStringLiteral("是否保存对 无标题 的更改?")));
    QCOMPARE(rig.Doc().GetFeatureSet()->m_sets[0].m_nCount, 1);
    QCOMPARE(frame.windowTitle(), QStringLiteral("无标题* - Trevalin"));

    // 保存: through Save As, then the new project.
    const QString saved = PathIn(rig.dir, "kept.tvl");
    rig.prompts.saveAnswers = {Answer::kSave};
    rig.prompts.fileAnswers.push_back(saved);
    frame.GetAction(ID_FILE_NEW)->trigger();
    QVERIFY(QFile::exists(saved));
    QCOMPARE(frame.windowTitle(), QStringLiteral("无标题 - Trevalin"));
    QVERIFY(!rig.Doc().GetUndoStack().canUndo()); // New starts a fresh history

    // 不保存: the other project opens, the change is dropped unsaved.
    rig.DrawLine(0, QPoint(20, 10), QPoint(70, 50));
    QCOMPARE(frame.windowTitle(), QStringLiteral("无标题* - Trevalin"));
    rig.prompts.saveAnswers = {Answer::kDiscard, Answer::kDiscard};
    rig.prompts.fileAnswers.push_back(other);
    frame.GetAction(ID_FILE_OPEN)->trigger();
    QCOMPARE(frame.windowTitle(), QStringLiteral("other.tvl - Trevalin"));
    QCOMPARE(Line(rig, 0, 0).Point(0).x, 1);
    QCOMPARE(rig.prompts.saveQuestions.size(), 5);

    // Changed, saved: the close asks nothing; changed again: 不保存 closes.
    rig.DrawLine(0, QPoint(30, 10), QPoint(80, 50));
    QCOMPARE(frame.windowTitle(), QStringLiteral("other.tvl* - Trevalin"));
    frame.GetAction(ID_FILE_SAVE)->trigger();
    QCOMPARE(frame.windowTitle(), QStringLiteral("other.tvl - Trevalin"));
    rig.DrawLine(0, QPoint(40, 10), QPoint(90, 50));
    QVERIFY(frame.close());
    QCOMPARE(rig.prompts.saveQuestions.size(), 6);
    QCOMPARE(rig.prompts.saveQuestions.back(), QStringLiteral("是否保存对 other.tvl 的更改?"));
    QVERIFY(!frame.isVisible());
}

namespace {

// Drops `path` at the middle of `target` as a file manager would; returns
// whether the drop was taken.
bool Drop(QWidget* target, const QString& path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at(target->width() / 2, target->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setAccepted(false);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

} // namespace

void StartupTest::droppedFilesOpen()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    std::filesystem::create_directories(rig.Work("elsewhere"));
    WriteTestPicture(PathIn(rig.dir, "elsewhere/a.bmp"), 64, 48, Qt::red);
    WriteTestPicture(PathIn(rig.dir, "elsewhere/b.bmp"), 32, 48, Qt::blue);
    // A picture dropped on a pane: copied into images/ and opened there.
    QVERIFY(Drop(rig.Frame().GetPane(0)->viewport(), QString::fromStdString(rig.Work("elsewhere/a.bmp"))));
    QCOMPARE(QString::fromStdString(rig.Doc().GetDoc().GetPicture(0)->GetPath()),
             QString::fromStdString(rig.Work("images/a.bmp")));
    QVERIFY(std::filesystem::exists(rig.Work("images/a.bmp")));
    // Of another size than the other pane's: the fit question, as 打开图像.
    QVERIFY(Drop(rig.Frame().GetPane(1)->viewport(), QString::fromStdString(rig.Work("elsewhere/b.bmp"))));
    QCOMPARE(rig.prompts.fitQuestions.size(), 1);
    QVERIFY(rig.Doc().GetDoc().GetPicture(1)->IsLoaded());
    // A project is the window's: the pane passes it on, the frame opens it.
    WriteTestPicture(PathIn(rig.dir, "images/s.bmp"), 64, 48, Qt::red);
    WriteTestPicture(PathIn(rig.dir, "images/t.bmp"), 64, 48, Qt::blue);
    const QString project = rig.WriteProject(rig.dir / "dropped.tvl", "s.bmp", "t.bmp", 5, 6, 30, 40);
    QVERIFY(Drop(rig.Frame().GetPane(0)->viewport(), project));
    QCOMPARE(rig.Frame().windowTitle(), QStringLiteral("dropped.tvl - Trevalin"));
    QVERIFY(rig.prompts.messages.empty());
}

void StartupTest::missingPictureLeavesItsPaneEmptyAndKeepsItsName()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    rig.LoadPicture(0, "a.bmp", 64, 48, Qt::red);
    rig.LoadPicture(1, "b.bmp", 64, 48, Qt::blue);
    WriteTestPicture(PathIn(rig.dir, "images/gone.bmp"), 64, 48, Qt::green);
    const QString project = rig.WriteProject(rig.dir / "other.tvl", "gone.bmp", "b.bmp", 1, 1, 5, 5);
    const std::vector<uint8_t> bytes = testfiles::ReadBytesOrEmpty(project.toStdString());
    std::filesystem::remove(rig.dir / "images" / "gone.bmp");
    rig.prompts.fileAnswers.push_back(project);
    rig.Frame().GetAction(ID_FILE_OPEN)->trigger();
    QCOMPARE(rig.prompts.messages.size(), size_t(1)); // the open's warning

    // The source pane shows no picture (not the red one of before) but the
    // name of the file it did not find.
    CImageView* pane = rig.Frame().GetPane(0);
    QVERIFY(!rig.Doc().GetDoc().GetPicture(0)->IsLoaded());
    const QImage shown = pane->viewport()->grab().toImage();
    int red = 0;
    int grey = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            red += c == QColor(Qt::red) ? 1 : 0;
            grey += c.red() == c.green() && c.red() > 60 && c.red() < 200 ? 1 : 0;
        }
    }
    QCOMPARE(red, 0);
    QVERIFY(grey > 0);

    // Saved, the project names the picture as it did, byte for byte.
    rig.Frame().GetAction(ID_FILE_SAVE)->trigger();
    QCOMPARE(testfiles::ReadBytesOrEmpty(project.toStdString()), bytes);
    // 开始 is refused, naming the file.
    rig.Frame().GetConfigDlg()->findChild<QPushButton*>(QStringLiteral("IDC_START"))->click();
    QCOMPARE(rig.prompts.messages.size(), size_t(2));
    QVERIFY2(rig.prompts.messages[1].text.endsWith(
                 QStringLiteral("找不到源图片 %1。").arg(PathIn(rig.dir, "images/gone.bmp"))),
             qPrintable(rig.prompts.messages[1].text));
    QVERIFY(!rig.ResultView().IsRunActive());
}

void StartupTest::switchWorksInTheProjectsFolder()
{
    const QString before = QDir::currentPath();
    CTempDir folder;
    const QString project = PathIn(folder, "p.tvl");
    // Without the switch, or without a project, nothing moves.
    QCOMPARE(CTrevalinApp::EnterProjectFolder({project}), QStringList{project});
    QCOMPARE(QDir::currentPath(), before);
    const QStringList bare{QLatin1String(CTrevalinApp::kWorkDirSwitch)};
    QCOMPARE(CTrevalinApp::EnterProjectFolder(bare), bare);
    QCOMPARE(QDir::currentPath(), before);
    // With both, the program works in the project's folder; a relative
    // project path becomes a full one.
    QDir::setCurrent(QString::fromStdString(folder.Path().parent_path().string()));
    const QString relative = QString::fromStdString(folder.Path().filename().string()) + QStringLiteral("/p.tvl");
    const QStringList moved = CTrevalinApp::EnterProjectFolder({bare[0], relative});
    const QString now = QDir::currentPath();
    QDir::setCurrent(before);
    QCOMPARE(moved, (QStringList{bare[0], project}));
    QCOMPARE(now, QString::fromStdString(folder.Str()));
}
