// Editing at the model level: inserting cells (classes, paragraph marks,
// positions), inline objects, deleting ranges, formatting ranges.
#include "text_support.h"

#include <gtest/gtest.h>

using namespace mirel;
using mirel::test::Cells;
using mirel::test::Text;

namespace {

// Each row as "[run][run]…", the paragraph mark as ¶.
std::string Runs(const CTextObj& obj)
{
    std::string out;
    for (const auto& row : obj.Rows()) {
        if (!out.empty())
            out += " / ";
        for (const auto& s : row->Sentences())
            out += "[" + Text(s->GetText()) + "]";
    }
    return out;
}

SentenceAttributes Bold()
{
    SentenceAttributes a;
    a.weight = 700;
    return a;
}

}  // namespace

TEST(TextEdit, InsertIntoEmptyObject)
{
    CTextObj obj;
    EXPECT_EQ(InsertCells(obj, {}, Cells("abc"), {}), (TextPosition{0, 0, 6}));
    EXPECT_EQ(Runs(obj), "[abc]");
    EXPECT_TRUE(obj.GetRow(0)->NeedsLayout());
    EXPECT_EQ(obj.FirstDirtyRow(), 0);
}

TEST(TextEdit, MixedTextBecomesAlternatingSentences)
{
    CTextObj obj;
    const TextPosition end = InsertCells(obj, {}, Cells("ab中文cd"), {});
    EXPECT_EQ(Runs(obj), "[ab][中文][cd]");
    EXPECT_EQ(end, (TextPosition{0, 2, 4}));
    EXPECT_TRUE(obj.GetRow(0)->GetSentence(0)->IsSingleByte());
    EXPECT_FALSE(obj.GetRow(0)->GetSentence(1)->IsSingleByte());
    EXPECT_TRUE(obj.GetRow(0)->GetSentence(2)->IsSingleByte());
}

// Typing a Latin letter inside a Chinese sentence splits it into three; a
// second letter right after extends the middle one.
TEST(TextEdit, TypingInsideASentenceOfTheOtherClass)
{
    CTextObj obj;
    InsertCells(obj, {}, Cells("中文"), {});
    TextPosition at = InsertCells(obj, {0, 0, 2}, Cells("a"), {});
    EXPECT_EQ(Runs(obj), "[中][a][文]");
    EXPECT_EQ(at, (TextPosition{0, 1, 2}));
    at = InsertCells(obj, at, Cells("b"), {});
    EXPECT_EQ(Runs(obj), "[中][ab][文]");
    EXPECT_EQ(at, (TextPosition{0, 1, 4}));
    // Other attributes split too; at a boundary a neighbour that matches takes the text.
    at = InsertCells(obj, {0, 0, 2}, Cells("国"), Bold());
    EXPECT_EQ(Runs(obj), "[中][国][ab][文]");
    at = InsertCells(obj, at, Cells("人"), Bold());
    EXPECT_EQ(Runs(obj), "[中][国人][ab][文]");
    at = InsertCells(obj, {0, 2, 4}, Cells("c"), {});
    EXPECT_EQ(Runs(obj), "[中][国人][abc][文]");
}

TEST(TextEdit, ParagraphMarksStartRows)
{
    CTextObj obj;
    ParagraphAttributes p;
    p.alignment = 1;
    obj.GetRow(0)->SetParagraph(p);
    const TextPosition end = InsertCells(obj, {}, Cells("甲\r乙\r"), {});
    EXPECT_EQ(Runs(obj), "[甲] / [¶乙] / [¶]");
    EXPECT_EQ(end, (TextPosition{2, 0, 2}));
    // New paragraphs take the paragraph attributes of the row they came from.
    for (const auto& row : obj.Rows())
        EXPECT_EQ(row->Paragraph().alignment, 1);

    // A mark in the middle of a sentence moves the rest into a new row.
    CTextObj split;
    InsertCells(split, {}, Cells("甲乙丙"), {});
    EXPECT_EQ(InsertCells(split, {0, 0, 2}, Cells("\r"), {}), (TextPosition{1, 0, 2}));
    EXPECT_EQ(Runs(split), "[甲] / [¶乙丙]");
    // Inserting at the very start of a paragraph goes after its mark.
    EXPECT_EQ(InsertCells(split, {1, 0, 0}, Cells("x"), {}), (TextPosition{1, 1, 2}));
    EXPECT_EQ(Runs(split), "[甲] / [¶][x][乙丙]");
    // A break at the start of the text leaves an empty first paragraph.
    InsertCells(split, {0, 0, 0}, Cells("\r"), {});
    EXPECT_EQ(Runs(split), "[] / [¶甲] / [¶][x][乙丙]");
}

TEST(TextEdit, OddLengthTextIsPaddedAndPositionsAreClamped)
{
    CTextObj obj;
    InsertCells(obj, {}, std::string("ab", 2) + "c", {});   // "a" cell with trail "b", then "c"
    EXPECT_EQ(GetAllCells(obj).size() % 2, 0u);
    EXPECT_EQ(GetAllCells(obj), std::string("abc\0", 4));
    CTextObj other;
    InsertCells(other, {}, Cells("甲乙"), {});
    EXPECT_EQ(InsertCells(other, {7, 9, 99}, Cells("丙"), {}), (TextPosition{0, 0, 6}));
    EXPECT_EQ(InsertCells(other, {-3, -1, 3}, Cells("丁"), {}), (TextPosition{0, 0, 4}));
    EXPECT_EQ(Text(GetAllCells(other)), "甲丁乙丙");
    // An object without rows builds its content.
    CTextObj bare;
    bare.ClearRows();
    EXPECT_EQ(InsertCells(bare, {}, Cells("a"), {}), (TextPosition{0, 0, 2}));
    EXPECT_EQ(Runs(bare), "[a]");
}

TEST(TextEdit, DeleteRanges)
{
    struct Case {
        const char* text;
        int from, to;   // absolute offsets
        const char* runs;
    };
    const Case cases[] = {
        {"甲乙丙", 2, 4, "[甲丙]"},
        {"甲乙丙", 4, 2, "[甲丙]"},                    // either order
        {"甲乙丙", 0, 6, "[]"},                        // everything: one empty sentence
        {"甲\r乙", 2, 4, "[甲乙]"},                    // the mark: paragraphs join
        {"甲\r乙\r丙", 2, 10, "[甲]"},                 // across rows
        {"甲\r乙\r丙", 0, 2, "[] / [¶乙] / [¶丙]"},    // the first paragraph's text: it stays, empty
        {"甲\r乙\r丙", 2, 6, "[甲] / [¶丙]"},          // a whole paragraph with its mark
        {"ab中cd", 2, 8, "[ad]"},
        {"甲乙", 2, 2, "[甲乙]"},                      // nothing
    };
    for (const Case& c : cases) {
        CTextObj obj;
        InsertCells(obj, {}, Cells(c.text), {});
        const TextPosition at = DeleteRange(obj, obj.OffsetToPosition(c.from), obj.OffsetToPosition(c.to));
        EXPECT_EQ(Runs(obj), c.runs) << c.text << " " << c.from << ".." << c.to;
        EXPECT_EQ(obj.PositionToOffset(at), std::min(c.from, c.to)) << c.text;
    }
}

TEST(TextEdit, DeletingEverythingKeepsTheFirstAttributes)
{
    CTextObj obj;
    InsertCells(obj, {}, Cells("甲乙"), Bold());
    DeleteRange(obj, {0, 0, 0}, obj.EndPosition());
    ASSERT_EQ(obj.RowCount(), 1);
    ASSERT_EQ(obj.GetRow(0)->SentenceCount(), 1);
    EXPECT_EQ(obj.GetRow(0)->GetSentence(0)->GetWeight(), 700);
    // Typing into the empty sentence takes the typed attributes.
    InsertCells(obj, {0, 0, 0}, Cells("x"), {});
    EXPECT_EQ(obj.GetRow(0)->GetSentence(0)->GetWeight(), 400);
}

TEST(TextEdit, GetCellsOfARange)
{
    CTextObj obj;
    InsertCells(obj, {}, Cells("甲ab\r乙"), {});
    EXPECT_EQ(Text(GetCells(obj, obj.OffsetToPosition(2), obj.OffsetToPosition(10))), "ab¶乙");
    EXPECT_EQ(Text(GetCells(obj, obj.OffsetToPosition(10), obj.OffsetToPosition(4))), "b¶乙");
    EXPECT_EQ(GetCells(obj, obj.OffsetToPosition(4), obj.OffsetToPosition(4)), "");
    EXPECT_EQ(obj.TextLength(), 10);
}

TEST(TextEdit, CharacterFormatSplitsAtTheEnds)
{
    CTextObj obj;
    InsertCells(obj, {}, Cells("甲乙丙丁\r戊己"), {});
    EXPECT_EQ(SetCharFormat(obj, obj.OffsetToPosition(2), obj.OffsetToPosition(12), kAttrWeight, 700), 1);
    ASSERT_EQ(Runs(obj), "[甲][乙丙丁] / [¶戊][己]");
    EXPECT_EQ(obj.GetRow(0)->GetSentence(0)->GetWeight(), 400);
    EXPECT_EQ(obj.GetRow(0)->GetSentence(1)->GetWeight(), 700);
    EXPECT_EQ(obj.GetRow(1)->GetSentence(0)->GetWeight(), 700);
    EXPECT_EQ(obj.GetRow(1)->GetSentence(1)->GetWeight(), 400);
    EXPECT_EQ(SetCharFormat(obj, {0, 0, 0}, obj.EndPosition(), kAttrAlignment, 1), 0);   // not a character code
}

TEST(TextEdit, ParagraphFormatCoversWholeParagraphs)
{
    CTextObj obj;
    InsertCells(obj, {}, Cells("甲\r乙\r丙"), {});
    // Pretend the middle paragraph was laid out over two rows.
    InsertCells(obj, {1, 0, 4}, Cells("乙"), {});
    auto extra = std::make_unique<CTextRow>();
    auto s = std::make_unique<CSentence>();
    s->SetText(Cells("续"));
    extra->InsertSentence(0, std::move(s));
    obj.InsertRow(2, std::move(extra));
    ASSERT_EQ(obj.RowCount(), 4);
    EXPECT_EQ(SetParagraphFormat(obj, {1, 0, 2}, {1, 0, 2}, kAttrLineSpace, 50), 1);
    EXPECT_EQ(obj.GetRow(0)->GetLineSpace(), 20);
    EXPECT_EQ(obj.GetRow(1)->GetLineSpace(), 50);
    EXPECT_EQ(obj.GetRow(2)->GetLineSpace(), 50);
    EXPECT_EQ(obj.GetRow(3)->GetLineSpace(), 20);
    EXPECT_EQ(SetParagraphFormat(obj, {0, 0, 0}, {0, 0, 0}, kAttrWeight, 700), 0);
}

TEST(TextEdit, InlineObjects)
{
    CTextObj obj;
    InsertCells(obj, {}, Cells("甲乙"), {});
    auto picture = std::make_unique<CBasicObj>();
    picture->SetRect(0, 0, 100, 60);
    CBasicObj* raw = picture.get();
    const TextPosition at = InsertInlineObject(obj, {0, 0, 2}, picture, {});
    EXPECT_FALSE(picture);
    EXPECT_EQ(at, (TextPosition{0, 1, 2}));
    EXPECT_EQ(Runs(obj), "[甲][\x16][乙]");
    EXPECT_EQ(obj.GetRow(0)->GetSentence(1)->FollowObj(), raw);
    EXPECT_EQ(raw->GetParent(), obj.GetRow(0)->GetSentence(1));
    // Deleting the placeholder deletes the object with it.
    DeleteRange(obj, {0, 0, 2}, {0, 1, 2});
    EXPECT_EQ(Runs(obj), "[甲乙]");

    // An object cannot carry text that contains it: it stays with the caller.
    std::unique_ptr<CBasicObj> outer = std::make_unique<CTextObj>();
    CTextObj& outerText = static_cast<CTextObj&>(*outer);
    InsertCells(outerText, {}, Cells("外"), {});
    std::unique_ptr<CBasicObj> inner = std::make_unique<CTextObj>();
    CTextObj* innerRaw = static_cast<CTextObj*>(inner.get());
    InsertInlineObject(outerText, {0, 0, 2}, inner, {});
    ASSERT_FALSE(inner);
    const std::string before = Runs(*innerRaw);
    const TextPosition same = InsertInlineObject(*innerRaw, {0, 0, 0}, outer, {});
    EXPECT_EQ(same, (TextPosition{0, 0, 0}));
    ASSERT_TRUE(outer);
    EXPECT_EQ(Runs(*innerRaw), before);
}
