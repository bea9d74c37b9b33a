#include "CLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>

bool CLanguage::IsKnown(const QString& language)
{
    return language == QLatin1String(kChinese) || language == QLatin1String(kEnglish);
}

QString CLanguage::FromArguments(const QStringList& arguments)
{
    const QString name = QString::fromLatin1(kSwitch);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString value;
        if (arguments.at(i) == name && i + 1 < arguments.size())
            value = arguments.at(i + 1);
        else if (arguments.at(i).startsWith(name + QLatin1Char('=')))
            value = arguments.at(i).mid(name.size() + 1);
        else
            continue;
        return IsKnown(value) ? value : QString();
    }
    return {};
}

QString CLanguage::Choose(const QStringList& arguments, const QSettings& settings)
{
    const QString chosen = FromArguments(arguments);
    if (!chosen.isEmpty()) return chosen;
    const QString remembered = settings.value(QLatin1String(kSettingsKey)).toString();
    return IsKnown(remembered) ? remembered : QString::fromLatin1(kChinese);
}

void CLanguage::Remember(QSettings& settings, const QString& language)
{
    if (IsKnown(language)) settings.setValue(QLatin1String(kSettingsKey), language);
}

bool CLanguage::Install(QCoreApplication& application, const QString& language)
{
    QCoreApplication::removeTranslator(&m_appTexts);
    QCoreApplication::removeTranslator(&m_qtTexts);
    m_current = QString::fromLatin1(kChinese);
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (language == QLatin1String(kEnglish)) {
        // Qt's own texts are English already.
        if (!m_appTexts.load(QStringLiteral(":/i18n/trevalin_en.qm"))) return false;
        application.installTranslator(&m_appTexts);
        m_current = language;
        return true;
    }
    // The sources speak Chinese; Qt's standard dialogs need its translation.
    if (m_qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                       qtFolder))
        application.installTranslator(&m_qtTexts);
    return true;
}
