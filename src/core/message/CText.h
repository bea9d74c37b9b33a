#pragma once

#include <initializer_list>
#include <string>

// Marks a text the user sees as translatable and yields it unchanged:
// TRV_TEXT("CoreText", "打开文档失败。") is the Chinese text itself. The
// translation tools collect these texts like QT_TRANSLATE_NOOP, in the
// context CText::kContext; the GUI shows them through its translator.
#define TRV_TEXT(context, text) text

// Composing texts from templates with the places %1 to %9, the way Qt's
// QString::arg does, so that the GUI can find a composed text's template and
// values again (CTextCatalog) and show the translated template with them.
class CText {
public:
    static constexpr const char* kContext = "CoreText";

    // `pattern` with every %n (1 to 9) replaced by the n-th of `args`; a %n
    // without a value and any other % stay as they are.
    static std::string Fill(const char* pattern, std::initializer_list<std::string> args);
};
