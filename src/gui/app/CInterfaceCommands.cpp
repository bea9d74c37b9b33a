#include "CInterfaceCommands.h"

#include "CLanguage.h"
#include "CActionRegistry.h"
#include "CManualWindow.h"
#include "Resource.h"
#include "editing/CUserPrompts.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

CInterfaceCommands::CInterfaceCommands(CActionRegistry& actions, QMainWindow& window, QSettings& settings,
                                       CUserPrompts& prompts, const QString& current)
    : QObject(&window), m_actions(actions), m_window(window), m_settings(settings), m_prompts(prompts),
      m_current(current)
{
}

QString CInterfaceCommands::ManualPath()
{
    const QDir programs(QCoreApplication::applicationDirPath());
    const QStringList candidates{programs.filePath(QStringLiteral("../share/doc/trevalin/manual.md")),
#ifdef TREVALIN_SOURCE_DIR
                                 QStringLiteral(TREVALIN_SOURCE_DIR "/docs/manual.md")
#endif
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}

void CInterfaceCommands::CreateMenus(QMenu* viewMenu)
{
    // Named in both languages, so that it can be found in either.
    m_pLanguageMenu = viewMenu->addMenu(tr("语言 / Language"));
    m_pLanguageMenu->setObjectName(QStringLiteral("languageMenu"));
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    const struct {
        int id;
        const char* text;
        const char* language;
    } choices[] = {{ID_LANGUAGE_ENGLISH, "English", CLanguage::kEnglish},
                   {ID_LANGUAGE_CHINESE, "中文", CLanguage::kChinese}};
    for (const auto& choice : choices) {
        QAction* action = m_actions.MakeAction(choice.id, QString::fromUtf8(choice.text), QString(), QString());
        action->setCheckable(true);
        action->setChecked(m_current == QLatin1String(choice.language));
        group->addAction(action);
        m_pLanguageMenu->addAction(action);
        const QString language = QString::fromLatin1(choice.language);
        connect(action, &QAction::triggered, this, [this, language] { OnLanguage(language); });
    }

    m_pHelpMenu = m_window.menuBar()->addMenu(tr("帮助(&H)"));
    m_pHelpMenu->setObjectName(QStringLiteral("helpMenu"));
    QAction* manual =
        m_actions.MakeAction(ID_HELP_MANUAL, tr("用户手册(&M)\tF1"), QString(), tr("打开 Trevalin 用户手册\n用户手册"));
    manual->setShortcut(QKeySequence(Qt::Key_F1));
    m_pHelpMenu->addAction(manual);
    m_pHelpMenu->addSeparator();
    // The tool bar's About button, here with a menu text of its own.
    QAction* about = m_actions.GetAction(ID_APP_ABOUT);
    about->setText(tr("关于 Trevalin(&A)..."));
    about->setToolTip(tr("关于"));
    m_pHelpMenu->addAction(about);
    connect(manual, &QAction::triggered, this, &CInterfaceCommands::OnHelpManual);
}

void CInterfaceCommands::OnHelpManual()
{
    const QString path = ManualPath();
    if (path.isEmpty()) {
        m_prompts.MessageBox(&m_window, tr("没有找到用户手册。"), CUserPrompts::Icon::kWarning);
        return;
    }
    if (!m_manual) m_manual = new CManualWindow(&m_window);
    if (!m_manual->Open(path)) {
        m_prompts.MessageBox(&m_window, tr("无法打开用户手册 %1。").arg(QDir::toNativeSeparators(path)),
                             CUserPrompts::Icon::kWarning);
        return;
    }
    m_manual->show();
    m_manual->raise();
    m_manual->activateWindow();
}

void CInterfaceCommands::OnLanguage(const QString& language)
{
    CLanguage::Remember(m_settings, language);
    if (language == m_current) return;
    m_prompts.MessageBox(&m_window, tr("界面语言将在下次启动 Trevalin 时更改。"), CUserPrompts::Icon::kInformation);
}
