#include "CCoreText.h"

#include "message/CText.h"
#include "export/CTextCatalog.h"
#include "picture/CQtPictureDecoder.h"

#include <QCoreApplication>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>

namespace {

QString Lookup(const QString& text)
{
    return QCoreApplication::translate(CText::kContext, text.toUtf8().constData());
}

// The template as a whole-text pattern: literal parts escaped, each %n one
// group taking as much as it can (paths come first, reasons last).
QRegularExpression Matcher(const QString& pattern, QList<int>& places)
{
    static const QRegularExpression place(QStringLiteral("%([1-9])"));
    QString expression = QStringLiteral("^");
    qsizetype from = 0;
    for (auto it = place.globalMatch(pattern); it.hasNext();) {
        const QRegularExpressionMatch found = it.next();
        expression += QRegularExpression::escape(pattern.mid(from, found.capturedStart() - from));
        expression += QStringLiteral("(.*)");
        places.append(found.captured(1).toInt());
        from = found.capturedEnd();
    }
    expression += QRegularExpression::escape(pattern.mid(from)) + QStringLiteral("$");
    return QRegularExpression(expression, QRegularExpression::DotMatchesEverythingOption);
}

// `translated` with each %n replaced by values[n] in one pass, so that a
// value holding "%2" stays as it is.
QString FillIn(const QString& translated, const QMap<int, QString>& values)
{
    QString text;
    for (qsizetype i = 0; i < translated.size(); ++i) {
        const QChar c = translated.at(i);
        if (c == QLatin1Char('%') && i + 1 < translated.size() && values.contains(translated.at(i + 1).digitValue())) {
            text += values.value(translated.at(i + 1).digitValue());
            ++i;
        } else {
            text += c;
        }
    }
    return text;
}

} // namespace

QString CCoreText::Translate(const char* text)
{
    return Translate(QString::fromUtf8(text));
}

QString CCoreText::Translate(const std::string& text)
{
    return Translate(QString::fromStdString(text));
}

QString CCoreText::Translate(const QString& text)
{
    if (text.isEmpty()) return text;
    if (text.contains(QLatin1Char('\n'))) {
        QStringList lines = text.split(QLatin1Char('\n'));
        for (QString& line : lines)
            line = Translate(line);
        return lines.join(QLatin1Char('\n'));
    }
    const QString fixed = Lookup(text);
    if (fixed != text) return fixed;
    std::vector<const char*> patterns = CTextCatalog::Patterns();
    for (const char* const* decoder = CQtPictureDecoder::kPatterns; *decoder != nullptr; ++decoder)
        patterns.push_back(*decoder);
    for (const char* pattern : patterns) {
        const QString source = QString::fromUtf8(pattern);
        QList<int> places;
        const QRegularExpressionMatch match = Matcher(source, places).match(text);
        if (!match.hasMatch()) continue;
        QMap<int, QString> values;
        for (int i = 0; i < places.size(); ++i)
            values.insert(places.at(i), Translate(match.captured(i + 1)));
        return FillIn(Lookup(source), values);
    }
    // Sentences told one after another ("磁盘空间不足。原来的文件没有改动。").
    const qsizetype stop = text.indexOf(QStringLiteral("。"));
    if (stop >= 0 && stop + 1 < text.size()) {
        const QString first = Translate(text.left(stop + 1));
        const QString rest = Translate(text.mid(stop + 1));
        return first.endsWith(QStringLiteral("。")) ? first + rest : first + QLatin1Char(' ') + rest;
    }
    return text;
}
