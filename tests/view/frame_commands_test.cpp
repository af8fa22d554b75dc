// The frame's command table: enabling and check rules as a table of cases,
// routing to the view first, and re-evaluation after each command.
#include "platform/prompt.h"
#include "view/command_ids.h"
#include "view/o_frame.h"
#include "view/table_view.h"
#include "view_support.h"

#include <functional>
#include <gtest/gtest.h>

namespace mirel::test {
namespace {

struct Case {
    const char* situation;
    std::function<void(COFrame&)> setUp;
    int id;
    bool enabled;
    std::optional<bool> checked;
};

TEST(FrameCommandsTest, EnablingRules)
{
    EnsureApp();
    ScriptedPrompt prompt;
    ScopedPrompt scope(prompt);
    namespace c = cmd;
    auto none = [](COFrame&) {};
    auto two = [](COFrame& f) { f.InsertWorkForm(2); }; // two work forms, the second active
    auto twoFirst = [](COFrame& f) {
        f.InsertWorkForm(2);
        f.ActivateWorkForm(0);
    };
    auto readOnly = [](COFrame& f) {
        f.InsertWorkForm(2);
        f.GetDocumentData()->protectType = 1;
    };
    auto fillIn = [](COFrame& f) { f.GetDocumentData()->protectType = 2; };
    const Case cases[] = {
        { "one work form", none, c::kDeleteWorkForm, false, {} },
        { "one work form", none, c::kInsertWorkFormAtEnd, true, {} },
        { "one work form", none, c::kInsertWorkFormBefore, true, {} },
        { "one work form", none, c::kInsertWorkFormAfter, true, {} },
        { "one work form", none, c::kRenameWorkForm, true, {} },
        { "one work form", none, c::kPreviousWorkForm, false, {} },
        { "one work form", none, c::kNextWorkForm, false, {} },
        { "one work form", none, c::kSwitchWorkFormFirst, true, true },
        { "one work form", none, c::kSwitchWorkFormFirst + 1, false, false },
        { "one work form", none, c::kNewDocument, true, {} },
        { "one work form", none, c::kExportPageBitmaps, true, {} },
        { "one work form", none, c::kRulerStyleScale, true, true },
        { "one work form", none, c::kRulerStyleRowColumn, true, false },
        { "one work form", none, c::kUndo, false, {} },
        { "one work form", none, c::kRedo, false, {} },
        { "one work form", none, c::kExtendLeft, false, {} },
        { "one work form", none, c::kCaretToDocumentEnd, true, {} },
        { "one work form", none, c::kCopyWorkForm, false, {} }, // not built in here
        { "two, the second active", two, c::kDeleteWorkForm, true, {} },
        { "two, the second active", two, c::kPreviousWorkForm, true, {} },
        { "two, the second active", two, c::kNextWorkForm, false, {} },
        { "two, the second active", two, c::kSwitchWorkFormFirst + 1, true, true },
        { "two, the first active", twoFirst, c::kNextWorkForm, true, {} },
        { "two, the first active", twoFirst, c::kSwitchWorkFormFirst, true, true },
        { "read-only protection", readOnly, c::kDeleteWorkForm, false, {} },
        { "read-only protection", readOnly, c::kInsertWorkFormAtEnd, false, {} },
        { "read-only protection", readOnly, c::kRenameWorkForm, false, {} },
        { "read-only protection", readOnly, c::kNextWorkForm, false, {} },
        { "read-only protection", readOnly, c::kPreviousWorkForm, true, {} },
        { "fill-in protection", fillIn, c::kInsertWorkFormBefore, false, {} },
        { "fill-in protection", fillIn, c::kSaveDocument, true, {} },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.situation << ": command " << k.id);
        COFrame frame;
        k.setUp(frame);
        const CommandState state = frame.CommandStateOf(k.id);
        EXPECT_EQ(state.enabled, k.enabled);
        EXPECT_EQ(state.checked, k.checked);
        EXPECT_EQ(frame.IsCommandEnabled(k.id), k.enabled);
    }
}

TEST(FrameCommandsTest, StatesAreEvaluatedAgainAfterEachCommand)
{
    EnsureApp();
    ScriptedPrompt prompt;
    ScopedPrompt scope(prompt);
    COFrame frame;
    int notices = 0;
    frame.SetCommandStateListener([&] { ++notices; });
    frame.RefreshCommandStates();
    EXPECT_FALSE(frame.CommandStates().at(cmd::kDeleteWorkForm).enabled);

    EXPECT_TRUE(frame.ExecuteCommand(cmd::kInsertWorkFormAtEnd));
    EXPECT_TRUE(frame.CommandStates().at(cmd::kDeleteWorkForm).enabled);
    EXPECT_EQ(frame.CommandStates().at(cmd::kSwitchWorkFormFirst + 1).checked, true);
    const int afterInsert = notices;
    EXPECT_GE(afterInsert, 1);

    // A disabled command does not run.
    frame.GetDocumentData()->protectType = 1;
    EXPECT_FALSE(frame.ExecuteCommand(cmd::kInsertWorkFormAtEnd));
    EXPECT_EQ(frame.GetDocumentData()->WorkFormCount(), 2);
    EXPECT_FALSE(frame.CommandStates().at(cmd::kDeleteWorkForm).enabled);
    EXPECT_GT(notices, afterInsert);

    // Unknown ids do nothing.
    EXPECT_FALSE(frame.ExecuteCommand(12345));

    // Ruler styles are radio items.
    frame.GetDocumentData()->protectType = 0;
    EXPECT_TRUE(frame.ExecuteCommand(cmd::kRulerStyleTableHeader));
    EXPECT_EQ(frame.RulerStyle(), 2);
    EXPECT_EQ(frame.CommandStates().at(cmd::kRulerStyleTableHeader).checked, true);
    EXPECT_EQ(frame.CommandStates().at(cmd::kRulerStyleScale).checked, false);
}

TEST(FrameCommandsTest, TheActiveViewAnswersFirst)
{
    EnsureApp();
    COFrame frame;
    int viewRuns = 0, frameRuns = 0;
    frame.Commands().Add({ 777, {}, [&] { ++frameRuns; }, nullptr, nullptr });
    frame.ActiveView()->Commands().Add({ 777, {}, [&] { ++viewRuns; }, nullptr, nullptr });
    EXPECT_TRUE(frame.ExecuteCommand(777));
    EXPECT_EQ(viewRuns, 1);
    EXPECT_EQ(frameRuns, 0);
    frame.ActiveView()->Commands().Remove(777);
    EXPECT_TRUE(frame.ExecuteCommand(777));
    EXPECT_EQ(frameRuns, 1);
}

} // namespace
} // namespace mirel::test
