#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

class CMessageArg;

// What the core has to tell the user, kept apart from any language: the
// template (its id, a Chinese text marked with TRV_TEXT so that the
// translation tools collect it) with the values of its places %1 to %9, and
// the system error number behind it where there is one. A value is a text
// shown as it is (a path, a number, a name) or itself a message. The GUI
// translates a message through CCoreText; Text() gives the Chinese sentence.
//
// A message without content is the empty one: nothing to tell, success.
class CMessage {
public:
    enum class Kind : int32_t {
        kEmpty,    // nothing to tell
        kPlain,    // a text shown as it is, in every language
        kTemplate, // Id() with Args() filled in
        kJoined,   // Args() one after the other
    };

    CMessage() = default;
    // The template `id` (TRV_TEXT) with the values of %1.., and the system
    // error number it reports (0: none).
    explicit CMessage(const char* id, std::initializer_list<CMessageArg> args = {}, int error = 0);

    // A text shown as it is: not translated (the system's own words for
    // `error`, for one).
    static CMessage Plain(std::string text, int error = 0);
    // The parts one after the other (lines with a plain "\n" between them).
    static CMessage Joined(std::vector<CMessage> parts);
    // A name (a path, a file name) as messages show it: Shortened(name).
    static CMessage Name(const std::string& name);
    // A name of more than 2 x kNameEnds + 1 characters (UTF-8 code points)
    // as its first and last kNameEnds characters with "…" between; a
    // shorter one as it is. Whatever a file holds, a message stays short.
    static std::string Shortened(const std::string& name);
    static constexpr size_t kNameEnds = 60;

    Kind GetKind() const { return m_kind; }
    bool IsEmpty() const { return m_kind == Kind::kEmpty; }
    // The template (kTemplate), else null.
    const char* Id() const { return m_id; }
    // The values of the template's places, or the parts of a joined message.
    const std::vector<CMessage>& Args() const { return m_args; }
    // The text of a plain message.
    const std::string& PlainText() const { return m_text; }
    // The system error number this message or the first of its values that
    // has one reports; 0 when none does.
    int Errno() const;

    // The message in Chinese: the template with each %n replaced by the
    // Chinese text of its value, parts joined, a plain text as it is.
    std::string Text() const;

    // Appends `part` after what the message holds (an empty one stays out).
    CMessage& Append(const CMessage& part);

private:
    Kind m_kind = Kind::kEmpty;
    const char* m_id = nullptr;
    std::string m_text;
    std::vector<CMessage> m_args;
    int m_errno = 0;
};

// One value of a message's template: a text shown as it is, a number, or a
// message (translated in its turn). A bare literal is neither until it is
// said which: std::string("BMP") is shown as it is, CMessage(TRV_TEXT(..))
// is translated.
class CMessageArg {
public:
    CMessageArg(std::string plain) : m_message(CMessage::Plain(std::move(plain))) {}
    CMessageArg(const char*) = delete;
    CMessageArg(CMessage message) : m_message(std::move(message)) {}
    template <typename T, typename = std::enable_if_t<std::is_integral_v<T>>>
    CMessageArg(T number) : m_message(CMessage::Plain(std::to_string(number)))
    {
    }

    const CMessage& Get() const { return m_message; }

private:
    CMessage m_message;
};
