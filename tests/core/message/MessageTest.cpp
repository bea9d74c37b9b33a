#include "message/CMessage.h"
#include "message/CText.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <type_traits>

// A bare literal is no value: it has to say whether it is translated.
static_assert(!std::is_convertible_v<const char*, CMessageArg>);
static_assert(!std::is_convertible_v<const char*, CMessage>);

TEST(Message, TextFillsTheTemplateWithTheTextsOfItsValues)
{
    const CMessage reason(TRV_TEXT("CoreText", "磁盘空间不足。"), {}, ENOSPC);
    const CMessage message(TRV_TEXT("CoreText", "无法写入 %1:%2"), {std::string("/a/%2.png"), reason});
    EXPECT_EQ(message.Text(), "无法写入 /a/%2.png:磁盘空间不足。");
    EXPECT_EQ(message.Errno(), ENOSPC);
    EXPECT_EQ(CMessage(TRV_TEXT("CoreText", "%2-%1,%3"), {int64_t{7}, 5}).Text(), "5-7,%3");
}

TEST(Message, PartsAppendOneAfterAnother)
{
    CMessage lines;
    EXPECT_TRUE(lines.IsEmpty());
    EXPECT_EQ(lines.Text(), "");
    lines.Append(CMessage(TRV_TEXT("CoreText", "导出完成。"))).Append(CMessage()).Append(CMessage::Plain("\n"));
    EXPECT_EQ(lines.GetKind(), CMessage::Kind::kJoined);
    EXPECT_EQ(lines.Args().size(), 2u);
    EXPECT_EQ(lines.Text(), "导出完成。\n");
    EXPECT_EQ(lines.Errno(), 0);
}

TEST(Message, LongNamesKeepTheirFirstAndLastSixtyCharacters)
{
    const std::string fits(121, 'a');
    EXPECT_EQ(CMessage::Shortened(fits), fits);
    std::string chinese;
    for (int i = 0; i < 200; ++i)
        chinese += i < 100 ? "图" : "片";
    const std::string shortened = CMessage::Shortened("/" + chinese + ".bmp");
    std::string expected = "/";
    for (int i = 0; i < 59; ++i)
        expected += "图";
    expected += "…";
    for (int i = 0; i < 56; ++i)
        expected += "片";
    EXPECT_EQ(shortened, expected + ".bmp");
    EXPECT_EQ(CMessage::Name(std::string(1 << 20, 'x')).Text().size(), 120u + std::string("…").size());
}
