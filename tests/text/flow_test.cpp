// Body text flowing through the columns of a work form: pages added and
// removed, the decisions at column ends, and incremental layout giving the
// same result as laying everything out again.
#include "model/table_page.h"
#include "model/work_form.h"
#include "text_support.h"

#include <gtest/gtest.h>

#include <random>

using namespace mirel;
using mirel::test::Cells;
using mirel::test::Text;
using Strings = std::vector<std::string>;

namespace {

// A text of n distinct-looking Chinese characters.
std::string Chinese(int n, int seed = 0)
{
    static const char* const kChars[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十",
                                         "甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
    std::string out;
    for (int i = 0; i < n; ++i)
        out += kChars[(i + seed) % 20];
    return out;
}

}  // namespace

class Flow : public test::LayoutTest {
protected:
    CWorkForm wf;

    // Pages of 400 × 300 with margins of 20: one column is 360 × 260 at
    // (20, 20); inner width 330 (8 characters a row); rows of 37 with a line
    // space of 20, the first row of a column without it: four rows a column.
    // Two columns are 170 wide: inner width 140, three characters a row.
    void Setup(int columns)
    {
        wf.pageWidth = 400;
        wf.pageHeight = 300;
        wf.marginLeft = wf.marginTop = wf.marginRight = wf.marginBottom = 20;
        wf.headMargin = wf.footMargin = 0;
        wf.columnCount = columns;
        wf.columnGap = 20;
        wf.GetPage(0)->LayoutColumns(nullptr);
    }
    CTextObj& First() { return *wf.GetPage(0)->TextColumn(0); }

    std::vector<CTextObj*> Columns() const { return FlowChain(wf); }
    Strings ColumnTexts() const
    {
        Strings out;
        for (CTextObj* col : Columns())
            out.push_back(Text(GetAllCells(*col)));
        return out;
    }
    std::string FlowText() const
    {
        std::string out;
        for (CTextObj* col : Columns())
            out += GetAllCells(*col);
        return out;
    }
    std::string Dump() const
    {
        std::string out;
        for (CTextObj* col : Columns())
            out += "column " + std::to_string(col->GetFlowIndex()) + "\n" + DumpLayout(*col);
        return out;
    }
    // Finds the column and position of an absolute offset in the flow.
    std::pair<CTextObj*, TextPosition> At(int offset) const
    {
        for (CTextObj* col : Columns()) {
            const int len = col->TextLength();
            if (offset <= len)
                return {col, col->OffsetToPosition(offset)};
            offset -= len;
        }
        CTextObj* last = Columns().back();
        return {last, last->EndPosition()};
    }
};

TEST_F(Flow, TextFlowsOverPagesAddedAsNeeded)
{
    Setup(1);
    Append(First(), Chinese(100));
    const LayoutStats stats = LayoutText(First());
    // 100 characters: 13 rows, four a column.
    EXPECT_EQ(wf.PageCount(), 4);
    EXPECT_EQ(stats.pagesAdded, 3);
    const std::vector<CTextObj*> cols = Columns();
    ASSERT_EQ(cols.size(), 4u);
    const int rows[] = {4, 4, 4, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(cols[i]->RowCount(), rows[i]) << i;
        EXPECT_EQ(cols[i]->GetFlowIndex(), i);
        EXPECT_EQ(cols[i]->GetRect(), (Rect{20, 20, 380, 280}));
        // The first row of every column has no line space above it.
        EXPECT_EQ(cols[i]->GetRow(0)->GetRect().top, 15);
        EXPECT_EQ(cols[i]->GetRow(0)->GetRect().bottom, 52);
    }
    EXPECT_EQ(cols[0]->GetRow(3)->GetRect().bottom, 223);
    EXPECT_EQ(Text(FlowText()), Chinese(100));
    EXPECT_EQ(ColumnTexts(), (Strings{Chinese(32), Chinese(32, 32), Chinese(32, 64), Chinese(4, 96)}));
    // Rows go on justified across a column end: the paragraph continues.
    EXPECT_EQ(cols[0]->GetRow(3)->GetSentence(0)->GetRect().Width(), 330);
    EXPECT_EQ(cols[3]->GetRow(0)->GetSentence(0)->GetRect().Width(), 148);
}

TEST_F(Flow, PositionsAcrossTheFlow)
{
    Setup(1);
    Append(First(), Chinese(40));
    LayoutText(First());
    const std::vector<CTextObj*> chain = Columns();
    ASSERT_EQ(chain.size(), 2u);   // 32 characters, then 8
    EXPECT_EQ(FlowToOffset(chain, {1, {0, 0, 2}}), 66);
    EXPECT_EQ(OffsetToFlow(chain, 66), (FlowPosition{1, {0, 0, 2}}));
    // The end of a column is found in that column; beyond the end is the end.
    EXPECT_EQ(OffsetToFlow(chain, 64).object, 0);
    EXPECT_EQ(OffsetToFlow(chain, 9999), (FlowPosition{1, chain[1]->EndPosition()}));
    EXPECT_EQ(OffsetToFlow(chain, -5), (FlowPosition{0, {0, 0, 0}}));
    for (int offset = 0; offset <= 80; offset += 2)
        EXPECT_EQ(FlowToOffset(chain, OffsetToFlow(chain, offset)), offset);
}

TEST_F(Flow, TwoColumnsReadInOrder)
{
    Setup(2);
    Append(First(), Chinese(60));
    LayoutText(First());
    // Three characters a row, twelve a column, 60 characters: five columns.
    EXPECT_EQ(wf.PageCount(), 3);
    EXPECT_EQ(ColumnTexts(), (Strings{Chinese(12), Chinese(12, 12), Chinese(12, 24), Chinese(12, 36),
                                      Chinese(12, 48), ""}));
    EXPECT_EQ(wf.GetPage(2)->TextColumn(1)->RowCount(), 1);   // an empty column keeps one empty row
}

TEST_F(Flow, ContinuationRowsAreNotIndented)
{
    Setup(1);
    ParagraphAttributes para;
    para.firstLineIndent = 2;
    First().GetRow(0)->SetParagraph(para);
    // Six characters after the indent, then eight a row: 30 in the first
    // column, the last eight in the second.
    Append(First(), Chinese(38) + "\r" + Chinese(10));
    LayoutText(First());
    const std::vector<CTextObj*> cols = Columns();
    ASSERT_GE(cols.size(), 2u);
    EXPECT_EQ(cols[0]->GetRow(0)->GetSentence(0)->GetLeft(), 74);
    EXPECT_EQ(cols[0]->GetRow(1)->GetSentence(0)->GetLeft(), 0);
    // The paragraph goes on at the top of the next column: no indent there,
    // the next paragraph's first row has one.
    EXPECT_FALSE(cols[1]->GetRow(0)->StartsParagraph());
    EXPECT_EQ(cols[1]->GetRow(0)->GetSentence(0)->GetLeft(), 0);
    EXPECT_EQ(cols[1]->GetRow(0)->Paragraph().firstLineIndent, 2);
    EXPECT_TRUE(cols[1]->GetRow(1)->StartsParagraph());
    EXPECT_EQ(cols[1]->GetRow(1)->GetSentence(0)->GetLeft(), 74);
}

TEST_F(Flow, TrailingEmptyPagesGo)
{
    Setup(1);
    Append(First(), Chinese(100));
    LayoutText(First());
    ASSERT_EQ(wf.PageCount(), 4);
    // Keep 20 characters: the rest of the first column and the other
    // columns are deleted, column by column as the text tool would.
    for (CTextObj* c : Columns())
        DeleteRange(*c, c == &First() ? c->OffsetToPosition(40) : TextPosition{0, 0, 0}, c->EndPosition());
    const LayoutStats stats = LayoutText(First());
    EXPECT_EQ(wf.PageCount(), 1);
    EXPECT_EQ(stats.pagesRemoved, 3);
    EXPECT_EQ(Text(FlowText()), Chinese(20));
}

TEST_F(Flow, PagesWithObjectsStay)
{
    Setup(1);
    Append(First(), Chinese(100));
    LayoutText(First());
    ASSERT_EQ(wf.PageCount(), 4);
    auto stamp = std::make_unique<CBasicObj>();
    stamp->SetRect(50, 50, 60, 60);
    wf.GetPage(2)->AddObject(std::move(stamp));
    for (CTextObj* c : Columns())
        DeleteRange(*c, c == &First() ? TextPosition{0, 0, 10} : TextPosition{0, 0, 0}, c->EndPosition());
    LayoutText(First());
    // Page 3 held nothing and went; page 2 holds an object, page 1 stays before it.
    EXPECT_EQ(wf.PageCount(), 3);
    EXPECT_EQ(Text(FlowText()), Chinese(5));
}

// A row taller than a column goes alone at the top of an empty column and
// is clipped there; the text after it goes on in the next column.
TEST_F(Flow, RowTallerThanAnyColumn)
{
    Setup(1);
    SentenceAttributes huge;
    huge.sizeCode = 200;   // 70.56 mm, the column is 26 mm
    Append(First(), "甲乙");
    Append(First(), "大", huge);
    Append(First(), "丙丁");
    LayoutText(First());
    EXPECT_EQ(wf.PageCount(), 3);
    EXPECT_EQ(ColumnTexts(), (Strings{"甲乙", "大", "丙丁"}));
    const CTextRow& tall = *Columns()[1]->GetRow(0);
    EXPECT_EQ(tall.GetTop(), 15);
    EXPECT_GT(tall.GetBottom(), 260);

    // Text that is only such a row: it stands alone, no page is added for
    // nothing; the next row needs the next page.
    CWorkForm other;
    other.pageWidth = 400;
    other.pageHeight = 300;
    other.marginLeft = other.marginTop = other.marginRight = other.marginBottom = 20;
    other.headMargin = other.footMargin = 0;
    other.GetPage(0)->LayoutColumns(nullptr);
    CTextObj& col = *other.GetPage(0)->TextColumn(0);
    Append(col, "大", huge);
    LayoutText(col);
    EXPECT_EQ(other.PageCount(), 1);
    Append(col, "\r丙");
    LayoutText(col);
    EXPECT_EQ(other.PageCount(), 2);
}

TEST_F(Flow, ARowThatDoesNotFitGoesToTheNextColumn)
{
    Setup(1);
    Append(First(), Chinese(24));   // three rows: 15-52, 52-109, 109-166
    SentenceAttributes big;
    big.sizeCode = -2;   // 97 units
    Append(First(), "大", big);       // 166 + 20 + 97 = 283 > 245
    LayoutText(First());
    EXPECT_EQ(ColumnTexts(), (Strings{Chinese(24), "大"}));
}

TEST_F(Flow, ObjectsOnAPageShapeItsColumns)
{
    Setup(1);
    auto block = std::make_unique<CBasicObj>();
    block->SetRect(0, 0, 400, 300);   // the whole page
    block->SetWrapType(2);
    wf.GetPage(0)->AddObject(std::move(block));
    Append(First(), Chinese(10));
    LayoutText(First());
    // No room on the first page: the text starts on the second, the first
    // column keeps an empty row.
    EXPECT_EQ(wf.PageCount(), 2);
    EXPECT_EQ(ColumnTexts(), (Strings{"", Chinese(10)}));
    EXPECT_EQ(First().RowCount(), 1);
}

// After any edit, laying out incrementally gives exactly what laying out
// everything again gives.
TEST_F(Flow, IncrementalLayoutMatchesFullLayout)
{
    Setup(2);
    std::mt19937 rng(7);
    std::string text;
    for (int p = 0; p < 12; ++p) {
        if (p)
            text += "\r";
        const int n = 5 + static_cast<int>(rng() % 40);
        text += Chinese(n, p);
        if (p % 3 == 1)
            text += "Latin words wrap here, ";
    }
    Append(First(), text);
    // Some larger print, so that columns end with room to spare and moved
    // rows come to rest.
    for (int k = 1; k < 6; ++k)
        SetCharFormat(First(), First().OffsetToPosition(k * 90), First().OffsetToPosition(k * 90 + 12), kAttrSizeCode,
                      -6);
    LayoutText(First());

    SentenceAttributes bold;
    bold.weight = 700;
    int shifted = 0;
    for (int step = 0; step < 150; ++step) {
        const int total = static_cast<int>(FlowText().size());
        const int offset = static_cast<int>(rng() % (total / 2 + 1)) * 2;
        auto [col, pos] = At(offset);
        switch (step % 5) {
        case 0: InsertCells(*col, pos, Cells("字"), {}); break;
        case 1: InsertCells(*col, pos, Cells("\r"), {}); break;
        case 2: {
            const TextPosition end = col->OffsetToPosition(std::min(col->TextLength(), col->PositionToOffset(pos) + 14));
            DeleteRange(*col, pos, end);
            break;
        }
        case 3: {
            const TextPosition end = col->OffsetToPosition(std::min(col->TextLength(), col->PositionToOffset(pos) + 8));
            SetCharFormat(*col, pos, end, kAttrSizeCode, (step % 2) ? -3 : -9);
            break;
        }
        default: InsertCells(*col, pos, Cells("abc def 中文，"), bold); break;
        }
        // The length each column keeps follows every edit (before layout)
        // and every row moved (after it).
        auto lengthsHold = [&] {
            for (CTextObj* c : Columns()) {
                int cells = 0;
                for (const auto& row : c->Rows())
                    cells += row->TextLength();
                if (c->TextLength() != cells)
                    return false;
            }
            return true;
        };
        ASSERT_TRUE(lengthsHold()) << "step " << step << " before layout";
        const LayoutStats stats = LayoutText(*col);
        shifted += stats.rowsShifted;
        ASSERT_TRUE(lengthsHold()) << "step " << step << " after layout";
        const std::string incremental = Dump();
        const int pages = wf.PageCount();
        const std::string content = FlowText();
        LayoutBodyText(wf, nullptr, true);
        ASSERT_EQ(incremental, Dump()) << "step " << step;
        ASSERT_EQ(pages, wf.PageCount()) << "step " << step;
        ASSERT_EQ(content, FlowText()) << "step " << step;
    }
    EXPECT_GT(shifted, 0);   // rows were moved, not only rebuilt
}

// An edit costs the paragraph it touches; later rows only move.
TEST_F(Flow, AnEditCostsItsParagraph)
{
    Setup(2);
    std::string text;
    for (int p = 0; p < 40; ++p)
        text += (p ? "\r" : "") + Chinese(20, p);   // 7 rows a paragraph
    Append(First(), text);
    LayoutText(First());
    const int pages = wf.PageCount();
    ASSERT_GT(pages, 10);

    // A character in the second paragraph: its row count stays.
    auto [col, pos] = At(2 * (21 + 4));
    InsertCells(*col, pos, Cells("字"), {});
    LayoutStats stats = LayoutText(*col);
    EXPECT_LE(stats.rowsBuilt, 8);
    EXPECT_EQ(stats.rowsShifted, 0);
    EXPECT_EQ(wf.PageCount(), pages);

    // A paragraph break there: the rest of the text moves down a row, rows
    // are moved rather than broken again.
    auto [col2, pos2] = At(2 * (21 + 10));
    InsertCells(*col2, pos2, Cells("\r"), {});
    stats = LayoutText(*col2);
    EXPECT_LE(stats.rowsBuilt, 10);
    EXPECT_GT(stats.rowsShifted, 200);
}
