#include "CCliLanguage.h"

#include "language/CCoreText.h"
#include "message/CMessage.h"

#include <cstdlib>

CCliLanguage::CCliLanguage(const std::string& locale)
{
    if (locale.rfind("zh", 0) == 0) return;
    auto english = std::make_shared<QTranslator>();
    // Without the translation compiled in, the messages stay Chinese rather
    // than go missing.
    if (english->load(QStringLiteral(":/i18n/trevalin_en.qm"))) m_translator = std::move(english);
}

CCliLanguage CCliLanguage::FromEnvironment()
{
    return CCliLanguage(EnvironmentLocale());
}

std::string CCliLanguage::EnvironmentLocale()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return std::string();
}

std::string CCliLanguage::Say(const CMessage& message) const
{
    return CCoreText::Translate(message, m_translator.get()).toStdString();
}
