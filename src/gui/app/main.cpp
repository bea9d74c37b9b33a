#include "CDialogPrompts.h"
#include "CTrevalinApp.h"
#include "picture/CQtPictureDecoder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The program speaks Simplified Chinese throughout, including the
    // buttons and labels of Qt's own dialogs.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        application.installTranslator(&qtTexts);
    // Qt has taken its own options out of argv by now.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    CDialogPrompts prompts;
    QSettings settings(QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Trevalin"));
    CTrevalinApp app(prompts, settings, std::make_shared<CQtPictureDecoder>());
    if (!app.InitInstance(arguments, QFile::encodeName(QDir::currentPath()).toStdString())) return 1;
    const int status = application.exec();
    app.ExitInstance();
    return status;
}
