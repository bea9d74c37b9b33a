#include "CMessage.h"

#include "CText.h"

CMessage::CMessage(const char* id, std::initializer_list<CMessageArg> args, int error)
    : m_kind(Kind::kTemplate), m_id(id), m_errno(error)
{
    m_args.reserve(args.size());
    for (const CMessageArg& arg : args)
        m_args.push_back(arg.Get());
}

CMessage CMessage::Plain(std::string text, int error)
{
    CMessage message;
    message.m_kind = Kind::kPlain;
    message.m_text = std::move(text);
    message.m_errno = error;
    return message;
}

CMessage CMessage::Joined(std::vector<CMessage> parts)
{
    CMessage message;
    message.m_kind = Kind::kJoined;
    message.m_args = std::move(parts);
    return message;
}

CMessage CMessage::Name(const std::string& name)
{
    return Plain(Shortened(name));
}

std::string CMessage::Shortened(const std::string& name)
{
    // Characters start at every byte that is not a UTF-8 continuation byte.
    auto starts = [&name](size_t i) { return (static_cast<unsigned char>(name[i]) & 0xC0) != 0x80; };
    size_t head = 0; // the byte where character kNameEnds + 1 starts
    size_t count = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        if (!starts(i)) continue;
        if (count == kNameEnds) head = i;
        if (++count > 2 * kNameEnds + 1) break;
    }
    if (count <= 2 * kNameEnds + 1) return name;
    size_t tail = name.size(); // the byte where the last kNameEnds characters start
    for (size_t kept = 0; kept < kNameEnds && tail > 0;) {
        --tail;
        if (starts(tail)) ++kept;
    }
    return name.substr(0, head) + "\u2026" + name.substr(tail);
}

int CMessage::Errno() const
{
    if (m_errno != 0) return m_errno;
    for (const CMessage& arg : m_args) {
        if (const int error = arg.Errno(); error != 0) return error;
    }
    return 0;
}

std::string CMessage::Text() const
{
    switch (m_kind) {
    case Kind::kEmpty:
        return std::string();
    case Kind::kPlain:
        return m_text;
    case Kind::kTemplate: {
        std::vector<std::string> values;
        values.reserve(m_args.size());
        for (const CMessage& arg : m_args)
            values.push_back(arg.Text());
        return CText::Fill(m_id, values);
    }
    case Kind::kJoined:
        break;
    }
    std::string text;
    for (const CMessage& part : m_args)
        text += part.Text();
    return text;
}

CMessage& CMessage::Append(const CMessage& part)
{
    if (part.IsEmpty()) return *this;
    if (IsEmpty()) {
        *this = part;
        return *this;
    }
    if (m_kind != Kind::kJoined) *this = Joined({*this});
    m_args.push_back(part);
    return *this;
}
