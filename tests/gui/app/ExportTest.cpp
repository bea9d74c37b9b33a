#include "ExportTest.h"

#include "CAppRig.h"
#include "app/CCurveDialog.h"
#include "app/CCurveWidget.h"
#include "app/CExportCommand.h"
#include "app/CExportDlg.h"
#include "app/CSequenceDlg.h"
#include "app/CMainFrame.h"
#include "app/CMorphConfigDlg.h"
#include "app/CDocManager.h"
#include "app/CTrevalinApp.h"
#include "app/Resource.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "gui/support/CGuiTestSupport.h"
#include "support/CFfmpegRunner.h"
#include "view/CTrevalinView.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QApplication>
#include <QMouseEvent>
#include <cmath>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

QStringList Names(const fs::path& folder)
{
    QStringList names;
    for (const auto& entry : fs::directory_iterator(folder))
        names << QString::fromStdString(entry.path().filename().string());
    names.sort();
    return names;
}

void SelectData(QComboBox* list, CMorphOptions::Quality quality)
{
    list->setCurrentIndex(list->findData(int(quality)));
}

void SelectData(QComboBox* list, CExportSettings::Frames frames)
{
    list->setCurrentIndex(list->findData(int(frames)));
}

void SelectData(QComboBox* list, CExportSettings::Video video)
{
    list->setCurrentIndex(list->findData(int(video)));
}

QString OpenProject(CAppRig& rig, const std::string& name)
{
    const QString path = rig.WriteProject(rig.dir / name, "a.bmp", "b.bmp", 4, 4, 40, 30);
    rig.app->GetDocManager()->OpenDocumentFile(path);
    return path;
}

} // namespace

// 文件 → 导出… through the real dialog: a size H.264 cannot take is told
// before anything is written and the dialog comes back; then PNG frames and
// an animated GIF with ping-pong and a held last frame, into a folder chosen
// with 浏览…, which is remembered with the GIF's dithering; 取消 in the
// progress dialog leaves nothing behind.
void ExportTest::exportDialogDrivesARealExport()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    rig.LoadPicture(0, "a.bmp", 48, 36, QColor(220, 40, 40));
    rig.LoadPicture(1, "b.bmp", 48, 36, QColor(40, 40, 220));
    OpenProject(rig, "morph.tvl");
    const fs::path out = rig.dir / "out";
    fs::create_directory(out);
    rig.Frame().GetConfigDlg()->StepsEdit()->setText(QStringLiteral("4"));

    int dialogs = 0;
    rig.prompts.fileAnswers.push_back(QString::fromStdString(out.string()));
    rig.prompts.onExport = [&](QWidget* parent, CExportSettings& settings, int32_t w, int32_t h) {
        CExportDlg dialog(settings, w, h, rig.prompts, parent);
        if (++dialogs == 1) {
            if (dialog.NameEdit()->text() != QStringLiteral("morph")) return false;
            if (dialog.FolderEdit()->text() != QString::fromStdString(rig.dir.Str())) return false;
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("browse")), Qt::LeftButton);
            SelectData(dialog.VideoList(), CExportSettings::Video::kMp4);
            dialog.OwnWidthButton()->setChecked(true);
            dialog.WidthBox()->setValue(47);
        } else {
            SelectData(dialog.FramesList(), CExportSettings::Frames::kPng);
            SelectData(dialog.VideoList(), CExportSettings::Video::kGif);
            dialog.OwnWidthButton()->setChecked(false);
            dialog.FpsBox()->setValue(10);
            dialog.PingPongBox()->setChecked(true);
            dialog.HoldLastBox()->setValue(0.2);
            dialog.GifDitherList()->setCurrentIndex(1);
        }
        settings = dialog.GetSettings();
        return true;
    };
    rig.Frame().GetAction(ID_FILE_EXPORT)->trigger();
    QCOMPARE(dialogs, 2);
    QCOMPARE(rig.prompts.Texts().first(), QStringLiteral("MP4 (H.264) 视频的宽和高必须是偶数:47 x 36。"));
    QCOMPARE(Names(out), (QStringList{"morph-0000.png", "morph-0001.png", "morph-0002.png", "morph-0003.png",
                                      "morph-0004.png", "morph.gif"}));
    QVERIFY2(rig.prompts.Texts().last().startsWith(QStringLiteral("导出完成。")),
             qPrintable(rig.prompts.Texts().last()));
    const CExportSummary& summary = rig.app->GetExportCommand()->GetLastSummary();
    QCOMPARE(summary.videoFrames, int64_t{11}); // 0 1 2 3 4 4 4 3 2 1 0
    std::string err;
    const std::string probe = CFfmpegRunner::ProbeStream((out / "morph.gif").string(), err);
    QCOMPARE(QString::fromStdString(CFfmpegRunner::Value(probe, "nb_read_frames")), QStringLiteral("11"));
    QCOMPARE(rig.settings->value(QStringLiteral("Export/Folder")).toString(), QString::fromStdString(out.string()));

    // The next export offers the remembered choices; 取消 in its progress
    // dialog stops it before any file.
    fs::remove_all(out);
    fs::create_directory(out);
    rig.prompts.onExport = [](QWidget*, CExportSettings&, int32_t, int32_t) { return true; };
    QObject::connect(rig.app->GetExportCommand(), &CExportCommand::exportStarted, [](QProgressDialog* progress) {
        QCOMPARE(progress->labelText(), QStringLiteral("正在导出..."));
        QPushButton* cancel = progress->findChild<QPushButton*>();
        QCOMPARE(cancel->text(), QStringLiteral("取消"));
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    rig.Frame().GetAction(ID_FILE_EXPORT)->trigger();
    const CExportSettings& offered = rig.prompts.offeredExports.back();
    QCOMPARE(offered.folder, out.string());
    QCOMPARE(int(offered.video), int(CExportSettings::Video::kGif));
    QVERIFY(offered.pingPong);
    QCOMPARE(offered.gifDither, CVideoSettings::GifDither::kDiffusion);
    QCOMPARE(rig.settings->value(QStringLiteral("Export/WebmSpeed")).toInt(), 6);
    QCOMPARE(Names(out), QStringList());
    QVERIFY2(rig.prompts.Texts().last().startsWith(QStringLiteral("导出已取消。")),
             qPrintable(rig.prompts.Texts().last()));
}

// The three items of the 变形 menu set the project's options; saving keeps
// them beside the project, opening brings them back, and the result view's
// runs use them.
void ExportTest::morphOptionsKeptBesideTheProject()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    rig.LoadPicture(0, "a.bmp", 48, 36, QColor(220, 40, 40));
    rig.LoadPicture(1, "b.bmp", 48, 36, QColor(40, 40, 220));
    const QString first = OpenProject(rig, "first.tvl");
    // Two items, a separator, two curve submenus, a separator and 质量.
    QCOMPARE(rig.Frame().GetMorphMenu()->actions().size(), 7);
    rig.Frame().GetAction(ID_MORPH_SHAPE_CURVE_FIRST + 3)->trigger();
    QVERIFY(rig.Doc().GetMorphOptions().colour.IsLinear());
    rig.Frame().GetAction(ID_MORPH_COLOUR_CURVE_FIRST + 3)->trigger();
    rig.Frame().GetAction(ID_MORPH_EDGE_EXTEND)->trigger();
    QVERIFY(rig.Doc().GetMorphOptions() == (CMorphOptions{false, CTimingCurve::Kind::kSmooth,
                                                          CTimingCurve::Kind::kSmooth, CMorphOptions::Edge::kExtend}));
    rig.Frame().GetAction(ID_FILE_SAVE)->trigger();
    std::ifstream sidecar(first.toStdString() + ".options");
    std::stringstream text;
    text << sidecar.rdbuf();
    QVERIFY2(text.str().find("shape-curve=smooth\ncolour-curve=smooth\nedge=extend\n") != std::string::npos,
             text.str().c_str());

    OpenProject(rig, "second.tvl");
    QVERIFY(rig.Doc().GetMorphOptions().IsDefault());
    QVERIFY(!rig.Frame().GetAction(ID_MORPH_SHAPE_CURVE_FIRST + 3)->isChecked());
    QVERIFY(rig.Frame().GetAction(ID_MORPH_COLOUR_CURVE_FIRST)->isChecked());
    rig.app->GetDocManager()->OpenDocumentFile(first);
    QVERIFY(rig.Frame().GetAction(ID_MORPH_SHAPE_CURVE_FIRST + 3)->isChecked());
    QVERIFY(rig.Frame().GetAction(ID_MORPH_COLOUR_CURVE_FIRST + 3)->isChecked());
    QVERIFY(rig.Frame().GetAction(ID_MORPH_EDGE_EXTEND)->isChecked());
    QVERIFY(!rig.Frame().GetAction(ID_MORPH_WARP_ONLY)->isChecked());
    // Smooth quality keeps the other options; its frames always extend.
    rig.Frame().GetAction(ID_MORPH_QUALITY_SMOOTH)->trigger();
    QCOMPARE(rig.Doc().GetMorphOptions().quality, CMorphOptions::Quality::kSmooth);
    QCOMPARE(rig.Doc().GetMorphOptions().shape.GetKind(), CTimingCurve::Kind::kSmooth);
    QVERIFY(!rig.Frame().GetAction(ID_MORPH_QUALITY_CLASSIC)->isChecked());
    QVERIFY(!rig.Frame().GetAction(ID_MORPH_EDGE_EXTEND)->isEnabled());

    rig.Frame().GetConfigDlg()->StepsEdit()->setText(QStringLiteral("2"));
    QTest::mouseClick(rig.Frame().GetConfigDlg()->findChild<QPushButton*>(QStringLiteral("IDC_START")), Qt::LeftButton);
    QVERIFY(rig.ResultView().GetDriver().GetMorphOptions() == rig.Doc().GetMorphOptions());
}

// The output size is one of two choices; the length line follows the steps,
// ping-pong, the held frames and the frame rate.
void ExportTest::dialogOffersOneSizeAndTellsTheLength()
{
    CFakePrompts prompts;
    CExportSettings given;
    given.steps = 24;
    CExportDlg dialog(given, 320, 240, prompts);
    QRadioButton* own = dialog.OwnWidthButton();
    QRadioButton* picture = dialog.PictureSizeButton();
    QVERIFY(picture->isChecked() && !own->isChecked());
    own->click();
    QVERIFY(own->isChecked() && !picture->isChecked());
    QCOMPARE(dialog.GetSettings().width, 320);
    picture->click();
    QVERIFY(picture->isChecked() && !own->isChecked());
    QCOMPARE(dialog.GetSettings().width, 0);
    QVERIFY(dialog.SizeGroup()->exclusive());

    const struct {
        bool pingPong;
        double holdFirst;
        int fps;
        CExportSettings::Video video;
        const char* text;
    } cases[] = {
        {false, 0.0, 25, CExportSettings::Video::kMp4, "25 帧, 1.0 秒"},
        {true, 0.0, 25, CExportSettings::Video::kMp4, "49 帧, 2.0 秒"},
        {true, 1.0, 25, CExportSettings::Video::kGif, "74 帧, 3.0 秒"},
        {true, 1.0, 10, CExportSettings::Video::kMp4, "59 帧, 5.9 秒"},
        {true, 1.0, 10, CExportSettings::Video::kNone, "25 个帧文件, 没有视频"},
    };
    for (const auto& c : cases) {
        SelectData(dialog.VideoList(), CExportSettings::Video::kMp4);
        dialog.PingPongBox()->setChecked(c.pingPong);
        dialog.HoldFirstBox()->setValue(c.holdFirst);
        dialog.FpsBox()->setValue(c.fps);
        SelectData(dialog.VideoList(), c.video);
        QCOMPARE(dialog.LengthNote()->text(), QString::fromUtf8(c.text));
    }
    SelectData(dialog.FramesList(), CExportSettings::Frames::kNone);
    QCOMPARE(dialog.LengthNote()->text(), QStringLiteral("没有要写的文件"));

    // The quality may change for this export; supersampling only with it.
    dialog.SupersampleBox()->setChecked(true);
    QCOMPARE(dialog.GetSettings().supersample, 1);
    SelectData(dialog.QualityList(), CMorphOptions::Quality::kSmooth);
    QCOMPARE(dialog.GetSettings().morph.quality, CMorphOptions::Quality::kSmooth);
    QCOMPARE(dialog.GetSettings().supersample, 2);
    // The frame count and the duration follow each other at the frame rate.
    QCOMPARE(dialog.FrameCountBox()->value(), 25);
    dialog.FrameCountBox()->setValue(150);
    QCOMPARE(dialog.DurationBox()->value(), 15.0);
    QCOMPARE(dialog.GetSettings().steps, 149);
    dialog.DurationBox()->setValue(2.0);
    QCOMPARE(dialog.FrameCountBox()->value(), 20);
    dialog.FpsBox()->setValue(20);
    QCOMPARE(dialog.DurationBox()->value(), 1.0);
    QCOMPARE(dialog.FrameCountBox()->maximum(), 10000);
    // H.264's preset, WebM's speed and a GIF's dithering are open only with
    // their format.
    QCOMPARE(dialog.Mp4PresetList()->currentText(), QStringLiteral("ultrafast"));
    QCOMPARE(dialog.WebmSpeedBox()->value(), 6);
    QCOMPARE(dialog.GifDitherList()->currentText(), QStringLiteral("有序抖动(快)"));
    using Video = CExportSettings::Video;
    for (Video video :
         {Video::kNone, Video::kMp4, Video::kWebm, Video::kGif, Video::kAviUncompressed, Video::kAviMotionJpeg}) {
        SelectData(dialog.VideoList(), video);
        QCOMPARE(dialog.Mp4PresetList()->isEnabled(), video == Video::kMp4);
        QCOMPARE(dialog.WebmSpeedBox()->isEnabled(), video == Video::kWebm);
        QCOMPARE(dialog.GifDitherList()->isEnabled(), video == Video::kGif);
    }
    dialog.Mp4PresetList()->setCurrentIndex(5);
    dialog.WebmSpeedBox()->setValue(2);
    dialog.GifDitherList()->setCurrentIndex(1);
    QCOMPARE(dialog.GetSettings().mp4Preset, 5);
    QCOMPARE(dialog.GetSettings().webmSpeed, 2);
    QCOMPARE(dialog.GetSettings().gifDither, CVideoSettings::GifDither::kDiffusion);
    CExportSettings remembered = given;
    remembered.webmSpeed = 9;
    remembered.mp4Preset = 2;
    remembered.gifDither = CVideoSettings::GifDither::kDiffusion;
    CExportDlg kept(remembered, 320, 240, prompts);
    QCOMPARE(kept.WebmSpeedBox()->value(), 9);
    QCOMPARE(kept.Mp4PresetList()->currentText(), QStringLiteral("veryfast"));
    QCOMPARE(kept.GifDitherList()->currentText(), QStringLiteral("误差扩散(细腻)"));
    // A sequence of three morphs: each of 25 frames, the joins once.
    CExportDlg sequence(given, 320, 240, prompts, nullptr, 3);
    SelectData(sequence.VideoList(), CExportSettings::Video::kMp4);
    sequence.FpsBox()->setValue(25);
    QCOMPARE(sequence.LengthNote()->text(), QStringLiteral("73 帧, 2.9 秒"));
    QVERIFY(dialog.SequenceHoldBox() == nullptr);
    sequence.SequenceHoldBox()->setValue(2); // two more at each of the four pictures
    QCOMPARE(sequence.LengthNote()->text(), QStringLiteral("81 帧, 3.2 秒"));
    QCOMPARE(sequence.GetSettings().sequenceHold, 2);
}

// 形状曲线 and 颜色曲线 set their own curve; 自定义… applies its curve while
// it is open and puts the options back on 取消.
void ExportTest::curveMenusAndTheCustomCurveSetTheOptions()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    rig.Frame().GetAction(ID_MORPH_SHAPE_CURVE_FIRST + 1)->trigger();
    rig.Frame().GetAction(ID_MORPH_COLOUR_CURVE_FIRST + 2)->trigger();
    QCOMPARE(rig.Doc().GetMorphOptions().shape, CTimingCurve(CTimingCurve::Kind::kEaseIn));
    QCOMPARE(rig.Doc().GetMorphOptions().colour, CTimingCurve(CTimingCurve::Kind::kEaseOut));
    QVERIFY(rig.Frame().GetAction(ID_MORPH_COLOUR_CURVE_FIRST + 2)->isChecked());
    QVERIFY(!rig.Frame().GetAction(ID_MORPH_COLOUR_CURVE_FIRST)->isChecked());

    const CMorphOptions before = rig.Doc().GetMorphOptions();
    {
        CCurveDialog dialog(rig.Doc(), false, &rig.Frame());
        QCOMPARE(dialog.PointBox(2)->value(), 0.58);
        dialog.PointBox(1)->setValue(1.5);
        QCOMPARE(rig.Doc().GetMorphOptions().colour, CTimingCurve::Bezier(0, 1.5, 0.58, 1));
        QCOMPARE(rig.Doc().GetMorphOptions().shape, before.shape);
        // A drag of the second handle to (0.2, 0.9).
        CCurveWidget* curve = dialog.Curve();
        curve->resize(300, 300);
        QTest::mousePress(curve, Qt::LeftButton, {}, curve->ToWidget(0.58, 1).toPoint());
        QMouseEvent move(QEvent::MouseMove, curve->ToWidget(0.2, 0.9), curve->mapToGlobal(curve->ToWidget(0.2, 0.9)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(curve, &move);
        QVERIFY(std::abs(dialog.PointBox(2)->value() - 0.2) < 0.01);
        QVERIFY(std::abs(rig.Doc().GetMorphOptions().colour.Y2() - 0.9) < 0.01);
        dialog.reject();
        QVERIFY(rig.Doc().GetMorphOptions() == before);
    }
    CCurveDialog dialog(rig.Doc(), true, &rig.Frame());
    dialog.PointBox(0)->setValue(0.1);
    dialog.accept();
    QCOMPARE(rig.Doc().GetMorphOptions().shape, CTimingCurve::Bezier(0.1, 0, 1, 1));
    QVERIFY(rig.Frame().GetAction(ID_MORPH_SHAPE_CURVE_FIRST + 4)->isChecked());
}

// 导出序列…: the list of projects, the open one first, ordered with its
// buttons; the export of three morphs writes 3 N + 1 frames, numbered on.
void ExportTest::sequenceOfProjectsExportsOneRunOfFrames()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    rig.LoadPicture(0, "a.bmp", 48, 36, QColor(220, 40, 40));
    rig.LoadPicture(1, "b.bmp", 48, 36, QColor(40, 40, 220));
    OpenProject(rig, "one.tvl");
    const QString two = rig.WriteProject(rig.dir / "two.tvl", "b.bmp", "a.bmp", 8, 4, 40, 30);

    CSequenceDlg dialog(QStringLiteral("one"), QString::fromStdString(rig.dir.Str()));
    dialog.AddProjects({two, two});
    QCOMPARE(dialog.Projects(), (QStringList{QString(), two, two}));
    dialog.List()->setCurrentRow(2);
    QTest::mouseClick(dialog.Button("remove"), Qt::LeftButton);
    QTest::mouseClick(dialog.Button("up"), Qt::LeftButton);
    QCOMPARE(dialog.Projects(), (QStringList{two, QString()}));
    QVERIFY(!dialog.Button("up")->isEnabled());
    QTest::mouseClick(dialog.Button("down"), Qt::LeftButton);
    QCOMPARE(dialog.Projects(), (QStringList{QString(), two}));

    const fs::path out = rig.dir / "seq";
    fs::create_directory(out);
    rig.prompts.onExport = [&](QWidget*, CExportSettings& settings, int32_t, int32_t) {
        settings.folder = out.string();
        settings.frames = CExportSettings::Frames::kBmp;
        settings.video = CExportSettings::Video::kNone;
        settings.steps = 4;
        settings.sequenceHold = 1;
        return true;
    };
    rig.app->GetExportCommand()->OnFileExportSequence(&rig.Frame(), 10, EngineKind::kLinear,
                                                      dialog.Projects() << QString());
    QCOMPARE(rig.prompts.offeredMorphs.back(), 3);
    QCOMPARE(rig.prompts.offeredExports.back().steps, 10); // the control bar's steps come first
    // 13 frames and one held copy at each of the four pictures.
    const QStringList names = Names(out);
    QCOMPARE(names.size(), 17);
    QCOMPARE(names.last(), QStringLiteral("one-0016.bmp"));
    std::ifstream first((out / "one-0005.bmp").string(), std::ios::binary);
    std::ifstream second((out / "one-0010.bmp").string(), std::ios::binary);
    const std::string a((std::istreambuf_iterator<char>(first)), {}), b((std::istreambuf_iterator<char>(second)), {});
    QVERIFY(!a.empty() && a != b); // the target, then the source again

    // A first project of another size: the others are stretched to it, the
    // open one through a copy (the document keeps its pictures and lines).
    WriteTestPicture(PathIn(rig.dir, "images/small.bmp"), 24, 24, QColor(40, 200, 40));
    const QString small = rig.WriteProject(rig.dir / "small.tvl", "small.bmp", "small.bmp", 2, 2, 20, 20);
    dialog.AddProjects({small});
    QTest::mouseClick(dialog.Button("up"), Qt::LeftButton);
    QTest::mouseClick(dialog.Button("up"), Qt::LeftButton);
    dialog.FitList()->setCurrentIndex(2);
    QCOMPARE(dialog.Fit(), FitMode::kStretch);
    fs::remove_all(out);
    fs::create_directory(out);
    rig.app->GetExportCommand()->OnFileExportSequence(&rig.Frame(), 10, EngineKind::kLinear, dialog.Projects(),
                                                      dialog.Fit());
    QCOMPARE(Names(out).size(), 17); // small, one, two: as before
    std::ifstream fitted((out / "one-0016.bmp").string(), std::ios::binary);
    const std::string last((std::istreambuf_iterator<char>(fitted)), {});
    QVERIFY(last.size() > 26);
    QCOMPARE(last.substr(18, 8), std::string("\x18\0\0\0\x18\0\0\0", 8)); // 24 x 24
    QCOMPARE(rig.Doc().GetDoc().GetPicture(1)->GetSizeInPixels().cx, 48);
    QCOMPARE(rig.Doc().GetDoc().GetFeatureSet()->m_sets[1].Line(0).Point(1).x, 40);
}
