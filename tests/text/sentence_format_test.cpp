// The formatting operations of sentences, rows and text objects, the base
// defaults, the CHECKBOX() rule and positions inside a sentence.
#include "model/view_context.h"
#include "platform/messages.h"
#include "platform/prompt.h"
#include "text_support.h"

#include <gtest/gtest.h>

using namespace mirel;
using mirel::test::Cells;
using mirel::test::Gbk;

TEST(SentenceFormat, SetFormatByCodeDispatchesCharacterCodes)
{
    struct Case {
        int code;
        AttrValue value;
        int (*get)(const CSentence&);
        int expected;
    };
    const Case cases[] = {
        {kAttrSizeCode, -3, [](const CSentence& s) { return s.GetFontSize(); }, -3},
        {kAttrColor, 0x123456u, [](const CSentence& s) { return int(s.GetTextColor()); }, 0x123456},
        {kAttrWeight, 700, [](const CSentence& s) { return s.GetWeight(); }, 700},
        {kAttrItalic, 1, [](const CSentence& s) { return s.GetItalic(); }, 1},
        {kAttrCharMargin, 4, [](const CSentence& s) { return s.GetCharSpacing(); }, 4},
        {kAttrUnderline, 1, [](const CSentence& s) { return s.GetUnderline(); }, 1},
        {kAttrStrikeOut, 1, [](const CSentence& s) { return s.GetStrikeOut(); }, 1},
        {kAttrScale, 120, [](const CSentence& s) { return s.GetHorzScale(); }, 120},
        {kAttrSenType, 2, [](const CSentence& s) { return s.GetScriptType(); }, 2},
        {kAttrEffect, 5, [](const CSentence& s) { return s.GetTextEffect(); }, 5},
        {kAttrBackColor, 0x00FF00u, [](const CSentence& s) { return int(s.GetBackColor()); }, 0x00FF00},
    };
    for (const Case& c : cases) {
        CSentence s;
        s.SetText(Cells("ab"));
        EXPECT_EQ(s.SetFormatByCode(nullptr, c.code, c.value), 1) << c.code;
        EXPECT_EQ(c.get(s), c.expected) << c.code;
    }
    CSentence s;
    s.SetText(Cells("ab"));
    EXPECT_EQ(s.SetFormatByCode(nullptr, kAttrFaceName, std::string("Arial")), 1);
    EXPECT_EQ(s.GetFaceName(), "Arial");
    EXPECT_EQ(s.SetFormatByCode(nullptr, kAttrAutoCommand, std::string("RUN(1)")), 1);
    EXPECT_EQ(s.GetAutoCommand(), "RUN(1)");
    const SentenceAttributes before = s.Attributes();
    for (int code : {0, 6, 12, 14, 15, 16, 17, 18, 26, 29, 33, 35, 36, 99}) {
        EXPECT_EQ(s.SetFormatByCode(nullptr, code, 1), 0) << code;
        EXPECT_TRUE(s.Attributes().SameFormat(before)) << code;
    }
}

TEST(SentenceFormat, HeightsAndAdvance)
{
    CSentence s;
    s.SetText(Cells("中"));
    EXPECT_EQ(s.GetLineHeight(), 370);
    EXPECT_EQ(s.GetFontHeight(), 370);
    EXPECT_EQ(s.GetCharAdvance(), 37);
    s.SetCharSpacing(nullptr, 3);
    EXPECT_EQ(s.GetCharAdvance(), 40);
    s.SetScriptType(nullptr, 1);   // superscript: 75 % of the size, not of the advance
    EXPECT_EQ(s.GetLineHeight(), 278);
    EXPECT_EQ(s.GetFontHeight(), 278);
    EXPECT_EQ(s.GetCharAdvance(), 40);
    s.SetFontSize(nullptr, 12);
    s.SetScriptType(nullptr, 0);
    EXPECT_EQ(s.GetLineHeight(), 423);

    // An inline object reports its height × 10; the font height ignores it.
    CSentence holder;
    auto obj = std::make_unique<CBasicObj>();
    obj->SetRect(0, 0, 50, 120);
    holder.SetFollowObj(std::move(obj));
    EXPECT_EQ(holder.GetLineHeight(), 1200);
    EXPECT_EQ(holder.GetFontHeight(), 370);
}

TEST(SentenceFormat, FaceNameAndClass)
{
    CSentence empty, latin, chinese;
    latin.SetText(Cells("ab"));
    chinese.SetText(Cells("中文"));
    int single = -1;
    empty.GetFaceName(&single);
    EXPECT_EQ(single, 0);
    latin.GetFaceName(&single);
    EXPECT_EQ(single, 1);
    EXPECT_EQ(chinese.GetFaceName(&single), Gbk("宋体"));
    EXPECT_EQ(single, 0);

    // A double-byte sentence keeps its face when the new one is not printable.
    EXPECT_FALSE(chinese.SetFaceName(nullptr, "\x01Odd"));
    EXPECT_EQ(chinese.GetFaceName(), Gbk("宋体"));
    EXPECT_TRUE(chinese.SetFaceName(nullptr, Gbk("黑体")));
    EXPECT_EQ(chinese.GetFaceName(), Gbk("黑体"));
    EXPECT_TRUE(latin.SetFaceName(nullptr, "\x01Odd"));
    EXPECT_EQ(latin.GetFaceName(), "\x01Odd");
}

TEST(SentenceFormat, CheckBoxCommandOnlyOnOneBox)
{
    ScriptedPrompt prompt;
    ScopedPrompt scope(prompt);
    const std::string kText = "只能对单个字符“□”设置自动指令“CHECKBOX()”。";

    CSentence two;
    two.SetText(Cells("□□"));
    EXPECT_FALSE(two.SetAutoCommand(nullptr, "CHECKBOX()"));
    EXPECT_EQ(two.GetAutoCommand(), "");
    EXPECT_EQ(two.GetTextColor(), 0u);
    ASSERT_EQ(prompt.Calls().size(), 1u);
    EXPECT_EQ(prompt.Calls()[0].text, kText);
    EXPECT_EQ(prompt.Calls()[0].caption, kComponentCaption);
    EXPECT_EQ(prompt.Calls()[0].icon, PromptIcon::Information);

    for (const char* ok : {"□", " □ ", "\r□"}) {
        CSentence one;
        one.SetText(Cells(ok));
        EXPECT_TRUE(one.SetAutoCommand(nullptr, "CHECKBOX()")) << ok;
        EXPECT_EQ(one.GetAutoCommand(), "CHECKBOX()");
        EXPECT_EQ(one.GetTextColor(), 0xFF0000u);   // blue
    }
    for (const char* bad : {"x", "", "□x", "■"}) {
        CSentence s;
        s.SetText(Cells(bad));
        EXPECT_FALSE(s.SetAutoCommand(nullptr, "CHECKBOX()")) << bad;
    }
    EXPECT_EQ(prompt.Calls().size(), 5u);

    // Other commands need no particular text; removing one drops colour and underline.
    CSentence link;
    link.SetText(Cells("打开"));
    EXPECT_TRUE(link.SetAutoCommand(nullptr, "MENU(甲|乙)"));
    EXPECT_EQ(link.GetTextColor(), 0xFF0000u);
    link.SetUnderline(nullptr, 1);
    EXPECT_TRUE(link.SetAutoCommand(nullptr, ""));
    EXPECT_EQ(link.GetTextColor(), 0u);
    EXPECT_EQ(link.GetUnderline(), 0);
    EXPECT_EQ(prompt.Calls().size(), 5u);
}

TEST(SentenceFormat, BaseDefaultsOfObjectsWithoutText)
{
    CBasicObj obj;
    EXPECT_EQ(obj.GetLineHeight(), 0);
    EXPECT_EQ(obj.GetFontHeight(), 370);
    EXPECT_EQ(obj.GetFontSize(), -9);
    EXPECT_EQ(obj.GetHorzScale(), 100);
    EXPECT_EQ(obj.GetBackColor(), 0xFFFFFFu);
    EXPECT_EQ(obj.GetVerAlignment(), -1);
    EXPECT_EQ(obj.GetAlignment(), -1);
    EXPECT_EQ(obj.GetTextMargins(), (Rect{}));
    EXPECT_EQ(obj.SetFormatByCode(nullptr, kAttrWeight, 700), 0);
    EXPECT_FALSE(obj.SetAutoCommand(nullptr, "X"));
    obj.SetWeight(nullptr, 700);
    EXPECT_EQ(obj.GetWeight(), 400);
}

TEST(SentenceFormat, RowAnswersForItsParagraph)
{
    CTextRow row;
    row.SetRowLineSpace(35);
    row.SetRowAlignment(1);
    row.SetRowVerAlignment(0);
    row.SetRowFirstLineIndent(-35);
    EXPECT_EQ(row.GetLineSpace(), 35);
    EXPECT_EQ(row.GetAlignment(), 1);
    EXPECT_EQ(row.GetVerAlignment(), 0);
    EXPECT_EQ(row.GetFirstLineIndent(), -35);
}

TEST(SentenceFormat, CaretPositionsAndHitTest)
{
    FixedFontMetrics metrics;
    ScopedLayoutMetrics scope(metrics);
    CSentence s;
    s.SetText(Cells("ab中"));   // 18.5, 18.5 and 37 units
    EXPECT_EQ(s.GetCaretX(0), 0);
    EXPECT_EQ(s.GetCaretX(2), 19);
    EXPECT_EQ(s.GetCaretX(4), 37);
    EXPECT_EQ(s.GetCaretX(6), 74);
    struct Case {
        int x, offset;
    };
    for (const Case c : {Case{0, 0}, Case{9, 0}, Case{10, 2}, Case{27, 2}, Case{28, 4}, Case{55, 4}, Case{56, 6},
                         Case{500, 6}}) {
        EXPECT_EQ(s.HitTest(c.x), c.offset) << c.x;
    }
    CSentence marked;
    marked.SetText(Cells("\rab"));
    EXPECT_EQ(marked.HitTest(0), 2);
    CSentence holder;
    auto obj = std::make_unique<CBasicObj>();
    obj->SetRect(0, 0, 100, 50);
    holder.SetFollowObj(std::move(obj));
    EXPECT_EQ(holder.HitTest(49), 0);
    EXPECT_EQ(holder.HitTest(50), 2);
}

class TextObjectFormat : public test::LayoutTest {};

// Not being edited, a text object formats its whole text; being edited,
// its selection (and the typing attributes).
TEST_F(TextObjectFormat, WholeTextOrSelection)
{
    auto box = Box(370);
    Append(*box, "甲乙丙丁");
    Relayout(*box);
    EXPECT_EQ(box->SetFormatByCode(nullptr, kAttrWeight, 700), 1);
    EXPECT_EQ(box->GetWeight(), 700);
    for (const auto& row : box->Rows())
        for (const auto& s : row->Sentences())
            EXPECT_EQ(s->GetWeight(), 700);

    box->SetEditing(true);
    box->selectionStart = box->OffsetToPosition(2);
    box->caret = box->OffsetToPosition(6);
    EXPECT_EQ(box->SetFormatByCode(nullptr, kAttrColor, 0x0000FFu), 1);
    EXPECT_EQ(box->TypingAttributes().color, 0x0000FFu);
    // 甲 | 乙丙 red | 丁: three runs after layout.
    ASSERT_EQ(box->RowCount(), 1);
    const CTextRow& row = *box->GetRow(0);
    ASSERT_EQ(row.SentenceCount(), 3);
    EXPECT_EQ(test::Text(row.GetSentence(1)->GetText()), "乙丙");
    EXPECT_EQ(row.GetSentence(1)->GetTextColor(), 0x0000FFu);
    EXPECT_EQ(row.GetSentence(0)->GetTextColor(), 0u);
    EXPECT_EQ(row.GetSentence(2)->GetTextColor(), 0u);
    // The selection survived the layout.
    EXPECT_EQ(box->PositionToOffset(box->selectionStart), 2);
    EXPECT_EQ(box->PositionToOffset(box->caret), 6);
    // Getters answer from the typing attributes while editing.
    EXPECT_EQ(box->GetTextColor(), 0x0000FFu);

    // Paragraph codes reach every row of the paragraphs touched.
    EXPECT_EQ(box->SetFormatByCode(nullptr, kAttrAlignment, 1), 1);
    EXPECT_EQ(box->GetAlignment(), 1);
    // Unknown codes are refused.
    EXPECT_EQ(box->SetFormatByCode(nullptr, 99, 1), 0);
}

// An empty box keeps a format for the text typed into it; a refused
// command is refused once.
TEST_F(TextObjectFormat, EmptyObjectsAndRefusedCommands)
{
    auto box = Box(370);
    Relayout(*box);
    EXPECT_EQ(box->SetFormatByCode(nullptr, kAttrSizeCode, -2), 1);
    EXPECT_EQ(box->GetRow(0)->GetSentence(0)->GetFontSize(), -2);
    EXPECT_EQ(box->GetRow(0)->GetRect().Height(), 20 + 97);
    EXPECT_EQ(box->TypingAttributes().sizeCode, -2);

    ScriptedPrompt prompt;
    ScopedPrompt scope(prompt);
    Append(*box, "甲");
    Append(*box, "ab");
    Relayout(*box);
    EXPECT_EQ(box->SetFormatByCode(nullptr, kAttrAutoCommand, std::string("CHECKBOX()")), 1);
    EXPECT_EQ(prompt.Calls().size(), 1u);
    for (const auto& s : box->GetRow(0)->Sentences())
        EXPECT_EQ(s->GetAutoCommand(), "");
}

TEST_F(TextObjectFormat, MarginsLayOutAgain)
{
    auto box = Box(370);
    Append(*box, "甲乙丙丁戊己庚辛壬癸");
    Relayout(*box);
    ASSERT_EQ(box->RowCount(), 1);
    box->SetTextMargins(nullptr, 15 + 37, 15, 15, 99);
    EXPECT_EQ(box->GetTextMargins(), (Rect{52, 15, 15, 0}));
    EXPECT_EQ(test::RowTexts(*box), (std::vector<std::string>{"甲乙丙丁戊己庚辛壬", "癸"}));
    EXPECT_EQ(box->GetRow(0)->GetLeft(), 52);
}
