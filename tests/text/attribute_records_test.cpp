// Attribute lists in the archive: what is written for sentences, rows and
// text objects, in which order, and what reading makes of stored values.
#include "persist/archive.h"
#include "support/bytes.h"
#include "text/attribute_objects.h"
#include "text_support.h"

#include <gtest/gtest.h>

using namespace mirel;
using mirel::test::Bytes;
using mirel::test::Cells;
using mirel::test::Hex;

namespace {

std::string Write(const CMirelObject& obj)
{
    Archive ar;
    ar.WriteObject(&obj);
    return ar.TakeBuffer();
}

template <class T>
std::unique_ptr<T> Read(const std::string& bytes)
{
    Archive ar(bytes);
    return ar.ReadOwned<T>();
}

// The codes of the attribute objects in a written record, in file order:
// each attribute is a class tag (or a new class), a 16-bit code and a value;
// found by the class names and tags that precede the codes.
std::vector<int> CodesAfter(const std::string& bytes, size_t from, int count, const std::vector<size_t>& valueSizes)
{
    std::vector<int> codes;
    size_t at = from;
    for (int i = 0; i < count; ++i) {
        const auto tag = static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) | (bytes[at + 1] << 8));
        at += 2;
        if (tag == 0xFFFF) {   // a new class: schema, name length, name
            const auto len = static_cast<uint16_t>(static_cast<unsigned char>(bytes[at + 2]) | (bytes[at + 3] << 8));
            at += 4 + len;
        }
        codes.push_back(static_cast<unsigned char>(bytes[at]) | (bytes[at + 1] << 8));
        at += 2 + valueSizes[i];
    }
    return codes;
}

}  // namespace

TEST(AttributeRecords, DefaultSentenceWritesAnEmptyList)
{
    CSentence s;
    s.SetRectDirect(1, 2, 3, 4);
    s.SetText(Cells("ab"));
    const std::string bytes = Write(s);
    const std::string expected = Bytes().newClass(2000, "CSentence").rect(1, 2, 3, 4).u16(0).str(Cells("ab"));
    EXPECT_EQ(Hex(bytes), Hex(expected));

    const auto back = Read<CSentence>(bytes);
    ASSERT_TRUE(back);
    const SentenceAttributes& a = back->Attributes();
    EXPECT_EQ(a.faceName, test::Gbk("宋体"));
    EXPECT_EQ(a.sizeCode, -9);
    EXPECT_EQ(a.color, 0u);
    EXPECT_EQ(a.weight, 400);
    EXPECT_EQ(a.scale, 100);
    EXPECT_EQ(a.backColor, 0xFFFFFFu);
    EXPECT_EQ(back->GetText(), Cells("ab"));
    EXPECT_EQ(back->GetRect(), (Rect{1, 2, 3, 4}));
}

// The list is built by inserting each differing attribute at its head, in
// the order 1, 2, 3, 4, …; the file therefore holds them in reverse: bold
// (code 4) before red (code 3).
TEST(AttributeRecords, SentenceAttributesAreWrittenInReverseOfCreation)
{
    CSentence s;
    s.MutableAttributes().weight = 700;
    s.MutableAttributes().color = 0x0000FF;
    const std::string bytes = Write(s);
    const std::string expected = Bytes()
                                     .newClass(2000, "CSentence")
                                     .rect(0, 0, 0, 0)
                                     .u16(2)
                                     .newClass(2000, "CAttrib_Int")
                                     .u16(4)
                                     .i32(700)
                                     .newClass(2000, "CAttrib_Color")
                                     .u16(3)
                                     .u32(0x0000FF)
                                     .u8(0);
    EXPECT_EQ(Hex(bytes), Hex(expected));

    // Everything that differs, in the order of the file.
    CSentence all;
    SentenceAttributes& a = all.MutableAttributes();
    a.faceName = "Arial";
    a.sizeCode = 12;
    a.color = 1;
    a.weight = 700;
    a.italic = 1;
    a.charMargin = 2;
    a.underline = 1;
    a.strikeOut = 1;
    a.scale = 80;
    a.senType = 1;
    a.autoCommand = "X()";
    a.effect = 2;
    a.backColor = 0x00FFFF;
    const std::string full = Write(all);
    const size_t listAt = Bytes().newClass(2000, "CSentence").rect(0, 0, 0, 0).str().size();
    ASSERT_EQ(static_cast<unsigned char>(full[listAt]), 13);
    const std::vector<size_t> sizes = {4, 4, 4, 1 + 3, 4, 4, 4, 4, 4, 4, 4, 4, 1 + 5};
    EXPECT_EQ(CodesAfter(full, listAt + 2, 13, sizes), (std::vector<int>{32, 31, 19, 11, 10, 9, 8, 7, 5, 4, 3, 2, 1}));
    const auto back = Read<CSentence>(full);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->Attributes().SameFormat(a));
}

TEST(AttributeRecords, RowParagraphAttributes)
{
    CTextRow row;
    ParagraphAttributes p;
    p.lineSpace = 35;
    p.alignment = 1;
    row.SetParagraph(p);
    row.InsertSentence(0, std::make_unique<CSentence>());
    const std::string bytes = Write(row);
    const std::string expected = Bytes()
                                     .newClass(2000, "CTextRow")
                                     .rect(0, 0, 0, 0)
                                     .u16(2)
                                     .newClass(2000, "CAttrib_Int")
                                     .u16(14)
                                     .i32(1)
                                     .newClass(2000, "CAttrib_ToNxtRow")
                                     .u16(15)
                                     .i32(35)
                                     .u16(1)
                                     .newClass(2000, "CSentence")
                                     .rect(0, 0, 0, 0)
                                     .u16(0)
                                     .u8(0);
    EXPECT_EQ(Hex(bytes), Hex(expected));
    const auto back = Read<CTextRow>(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Paragraph(), p);
    EXPECT_FALSE(back->NeedsLayout());   // stored layout is kept
}

// A new text object has margins of 15 and writes them; the archive's
// reference is 5, so margins of 5 write nothing.
TEST(AttributeRecords, TextObjectMargins)
{
    CTextObj fifteen;
    const std::string withMargins = Write(fifteen);
    CTextObj five;
    five.MutableTextAttributes().leftMargin = 5;
    five.MutableTextAttributes().topMargin = 5;
    five.MutableTextAttributes().rightMargin = 5;
    const std::string without = Write(five);
    // Same record up to the list; the list is empty for margins of 5.
    ASSERT_GE(without.size(), 2u);
    EXPECT_EQ(without.substr(without.size() - 2), std::string("\0\0", 2));
    const size_t listAt = without.size() - 2;
    EXPECT_EQ(withMargins.substr(0, listAt), without.substr(0, listAt));
    EXPECT_EQ(static_cast<unsigned char>(withMargins[listAt]), 3);
    EXPECT_EQ(CodesAfter(withMargins, listAt + 2, 3, {4, 4, 4}), (std::vector<int>{18, 17, 16}));

    const auto back = Read<CTextObj>(withMargins);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetTextMargins(), (Rect{15, 15, 15, 0}));
    const auto backFive = Read<CTextObj>(without);
    ASSERT_TRUE(backFive);
    EXPECT_EQ(backFive->GetTextMargins(), (Rect{5, 5, 5, 0}));
}

TEST(AttributeRecords, StoredSizesAreConvertedOnReading)
{
    struct Case {
        int stored, code;
    };
    for (const Case c : {Case{370, 10}, Case{184, 184}, Case{500, 500}, Case{-3, -3}}) {
        const std::string bytes = Bytes()
                                      .newClass(2000, "CSentence")
                                      .rect(0, 0, 0, 0)
                                      .u16(1)
                                      .newClass(2000, "CAttrib_Int")
                                      .u16(2)
                                      .i32(c.stored)
                                      .u8(0);
        const auto s = Read<CSentence>(bytes);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->Attributes().sizeCode, c.code) << c.stored;
    }
}

// Attributes are applied in list order; a later one wins, and codes of
// another kind are ignored.
TEST(AttributeRecords, ReadingAppliesInListOrder)
{
    const std::string bytes = Bytes()
                                  .newClass(2000, "CSentence")
                                  .rect(0, 0, 0, 0)
                                  .u16(3)
                                  .newClass(2000, "CAttrib_Int")
                                  .u16(4)
                                  .i32(700)
                                  .u16(0x8000 | 3)   // CAttrib_Int again
                                  .u16(4)
                                  .i32(900)
                                  .u16(0x8000 | 3)
                                  .u16(14)   // a row code: ignored by a sentence
                                  .i32(1)
                                  .u8(0);
    const auto s = Read<CSentence>(bytes);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Attributes().weight, 900);
    EXPECT_TRUE(s->Attributes().SameFormat([] {
        SentenceAttributes a;
        a.weight = 900;
        return a;
    }()));
}

TEST(AttributeRecords, InlineObjectTravelsWithItsSentence)
{
    CSentence s;
    auto box = std::make_unique<CTextObj>();
    box->SetRect(0, 0, 120, 80);
    s.SetFollowObj(std::move(box));
    EXPECT_EQ(s.GetText(), std::string("\x16\0", 2));
    const auto back = Read<CSentence>(Write(s));
    ASSERT_TRUE(back);
    ASSERT_TRUE(back->FollowObj());
    EXPECT_EQ(back->FollowObj()->GetParent(), back.get());
    EXPECT_EQ(back->FollowObj()->GetRect(), (Rect{0, 0, 120, 80}));
    EXPECT_EQ(back->GetLineHeight(), 800);
}
