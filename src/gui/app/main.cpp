#include "CDialogPrompts.h"
#include "CLanguage.h"
#include "CTrevalinApp.h"
#include "picture/MakePictureDecoder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSettings>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The desktop entry the window belongs to (its icon and name in the
    // desktop's task switcher).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.trevalin.Trevalin"));
    // Qt has taken its own options out of argv by now.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Before the working folder is taken below.
    arguments = CTrevalinApp::EnterProjectFolder(arguments);

    QSettings settings(QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Trevalin"));
    // Chinese unless English is asked for, including the buttons and labels
    // of Qt's own dialogs.
    CLanguage language;
    language.Install(application, CLanguage::Choose(arguments, settings));

    CDialogPrompts prompts;
    CTrevalinApp app(prompts, settings, MakePictureDecoder());
    if (!app.InitInstance(arguments, QFile::encodeName(QDir::currentPath()).toStdString())) return 1;
    const int status = application.exec();
    app.ExitInstance();
    return status;
}
