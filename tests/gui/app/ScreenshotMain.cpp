// Takes a picture of the application as the user sees it, for the
// documentation:
//   app_screenshot OUTPUT.png [--lang en|zh] [--show inputs|result|export|about]
//                  [--size WxH] [--drag IMAGE:X,Y:X2,Y2]
//                  [--faces SOURCE TARGET] [PROJECT.tvl]
// Runs the real application (the current directory as the working folder,
// settings in a throw-away file) in the chosen language, waits until the
// window is on screen and grabs it: the main window with the image panes
// (inputs), the result view paused half-way through a run (result), or
// the export dialog or the About box over it. Meant for xvfb-run.
//
// --size gives the main window that size (the panes share it half and
// half). --drag takes the select tool and drags the point at picture
// position (X, Y) of image IMAGE (0 source, 1 target) toward (X2, Y2); the
// picture is taken with the button still held, once the preview panel shows
// the frame of the lines as they are then. --faces opens the two pictures
// (paths) as source and target, runs 自动人脸特征线 and takes the picture
// once the lines found are shown and the preview has their frame.
#include "app/CAboutDlg.h"
#include "app/CDialogPrompts.h"
#include "app/CExportDlg.h"
#include "app/CFaceCommands.h"
#include "app/CLanguage.h"
#include "app/CMainFrame.h"
#include "app/CMorphConfigDlg.h"
#include "app/CTrevalinApp.h"
#include "app/Resource.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "editing/CImageView.h"
#include "picture/MakePictureDecoder.h"
#include "view/CPreviewDock.h"
#include "view/CTrevalinView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

// The real dialogs, except that a run starts without the compression
// question and its closing message is not shown.
class CShotPrompts : public CDialogPrompts {
public:
    void MessageBox(QWidget*, const QString&, Icon) override {}
    bool ChooseCompression(QWidget*, CCompressionOptions&) override { return true; }
};

bool Grab(QWidget* window, const char* output)
{
    if (!QTest::qWaitForWindowExposed(window)) return false;
    QTest::qWait(500);
    const QPixmap shot = window->screen()->grabWindow(window->winId());
    return !shot.isNull() && shot.save(QFile::decodeName(output));
}

struct Drag {
    int image = -1;
    QPoint from, to;
};

// Presses on `drag.from` and moves toward `drag.to` in small steps, as a
// hand would, leaving the button held; returns once the preview is there.
void DragPoint(CMainFrame& frame, const Drag& drag)
{
    frame.GetAction(ID_TOOL_SELECT)->trigger();
    CImageView* pane = frame.GetPane(drag.image);
    QWidget* viewport = pane->viewport();
    const auto send = [viewport](QEvent::Type type, QPoint client, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(client), QPointF(viewport->mapToGlobal(client)), button, held, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    const QPoint start = pane->PictureToClient(drag.from.x(), drag.from.y());
    const QPoint end = pane->PictureToClient(drag.to.x(), drag.to.y());
    send(QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    const int steps = 12;
    for (int i = 1; i <= steps; ++i) {
        send(QEvent::MouseMove, start + (end - start) * i / steps, Qt::NoButton, Qt::LeftButton);
        QTest::qWait(30);
    }
    CPreviewDock* preview = frame.GetPreview();
    for (int waited = 0; waited < 10000 && preview->GetShown() != preview->GetRequested(); waited += 20)
        QTest::qWait(20);
}

// Loads the two pictures and adds the lines of the faces found on them.
bool FindFaceLines(CTrevalinApp& app, CMainFrame& frame, const QString (&pictures)[2])
{
    CDocController& doc = *app.GetDocController();
    for (int i = 0; i < 2; ++i) {
        if (!doc.GetDoc().GetPicture(i)->LoadFromFile(QFile::encodeName(pictures[i]).toStdString())) return false;
    }
    doc.SendInitialUpdate();
    QTest::qWait(200);
    QSignalSpy finished(&frame.GetFaceCommands(), &CFaceCommands::finished);
    frame.GetAction(ID_IMAGE_AUTO_FACE)->trigger();
    if (!finished.wait(60000) || doc.GetDoc().GetFeatureSet()->m_sets[0].m_nCount == 0) return false;
    CPreviewDock* preview = frame.GetPreview();
    for (int waited = 0; waited < 10000 && preview->GetShown() != preview->GetRequested(); waited += 20)
        QTest::qWait(20);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: app_screenshot OUTPUT.png [--lang en|zh] [--show inputs|result|export|about] "
                             "[--size WxH] [--drag IMAGE:X,Y:X2,Y2] [--faces SOURCE TARGET] [PROJECT.tvl]\n");
        return 2;
    }
    QStringList arguments;
    QString show = QStringLiteral("inputs");
    QSize windowSize;
    Drag drag;
    QString faces[2];
    for (int i = 2; i < argc; ++i) {
        const QString argument = QFile::decodeName(argv[i]);
        if (argument == QLatin1String("--show") && i + 1 < argc) {
            show = QFile::decodeName(argv[++i]);
        } else if (argument == QLatin1String("--size") && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &windowSize.rwidth(), &windowSize.rheight()) != 2 ||
                windowSize.isEmpty())
                return 2;
        } else if (argument == QLatin1String("--drag") && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%d:%d,%d:%d,%d", &drag.image, &drag.from.rx(), &drag.from.ry(), &drag.to.rx(),
                            &drag.to.ry()) != 5 ||
                drag.image < 0 || drag.image > 1)
                return 2;
        } else if (argument == QLatin1String("--faces") && i + 2 < argc) {
            faces[0] = QFile::decodeName(argv[++i]);
            faces[1] = QFile::decodeName(argv[++i]);
        } else {
            arguments << argument;
        }
    }

    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath(QStringLiteral("Trevalin.ini")), QSettings::IniFormat);
    CLanguage language;
    language.Install(application, CLanguage::Choose(arguments, settings));
    CShotPrompts prompts;
    CTrevalinApp app(prompts, settings, MakePictureDecoder());
    if (!app.InitInstance(arguments, QFile::encodeName(QDir::currentPath()).toStdString())) return 1;
    CMainFrame* frame = app.GetMainWnd();
    if (!windowSize.isEmpty()) frame->resize(windowSize);
    if (!QTest::qWaitForWindowExposed(frame)) return 1;
    if (!windowSize.isEmpty()) {
        QTest::qWait(200);
        QSplitter* splitter = frame->GetSplitter();
        splitter->setSizes({splitter->width() / 2, splitter->width() - splitter->width() / 2});
    }

    bool ok = false;
    if (show == QLatin1String("result")) {
        frame->OnMorphStart();
        frame->OnViewResult();
        // Paused half-way, at an in-between frame.
        QTest::qWait(550);
        frame->OnMorphPause();
        ok = Grab(frame, argv[1]);
    } else if (show == QLatin1String("export")) {
        const SIZE size = app.GetDocController()->GetDoc().GetPicture(0)->GetSizeInPixels();
        CExportSettings exportSettings;
        exportSettings.folder = "/home/user/morphs";
        exportSettings.baseName = "demo";
        CExportDlg dialog(exportSettings, size.cx, size.cy, prompts, frame);
        dialog.show();
        ok = Grab(&dialog, argv[1]);
    } else if (show == QLatin1String("about")) {
        CAboutDlg about(frame);
        about.show();
        ok = Grab(&about, argv[1]);
    } else {
        if (drag.image >= 0) DragPoint(*frame, drag);
        if (!faces[0].isEmpty() && !FindFaceLines(app, *frame, faces)) {
            std::fprintf(stderr, "app_screenshot: no face lines were found\n");
            return 1;
        }
        ok = Grab(frame, argv[1]);
    }
    if (!ok) {
        std::fprintf(stderr, "app_screenshot: could not save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
