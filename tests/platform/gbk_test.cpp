#include "platform/gbk.h"

#include <gtest/gtest.h>

namespace mirel {
namespace {

const std::string kSheet1Gbk = "\xB9\xA4\xD7\xF7\xB1\xED\x31";  // 工作表1

TEST(Gbk, KnownTextConvertsBothWays) {
  const auto gbk = Utf8ToGbk("工作表1");
  EXPECT_EQ(gbk.text, kSheet1Gbk);
  EXPECT_EQ(gbk.lost, 0u);
  const auto utf8 = GbkToUtf8(kSheet1Gbk);
  EXPECT_EQ(utf8.text, "工作表1");
  EXPECT_EQ(utf8.lost, 0u);
  // Code page 936 has the euro sign at 0x80.
  EXPECT_EQ(Utf8ToGbk("€").text, "\x80");
  EXPECT_EQ(GbkToUtf8("\x80").text, "€");
}

TEST(Gbk, AsciiAndEmbeddedZeroBytesPassThrough) {
  const std::string text("a\0b\r\n", 5);
  EXPECT_EQ(Utf8ToGbk(text).text, text);
  EXPECT_EQ(GbkToUtf8(text).text, text);
  const std::string mixed("\xB9\xA4\0x", 4);
  EXPECT_EQ(GbkToUtf8(mixed).text, std::string("工\0x", 5));
}

struct LossCase {
  const char* name;
  std::string utf8;
  std::string gbk;
  std::size_t lost;
};

TEST(Gbk, UnrepresentableCharactersBecomeQuestionMarksAndAreCounted) {
  const LossCase cases[] = {
      {"emoji", "a😀b", "a?b", 1},
      {"emoji between Chinese", "工😀😀作", "\xB9\xA4??\xD7\xF7", 2},
      {"invalid UTF-8 byte", "a\xFF" "b", "a?b", 1},
      {"truncated UTF-8 at the end", "a\xE5\xB2", "a??", 2},
      {"encoded surrogate", "\xED\xA0\x80", "???", 3},
  };
  for (const auto& k : cases) {
    const auto r = Utf8ToGbk(k.utf8);
    EXPECT_EQ(r.text, k.gbk) << k.name;
    EXPECT_EQ(r.lost, k.lost) << k.name;
  }
}

TEST(Gbk, InvalidGbkBytesBecomeReplacementCharacters) {
  const LossCase cases[] = {
      {"byte 0xFF", "\xEF\xBF\xBD", "\xFF", 1},
      {"lead byte at the end", "a\xEF\xBF\xBD", "a\x81", 1},
      {"lead byte with a bad trail keeps the trail", "\xEF\xBF\xBD A", "\x81\x20" "A", 1},
      {"valid text after bad bytes", "\xEF\xBF\xBD\xEF\xBF\xBD工", "\xFF\xFF\xB9\xA4", 2},
  };
  for (const auto& k : cases) {
    const auto r = GbkToUtf8(k.gbk);
    EXPECT_EQ(r.text, k.utf8) << k.name;
    EXPECT_EQ(r.lost, k.lost) << k.name;
  }
}

TEST(Gbk, Utf16ToGbk) {
  EXPECT_EQ(Utf16ToGbk(u"工作表1").text, kSheet1Gbk);
  // A surrogate pair is one character: one "?".
  const auto pair = Utf16ToGbk(u"a\xD83D\xDE00" u"b");
  EXPECT_EQ(pair.text, "a?b");
  EXPECT_EQ(pair.lost, 1u);
  // A lone surrogate cannot be converted either.
  const char16_t lone[] = {0xD800, u'A', 0xDC00, 0};
  const auto r = Utf16ToGbk(lone);
  EXPECT_EQ(r.text, "?A?");
  EXPECT_EQ(r.lost, 2u);
  EXPECT_EQ(Utf16ToGbk(u"plain").text, "plain");
}

TEST(Gbk, QStringRoundTrip) {
  const QString text = QString::fromUtf8("岚舟文字 Office ·■Ⅰ");
  const auto gbk = QStringToGbkCounted(text);
  EXPECT_EQ(gbk.lost, 0u);
  EXPECT_EQ(GbkToQString(gbk.text), text);
  EXPECT_EQ(QStringToGbk(QString::fromUtf8("x😀")), "x?");
  EXPECT_EQ(QStringToGbkCounted(QString::fromUtf8("x😀")).lost, 1u);
}

TEST(Gbk, LongTextCrossesBufferBoundaries) {
  std::string utf8;
  std::string gbk;
  for (int i = 0; i < 5000; ++i) {
    utf8 += "岚a";
    gbk += "\xE1\xB0" "a";
  }
  utf8 += "😀";
  gbk += "?";
  const auto to = Utf8ToGbk(utf8);
  EXPECT_EQ(to.text, gbk);
  EXPECT_EQ(to.lost, 1u);
  EXPECT_EQ(GbkToUtf8(gbk.substr(0, gbk.size() - 1)).text, utf8.substr(0, utf8.size() - 4));
}

}  // namespace
}  // namespace mirel
