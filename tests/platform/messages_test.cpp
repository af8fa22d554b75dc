#include "platform/messages.h"

#include <gtest/gtest.h>

#include <QString>

#include "platform/gbk.h"

namespace mirel {
namespace {

TEST(Messages, KnownTexts) {
  EXPECT_STREQ(Message(61728), "非预期的文件格式。");
  EXPECT_STREQ(Message(41654),
               "低版本办公组件不能打开高版本办公组件做的文件！\n办公组件将自动关闭。");
  EXPECT_STREQ(Message(41446), "工作表");
  EXPECT_STREQ(Message(41457), "缺少一个小括号\")\"!");
  EXPECT_STREQ(Message(61729), "无法找到该文件。\n请验证给出的路径和文件名是否正确。");
  EXPECT_STREQ(Message(41632), "|A|B|C|D|E|F|G|H|I|J|K|L|M|N|O|P|Q|R|S|T|U|V|W|X|Y|Z|");
  EXPECT_STREQ(kComponentCaption, "办公组件");
}

TEST(Messages, UnknownIdsGiveEmptyText) {
  for (int id : {0, -1, 1, 41445, 41704, 99999, 61727}) EXPECT_STREQ(Message(id), "") << id;
}

TEST(Messages, TableIsSortedAndEveryTextIsUsable) {
  const auto all = AllMessages();
  ASSERT_GT(all.size(), 100u);
  for (std::size_t i = 0; i < all.size(); ++i) {
    const MessageEntry& e = all[i];
    if (i > 0) {
      EXPECT_LT(all[i - 1].id, e.id);
    }
    ASSERT_NE(e.text, nullptr);
    EXPECT_STRNE(e.text, "") << e.id;
    EXPECT_EQ(Message(e.id), e.text);
    // Valid UTF-8, and every character can be written as GBK.
    const QString q = QString::fromUtf8(e.text);
    EXPECT_EQ(q.toUtf8().toStdString(), e.text) << e.id;
    EXPECT_EQ(Utf8ToGbk(e.text).lost, 0u) << e.id;
  }
}

TEST(Messages, FormatMessageFillsArguments) {
  EXPECT_EQ(FormatMessage(41465, 200), "警告:表格计算产生了循环引用,超过了最大迭代次数(200)!");
  EXPECT_EQ(FormatMessage(41464, "工作表9"), "工作表(工作表9)不存在!");
  EXPECT_EQ(FormatMessage(61731, std::string("/tmp/a.qwd")),
            "无法对 /tmp/a.qwd 进行读操作，它已经被其他人打开。");
  EXPECT_EQ(FormatMessage(41579, 1.24, 2.0, 10.06, 5),
            "左上角:(1.2,2.0), 宽度: 10.1, 高度: 5.0 毫米");
  EXPECT_EQ(FormatMessage(41454, 7), "语法错误: 7");
  // A text that contains "%" but no directive stays as it is.
  EXPECT_EQ(FormatMessage(41504), Message(41504));
  EXPECT_EQ(FormatMessage(41566), "400%|300%|200%|100%|75%|50%|25%|10%|页宽|整页|双页|");
}

TEST(Messages, FormatTextIsSafeWithAnyInput) {
  const MessageArg hostile[] = {"%d%s%n%1", 3};
  // Arguments are inserted as text, never read as a format.
  EXPECT_EQ(FormatText("%s-%d", hostile), "%d%s%n%1-3");
  EXPECT_EQ(FormatText("[%1|%2|%1|%3]", hostile), "[%d%s%n%1|3|%d%s%n%1|]");
  // Missing arguments print nothing; stray "%" stays.
  EXPECT_EQ(FormatText("%d apples, %s", {}), " apples, ");
  EXPECT_EQ(FormatText("100%", {}), "100%");
  EXPECT_EQ(FormatText("%%d %", {}), "%d %");
  EXPECT_EQ(FormatText("%x %n %.", {}), "%x %n %.");
  const MessageArg seven[] = {7, 7, 7, -7};
  EXPECT_EQ(FormatText("%02d|%-3d|%3d|%05d", seven), "07|7  |  7|-0007");
  // Widths are capped.
  EXPECT_EQ(FormatText("%99999999d", seven).size(), 64u);
  // Kinds are converted.
  const MessageArg mixed[] = {2.9, "x", 42};
  EXPECT_EQ(FormatText("%d %d %s", mixed), "2 x 42");
  EXPECT_EQ(FormatText("%.2f", mixed), "2.90");
}

}  // namespace
}  // namespace mirel
