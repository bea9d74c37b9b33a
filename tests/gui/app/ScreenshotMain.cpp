// Takes a picture of the application as the user sees it, for the
// documentation:
//   app_screenshot OUTPUT.png [--lang en|zh] [--show inputs|result|export|about] [PROJECT.tvl]
// Runs the real application (the current directory as the working folder,
// settings in a throw-away file) in the chosen language, waits until the
// window is on screen and grabs it: the main window with the image panes
// (inputs), the result view paused half-way through a run (result), or
// the export dialog or the About box over it. Meant for xvfb-run.
#include "app/CAboutDlg.h"
#include "app/CDialogPrompts.h"
#include "app/CExportDlg.h"
#include "app/CLanguage.h"
#include "app/CMainFrame.h"
#include "app/CMorphConfigDlg.h"
#include "app/CTrevalinApp.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "picture/CQtPictureDecoder.h"
#include "view/CTrevalinView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
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

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: app_screenshot OUTPUT.png [--lang en|zh] [--show inputs|result|export|about] "
                             "[PROJECT.tvl]\n");
        return 2;
    }
    QStringList arguments;
    QString show = QStringLiteral("inputs");
    for (int i = 2; i < argc; ++i) {
        if (QFile::decodeName(argv[i]) == QLatin1String("--show") && i + 1 < argc)
            show = QFile::decodeName(argv[++i]);
        else
            arguments << QFile::decodeName(argv[i]);
    }

    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath(QStringLiteral("Trevalin.ini")), QSettings::IniFormat);
    CLanguage language;
    language.Install(application, CLanguage::Choose(arguments, settings));
    CShotPrompts prompts;
    CTrevalinApp app(prompts, settings, std::make_shared<CQtPictureDecoder>());
    if (!app.InitInstance(arguments, QFile::encodeName(QDir::currentPath()).toStdString())) return 1;
    CMainFrame* frame = app.GetMainWnd();
    if (!QTest::qWaitForWindowExposed(frame)) return 1;

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
        ok = Grab(frame, argv[1]);
    }
    if (!ok) {
        std::fprintf(stderr, "app_screenshot: could not save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
