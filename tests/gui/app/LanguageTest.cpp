#include "LanguageTest.h"

#include "CAppRig.h"
#include "gui/support/CGuiTestSupport.h"
#include "app/CAboutDlg.h"
#include "app/CInterfaceCommands.h"
#include "app/CLanguage.h"
#include "app/CManualWindow.h"
#include "app/CMainFrame.h"
#include "app/CTrevalinApp.h"
#include "app/Resource.h"
#include "document/CDocument.h"
#include "files/CFileAccess.h"
#include "language/CCoreText.h"
#include "export/CExportMessages.h"
#include "export/CExportSummary.h"
#include "message/CMessage.h"
#include "run/CRunDriver.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include <cerrno>
#include <filesystem>

Q_DECLARE_METATYPE(CMessage)

namespace {

QStringList MenuTitles(CMainFrame& frame)
{
    QStringList titles;
    for (QAction* action : frame.menuBar()->actions())
        titles << action->text();
    return titles;
}

// English for the length of a test.
struct CEnglish {
    CLanguage language;
    CEnglish() { QVERIFY(language.Install(*qApp, QStringLiteral("en"))); }
    ~CEnglish() { language.Install(*qApp, QStringLiteral("zh")); }
};

} // namespace

void LanguageTest::choosesFromCommandLineThenSettings_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("nothing") << QStringList() << QString() << "zh";
    QTest::newRow("remembered") << QStringList() << "en"
                                << "en";
    QTest::newRow("switch over setting") << QStringList{"--lang", "zh"} << "en"
                                         << "zh";
    QTest::newRow("switch with =") << QStringList{"p.tvl", "--lang=en"} << QString() << "en";
    QTest::newRow("unknown value") << QStringList{"--lang", "fr"} << "en"
                                   << "en";
    QTest::newRow("bad setting") << QStringList() << "de"
                                 << "zh";
    QTest::newRow("switch without value") << QStringList{"--lang"} << QString() << "zh";
}

void LanguageTest::choosesFromCommandLineThenSettings()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, remembered);
    QFETCH(QString, chosen);
    CAppRig rig;
    if (!remembered.isEmpty()) rig.settings->setValue(CLanguage::kSettingsKey, remembered);
    QCOMPARE(CLanguage::Choose(arguments, *rig.settings), chosen);
}

void LanguageTest::englishInterface()
{
    {
        CEnglish english;
        CAppRig rig;
        QVERIFY(rig.Start({QStringLiteral("--lang"), QStringLiteral("en")}));
        QCOMPARE(MenuTitles(rig.Frame()), (QStringList{"&File", "&Edit", "&View", "&Picture", "&Morph", "&Help"}));
        QCOMPARE(rig.Frame().windowTitle(), QStringLiteral("Untitled - Trevalin"));
        QCOMPARE(rig.Frame().GetAction(ID_FILE_OPEN)->text(), QStringLiteral("&Open...\tCtrl+O"));
        QCOMPARE(rig.Frame().GetAction(ID_FILE_OPEN)->toolTip(), QStringLiteral("Open"));
        QCOMPARE(rig.Frame().GetIdleLabel()->text(), QStringLiteral("Ready"));
        // The language chosen at start-up is the one checked.
        QVERIFY(rig.Frame().GetAction(ID_LANGUAGE_ENGLISH)->isChecked());
        CAboutDlg about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Trevalin"));
        QCOMPARE(about.findChild<QPushButton*>(QStringLiteral("IDOK"))->text(), QStringLiteral("OK"));
        // A message of the core, through the document manager.
        rig.prompts.fileAnswers.push_back(QString::fromStdString(rig.Work("missing.tvl")));
        rig.Frame().GetAction(ID_FILE_OPEN)->trigger();
        QVERIFY(rig.prompts.openFilters.last().startsWith(QStringLiteral("tvl files (*.tvl)")));
        QVERIFY(!rig.prompts.messages.empty());
        QVERIFY2(rig.prompts.messages.back().text.endsWith(QStringLiteral(" was not found.\nNo such file or folder.")),
                 qPrintable(rig.prompts.messages.back().text));
        // The warning of a project opened without one of its pictures.
        WriteTestPicture(PathIn(rig.dir, "images/s.bmp"), 8, 8, Qt::red);
        WriteTestPicture(PathIn(rig.dir, "images/t.bmp"), 8, 8, Qt::blue);
        rig.prompts.fileAnswers.push_back(rig.WriteProject(rig.dir / "gone.tvl", "s.bmp", "t.bmp", 1, 1, 5, 5));
        std::filesystem::remove(rig.dir / "images" / "t.bmp");
        rig.Frame().GetAction(ID_FILE_OPEN)->trigger();
        QVERIFY2(rig.prompts.messages.back().text.startsWith(
                     QStringLiteral("The project was opened, but these pictures were not loaded:\n")),
                 qPrintable(rig.prompts.messages.back().text));
    }
    // Without the translation the texts are the Chinese ones.
    CAppRig rig;
    QVERIFY(rig.Start());
    QCOMPARE(MenuTitles(rig.Frame()).first(), QStringLiteral("文件(&F)"));
    QCOMPARE(MenuTitles(rig.Frame()).last(), QStringLiteral("帮助(&H)"));
    QVERIFY(rig.Frame().GetAction(ID_LANGUAGE_CHINESE)->isChecked());
}

void LanguageTest::coreTextsInEnglish_data()
{
    QTest::addColumn<CMessage>("chinese");
    QTest::addColumn<QString>("english");
    QTest::newRow("fixed") << CMessage(CDocument::kOpenFailed) << "Failed to open the document.";
    QTest::newRow("run") << CMessage(CRunDriver::kIncompatibleText) << "The pictures differ in size or colour format!";
    QTest::newRow("template with a colon in the path")
        << CExportMessages::WriteFailed("/tmp/a:b/x.png", ENOSPC) << "Cannot write /tmp/a:b/x.png: The disk is full.";
    QTest::newRow("two sentences") << CMessage(CDocument::kLeftUnchangedFormat, {CFileAccess::ErrorMessage(EACCES)})
                                   << "Permission denied. The existing file was left unchanged.";
    QTest::newRow("values out of order")
        << CExportMessages::RangeOutOfRange(3, 2, 10)
        << "The frame range must lie between 0 and 10, with the first frame not after the last: 3-2.";
    CExportSummary summary;
    summary.outcome = CExportSummary::Outcome::kCancelled;
    summary.framesWritten = 2;
    summary.firstFrameFile = "f-0.png";
    summary.lastFrameFile = "f-1.png";
    QTest::newRow("lines") << summary.Describe() << "Export cancelled.\nWrote 2 frame files: f-0.png … f-1.png\n";
    QTest::newRow("plain stays") << CMessage::Plain("Frame-3 %1") << "Frame-3 %1";
}

void LanguageTest::coreTextsInEnglish()
{
    QFETCH(CMessage, chinese);
    QFETCH(QString, english);
    QCOMPARE(CCoreText::Translate(chinese), QString::fromStdString(chinese.Text()));
    CEnglish on;
    QCOMPARE(CCoreText::Translate(chinese), english);
}

void LanguageTest::languageMenuRemembersTheChoice()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    QAction* english = rig.Frame().GetAction(ID_LANGUAGE_ENGLISH);
    english->trigger();
    QVERIFY(english->isChecked());
    QVERIFY(!rig.Frame().GetAction(ID_LANGUAGE_CHINESE)->isChecked());
    QCOMPARE(rig.settings->value(CLanguage::kSettingsKey).toString(), QStringLiteral("en"));
    QCOMPARE(rig.prompts.messages.size(), size_t{1}); // takes effect at the next start
    CAppRig restarted(rig.settingsPath);
    QCOMPARE(CLanguage::Choose({}, *restarted.settings), QStringLiteral("en"));
}

void LanguageTest::helpMenuHoldsManualAndAbout()
{
    CAppRig rig;
    QVERIFY(rig.Start());
    QMenu* help = rig.app->GetInterfaceCommands()->GetHelpMenu();
    QVERIFY(help->actions().contains(rig.Frame().GetAction(ID_HELP_MANUAL)));
    QVERIFY(help->actions().contains(rig.Frame().GetAction(ID_APP_ABOUT)));
    rig.Frame().GetAction(ID_APP_ABOUT)->trigger();
    QCOMPARE(rig.prompts.aboutBoxes, 1);
    // Run from the build folder, the manual is the source tree's.
    const QString manual = CInterfaceCommands::ManualPath();
    QVERIFY(QFileInfo(manual).isFile());
    QVERIFY(manual.endsWith(QStringLiteral("docs/manual.md")));

    // F1 shows it here, rendered, its pictures found beside it; again, the
    // same window.
    rig.Frame().GetAction(ID_HELP_MANUAL)->trigger();
    CManualWindow* window = rig.app->GetInterfaceCommands()->GetManualWindow();
    QVERIFY(window && window->isVisible());
    QTextBrowser* browser = window->Browser();
    QVERIFY(browser->document()->toPlainText().startsWith(QStringLiteral("Trevalin user manual")));
    QVERIFY(!browser->document()->toHtml().contains(QStringLiteral("## ")));
    const QVariant picture =
        browser->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("manual-inputs.png")));
    QVERIFY(!QImage::fromData(picture.toByteArray()).isNull());
    // A link to a section goes there.
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(browser->verticalScrollBar()->value(), 0);
    emit browser->anchorClicked(browser->source().resolved(QUrl(QStringLiteral("#language"))));
    QVERIFY(browser->verticalScrollBar()->value() > 0);
    QCOMPARE(browser->source().fileName(), QStringLiteral("manual.md"));
    rig.Frame().GetAction(ID_HELP_MANUAL)->trigger();
    QCOMPARE(rig.app->GetInterfaceCommands()->GetManualWindow(), window);
    QVERIFY(rig.prompts.messages.empty());
}
