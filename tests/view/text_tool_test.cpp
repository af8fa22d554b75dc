// The text tool driven through the real view: clicks, keys, the input
// method, selection, formatting, find and replace and the clipboard, with
// the body text checked after each step.
#include "model/document_dump.h"
#include "text/text_edit.h"
#include "text_editing_support.h"
#include "view/command_ids.h"
#include "view/find_replace.h"
#include "view/text_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStyleHints>

namespace mirel::test {
namespace {

using TextToolTest = TextEditingTest;

TEST_F(TextToolTest, ClickThenTypeLatinAndChineseThroughKeysAndInputMethod)
{
    ClickIntoBody();
    ASSERT_TRUE(view->TextToolActive());
    Type("Ab");
    EXPECT_EQ(FlowText(), "Ab");
    Commit(QStringLiteral("中文"));
    EXPECT_EQ(FlowText(), "Ab中文");
    EXPECT_EQ(tool->Caret(), 8);
    // Single- and double-byte text stand in sentences of their own class.
    const CTextRow* row = Flow().Objects().front()->GetRow(0);
    ASSERT_EQ(row->SentenceCount(), 2);
    EXPECT_TRUE(row->GetSentence(0)->IsSingleByte());
    EXPECT_FALSE(row->GetSentence(1)->IsSingleByte());
    EXPECT_TRUE(doc->IsModified());
    // Each keystroke and each commit is one undo step.
    EXPECT_EQ(undo->UndoCount(), 3);
}

TEST_F(TextToolTest, CompositionShowsAtTheCaretAndTheInputMethodGetsTheCaretRectangle)
{
    ClickIntoBody();
    Type("x");
    QInputMethodEvent pre(QStringLiteral("zhong"), {});
    QCoreApplication::sendEvent(view.get(), &pre);
    EXPECT_EQ(tool->Preedit(), QStringLiteral("zhong"));
    EXPECT_EQ(FlowText(), "x"); // nothing is inserted before the commit
    EXPECT_TRUE(view->inputMethodQuery(Qt::ImEnabled).toBool());
    const QRectF caret = view->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
    EXPECT_FALSE(caret.isEmpty());
    EXPECT_EQ(caret.toRect(), tool->CaretClientRect(*view));
    // The caret stands right of the typed x.
    EXPECT_GT(caret.left(), PointAt(0).x());
    Commit(QStringLiteral("中"));
    EXPECT_EQ(tool->Preedit(), QString());
    EXPECT_EQ(FlowText(), "x中");
}

TEST_F(TextToolTest, InputMethodTextOfAnyLengthIsTakenWholeAndUnknownCharactersBecomeQuestionMarks)
{
    ClickIntoBody();
    QString longText;
    for (int i = 0; i < 150; ++i)
        longText += QChar(0x4E00 + i % 50); // 300 GBK bytes, well past 97
    Commit(longText);
    EXPECT_EQ(Flow().Length(), 300);
    EXPECT_TRUE(scripted.Calls().empty());

    Commit(QString::fromUtf8("A\xF0\x9F\x98\x80"
                             "B\xF0\x9F\x98\x81")); // two emoji
    const BodyFlow f = Flow();
    EXPECT_EQ(Text(f.Cells(300, f.Length())), "A?B?");
    // Told once for the whole text.
    ASSERT_EQ(scripted.Calls().size(), 1u);
    EXPECT_NE(scripted.Calls()[0].text.find("2"), std::string::npos);
}

TEST_F(TextToolTest, TypingSplitsAndExtendsSentencesOfTheOtherClass)
{
    ClickIntoBody();
    Commit(QStringLiteral("中文字"));
    tool->SetCaret(*view, 2);
    Type("a");
    const CTextRow* row = Flow().Objects().front()->GetRow(0);
    ASSERT_EQ(row->SentenceCount(), 3);
    Type("b");
    row = Flow().Objects().front()->GetRow(0);
    ASSERT_EQ(row->SentenceCount(), 3);
    EXPECT_EQ(Text(row->GetSentence(1)->GetText()), "ab");
    EXPECT_EQ(FlowText(), "中ab文字");
}

// Keys on the text "ab¶cd" (offsets: a 0, b 2, mark 4, c 6, d 8, end 10).
struct KeyCase {
    const char* name;
    int caret;
    Qt::Key key;
    bool overwrite;
    const char* typed;
    int expectCaret;
    const char* expectText;
};

class TextToolKeys : public TextEditingTest, public testing::WithParamInterface<KeyCase> { };

TEST_P(TextToolKeys, MoveOrEditAsTheKeyTableSays)
{
    const KeyCase& c = GetParam();
    ClickIntoBody();
    Type("ab");
    Key(Qt::Key_Return);
    Type("cd");
    ASSERT_EQ(FlowText(), "ab¶cd");
    tool->SetCaret(*view, c.caret);
    CTextTool::SetOverwrite(c.overwrite);
    if (c.key != Qt::Key_unknown)
        Key(c.key);
    if (c.typed)
        Type(c.typed);
    CTextTool::SetOverwrite(false);
    EXPECT_EQ(tool->Caret(), c.expectCaret);
    EXPECT_EQ(FlowText(), c.expectText);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextToolKeys,
    testing::Values(KeyCase { "HomeOnSecondParagraphGoesAfterTheMark", 8, Qt::Key_Home, false, nullptr, 6, "ab¶cd" },
        KeyCase { "EndGoesToTheRowEnd", 0, Qt::Key_End, false, nullptr, 4, "ab¶cd" },
        KeyCase { "LeftAfterTheMarkGoesToThePreviousRow", 6, Qt::Key_Left, false, nullptr, 4, "ab¶cd" },
        KeyCase { "RightAtTheRowEndGoesPastTheMark", 4, Qt::Key_Right, false, nullptr, 6, "ab¶cd" },
        KeyCase { "BackspaceAtTheStartDoesNothing", 0, Qt::Key_Backspace, false, nullptr, 0, "ab¶cd" },
        KeyCase { "BackspaceAfterTheMarkJoins", 6, Qt::Key_Backspace, false, nullptr, 4, "abcd" },
        KeyCase { "DeleteAtTheEndDoesNothing", 10, Qt::Key_Delete, false, nullptr, 10, "ab¶cd" },
        KeyCase { "DeleteTakesTheNextCharacter", 0, Qt::Key_Delete, false, nullptr, 0, "b¶cd" },
        KeyCase { "TabTypesFourSpaces", 2, Qt::Key_Tab, false, nullptr, 10, "a    b¶cd" },
        KeyCase { "DownKeepsTheColumn", 2, Qt::Key_Down, false, nullptr, 8, "ab¶cd" },
        KeyCase { "UpKeepsTheColumn", 8, Qt::Key_Up, false, nullptr, 2, "ab¶cd" },
        KeyCase { "OverwriteReplacesOnlyWhatIsLeft", 6, Qt::Key_unknown, true, "xyz", 12, "ab¶xyz" },
        KeyCase { "OverwriteStopsAtTheParagraphEnd", 2, Qt::Key_unknown, true, "xyz", 8, "axyz¶cd" },
        KeyCase { "InsertKeyTogglesOverwrite", 0, Qt::Key_Insert, false, "Z", 2, "Zb¶cd" }),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(TextToolTest, ShiftArrowsAndDraggingSelectAndBoldFormatsTheSelection)
{
    ClickIntoBody();
    Type("hello world");
    tool->SetCaret(*view, 0);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(tool->SelectionStart(), 0);
    EXPECT_EQ(tool->SelectionEnd(), 4);
    EXPECT_EQ(Text(tool->SelectedCells(*view)), "he");
    ASSERT_TRUE(view->Commands().Execute(181)); // 加粗
    EXPECT_EQ(Runs(), "he[w700,i0,u0,e0]|llo world[w400,i0,u0,e0]|");
    // The selection stays after formatting; a plain arrow clears it.
    EXPECT_TRUE(tool->HasSelection());
    Key(Qt::Key_Right);
    EXPECT_FALSE(tool->HasSelection());

    // Drag from "w" (12) to the end (22).
    QTest::mousePress(view.get(), Qt::LeftButton, Qt::NoModifier, PointAt(12));
    QTest::mouseMove(view.get(), PointAt(22));
    QTest::mouseRelease(view.get(), Qt::LeftButton, Qt::NoModifier, PointAt(22));
    EXPECT_EQ(Text(tool->SelectedCells(*view)), "world");
    ASSERT_TRUE(view->Commands().Execute(207)); // 倾斜
    EXPECT_EQ(Runs(), "he[w700,i0,u0,e0]|llo [w400,i0,u0,e0]|world[w400,i1,u0,e0]|");
    // One undo step each.
    undo->Undo();
    EXPECT_EQ(Runs(), "he[w700,i0,u0,e0]|llo world[w400,i0,u0,e0]|");
    undo->Redo();
    EXPECT_EQ(Runs(), "he[w700,i0,u0,e0]|llo [w400,i0,u0,e0]|world[w400,i1,u0,e0]|");
}

TEST_F(TextToolTest, TheSameTextEffectTwiceRemovesItAndEmbossedOnBlackTurnsWhite)
{
    ClickIntoBody();
    Type("abc");
    tool->Select(*view, 0, 6);
    ASSERT_TRUE(view->Commands().Execute(33298));
    EXPECT_EQ(Runs(), "abc[w400,i0,u0,e1]|");
    ASSERT_TRUE(view->Commands().Execute(33298));
    EXPECT_EQ(Runs(), "abc[w400,i0,u0,e0]|");
    ASSERT_TRUE(view->Commands().Execute(33301)); // 阳文1
    EXPECT_EQ(Flow().Runs(0, 6).front().attrs.color, 0xFFFFFFu);
}

TEST_F(TextToolTest, SelectAllAndDeleteEmptiesTheBody)
{
    ClickIntoBody();
    Type("abc");
    Key(Qt::Key_Return);
    Commit(QStringLiteral("中"));
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(tool->SelectionEnd(), Flow().Length());
    Key(Qt::Key_Delete);
    EXPECT_EQ(FlowText(), "");
    undo->Undo();
    EXPECT_EQ(FlowText(), "abc¶中");
}

// Find and replace on cells: a case fold never changes a trail byte and a
// match never starts inside a Chinese character.
struct FindCase {
    const char* name;
    const char* text; // UTF-8; "丄" is GBK 0x81 0x41 (trail byte "A")
    const char* pattern;
    bool matchCase;
    int expectStart; // -1: no match
};

class FindCases : public TextEditingTest, public testing::WithParamInterface<FindCase> { };

TEST_P(FindCases, FindNextSelectsTheMatch)
{
    const FindCase& c = GetParam();
    ClickIntoBody();
    Commit(QString::fromUtf8(c.text));
    tool->SetCaret(*view, 0);
    const bool found = FindNext(*view, *tool, Utf8ToGbk(c.pattern).text, FindOptions { c.matchCase });
    EXPECT_EQ(found, c.expectStart >= 0);
    if (found) {
        EXPECT_EQ(tool->SelectionStart(), c.expectStart);
        EXPECT_EQ(tool->SelectionEnd(), c.expectStart + static_cast<int>(Cells(c.pattern).size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FindCases,
    testing::Values(FindCase { "LowerFindsUpper", "xxABC", "abc", false, 4 },
        FindCase { "MatchCaseRefuses", "xxABC", "abc", true, -1 },
        FindCase { "TrailByteIsNotALetter", "丄", "a", false, -1 },
        FindCase { "TrailByteIsNotMatchedEvenWithCase", "丄", "A", true, -1 },
        FindCase { "ChineseMatchesOnCells", "中文文字", "文字", false, 4 },
        FindCase { "AfterATrailByteLetter", "丄A", "a", false, 2 }),
    [](const testing::TestParamInfo<FindCase>& info) { return std::string(info.param.name); });

TEST_F(TextToolTest, FindWrapsRoundToTheStart)
{
    ClickIntoBody();
    Type("abc abc");
    tool->SetCaret(*view, 8);
    ASSERT_TRUE(FindNext(*view, *tool, "abc", {}));
    EXPECT_EQ(tool->SelectionStart(), 8);
    ASSERT_TRUE(FindNext(*view, *tool, "abc", {}));
    EXPECT_EQ(tool->SelectionStart(), 0);
}

TEST_F(TextToolTest, ReplaceActsOnlyOnASelectionEqualToThePattern)
{
    ClickIntoBody();
    Type("cat dog cat");
    tool->Select(*view, 0, 2); // "c", not the pattern
    EXPECT_FALSE(Replace(*view, *tool, "cat", "cow", {}));
    EXPECT_EQ(FlowText(), "cat dog cat");
    // ... but it found the next match: the first "cat" after the selection.
    EXPECT_EQ(tool->SelectionStart(), 16);
    EXPECT_TRUE(Replace(*view, *tool, "CAT", "cow", {}));
    EXPECT_EQ(FlowText(), "cat dog cow");
    EXPECT_EQ(tool->SelectionStart(), 0); // round to the first
    EXPECT_TRUE(Replace(*view, *tool, "cat", "cow", {}));
    EXPECT_EQ(FlowText(), "cow dog cow");
    // Nothing left: "替换完毕!".
    ASSERT_FALSE(scripted.Calls().empty());
    EXPECT_EQ(scripted.Calls().back().text, "替换完毕!");
}

TEST_F(TextToolTest, ReplaceAllEndsWhenTheReplacementHoldsThePatternAndIsOneUndoStep)
{
    ClickIntoBody();
    Type("a-a-a");
    Key(Qt::Key_Return);
    Commit(QStringLiteral("丄a"));
    const std::string before = Runs();
    const int steps = undo->UndoCount();
    EXPECT_EQ(ReplaceAll(*view, *tool, "a", "aa", {}), 4);
    EXPECT_EQ(FlowText(), "aa-aa-aa¶丄aa");
    EXPECT_EQ(undo->UndoCount(), steps + 1);
    ASSERT_FALSE(scripted.Calls().empty());
    EXPECT_NE(scripted.Calls().back().text.find("4"), std::string::npos);
    undo->Undo();
    EXPECT_EQ(Runs(), before);
    undo->Redo();
    EXPECT_EQ(FlowText(), "aa-aa-aa¶丄aa");
}

TEST_F(TextToolTest, CopyPutsFormattedAndPlainTextOnTheClipboardAndPasteKeepsTheFormat)
{
    ClickIntoBody();
    Type("abc");
    Key(Qt::Key_Return);
    Commit(QStringLiteral("中文"));
    tool->Select(*view, 0, 4);
    ASSERT_TRUE(view->Commands().Execute(181));
    tool->Select(*view, 2, 12); // "bc¶中文"
    ASSERT_TRUE(view->Commands().Execute(cmd::kCopy));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(kFormatTextMime));
    EXPECT_EQ(data->text(), QStringLiteral("bc\r\n中文"));
    tool->SetCaret(*view, 12);
    ASSERT_TRUE(view->Commands().Execute(cmd::kPaste));
    EXPECT_EQ(FlowText(), "abc¶中文bc¶中文");
    EXPECT_EQ(Runs(),
        "ab[w700,i0,u0,e0]|c[w400,i0,u0,e0]|¶中文[w400,i0,u0,e0]<a3>|b[w700,i0,u0,e0]|"
        "c[w400,i0,u0,e0]|¶中文[w400,i0,u0,e0]<a3>|");

    // Plain text only: typed in the typing attributes, tabs as four spaces.
    QMimeData plain;
    plain.setText(QStringLiteral("x\ty\r\nz"));
    tool->SetCaret(*view, 0);
    ASSERT_TRUE(PasteMimeData(*view, *tool, plain));
    EXPECT_EQ(FlowText().rfind("x    y¶zabc¶", 0), 0u) << FlowText();

    // A damaged formatted stream falls back to the plain text.
    QMimeData bad;
    bad.setData(kFormatTextMime, QByteArray("\xff\xff\xff\x7f", 4));
    bad.setText(QStringLiteral("Q"));
    tool->SetCaret(*view, 0);
    ASSERT_TRUE(PasteMimeData(*view, *tool, bad));
    EXPECT_EQ(FlowText().rfind("Qx", 0), 0u) << FlowText();
}

TEST_F(TextToolTest, CutIsOneUndoStep)
{
    ClickIntoBody();
    Type("abcdef");
    tool->Select(*view, 2, 6);
    ASSERT_TRUE(view->Commands().Execute(cmd::kCut));
    EXPECT_EQ(FlowText(), "adef");
    undo->Undo();
    EXPECT_EQ(FlowText(), "abcdef");
}

TEST_F(TextToolTest, DraggingTheSelectionMovesItAndControlCopiesIt)
{
    ClickIntoBody();
    Type("abcdef");
    tool->Select(*view, 0, 4); // "ab"
    QTest::mousePress(view.get(), Qt::LeftButton, Qt::NoModifier, PointAt(2));
    QTest::mouseMove(view.get(), PointAt(10));
    QTest::mouseRelease(view.get(), Qt::LeftButton, Qt::NoModifier, PointAt(10));
    EXPECT_EQ(FlowText(), "cdeabf");
    undo->Undo();
    EXPECT_EQ(FlowText(), "abcdef");
    tool->Select(*view, 0, 4);
    QTest::mousePress(view.get(), Qt::LeftButton, Qt::NoModifier, PointAt(2));
    QTest::mouseRelease(view.get(), Qt::LeftButton, Qt::ControlModifier, PointAt(12));
    EXPECT_EQ(FlowText(), "abcdefab");
}

TEST_F(TextToolTest, ClickingACheckboxTicksItAndClickingAgainClearsIt)
{
    ClickIntoBody();
    Type("ok ");
    Commit(QStringLiteral("□"));
    CTextObj* col = Flow().Objects().front();
    ASSERT_EQ(
        SetCharFormat(*col, col->OffsetToPosition(6), col->OffsetToPosition(8), kAttrAutoCommand, "CHECKBOX()"), 1);
    tool->SetCaret(*view, 0);
    // Click the right half of the box.
    QPoint p = PointAt(8);
    p.rx() -= 2;
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, p);
    EXPECT_EQ(FlowText(), "ok R");
    EXPECT_EQ(Flow().Runs(6, 8).front().attrs.faceName, "Wingdings 2");
    p = PointAt(8);
    p.rx() -= 1;
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, p);
    EXPECT_EQ(FlowText(), "ok □");
    EXPECT_EQ(Flow().Runs(6, 8).front().attrs.faceName, "Times New Roman");
}

TEST_F(TextToolTest, QuickMenuItemsSplitOnCellsAndChoosingReplacesTheCommandRun)
{
    // "|" (0x7C) is a trail byte of some characters: "佟" is GBK D9 7C.
    const std::string command = Utf8ToGbk("MENU(甲|佟乙|丙)").text;
    const std::vector<std::string> items = CTextTool::QuickMenuItems(command);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(GbkToUtf8(items[1]).text, "佟乙");

    ClickIntoBody();
    Type("x");
    Commit(QStringLiteral("选择"));
    CTextObj* col = Flow().Objects().front();
    ASSERT_EQ(SetCharFormat(*col, col->OffsetToPosition(2), col->OffsetToPosition(6), kAttrAutoCommand, command), 1);
    SetQuickMenuChooser(
        [](CTableView&, const std::vector<std::string>& offered, QPoint) { return offered.size() == 3 ? 2 : -1; });
    ClickAt(4);
    SetQuickMenuChooser([](CTableView&, const std::vector<std::string>&, QPoint) { return -1; });
    EXPECT_EQ(FlowText(), "x丙");
    EXPECT_EQ(Flow().Runs(2, 4).front().attrs.autoCommand, command);
}

TEST_F(TextToolTest, TheCaretBlinksWhileTheViewHasTheFocusAndHidesWithoutIt)
{
    ClickIntoBody();
    Type("ab");
    view->activateWindow();
    view->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    ASSERT_TRUE(view->hasFocus());
    const QRect caret = tool->CaretClientRect(*view);
    ASSERT_FALSE(caret.isEmpty());
    // The dark pixels where the caret stands: more while it shows.
    auto caretPixels = [&] {
        const QImage image = view->grab(caret.adjusted(0, 0, 2, 0)).toImage();
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    Key(Qt::Key_Right); // any key shows the caret
    EXPECT_TRUE(view->CaretOn());
    const int shown = caretPixels();

    // It goes off and on again by itself.
    const int interval = std::max(100, QGuiApplication::styleHints()->cursorFlashTime() / 2);
    if (QGuiApplication::styleHints()->cursorFlashTime() > 0) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !view->CaretOn(); }, interval * 3));
        EXPECT_LT(caretPixels(), shown);
        EXPECT_TRUE(QTest::qWaitFor([&] { return view->CaretOn(); }, interval * 3));
    }

    // Without the focus it stays hidden.
    view->clearFocus();
    EXPECT_FALSE(view->CaretOn());
    QTest::qWait(interval * 2);
    EXPECT_FALSE(view->CaretOn());
    EXPECT_LT(caretPixels(), shown);
}

} // namespace
} // namespace mirel::test
