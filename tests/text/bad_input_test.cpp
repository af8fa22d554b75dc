// Text from damaged or odd files: malformed cells, empty rows and objects,
// paragraph marks inside sentences, control bytes, absurd attribute values,
// and inline objects that would contain themselves.
#include "persist/archive.h"
#include "support/bytes.h"
#include "text_support.h"

#include <gtest/gtest.h>

#include <climits>

using namespace mirel;
using mirel::test::Bytes;
using mirel::test::Cells;
using mirel::test::RowTexts;
using Rows = std::vector<std::string>;

namespace {

template <class T>
std::unique_ptr<T> Read(const std::string& bytes)
{
    Archive ar(bytes);
    return ar.ReadOwned<T>();
}

// A row as a file could hold it: the sentences as given.
std::unique_ptr<CTextRow> RawRow(std::vector<std::string> texts)
{
    auto row = std::make_unique<CTextRow>();
    for (std::string& t : texts) {
        auto s = std::make_unique<CSentence>();
        s->SetText(std::move(t));
        row->InsertSentence(row->SentenceCount(), std::move(s));
    }
    return row;
}

}  // namespace

class BadInput : public test::LayoutTest {};

TEST_F(BadInput, OddLengthTextIsPadded)
{
    const std::string bytes = Bytes().newClass(2000, "CSentence").rect(0, 0, 0, 0).u16(0).str("abc");
    const auto s = Read<CSentence>(bytes);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->GetText(), std::string("abc\0", 4));
    auto box = Box(400);
    box->ClearRows();
    box->InsertRow(0, RawRow({s->GetText()}));
    Relayout(*box);
    // "ab" read as a cell with a stray second byte, then "c": two characters.
    EXPECT_EQ(RowTexts(*box), (Rows{"ac"}));
    EXPECT_EQ(box->GetRow(0)->GetSentence(0)->GetText(), std::string("a\0c\0", 4));
}

TEST_F(BadInput, RowsWithoutSentencesAndObjectsWithoutRows)
{
    const std::string row = Bytes().newClass(2000, "CTextRow").rect(0, 0, 0, 0).u16(0).u16(0);
    const auto r = Read<CTextRow>(row);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->SentenceCount(), 1);

    const std::string obj = Bytes()
                                .newClass(2000, "CTextObj")
                                .rect(0, 0, 300, 200)
                                .i32(0)
                                .i32(0)
                                .i32(1)   // no fill
                                .u16(0)   // no rows
                                .u16(0);  // no attributes
    const auto t = Read<CTextObj>(obj);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->RowCount(), 1);
    Relayout(*t);
    EXPECT_EQ(t->RowCount(), 1);

    // A row left without sentences in memory is dropped by layout.
    auto box = Box(400);
    Append(*box, "甲");
    box->InsertRow(1, std::make_unique<CTextRow>());
    Append(*box, "乙");
    Relayout(*box);
    EXPECT_EQ(RowTexts(*box), (Rows{"甲乙"}));
}

// A paragraph mark inside a sentence starts a new paragraph; no text is lost.
TEST_F(BadInput, ParagraphMarkInsideASentence)
{
    auto box = Box(400);
    box->ClearRows();
    box->InsertRow(0, RawRow({Cells("甲\r乙"), Cells("丙")}));
    Relayout(*box);
    EXPECT_EQ(RowTexts(*box), (Rows{"甲", "¶乙丙"}));
    EXPECT_TRUE(box->GetRow(1)->StartsParagraph());

    // A mark at the start of a sentence in the middle of a row, too.
    box->ClearRows();
    box->InsertRow(0, RawRow({Cells("甲"), Cells("\r乙")}));
    Relayout(*box);
    EXPECT_EQ(RowTexts(*box), (Rows{"甲", "¶乙"}));
}

TEST_F(BadInput, SingleByteCellsWithAStraySecondByte)
{
    auto box = Box(400);
    box->ClearRows();
    box->InsertRow(0, RawRow({std::string("aXbY", 4)}));
    Relayout(*box);
    EXPECT_EQ(box->GetRow(0)->GetSentence(0)->GetText(), std::string("a\0b\0", 4));
}

TEST_F(BadInput, ControlBytesHaveADefinedWidth)
{
    const SentenceAttributes a;
    const TextMeasure m(a);
    EXPECT_EQ(m.CellAdvance('a', 0), 185);
    EXPECT_EQ(m.CellAdvance(0x7F, 0), 185);   // as wide as a space
    EXPECT_EQ(m.CellAdvance(' ', 0), 185);
    for (unsigned char c : {0x00, 0x01, 0x09, 0x0A, 0x0D, 0x16, 0x1F})
        EXPECT_EQ(m.CellAdvance(c, 0), 0) << int(c);
    EXPECT_EQ(m.CellAdvance(0xD6, 0xD0), 370);
    EXPECT_EQ(m.CellAdvance(0x81, 0x00), 370);   // a lone lead byte stored as lead + 0
    EXPECT_EQ(m.TextWidth(std::string("a\0\x01\0\x7F\0b\0", 8)), 56);

    auto box = Box(400);
    box->ClearRows();
    box->InsertRow(0, RawRow({std::string("a\0\x01\0\x7F\0b\0", 8), std::string("\x16\0", 2)}));
    Relayout(*box);
    ASSERT_EQ(box->RowCount(), 1);
    EXPECT_EQ(box->GetRow(0)->GetRect().Width(), 56);
}

TEST_F(BadInput, MixedClassesInOneSentenceAreSplit)
{
    auto box = Box(400);
    box->ClearRows();
    box->InsertRow(0, RawRow({Cells("ab中文cd")}));
    Relayout(*box);
    const CTextRow& row = *box->GetRow(0);
    ASSERT_EQ(row.SentenceCount(), 3);
    EXPECT_TRUE(row.GetSentence(0)->IsSingleByte());
    EXPECT_FALSE(row.GetSentence(1)->IsSingleByte());
    EXPECT_TRUE(row.GetSentence(2)->IsSingleByte());
}

TEST_F(BadInput, AbsurdValuesStillLayOut)
{
    ParagraphAttributes para;
    para.lineSpace = -1000000;
    para.alignment = 99;
    para.verAlignment = -5;
    para.firstLineIndent = INT_MIN;
    SentenceAttributes a;
    a.sizeCode = INT_MAX;
    a.charMargin = INT_MIN;
    a.scale = 0;
    a.senType = 7;
    SentenceAttributes b;
    b.sizeCode = -100;
    b.charMargin = INT_MAX;
    b.scale = -3;
    auto box = Box(400);
    box->GetRow(0)->SetParagraph(para);
    Append(*box, "甲乙abc", a);
    Append(*box, "丙丁", b);
    Relayout(*box);
    ASSERT_GE(box->RowCount(), 1);
    for (const auto& row : box->Rows()) {
        EXPECT_GE(row->GetRect().Width(), 0);
        for (const auto& s : row->Sentences())
            EXPECT_GE(s->GetRect().Width(), 0);
    }
    EXPECT_EQ(test::Text(GetAllCells(*box)), "甲乙abc丙丁");
}

// The archive refuses an inline object that points back at an object read
// earlier: one object cannot have two owners, so no cycle can be read.
TEST_F(BadInput, InlineObjectReferringBackIsRefused)
{
    const std::string bytes = Bytes()
                                  .newClass(2000, "CSentence")
                                  .rect(0, 0, 0, 0)
                                  .u16(1)
                                  .newClass(2000, "CAttrib_FollowObj")
                                  .u16(29)
                                  .u16(2)   // the sentence itself
                                  .u8(0);
    EXPECT_THROW(Read<CSentence>(bytes), ArchiveError);
}

// Inline text objects nested deep lay out and draw without end.
TEST_F(BadInput, DeeplyNestedInlineObjects)
{
    auto outer = Box(400);
    CTextObj* inner = outer.get();
    for (int depth = 0; depth < 40; ++depth) {
        Append(*inner, "层");
        std::unique_ptr<CBasicObj> next = std::make_unique<CTextObj>();
        next->SetRect(0, 0, 300, 50);
        CTextObj* raw = static_cast<CTextObj*>(next.get());
        InsertInlineObject(*inner, inner->EndPosition(), next, {});
        ASSERT_FALSE(next);
        inner = raw;
    }
    Relayout(*outer);
    EXPECT_GE(outer->RowCount(), 1);
    // The innermost object cannot take the outermost one.
    std::unique_ptr<CBasicObj> self(outer.release());
    InsertInlineObject(*inner, {}, self, {});
    ASSERT_TRUE(self);
    outer.reset(static_cast<CTextObj*>(self.release()));
}
