// Takes a picture of the main window as the user sees it:
//   app_screenshot OUTPUT.png [PROJECT.tvl]
// Runs the real application (real dialogs, the current directory as the
// working folder, settings in a throw-away file), waits until the window is
// on screen, grabs it from the screen and quits. Meant for xvfb-run.
#include "app/CDialogPrompts.h"
#include "app/CMainFrame.h"
#include "app/CTrevalinApp.h"
#include "picture/CQtPictureDecoder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: app_screenshot OUTPUT.png [PROJECT.tvl]\n");
        return 2;
    }
    const QString output = QFile::decodeName(argv[1]);
    QStringList arguments;
    for (int i = 2; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);

    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath(QStringLiteral("Trevalin.ini")), QSettings::IniFormat);
    CDialogPrompts prompts;
    CTrevalinApp app(prompts, settings, std::make_shared<CQtPictureDecoder>());
    if (!app.InitInstance(arguments, QFile::encodeName(QDir::currentPath()).toStdString())) return 1;
    CMainFrame* frame = app.GetMainWnd();
    if (!QTest::qWaitForWindowExposed(frame)) return 1;
    QTest::qWait(500);
    const QPixmap shot = frame->screen()->grabWindow(frame->winId());
    if (shot.isNull() || !shot.save(output)) {
        std::fprintf(stderr, "app_screenshot: could not save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
