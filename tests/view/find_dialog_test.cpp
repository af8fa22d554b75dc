// The find and replace dialog, driven through its own buttons.
#include "text_editing_support.h"
#include "view/find_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace mirel::test {
namespace {

class FindDialogTest : public TextEditingTest {
protected:
    void SetUp() override
    {
        TextEditingTest::SetUp();
        ClickIntoBody();
        Type("abc ABC abc");
    }
    FindDialog* Dialog() const { return view->findChild<FindDialog*>(); }
};

TEST_F(FindDialogTest, FindsFromTheCaretWithAndWithoutCase)
{
    tool->Select(*view, 0, 6); // "abc" becomes the pattern
    ASSERT_TRUE(view->Commands().Execute(57636));
    FindDialog* dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("查找"));
    EXPECT_EQ(dialog->PatternEdit()->text(), QStringLiteral("abc"));
    EXPECT_FALSE(dialog->ReplaceButton()->isVisibleTo(dialog));

    // Case folds unless asked: the next match is "ABC".
    QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
    EXPECT_EQ(tool->SelectionStart(), 8);
    EXPECT_EQ(tool->SelectionEnd(), 14);
    dialog->MatchCaseBox()->setChecked(true);
    QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
    EXPECT_EQ(tool->SelectionStart(), 16);
    // Round to the start.
    QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
    EXPECT_EQ(tool->SelectionStart(), 0);
    EXPECT_TRUE(dialog->StatusLabel()->text().isEmpty());

    dialog->PatternEdit()->setText(QStringLiteral("中文"));
    QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->StatusLabel()->text(), QStringLiteral("找不到“中文”。"));
    EXPECT_EQ(tool->SelectionStart(), 0); // the selection stays
    dialog->PatternEdit()->clear();
    EXPECT_FALSE(dialog->FindNextButton()->isEnabled());
}

TEST_F(FindDialogTest, ReplaceAllFromTheSameDialogIsOneUndoStep)
{
    ASSERT_TRUE(view->Commands().Execute(57636));
    FindDialog* first = Dialog();
    ASSERT_TRUE(view->Commands().Execute(57641));
    EXPECT_EQ(Dialog(), first); // one dialog per view
    EXPECT_EQ(first->windowTitle(), QStringLiteral("替换"));
    EXPECT_TRUE(first->ReplaceAllButton()->isVisibleTo(first));

    first->PatternEdit()->setText(QStringLiteral("abc"));
    first->ReplacementEdit()->setText(QStringLiteral("文"));
    QTest::mouseClick(first->ReplaceAllButton(), Qt::LeftButton);
    EXPECT_EQ(FlowText(), "文 文 文");
    EXPECT_EQ(first->StatusLabel()->text(), QStringLiteral("替换了 3 处。"));
    undo->Undo();
    EXPECT_EQ(FlowText(), "abc ABC abc");
}

TEST_F(FindDialogTest, ProtectionAllowsFindingOnly)
{
    doc->protectType = 1;
    EXPECT_TRUE(view->Commands().IsEnabled(57636));
    EXPECT_FALSE(view->Commands().IsEnabled(57641));
    ASSERT_TRUE(view->Commands().Execute(57636));
    FindDialog* dialog = Dialog();
    dialog->SetReplaceMode(true);
    dialog->PatternEdit()->setText(QStringLiteral("abc"));
    EXPECT_TRUE(dialog->FindNextButton()->isEnabled());
    EXPECT_FALSE(dialog->ReplaceAllButton()->isEnabled());
    QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
    EXPECT_TRUE(tool->HasSelection());
    EXPECT_EQ(FlowText(), "abc ABC abc");
}

} // namespace
} // namespace mirel::test
