#include "cli/CCliLanguage.h"
#include "document/CDocument.h"
#include "message/CMessage.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(CliLanguage, TheFirstLocaleSetDecidesAndOnlyZhIsChinese)
{
    const CMessage failed(CDocument::kOpenFailed);
    EXPECT_EQ(CCliLanguage("zh_CN.UTF-8").Say(failed), "打开文档失败。");
    EXPECT_EQ(CCliLanguage("zh_TW").Say(failed), "打开文档失败。");
    for (const char* other : {"", "C", "C.UTF-8", "en_US.UTF-8", "de_DE"})
        EXPECT_EQ(CCliLanguage(other).Say(failed), "Failed to open the document.") << other;

    ::setenv("LC_ALL", "", 1);
    ::setenv("LC_MESSAGES", "zh_CN.UTF-8", 1);
    ::setenv("LANG", "en_US.UTF-8", 1);
    EXPECT_EQ(CCliLanguage::EnvironmentLocale(), "zh_CN.UTF-8");
    ::setenv("LC_ALL", "C", 1);
    EXPECT_EQ(CCliLanguage::EnvironmentLocale(), "C");
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    EXPECT_EQ(CCliLanguage::EnvironmentLocale(), "en_US.UTF-8");
    ::unsetenv("LANG");
    EXPECT_EQ(CCliLanguage::EnvironmentLocale(), "");
}
