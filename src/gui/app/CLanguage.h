#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

class QCoreApplication;
class QSettings;

// The interface language: Chinese (the texts in the sources, and Qt's own
// Chinese texts for its standard dialogs) or English (the compiled
// translation in the resources, and Qt's own English texts). Chosen by
// `--lang en|zh` on the command line, else by the setting kSettingsKey
// (written by 视图 → 语言 / Language), else Chinese.
class CLanguage {
public:
    static constexpr const char* kChinese = "zh";
    static constexpr const char* kEnglish = "en";
    static constexpr const char* kSettingsKey = "Settings/Language";
    static constexpr const char* kSwitch = "--lang";

    // The language named by `--lang X` or `--lang=X` among `arguments`, or
    // empty. A value other than "en" or "zh" counts as none.
    static QString FromArguments(const QStringList& arguments);
    // The command line's choice, else the remembered one, else Chinese.
    static QString Choose(const QStringList& arguments, const QSettings& settings);
    static void Remember(QSettings& settings, const QString& language);
    static bool IsKnown(const QString& language);

    // Installs the translators of `language` into `application`; returns
    // false when the English translation could not be loaded (the interface
    // then stays Chinese).
    bool Install(QCoreApplication& application, const QString& language);
    const QString& Current() const { return m_current; }

private:
    QTranslator m_appTexts;
    QTranslator m_qtTexts;
    QString m_current = QString::fromLatin1(kChinese);
};
