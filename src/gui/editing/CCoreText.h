#pragma once

#include <QString>
#include <string>

// Shows a text of the core in the interface's language. The core composes
// its texts in Chinese from fixed texts and templates (document/CText.h);
// this finds the fixed text, or the template and its values
// (output/CTextCatalog.h), and gives the translation with the values put
// back, themselves translated when they are core texts. Several lines are
// translated line by line, a run of sentences sentence by sentence. A text
// it does not know is shown as it is.
class CCoreText {
public:
    static QString Translate(const char* text);
    static QString Translate(const std::string& text);
    static QString Translate(const QString& text);
};
