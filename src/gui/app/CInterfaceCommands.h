#pragma once

#include <QObject>
#include <QString>

class CActionRegistry;
class CManualWindow;
class CUserPrompts;
class QActionGroup;
class QMainWindow;
class QMenu;
class QSettings;

// The commands about the program itself: 视图 → 语言 / Language (English or
// 中文, remembered in the settings and used from the next start) and the
// 帮助 menu with the user manual and the About box.
class CInterfaceCommands : public QObject {
    Q_OBJECT

public:
    // The commands go into `actions` and the menus into `window`'s menu bar;
    // `current` is the language the interface runs in ("en" or "zh").
    CInterfaceCommands(CActionRegistry& actions, QMainWindow& window, QSettings& settings, CUserPrompts& prompts,
                       const QString& current);

    // The language submenu at the end of `viewMenu`, then the 帮助 menu
    // after the menus already in the bar.
    void CreateMenus(QMenu* viewMenu);
    // 帮助 → 用户手册: shows the manual in a window of its own
    // (CManualWindow), the same one again when it is already open.
    void OnHelpManual();
    // 语言: remembers `language` and tells when it takes effect.
    void OnLanguage(const QString& language);

    QMenu* GetHelpMenu() const { return m_pHelpMenu; }
    QMenu* GetLanguageMenu() const { return m_pLanguageMenu; }
    CManualWindow* GetManualWindow() const { return m_manual; }

    // The manual: the installed copy beside the program
    // (<prefix>/share/doc/trevalin/manual.md), else the source tree's when
    // the program runs from its build folder; empty when neither exists.
    static QString ManualPath();

private:
    CActionRegistry& m_actions;
    QMainWindow& m_window;
    QSettings& m_settings;
    CUserPrompts& m_prompts;
    QString m_current;
    QMenu* m_pHelpMenu = nullptr;
    QMenu* m_pLanguageMenu = nullptr;
    CManualWindow* m_manual = nullptr; // a child of the window, made when first asked for
};
