#pragma once

#include <QString>

class CMessage;
class QTranslator;

// Shows a message of the core (message/CMessage.h) in a language: the
// template translated in the context CText::kContext, then each value put in
// its place, a value that is itself a message translated in its turn, a
// plain value as it is. Templates are never looked for in finished texts.
class CCoreText {
public:
    // In the interface's language, through the application's translators
    // (Chinese, the templates themselves, without one).
    static QString Translate(const CMessage& message);
    // Through `translator` alone; null, or a template it does not know,
    // gives the Chinese.
    static QString Translate(const CMessage& message, const QTranslator* translator);
};
