// The undo manager's stacks, modes, depth and clean point, and undoing and
// redoing a whole editing session in the view back to the start.
#include "model/document_dump.h"
#include "platform/settings.h"
#include "text/text_edit.h"
#include "text/text_layout.h"
#include "text_editing_support.h"
#include "view/command_ids.h"
#include "view/find_replace.h"
#include "view/undo_actions.h"

#include <vector>

namespace mirel::test {
namespace {

// An action that counts on a shared log what ran and records its inverse.
class LogAction : public UndoAction {
public:
    LogAction(std::vector<int>& log, int id)
        : log_(log)
        , id_(id)
    {
    }
    bool Execute(UndoManager& manager) override
    {
        log_.push_back(GetSide() == 1 ? -id_ : id_);
        manager.Record(std::make_unique<LogAction>(log_, id_), InverseMode());
        return ok;
    }
    bool ok = true;

private:
    std::vector<int>& log_;
    int id_;
};

TEST(UndoManagerTest, TheDepthComesFromTheProfileAndTheOldestActionsGo)
{
    EnsureApp();
    UndoManager undo(nullptr);
    EXPECT_EQ(undo.Capacity(), Profile::Application().MaxUndoTimes());
    undo.SetCapacity(30);
    std::vector<int> log;
    for (int i = 1; i <= 31; ++i)
        undo.Record(std::make_unique<LogAction>(log, i), kUndoNewAction);
    EXPECT_EQ(undo.UndoCount(), 30);
    int undone = 0;
    while (undo.CanUndo()) {
        undo.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 30);
    EXPECT_EQ(log.front(), -31);
    EXPECT_EQ(log.back(), -2); // action 1 was dropped
    EXPECT_EQ(undo.RedoCount(), 30);
}

TEST(UndoManagerTest, ANewActionClearsRedoButARedoDoesNot)
{
    EnsureApp();
    UndoManager undo(nullptr, 10);
    std::vector<int> log;
    undo.Record(std::make_unique<LogAction>(log, 1), kUndoNewAction);
    undo.Record(std::make_unique<LogAction>(log, 2), kUndoNewAction);
    undo.Undo();
    undo.Undo();
    EXPECT_EQ(undo.RedoCount(), 2);
    undo.Redo(); // its inverse goes onto the undo stack with mode 1
    EXPECT_EQ(undo.RedoCount(), 1);
    EXPECT_EQ(undo.UndoCount(), 1);
    undo.Record(std::make_unique<LogAction>(log, 3), kUndoNewAction);
    EXPECT_FALSE(undo.CanRedo());
    EXPECT_EQ(log, (std::vector<int> { -2, -1, 1 }));
}

TEST(UndoManagerTest, AFailedActionClearsBothStacks)
{
    EnsureApp();
    UndoManager undo(nullptr, 10);
    std::vector<int> log;
    undo.Record(std::make_unique<LogAction>(log, 1), kUndoNewAction);
    undo.Record(std::make_unique<LogAction>(log, 2), kUndoNewAction);
    undo.Undo();
    auto bad = std::make_unique<LogAction>(log, 3);
    bad->ok = false;
    undo.Record(std::move(bad), kUndoOnly);
    undo.Undo();
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_FALSE(undo.CanRedo());
}

using UndoViewTest = TextEditingTest;

// A session of clicks, keys, the input method, selection, bold, a paste
// and a replace; every step undone back to the empty start, then redone.
TEST_F(UndoViewTest, EveryEditIsUndoneAndRedoneExactly)
{
    LayoutBodyText(*wf, view.get());
    const std::string empty = DumpDocument(*doc);
    std::vector<std::string> states { Runs() };
    std::vector<std::string> dumps { empty };
    auto step = [&] {
        states.push_back(Runs());
        dumps.push_back(DumpDocument(*doc));
    };
    ClickIntoBody();
    Type("Hi");
    step();
    step(); // (two keystrokes: the state after the first is checked below)
    Commit(QStringLiteral("你好世界"));
    step();
    Key(Qt::Key_Return);
    step();
    Type("end");
    step();
    step();
    step();
    tool->Select(*view, 0, 4);
    ASSERT_TRUE(view->Commands().Execute(181));
    step();
    tool->SetCaret(*view, 6);
    Key(Qt::Key_Backspace);
    step();
    ASSERT_EQ(ReplaceAll(*view, *tool, Utf8ToGbk("世界").text, "Qt", {}), 1);
    step();
    tool->Select(*view, 0, 2);
    ASSERT_TRUE(tool->SetFormatByCode(*view, kAttrAlignment, 1));
    step();
    // States recorded twice stand for the single keystrokes in between;
    // drop the duplicates so that each entry is one undo step.
    std::vector<std::string> expected;
    std::vector<std::string> expectedDumps;
    for (size_t i = 0; i < states.size(); ++i) {
        if (i > 0 && dumps[i] == dumps[i - 1])
            continue;
        expected.push_back(states[i]);
        expectedDumps.push_back(dumps[i]);
    }
    // "Hi" and "end" are one step a key.
    const int steps = undo->UndoCount();
    EXPECT_EQ(steps, 2 + 1 + 1 + 3 + 1 + 1 + 1 + 1);
    // Undo all the way, checking each step where a state was recorded.
    std::vector<std::string> seen { Runs() };
    while (undo->CanUndo()) {
        undo->Undo();
        seen.push_back(Runs());
    }
    EXPECT_EQ(FlowText(), "");
    EXPECT_EQ(DumpDocument(*doc), empty);
    EXPECT_FALSE(doc->IsModified());
    for (const std::string& s : expected)
        EXPECT_NE(std::find(seen.begin(), seen.end(), s), seen.end()) << s;
    // Redo all the way: the same states in reverse, ending where we were.
    std::vector<std::string> again;
    while (undo->CanRedo()) {
        undo->Redo();
        again.push_back(Runs());
    }
    EXPECT_EQ(static_cast<int>(again.size()), steps);
    EXPECT_EQ(again.back(), expected.back());
    EXPECT_EQ(DumpDocument(*doc), expectedDumps.back());
    for (size_t i = 0; i + 1 < again.size(); ++i)
        EXPECT_EQ(again[i], seen[seen.size() - 2 - i]);
}

TEST_F(UndoViewTest, UndoPastASaveBringsBackTheModifiedState)
{
    ClickIntoBody();
    Type("ab");
    EXPECT_TRUE(doc->IsModified());
    doc->SetModified(false); // saved
    undo->Undo();
    EXPECT_TRUE(doc->IsModified());
    undo->Redo();
    EXPECT_FALSE(doc->IsModified()); // back at the saved text
    Type("c");
    EXPECT_TRUE(doc->IsModified());
    undo->Undo();
    EXPECT_FALSE(doc->IsModified());
    undo->Undo();
    undo->Undo();
    EXPECT_TRUE(doc->IsModified()); // the empty start was never saved
    EXPECT_EQ(FlowText(), "");
}

TEST_F(UndoViewTest, CtrlZAndCtrlYGoThroughTheViewCommands)
{
    ClickIntoBody();
    Type("xy");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(FlowText(), "x");
    EXPECT_EQ(tool->Caret(), 2);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(FlowText(), "xy");
    EXPECT_EQ(tool->Caret(), 4);
    EXPECT_FALSE(view->Commands().IsEnabled(cmd::kRedo));
}

TEST_F(UndoViewTest, ParagraphFormatIsUndoneForEveryParagraphTouched)
{
    ClickIntoBody();
    Type("a");
    Key(Qt::Key_Return);
    Type("b");
    Key(Qt::Key_Return);
    Type("c");
    const std::string before = Runs();
    tool->Select(*view, 0, 6); // "a¶b"
    ASSERT_TRUE(tool->SetFormatByCode(*view, kAttrAlignment, 2));
    EXPECT_NE(Runs(), before);
    EXPECT_NE(Runs().find("b[w400,i0,u0,e0]<a2>"), std::string::npos) << Runs();
    const std::string formatted = DumpDocument(*doc);
    EXPECT_NE(formatted.find("align=2"), std::string::npos);
    undo->Undo();
    EXPECT_EQ(Runs(), before);
    EXPECT_EQ(DumpDocument(*doc).find("align=2"), std::string::npos);
    undo->Redo();
    EXPECT_EQ(DumpDocument(*doc), formatted);
}

TEST_F(UndoViewTest, DeletingAnInlineObjectIsUndoneWithTheObject)
{
    ClickIntoBody();
    Type("ab");
    CTextObj* col = Flow().Objects().front();
    auto obj = std::make_unique<CBasicObj>();
    obj->SetRect({ 0, 0, 100, 50 });
    InsertInlineObject(*col, col->OffsetToPosition(2), obj, tool->TypingAttributes());
    ASSERT_EQ(obj, nullptr);
    LayoutBodyText(*wf, view.get());
    ASSERT_EQ(Flow().Length(), 6);
    tool->Select(*view, 0, 6);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Flow().Length(), 0);
    undo->Undo();
    ASSERT_EQ(Flow().Length(), 6);
    const FlowPlace place = Flow().Place(4);
    const CSentence* s = SentenceAt(place);
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->FollowObj(), nullptr);
    EXPECT_EQ(s->FollowObj()->GetRect().Width(), 100);
    undo->Redo();
    undo->Undo(); // a fresh copy each time
    EXPECT_NE(SentenceAt(Flow().Place(4))->FollowObj(), nullptr);
}

} // namespace
} // namespace mirel::test
