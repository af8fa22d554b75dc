#include "platform/cells.h"

#include <gtest/gtest.h>

namespace mirel {
namespace {

using namespace std::string_literals;

// GBK characters whose trail byte is an ASCII character: 0x8140 ('@'),
// 0x8161 ('a'), 0x8141 ('A').
const std::string kTrailAt = "\x81\x40";
const std::string kTrailLowerA = "\x81\x61";
const std::string kTrailUpperA = "\x81\x41";

TEST(Cells, ToCells) {
  struct Case {
    const char* name;
    std::string text;
    bool allSingle;
    std::string cells;
  } cases[] = {
      {"two letters and a Chinese character", "ab\xB9\xA4", false, "a\0b\0\xB9\xA4"s},
      {"lone lead byte at the end", "a\xB9", false, "a\0\xB9\0"s},
      {"all single", "\xB9\xA4", true, "\xB9\0\xA4\0"s},
      {"paragraph mark", "\r", false, "\r\0"s},
      {"empty", "", false, ""},
      {"trail byte that is a letter", kTrailLowerA + "b", false, kTrailLowerA + "b\0"s},
  };
  for (const auto& k : cases) EXPECT_EQ(ToCells(k.text, k.allSingle), k.cells) << k.name;
  EXPECT_EQ(ToCells("ab\xB9\xA4", false).size(), 6u);
}

TEST(Cells, FromCells) {
  struct Case {
    const char* name;
    std::string cells;
    bool singleByteSentence;
    std::string text;
  } cases[] = {
      {"mixed", "a\0b\0\xB9\xA4"s, false, "ab\xB9\xA4"},
      {"single-byte sentence takes even bytes", "a\0b\0"s, true, "ab"},
      {"lone lead byte stored with 0", "a\0\xB9\0"s, false, "a\xB9"},
      {"odd tail, single byte", "a\0b"s, false, "ab"},
      {"odd tail, lead byte", "a\0\xB9"s, false, "a\xB9"},
      {"odd tail, single-byte sentence", "a\0b"s, true, "ab"},
      {"empty", "", false, ""},
  };
  for (const auto& k : cases) EXPECT_EQ(FromCells(k.cells, k.singleByteSentence), k.text) << k.name;
}

TEST(Cells, RoundTripKeepsEveryByte) {
  const std::string texts[] = {"abc", "\xB9\xA4\xD7\xF7", "x\xB9", kTrailAt + "@" + kTrailLowerA,
                               "\r\xB9\xA4"};
  for (const auto& text : texts) EXPECT_EQ(FromCells(ToCells(text, false), false), text);
}

TEST(Cells, Classification) {
  struct Case {
    const char* name;
    std::string cells;
    bool single;
  } cases[] = {
      {"empty", "", true},
      {"paragraph mark only", "\r\0"s, true},
      {"paragraph mark then letter", "\r\0a\0"s, true},
      {"paragraph mark then Chinese", "\r\0\xB9\xA4"s, false},
      {"Chinese", "\xB9\xA4"s, false},
      {"space", " \0"s, true},
      {"DEL", "\x7F\0"s, true},
      {"tab", "\t\0"s, false},
      {"inline object placeholder", "\x16\0"s, false},
      {"two paragraph marks", "\r\0\r\0"s, false},
      {"odd paragraph mark", "\r", true},
  };
  for (const auto& k : cases) EXPECT_EQ(IsSingleByteText(k.cells), k.single) << k.name;
}

TEST(Cells, CountAndAccessOddLength) {
  const std::string odd = "a\0b"s;
  EXPECT_EQ(CellCount(odd), 2u);
  EXPECT_EQ(CellAt(odd, 1).first, 'b');
  EXPECT_EQ(CellAt(odd, 1).second, 0);
  EXPECT_EQ(CellAt(odd, 2).first, 0);  // past the end
  EXPECT_EQ(NormaliseCells(odd), "a\0b\0"s);
  EXPECT_EQ(NormaliseCells("a\0"s), "a\0"s);

  std::string seen;
  ForEachCell("a\0\xB9\xA4z"s, [&](Cell cell, std::size_t offset) {
    seen += std::to_string(offset) + (cell.IsSingleByte() ? "s" : "d");
  });
  EXPECT_EQ(seen, "0s2d4s");
}

TEST(Cells, FoldCaseOnlyInSingleByteCells) {
  const std::string cells = ToCells("ab" + kTrailLowerA + "z", false);
  EXPECT_EQ(FoldCase(cells), ToCells("AB" + kTrailLowerA + "Z", false));
}

TEST(Cells, FindMatchesOnlyOnCellBoundaries) {
  // "丂" 0x8140 carries '@' as trail byte, 0x8161 carries 'a'.
  const std::string hay = ToCells(kTrailAt + kTrailLowerA + "@a", false);
  EXPECT_EQ(FindCells(hay, ToCells("@", false), 0, true), 4u);
  EXPECT_EQ(FindCells(hay, ToCells("a", false), 0, true), 6u);
  EXPECT_EQ(FindCells(hay, ToCells("A", false), 0, false), 6u);
  EXPECT_EQ(FindCells(hay, ToCells("A", false), 0, true), kNoCell);

  // A byte-wise search would find "a",0 at offset 1 (trail 'a' + a NUL cell).
  const std::string tricky = kTrailLowerA + "\0\0"s;
  EXPECT_EQ(FindCells(tricky, "a\0"s, 0, true), kNoCell);
  EXPECT_EQ(FindCells(tricky, "A\0"s, 0, false), kNoCell);
}

TEST(Cells, CaseFoldingNeverTouchesDoubleByteCells) {
  const std::string hay = ToCells(kTrailUpperA, false);
  EXPECT_EQ(FindCells(hay, ToCells(kTrailLowerA, false), 0, false), kNoCell);
  EXPECT_EQ(FindCells(hay, ToCells(kTrailUpperA, false), 0, false), 0u);
}

TEST(Cells, FindStartOffsetsAndEdges) {
  const std::string hay = ToCells("abcabc", false);
  const std::string needle = ToCells("bc", false);
  EXPECT_EQ(FindCells(hay, needle, 0, true), 2u);
  EXPECT_EQ(FindCells(hay, needle, 3, true), 8u);  // odd start rounds up to 4
  EXPECT_EQ(FindCells(hay, needle, 9, true), kNoCell);
  EXPECT_EQ(FindCells(hay, needle, hay.size() + 10, true), kNoCell);
  EXPECT_EQ(FindCells(hay, "", 0, true), kNoCell);
  EXPECT_EQ(FindCells("", needle, 0, true), kNoCell);
  EXPECT_EQ(FindCells(hay, ToCells("abcabcx", false), 0, true), kNoCell);
  // A match may span a Chinese character and end at the last cell.
  const std::string chinese = ToCells("x\xB9\xA4y", false);
  EXPECT_EQ(FindCells(chinese, ToCells("\xB9\xA4Y", false), 0, false), 2u);
  // Odd needle: its tail is read as a cell with a 0 byte.
  EXPECT_EQ(FindCells(hay, "c\0a"s, 0, true), 4u);
}

}  // namespace
}  // namespace mirel
