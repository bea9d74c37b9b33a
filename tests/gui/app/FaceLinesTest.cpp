#include "FaceLinesTest.h"

#include "CAppRig.h"
#include "app/CFaceCommands.h"
#include "app/CMainFrame.h"
#include "app/Resource.h"
#include "editing/CDocController.h"
#include "faces/CFaceLinePairs.h"
#include "faces/CFaceModule.h"
#include "geometry/CFeatureSet.h"
#include "gui/support/CGuiTestSupport.h"

#include <QAction>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QUndoStack>

#include <filesystem>

namespace {

// Starts `rig` on a project of images/s.bmp and images/t.bmp (made by the
// caller) with one line pair.
bool StartOnProject(CAppRig& rig)
{
    const QString project = rig.WriteProject(rig.dir / "p.tvl", "s.bmp", "t.bmp", 5, 6, 30, 40);
    if (!rig.Start({project}) || !QTest::qWaitForWindowExposed(&rig.Frame())) return false;
    QCoreApplication::processEvents();
    return true;
}

// Runs 自动人脸特征线 and waits for it to end.
bool RunAutoFace(CAppRig& rig)
{
    QSignalSpy finished(&rig.Frame().GetFaceCommands(), &CFaceCommands::finished);
    rig.Frame().GetAction(ID_IMAGE_AUTO_FACE)->trigger();
    return finished.wait(30000);
}

int LineCount(CAppRig& rig, int image)
{
    return rig.Doc().GetFeatureSet()->m_sets[image].m_nCount;
}

} // namespace

void FaceLinesTest::noFaceNamesThePictureAndChangesNothing()
{
    if (!std::filesystem::exists(CFaceModule::ModelPath())) QSKIP("no landmark model (libdlib-data)");
    CAppRig rig;
    WriteTestPicture(PathIn(rig.dir, "images/s.bmp"), 200, 150, Qt::red);
    WriteTestPicture(PathIn(rig.dir, "images/t.bmp"), 200, 150, Qt::blue);
    QVERIFY(StartOnProject(rig));
    const int steps = rig.Doc().GetUndoStack().count();
    QVERIFY(RunAutoFace(rig));
    QCOMPARE(rig.prompts.messages.size(), size_t{1});
    QVERIFY2(rig.prompts.messages.back().text.contains(QStringLiteral("源图像")),
             qPrintable(rig.prompts.messages.back().text));
    QCOMPARE(LineCount(rig, 0), 1);
    QCOMPARE(LineCount(rig, 1), 1);
    QCOMPARE(rig.Doc().GetUndoStack().count(), steps);
    QVERIFY(rig.Frame().GetAction(ID_IMAGE_AUTO_FACE)->isEnabled());
}

void FaceLinesTest::escCancelsTheSearch()
{
    if (!std::filesystem::exists(CFaceModule::ModelPath())) QSKIP("no landmark model (libdlib-data)");
    CAppRig rig;
    WriteTestPicture(PathIn(rig.dir, "images/s.bmp"), 200, 150, Qt::red);
    WriteTestPicture(PathIn(rig.dir, "images/t.bmp"), 200, 150, Qt::blue);
    QVERIFY(StartOnProject(rig));
    CFaceCommands& faces = rig.Frame().GetFaceCommands();
    QSignalSpy finished(&faces, &CFaceCommands::finished);
    rig.Frame().GetAction(ID_IMAGE_AUTO_FACE)->trigger();
    QVERIFY(faces.IsBusy());
    QVERIFY(!rig.Frame().GetAction(ID_IMAGE_AUTO_FACE)->isEnabled());
    QVERIFY(rig.Frame().statusBar()->currentMessage().contains(QStringLiteral("Esc")));
    QTest::keyClick(&rig.Frame(), Qt::Key_Escape);
    QVERIFY(finished.wait(30000));
    QVERIFY(rig.prompts.messages.empty());
    QVERIFY(rig.Frame().statusBar()->currentMessage().contains(QStringLiteral("取消")));
    QCOMPARE(LineCount(rig, 0), 1);
}

void FaceLinesTest::faceLinesAreOneUndoStep()
{
    const std::filesystem::path photos(TREVALIN_FACE_PHOTO_DIR);
    if (!std::filesystem::exists(photos / "face-mirrored.bmp") || !std::filesystem::exists(CFaceModule::ModelPath()))
        QSKIP("no face photo (scripts/fetch-face-photo) or no landmark model");
    CAppRig rig;
    std::filesystem::create_directories(rig.dir / "images");
    std::filesystem::copy_file(photos / "face.bmp", rig.dir / "images/s.bmp");
    std::filesystem::copy_file(photos / "face-mirrored.bmp", rig.dir / "images/t.bmp");
    QVERIFY(StartOnProject(rig));
    QUndoStack& stack = rig.Doc().GetUndoStack();
    const int steps = stack.count();
    QSignalSpy lines(&rig.Doc(), &CDocController::linesChanged);
    QVERIFY(RunAutoFace(rig));
    if (!rig.prompts.messages.empty()) QFAIL(qPrintable(rig.prompts.messages.front().text));
    const int added = 1 + CFaceLinePairs::kCount;
    QCOMPARE(LineCount(rig, 0), added);
    QCOMPARE(LineCount(rig, 1), added);
    QCOMPARE(stack.count(), steps + 1);
    QVERIFY(lines.count() >= 1);
    // The line drawn before stays first.
    QCOMPARE(rig.Doc().GetFeatureSet()->m_sets[0].Line(0).Point(0).x, 5);
    stack.undo();
    QCOMPARE(LineCount(rig, 0), 1);
    QCOMPARE(LineCount(rig, 1), 1);
    stack.redo();
    QCOMPARE(LineCount(rig, 1), added);
}
