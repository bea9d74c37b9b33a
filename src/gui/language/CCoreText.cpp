#include "language/CCoreText.h"

#include "message/CMessage.h"
#include "message/CText.h"

#include <QCoreApplication>
#include <QTranslator>

#include <functional>

namespace {

using Lookup = std::function<QString(const char* id)>;

// `translated` with each %n replaced by values[n - 1] in one pass, so that a
// value holding "%2" stays as it is; a %n without a value stays too.
QString FillIn(const QString& translated, const QStringList& values)
{
    QString text;
    for (qsizetype i = 0; i < translated.size(); ++i) {
        const QChar c = translated.at(i);
        const int place = i + 1 < translated.size() ? translated.at(i + 1).digitValue() : -1;
        if (c == QLatin1Char('%') && place >= 1 && place <= values.size()) {
            text += values.at(place - 1);
            ++i;
        } else {
            text += c;
        }
    }
    return text;
}

QString Show(const CMessage& message, const Lookup& lookup)
{
    switch (message.GetKind()) {
    case CMessage::Kind::kEmpty:
        return QString();
    case CMessage::Kind::kPlain:
        return QString::fromStdString(message.PlainText());
    case CMessage::Kind::kTemplate: {
        QStringList values;
        for (const CMessage& value : message.Args())
            values.append(Show(value, lookup));
        return FillIn(lookup(message.Id()), values);
    }
    case CMessage::Kind::kJoined:
        break;
    }
    QString text;
    for (const CMessage& part : message.Args())
        text += Show(part, lookup);
    return text;
}

} // namespace

QString CCoreText::Translate(const CMessage& message)
{
    return Show(message, [](const char* id) { return QCoreApplication::translate(CText::kContext, id); });
}

QString CCoreText::Translate(const CMessage& message, const QTranslator* translator)
{
    return Show(message, [translator](const char* id) {
        const QString translated = translator != nullptr ? translator->translate(CText::kContext, id) : QString();
        return translated.isEmpty() ? QString::fromUtf8(id) : translated;
    });
}
