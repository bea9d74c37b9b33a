#pragma once

#include <string>
#include <vector>

// Marks a text the user sees as translatable and yields it unchanged:
// TRV_TEXT("CoreText", "打开文档失败。") is the Chinese text itself. The
// translation tools collect these texts like QT_TRANSLATE_NOOP, in the
// context CText::kContext. Such a text is the id of a message (CMessage);
// the GUI and trevalin-render show it through the English translation.
#define TRV_TEXT(context, text) text

// Filling templates with the places %1 to %9, the way Qt's QString::arg
// does: the Chinese text of a message (CMessage::Text).
class CText {
public:
    static constexpr const char* kContext = "CoreText";

    // `pattern` with every %n (1 to 9) replaced by the n-th of `values`, in
    // one pass (a value holding "%2" stays as it is); a %n without a value
    // and any other % stay as they are.
    static std::string Fill(const char* pattern, const std::vector<std::string>& values);
};
