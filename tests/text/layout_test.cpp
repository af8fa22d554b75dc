// Layout of free text objects on fixed metrics: row geometry, the break
// rules, first-line indents, justification, vertical placement, alignment
// and wrapping around floating objects.
#include "model/table_page.h"
#include "model/work_form.h"
#include "support/test_view.h"
#include "text_support.h"

#include <gtest/gtest.h>

using namespace mirel;
using mirel::test::Cells;
using mirel::test::RowTexts;
using Rows = std::vector<std::string>;

class Layout : public test::LayoutTest {
protected:
    // A box of the given inner width holding the text, laid out with the
    // paragraph attributes given.
    std::unique_ptr<CTextObj> LaidOut(int inner, std::string_view utf8, ParagraphAttributes para = {})
    {
        auto box = Box(inner);
        box->GetRow(0)->SetParagraph(para);
        Append(*box, utf8);
        Relayout(*box);
        return box;
    }
};

// Size 五号 is 3.70 mm: a Chinese character advances 37 units, a Latin one
// 18.5 on the fixed metrics. A free object's first row starts at the top
// margin and takes the line space above its 37 units of text.
TEST_F(Layout, RowGeometry)
{
    const auto box = LaidOut(370, "甲乙丙丁戊己庚辛壬癸子");
    EXPECT_EQ(DumpLayout(*box),
              "15,15,385,72| 0-370@20 \"甲乙丙丁戊己庚辛壬癸\" |\n"
              "15,72,52,129| 0-37@20 \"子\" |\n");
    for (const auto& row : box->Rows())
        EXPECT_FALSE(row->NeedsLayout());
    EXPECT_FALSE(box->NeedsLayout());
}

TEST_F(Layout, BreakRules)
{
    struct Case {
        const char* name;
        int inner;
        const char* text;
        Rows rows;
    };
    const Case cases[] = {
        {"a Latin word moves down whole", 148, "中文hello world", {"中文", "hello ", "world"}},
        {"a word longer than the row breaks inside", 148, "abcdefghij", {"abcdefgh", "ij"}},
        {"no row starts with a comma", 148, "甲乙丙丁，戊", {"甲乙丙", "丁，戊"}},
        {"a one-character row keeps it", 37, "甲，", {"甲", "，"}},
        {"repeated commas", 148, "甲乙丙丁，，戊", {"甲乙丙", "丁，，戊"}},
        {"no row ends with 《", 148, "甲乙丙《丁》", {"甲乙丙", "《丁》"}},
        {"unless the next row begins a paragraph", 148, "甲乙丙《\r丁", {"甲乙丙《", "¶丁"}},
        {"word wrap after the line-start rule", 111, "中文ab,cd", {"中文", "ab,cd"}},
        {"spaces hang at the end of a row", 148, "ab cd ef gh", {"ab cd ef ", "gh"}},
        {"closing quote and full stop", 148, "甲乙丙丁”。", {"甲乙丙", "丁”。"}},
        {"digits stay together", 111, "第123456号", {"第", "123456", "号"}},
        {"the mark never moves", 37, "\r甲，", {"", "¶甲", "，"}},
    };
    for (const Case& c : cases) {
        const auto box = LaidOut(c.inner, c.text);
        EXPECT_EQ(RowTexts(*box), c.rows) << c.name;
    }
}

TEST_F(Layout, FirstLineIndent)
{
    ParagraphAttributes para;
    struct Case {
        int value;
        int alignment;
        int expected;
    };
    const int H = 400;
    const Case cases[] = {
        {2, 3, 74},     // two characters of 3.70 mm
        {-35, 3, 35},   // 3.5 mm
        {0, 3, 0},
        {2, 1, 0},      // centred
        {2, 2, 0},      // right-aligned
        {2, 0, 74},     // left
        {20, 3, H - 37}, // never more than the width less one character
        {-1000, 3, H - 37},
    };
    SentenceAttributes run;
    for (const Case& c : cases) {
        para.firstLineIndent = c.value;
        para.alignment = c.alignment;
        EXPECT_EQ(FirstLineIndent(para, run, H, false), c.expected) << c.value << " " << c.alignment;
        EXPECT_EQ(FirstLineIndent(para, run, H, true), 0);   // a table cell
    }
    run.sizeCode = -2;   // 一号, 9.66 mm
    para.firstLineIndent = 2;
    para.alignment = 3;
    EXPECT_EQ(FirstLineIndent(para, run, H, false), 192);
    run.senType = 1;     // the first run's 75 %: 7.25 mm
    EXPECT_EQ(FirstLineIndent(para, run, H, false), 144);

    // In a layout: the first row of each paragraph only.
    para = {};
    para.firstLineIndent = 2;
    const auto box = LaidOut(185, "甲乙丙丁戊己\r子丑寅卯", para);
    EXPECT_EQ(RowTexts(*box), (Rows{"甲乙丙", "丁戊己", "¶子丑寅", "卯"}));
    EXPECT_EQ(box->GetRow(0)->GetSentence(0)->GetLeft(), 74);
    EXPECT_EQ(box->GetRow(1)->GetSentence(0)->GetLeft(), 0);
    EXPECT_EQ(box->GetRow(2)->GetSentence(0)->GetLeft(), 74);
    EXPECT_EQ(box->GetRow(3)->GetSentence(0)->GetLeft(), 0);
}

TEST_F(Layout, JustifiedRows)
{
    ParagraphAttributes para;   // 匀齐
    auto box = LaidOut(150, "甲乙丙丁戊己", para);
    ASSERT_EQ(RowTexts(*box), (Rows{"甲乙丙丁", "戊己"}));
    EXPECT_EQ(box->GetRow(0)->GetSentence(0)->GetRect().Width(), 150);   // stretched
    EXPECT_EQ(box->GetRow(1)->GetSentence(0)->GetRect().Width(), 74);    // last row: natural
    EXPECT_EQ(box->GetRow(1)->GetRight(), 15 + 74);

    para.alignment = 4;   // 全匀齐: the last row too
    box = LaidOut(150, "甲乙丙丁戊己", para);
    EXPECT_EQ(box->GetRow(1)->GetSentence(0)->GetRect().Width(), 150);
    // A single character is not stretched, even in full justification.
    box = LaidOut(150, "甲乙丙丁戊", para);
    EXPECT_EQ(box->GetRow(1)->GetSentence(0)->GetRect().Width(), 37);

    para.alignment = 0;   // left: nothing stretched
    box = LaidOut(150, "甲乙丙丁戊己", para);
    EXPECT_EQ(box->GetRow(0)->GetSentence(0)->GetRect().Width(), 148);
}

// The free width goes to the stretchable runs in proportion to their widths
// and adds up exactly; runs that cannot stretch only move.
TEST_F(Layout, JustificationShares)
{
    ParagraphAttributes para;
    para.alignment = 4;
    auto box = Box(200);
    box->GetRow(0)->SetParagraph(para);
    SentenceAttributes bold, italic;
    bold.weight = 700;
    italic.italic = 1;
    Append(*box, "甲乙", bold);
    Append(*box, "ab");
    Append(*box, "丙丁", italic);
    Relayout(*box);
    // Natural 74 + 37 + 74 = 185; free 15 shared as 6, 3, 6.
    EXPECT_EQ(DumpLayout(*box), "15,15,215,72| 0-80@20 \"甲乙\" | 80-120@20 \"ab\" | 120-200@20 \"丙丁\" |\n");

    // The last run holds one character: it only moves.
    box = Box(200);
    box->GetRow(0)->SetParagraph(para);
    Append(*box, "甲乙", bold);
    Append(*box, "丙");
    Relayout(*box);
    EXPECT_EQ(DumpLayout(*box), "15,15,215,72| 0-163@20 \"甲乙\" | 163-200@20 \"丙\" |\n");

    // Nothing can stretch: no division by zero, natural widths.
    box = Box(200);
    box->GetRow(0)->SetParagraph(para);
    Append(*box, "甲");
    Relayout(*box);
    EXPECT_EQ(DumpLayout(*box), "15,15,52,72| 0-37@20 \"甲\" |\n");
}

TEST_F(Layout, VerticalPlacement)
{
    SentenceAttributes big, sup, sub;
    big.sizeCode = -2;   // 9.66 mm: 97 units high
    sup.senType = 1;
    sub.senType = 2;
    struct Case {
        int verAlignment;
        int bigTop, normalTop;
    };
    // c = 97, d = 20.
    for (const Case c : {Case{0, 20, 20}, Case{1, 20, 50}, Case{2, 20, 80}}) {
        ParagraphAttributes para;
        para.verAlignment = c.verAlignment;
        auto box = Box(400);
        box->GetRow(0)->SetParagraph(para);
        Append(*box, "大", big);
        Append(*box, "小");
        Relayout(*box);
        const CTextRow& row = *box->GetRow(0);
        EXPECT_EQ(row.GetSentence(0)->GetTop(), c.bigTop) << c.verAlignment;
        EXPECT_EQ(row.GetSentence(1)->GetTop(), c.normalTop) << c.verAlignment;
        EXPECT_EQ(row.GetRect(), (Rect{15, 15, 15 + 97 + 37, 15 + 20 + 97}));
    }
    // A superscript after normal text sits a quarter of its own height (28)
    // above the normal text's top; a subscript ends a third below its bottom.
    auto box = Box(400);
    Append(*box, "正");
    Append(*box, "上", sup);
    Append(*box, "正");
    Append(*box, "下", sub);
    Relayout(*box);
    const CTextRow& row = *box->GetRow(0);
    EXPECT_EQ(row.GetSentence(0)->GetTop(), 20);
    EXPECT_EQ(row.GetSentence(1)->GetRect(), (Rect{37, 13, 37 + 28, 41}));
    EXPECT_EQ(row.GetSentence(3)->GetTop(), 57 - 18);
    EXPECT_EQ(row.GetSentence(3)->GetBottom(), 57 - 18 + 28);
}

// Centring uses the whole object width; right alignment the right margin.
TEST_F(Layout, HorizontalAlignment)
{
    for (int alignment : {0, 1, 2}) {
        ParagraphAttributes para;
        para.alignment = alignment;
        auto box = std::make_unique<CTextObj>();
        box->SetRect(0, 0, 500, 300);
        box->MutableTextAttributes().leftMargin = 15;
        box->MutableTextAttributes().rightMargin = 45;
        box->GetRow(0)->SetParagraph(para);
        Append(*box, "甲乙");
        Relayout(*box);
        const int expected[] = {15, (500 - 74) / 2, 500 - 45 - 74};
        EXPECT_EQ(box->GetRow(0)->GetLeft(), expected[alignment]) << alignment;
        EXPECT_EQ(box->GetRow(0)->GetRect().Width(), 74);
    }
}

TEST_F(Layout, EmptyParagraphsAndEmptyObjects)
{
    auto box = Box(400);
    Relayout(*box);
    EXPECT_EQ(DumpLayout(*box), "15,15,15,72| 0-0@20 \"\" |\n");
    Append(*box, "甲\r\r乙");
    Relayout(*box);
    // An empty paragraph's mark is 1.5 mm wide.
    EXPECT_EQ(DumpLayout(*box),
              "15,15,52,72| 0-37@20 \"甲\" |\n"
              "15,72,30,129| 0-15@20 \"¶\" |\n"
              "15,129,52,186| 0-37@20 \"¶乙\" |\n");
}

// Runs with equal attributes and class are merged by layout; a bare mark
// takes the attributes of the text after it.
TEST_F(Layout, RunsAreMerged)
{
    auto box = Box(400);
    SentenceAttributes bold;
    bold.weight = 700;
    Append(*box, "甲");
    Append(*box, "乙", bold);
    Append(*box, "ab");
    InsertCells(*box, {0, 0, 2}, Cells("丙"), {});   // into the first run
    InsertCells(*box, box->EndPosition(), Cells("\r"), {});
    Append(*box, "丁", bold);
    Relayout(*box);
    EXPECT_EQ(RowTexts(*box), (Rows{"甲丙乙ab", "¶丁"}));
    ASSERT_EQ(box->GetRow(0)->SentenceCount(), 3);
    ASSERT_EQ(box->GetRow(1)->SentenceCount(), 1);
    EXPECT_EQ(box->GetRow(1)->GetSentence(0)->GetWeight(), 700);
}

TEST_F(Layout, InlineObjectsMoveWithTheirText)
{
    auto box = Box(148);
    Append(*box, "甲乙丙");
    auto picture = std::make_unique<CBasicObj>();
    picture->SetRect(500, 500, 600, 580);   // 100 × 80
    std::unique_ptr<CBasicObj> owned = std::move(picture);
    CBasicObj* raw = owned.get();
    InsertInlineObject(*box, box->EndPosition(), owned, {});
    Append(*box, "丁");
    Relayout(*box);
    // 甲乙丙 take 111; the object (100 wide) does not fit beside them.
    ASSERT_EQ(box->RowCount(), 2);
    const CTextRow& second = *box->GetRow(1);
    ASSERT_TRUE(second.GetSentence(0)->FollowObj());
    EXPECT_EQ(second.GetSentence(0)->FollowObj(), raw);
    EXPECT_EQ(raw->GetParent(), second.GetSentence(0));
    EXPECT_EQ(raw->GetRect(), (Rect{0, 0, 100, 80}));   // at its sentence's origin
    // The row is as tall as the object: c = 80.
    EXPECT_EQ(second.GetRect().Height(), 20 + 80);
    EXPECT_EQ(second.GetSentence(1)->GetTop(), 20 + 80 - 37);
}

class Wrapping : public test::LayoutTest {
protected:
    CTablePage page;
    CTextObj* box = nullptr;

    void SetUp() override
    {
        auto text = std::make_unique<CTextObj>();
        text->SetRect(0, 0, 430, 1000);   // inner width 400
        box = static_cast<CTextObj*>(page.AddObject(std::move(text)));
    }
    void AddObstacle(int mode, Rect r = {215, 0, 255, 200})
    {
        auto shape = std::make_unique<CBasicObj>();
        shape->SetRect(r);
        shape->SetWrapType(mode);   // wrap distances 25 left and right
        page.AddObject(std::move(shape));
    }
};

TEST_F(Wrapping, AroundAnObject)
{
    struct Case {
        int mode;
        const char* dump;
    };
    // The object stands at 190 … 280 with its distances: row slots 0 … 175
    // and 265 … 400.
    const Case cases[] = {
        {0, "15,15,415,72| 0-400@20 \"甲乙丙丁戊己庚辛壬癸\" |\n15,72,89,129| 0-74@20 \"子丑\" |\n"},
        {1, "15,15,415,72| 0-175@20 \"甲乙丙丁\" | 265-400@20 \"戊己庚\" |\n"
            "15,72,317,129| 0-148@20 \"辛壬癸子\" | 265-302@20 \"丑\" |\n"},
        {2, "15,200,415,257| 0-400@20 \"甲乙丙丁戊己庚辛壬癸\" |\n15,257,89,314| 0-74@20 \"子丑\" |\n"},
        {4, "15,15,190,72| 0-175@20 \"甲乙丙丁\" |\n15,72,190,129| 0-175@20 \"戊己庚辛\" |\n"
            "15,129,163,186| 0-148@20 \"壬癸子丑\" |\n"},
        {5, "15,15,415,72| 265-400@20 \"甲乙丙\" |\n15,72,415,129| 265-400@20 \"丁戊己\" |\n"
            "15,129,415,186| 265-400@20 \"庚辛壬\" |\n15,186,391,243| 265-376@20 \"癸子丑\" |\n"},
        {3, "15,15,190,72| 0-175@20 \"甲乙丙丁\" |\n15,72,190,129| 0-175@20 \"戊己庚辛\" |\n"
            "15,129,163,186| 0-148@20 \"壬癸子丑\" |\n"},
    };
    for (const Case& c : cases) {
        SetUp();
        AddObstacle(c.mode);
        InsertCells(*box, {}, Cells("甲乙丙丁戊己庚辛壬癸子丑"), {});
        Relayout(*box);
        EXPECT_EQ(DumpLayout(*box), c.dump) << "mode " << c.mode;
        page.TakeObject(page.Objects().back().get());
    }
}

TEST_F(Wrapping, AnObjectAcrossTheWholeWidthPushesRowsBelowIt)
{
    AddObstacle(1, {0, 100, 430, 160});
    InsertCells(*box, {}, Cells("甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉戌亥"), {});
    Relayout(*box);
    ASSERT_GE(box->RowCount(), 2);
    EXPECT_EQ(box->GetRow(0)->GetTop(), 15);
    // The second row's band (72 … 135) meets the object: it goes below it.
    EXPECT_EQ(box->GetRow(1)->GetTop(), 160);
}

// The editing tools change sentences themselves and call Reflow with the
// row where the change began; the object is shown again.
TEST_F(Layout, ReflowAfterAChangeMadeInPlace)
{
    auto box = Box(148);
    Append(*box, "甲乙丙丁戊");
    Relayout(*box);
    ASSERT_EQ(RowTexts(*box), (Rows{"甲乙丙丁", "戊"}));
    CSentence& s = *box->GetRow(1)->GetSentence(0);
    s.SetText(Cells("戊己庚辛壬"));
    test::TestView view;
    EXPECT_EQ(box->Reflow(&view, 1), -1);   // a free object
    EXPECT_EQ(RowTexts(*box), (Rows{"甲乙丙丁", "戊己庚辛", "壬"}));
    EXPECT_FALSE(view.invalidated.empty());
}

// Text boxes on pages are laid out with the body text when waiting.
TEST_F(Layout, PendingTextOfAWorkForm)
{
    CWorkForm wf;
    auto frame = std::make_unique<CTextObj>();
    frame->SetRect(100, 100, 100 + 30 + 148, 400);
    CTextObj* raw = static_cast<CTextObj*>(wf.GetPage(0)->AddObject(std::move(frame)));
    Append(*raw, "甲乙丙丁戊");
    Append(*wf.GetPage(0)->TextColumn(0), "正文");
    EXPECT_TRUE(raw->NeedsLayout());
    LayoutPendingText(wf);
    EXPECT_FALSE(raw->NeedsLayout());
    EXPECT_FALSE(wf.GetPage(0)->TextColumn(0)->NeedsLayout());
    EXPECT_EQ(RowTexts(*raw), (Rows{"甲乙丙丁", "戊"}));
}
