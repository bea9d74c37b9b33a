#pragma once

#include <QTranslator>

#include <memory>
#include <string>

class CMessage;

// The language trevalin-render tells the core's messages in, chosen from the
// environment the way gettext chooses: the first of LC_ALL, LC_MESSAGES and
// LANG that is set and not empty; Chinese for a zh locale, English for any
// other and when none is set. The program's own lines are English either
// way.
class CCliLanguage {
public:
    // `locale` as in LANG ("zh_CN.UTF-8", "en_US", "C", "").
    explicit CCliLanguage(const std::string& locale);
    // From this process's environment.
    static CCliLanguage FromEnvironment();
    // The locale that decides, as gettext finds it; empty when none is set.
    static std::string EnvironmentLocale();

    bool IsChinese() const { return m_translator == nullptr; }
    // The message in this language, as UTF-8.
    std::string Say(const CMessage& message) const;

private:
    std::shared_ptr<QTranslator> m_translator; // null: Chinese, the templates themselves
};
