// Paragraph alignment, text colour and the paragraph dialog, run as the
// menus and toolbars run them: through the view's command table.
#include "text_editing_support.h"
#include "view/paragraph_dialog.h"

#include <QComboBox>
#include <QDoubleSpinBox>

namespace mirel::test {
namespace {

class ParagraphCommandsTest : public TextEditingTest {
protected:
    void SetUp() override
    {
        TextEditingTest::SetUp();
        ClickIntoBody();
        Type("ab");
        Key(Qt::Key_Return);
        Type("cd");
    }
    void TearDown() override
    {
        SetParagraphDialogRunner(nullptr);
        TextEditingTest::TearDown();
    }
    // The paragraph attributes of every paragraph, in order.
    std::vector<ParagraphAttributes> Paragraphs() const
    {
        std::vector<ParagraphAttributes> out;
        const BodyFlow flow = Flow();
        for (const CTextObj* obj : flow.Objects())
            for (const auto& row : obj->Rows())
                if (out.empty() || row->StartsParagraph())
                    out.push_back(row->Paragraph());
        return out;
    }
};

TEST_F(ParagraphCommandsTest, AlignmentCommandsSetTheTouchedParagraphsAndShowTheCaretParagraphs)
{
    struct Case {
        int command;
        int alignment;
    };
    const Case cases[] = { { 193, 0 }, { 194, 1 }, { 195, 2 }, { 2951, 3 }, { 2952, 4 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        // The caret stands in the second paragraph: only that one changes.
        tool->SetCaret(*view, Flow().Length());
        const int before = Paragraphs()[0].alignment;
        ASSERT_TRUE(view->Commands().Execute(c.command));
        ASSERT_EQ(Paragraphs().size(), 2u);
        EXPECT_EQ(Paragraphs()[0].alignment, before);
        EXPECT_EQ(Paragraphs()[1].alignment, c.alignment);
        for (const Case& other : cases)
            EXPECT_EQ(view->Commands().IsChecked(other.command), std::optional<bool>(other.command == c.command));
    }
    // A selection over both paragraphs changes both, as one undo step.
    tool->Select(*view, 0, Flow().Length());
    ASSERT_TRUE(view->Commands().Execute(194));
    EXPECT_EQ(Paragraphs()[0].alignment, 1);
    EXPECT_EQ(Paragraphs()[1].alignment, 1);
    undo->Undo();
    EXPECT_EQ(Paragraphs()[0].alignment, 3);
    EXPECT_EQ(Paragraphs()[1].alignment, 4);
    EXPECT_EQ(FlowText(), "ab¶cd");
}

TEST_F(ParagraphCommandsTest, AlignmentIsRefusedInAProtectedDocument)
{
    doc->protectType = 1;
    EXPECT_FALSE(view->Commands().IsEnabled(194));
    EXPECT_FALSE(view->Commands().Execute(194));
    EXPECT_EQ(Paragraphs()[1].alignment, 3);
}

TEST_F(ParagraphCommandsTest, TextColourComesFromTheChooserAndCancelChangesNothing)
{
    const int end = Flow().Length();
    tool->Select(*view, end - 4, end);
    scripted.QueueColor(0x0000FFu); // red, as documents keep colours
    ASSERT_TRUE(view->Commands().Execute(205));
    ASSERT_FALSE(scripted.Calls().empty());
    EXPECT_EQ(scripted.Calls().back().kind, ScriptedPrompt::Kind::Color);
    EXPECT_EQ(scripted.Calls().back().initialColor, 0u);
    // The paragraph's text turns red; its mark goes with the text it opens.
    const std::vector<FlowRun> runs = Flow().Runs(0, end);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].attrs.color, 0u);
    EXPECT_EQ(Text(runs[1].cells), "¶cd");
    EXPECT_EQ(runs[1].attrs.color, 0x0000FFu);

    // Cancelled: nothing changes.
    tool->Select(*view, 0, end);
    scripted.QueueColor(std::nullopt);
    ASSERT_TRUE(view->Commands().Execute(205));
    EXPECT_EQ(Flow().Runs(0, end)[0].attrs.color, 0u);
    EXPECT_EQ(Flow().Runs(0, end)[1].attrs.color, 0x0000FFu);
    // The chooser starts from the colour the typing would have.
    tool->SetCaret(*view, end);
    scripted.QueueColor(std::nullopt);
    ASSERT_TRUE(view->Commands().Execute(205));
    EXPECT_EQ(scripted.Calls().back().initialColor, 0x0000FFu);
    undo->Undo();
    EXPECT_EQ(Flow().Runs(0, end)[1].attrs.color, 0u);
}

TEST_F(ParagraphCommandsTest, TheDialogShowsTheCaretParagraphAndItsAnswerIsOneUndoStep)
{
    ParagraphAttributes shown;
    ParagraphAttributes chosen;
    chosen.alignment = 1;
    chosen.verAlignment = 0;
    chosen.lineSpace = 45;
    chosen.firstLineIndent = -35;
    SetParagraphDialogRunner([&](CTableView&, const ParagraphAttributes& current) {
        shown = current;
        return std::optional<ParagraphAttributes>(chosen);
    });
    tool->SetCaret(*view, Flow().Length());
    ASSERT_TRUE(view->Commands().Execute(2995));
    EXPECT_EQ(shown, Paragraphs()[0]); // both paragraphs started alike
    EXPECT_EQ(Paragraphs()[1], chosen);
    EXPECT_NE(Paragraphs()[0], chosen);
    EXPECT_TRUE(doc->IsModified());
    undo->Undo();
    EXPECT_EQ(Paragraphs()[1], shown);

    // Cancel changes nothing and records nothing.
    SetParagraphDialogRunner([](CTableView&, const ParagraphAttributes&) { return std::optional<ParagraphAttributes>(); });
    const bool couldRedo = undo->CanRedo();
    ASSERT_TRUE(view->Commands().Execute(2995));
    EXPECT_EQ(Paragraphs()[1], shown);
    EXPECT_EQ(undo->CanRedo(), couldRedo);
}

TEST(ParagraphDialogTest, IndentUnitsConvertAsStored)
{
    EnsureApp();
    struct Case {
        int stored;
        int unit;
        double shown;
    };
    // Characters are stored as they are; millimetres as minus ten times.
    const Case cases[] = { { 0, 0, 0 }, { 2, 0, 2 }, { 10, 0, 10 }, { -35, 1, 3.5 }, { -500, 1, 50 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        ParagraphAttributes p;
        p.firstLineIndent = c.stored;
        p.alignment = 2;
        p.lineSpace = 30;
        ParagraphDialog dialog(p);
        EXPECT_EQ(dialog.IndentUnitBox()->currentIndex(), c.unit);
        EXPECT_DOUBLE_EQ(dialog.IndentBox()->value(), c.shown);
        EXPECT_EQ(dialog.Value(), p);
    }
    // Switching the unit starts from that unit's default.
    ParagraphDialog dialog(ParagraphAttributes {});
    dialog.IndentUnitBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog.Value().firstLineIndent, -20);
    dialog.IndentUnitBox()->setCurrentIndex(0);
    EXPECT_EQ(dialog.Value().firstLineIndent, 2);
    // Values beyond the ranges are held at their ends.
    dialog.IndentBox()->setValue(25);
    EXPECT_EQ(dialog.Value().firstLineIndent, 10);
    dialog.LineSpaceBox()->setValue(9999);
    EXPECT_EQ(dialog.Value().lineSpace, 500);
    dialog.LineSpaceBox()->setValue(2.5); // millimetres on screen, 0.1 mm stored
    EXPECT_EQ(dialog.Value().lineSpace, 25);
}

} // namespace
} // namespace mirel::test
