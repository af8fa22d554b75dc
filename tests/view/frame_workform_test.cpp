// The frame's work forms: insert, activate, delete, rename, move, sheet
// passwords, the label bar and its menu, with scripted dialogs.
#include "platform/gbk.h"
#include "platform/prompt.h"
#include "platform/settings.h"
#include "view/command_ids.h"
#include "view/key_codes.h"
#include "view/label_bar.h"
#include "view/o_frame.h"
#include "view/ruler_bar.h"
#include "view/table_view.h"
#include "view_support.h"

#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace mirel::test {
namespace {

std::string Gbk(const char* utf8)
{
    return Utf8ToGbk(utf8).text;
}

std::vector<std::string> Names(const CMirelData& doc)
{
    std::vector<std::string> names;
    for (int i = 0; i < doc.WorkFormCount(); ++i)
        names.push_back(GbkToUtf8(doc.GetWorkForm(i)->name).text);
    return names;
}

class FrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureApp();
        frame = std::make_unique<COFrame>();
        frame->resize(1000, 700);
        doc = frame->GetDocumentData();
    }
    void TearDown() override { frame.reset(); }

    std::unique_ptr<COFrame> frame;
    CMirelData* doc = nullptr;
    ScriptedPrompt prompt;
    ScopedPrompt scope { prompt };
};

TEST_F(FrameTest, InsertNamesWithTheRunningCounterAndActivates)
{
    EXPECT_EQ(Names(*doc), (std::vector<std::string> { "工作表1" }));
    EXPECT_EQ(frame->InsertWorkForm(2), Gbk("工作表2")); // at the end
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 1);
    EXPECT_EQ(frame->InsertWorkForm(0), Gbk("工作表3")); // before the active one
    EXPECT_EQ(Names(*doc), (std::vector<std::string> { "工作表1", "工作表3", "工作表2" }));
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 1);
    EXPECT_EQ(frame->InsertWorkForm(1), Gbk("工作表4")); // after the active one
    EXPECT_EQ(Names(*doc), (std::vector<std::string> { "工作表1", "工作表3", "工作表4", "工作表2" }));
    EXPECT_TRUE(doc->IsModified());
    // Each work form got its own view; only the active one is shown.
    EXPECT_EQ(frame->Views().size(), 4u);
    for (CTableView* v : frame->Views())
        EXPECT_EQ(v->isVisibleTo(frame.get()), v == frame->ActiveView());
    EXPECT_EQ(frame->ActiveView()->GetWorkForm(), doc->GetWorkForm(2));
    // Ids stay unique.
    std::set<int> ids;
    for (int i = 0; i < doc->WorkFormCount(); ++i)
        ids.insert(doc->GetWorkForm(i)->id);
    EXPECT_EQ(ids.size(), 4u);

    // Under protection nothing is inserted.
    doc->protectType = 1;
    EXPECT_EQ(frame->InsertWorkForm(2), "");
    EXPECT_EQ(doc->WorkFormCount(), 4);
}

TEST_F(FrameTest, DeleteAsksAndActivatesTheNeighbour)
{
    frame->InsertWorkForm(2);
    frame->InsertWorkForm(2); // 工作表1 工作表2 工作表3, the third active
    // Cancel keeps everything.
    prompt.QueueAnswer(PromptAnswer::Cancel);
    EXPECT_FALSE(frame->DeleteActiveWorkForm());
    EXPECT_EQ(doc->WorkFormCount(), 3);
    ASSERT_EQ(prompt.Calls().size(), 1u);
    EXPECT_EQ(prompt.Calls()[0].text, "真的要删除工作表？");
    EXPECT_EQ(prompt.Calls()[0].buttons, PromptButtons::OkCancel);

    prompt.QueueAnswer(PromptAnswer::Ok);
    EXPECT_TRUE(frame->DeleteActiveWorkForm());
    EXPECT_EQ(Names(*doc), (std::vector<std::string> { "工作表1", "工作表2" }));
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 1); // the previous one
    EXPECT_EQ(frame->Views().size(), 2u);

    // Deleting the first activates the new first.
    frame->ActivateWorkForm(0);
    prompt.QueueAnswer(PromptAnswer::Ok);
    EXPECT_TRUE(frame->DeleteActiveWorkForm());
    EXPECT_EQ(Names(*doc), (std::vector<std::string> { "工作表2" }));
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 0);
    EXPECT_EQ(frame->ActiveView()->GetWorkForm(), doc->GetWorkForm(0));

    // The last one cannot go, and the freed numbers are not used again.
    const size_t calls = prompt.Calls().size();
    EXPECT_FALSE(frame->DeleteActiveWorkForm());
    EXPECT_EQ(prompt.Calls().size(), calls);
    EXPECT_EQ(frame->InsertWorkForm(2), Gbk("工作表4"));
}

TEST_F(FrameTest, SheetPasswordIsAskedRetriedAndCancelled)
{
    frame->InsertWorkForm(2);
    ASSERT_TRUE(frame->SetWorkFormPassword(1, "abc"));
    ASSERT_TRUE(frame->ActivateWorkForm(0)); // no password on the first

    // A wrong entry is refused with "密码错误!" and asked again.
    prompt.QueueText("abd");
    prompt.QueueText("abc");
    EXPECT_TRUE(frame->ActivateWorkForm(1));
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 1);
    std::vector<std::string> asked;
    for (const auto& c : prompt.Calls())
        asked.push_back(c.caption + "|" + c.text);
    EXPECT_EQ(asked, (std::vector<std::string> { "工作表密码|&P.密码:", "办公组件|密码错误!", "工作表密码|&P.密码:" }));
    EXPECT_TRUE(prompt.Calls()[0].password);

    // Cancel leaves the active work form unchanged.
    frame->ActivateWorkForm(0);
    prompt.ClearCalls();
    prompt.QueueText("x");
    prompt.QueueText(std::nullopt);
    EXPECT_FALSE(frame->ActivateWorkForm(1));
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 0);
    EXPECT_EQ(prompt.Calls().size(), 3u);

    // The tab shows "*" before a protected name; removing the password
    // lets the work form open without a question.
    const std::vector<QPolygon> shapes = frame->LabelBarWidget()->TabShapes();
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_TRUE(frame->SetWorkFormPassword(1, ""));
    prompt.ClearCalls();
    EXPECT_TRUE(frame->ActivateWorkForm(1));
    EXPECT_TRUE(prompt.Calls().empty());

    // A password that could not be read back from the file is refused.
    prompt.QueueText("\xE5\xAF\x86"); // 密
    EXPECT_FALSE(frame->EditActiveWorkFormPassword());
    EXPECT_EQ(doc->GetWorkForm(1)->sheetPassword, "");
    prompt.QueueText("k9");
    EXPECT_TRUE(frame->EditActiveWorkFormPassword());
    EXPECT_EQ(doc->GetWorkForm(1)->sheetPassword, "k9");
}

TEST_F(FrameTest, RenameStoresTheNameAndMovesTheDatabaseFile)
{
    QTemporaryDir dir;
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(dir.path().toStdString()) / "报表.files";
    fs::create_directories(folder);
    std::ofstream(folder / "工作表1.mdb") << "records";
    doc->SetPathName((fs::path(dir.path().toStdString()) / "报表.qwd").string());

    prompt.QueueText("预算");
    EXPECT_TRUE(frame->RenameActiveWorkForm());
    EXPECT_EQ(doc->GetWorkForm(0)->name, Gbk("预算"));
    EXPECT_EQ(prompt.Calls().back().initial, "工作表1");
    EXPECT_FALSE(fs::exists(folder / "工作表1.mdb"));
    EXPECT_TRUE(fs::exists(folder / "预算.mdb"));

    // Cancel and empty names change nothing.
    prompt.QueueText(std::nullopt);
    EXPECT_FALSE(frame->RenameActiveWorkForm());
    prompt.QueueText("");
    EXPECT_FALSE(frame->RenameActiveWorkForm());
    EXPECT_EQ(doc->GetWorkForm(0)->name, Gbk("预算"));

    // The name of another work form is refused.
    frame->InsertWorkForm(2);
    EXPECT_FALSE(frame->RenameWorkForm(1, Gbk("预算")));
    EXPECT_EQ(doc->GetWorkForm(1)->name, Gbk("工作表2"));
    // A name that would carry the database file out of its folder is
    // refused while the file exists.
    EXPECT_FALSE(frame->RenameWorkForm(0, "../x"));
    EXPECT_TRUE(fs::exists(folder / "预算.mdb"));
    // Without a database file any name goes.
    EXPECT_TRUE(frame->RenameWorkForm(1, "a/b"));
}

TEST_F(FrameTest, MoveChangesTheTabOrderOnly)
{
    frame->InsertWorkForm(2);
    frame->InsertWorkForm(2);
    CWorkForm* active = frame->ActiveWorkForm();
    EXPECT_TRUE(frame->MoveWorkForm(2, 0));
    EXPECT_EQ(Names(*doc), (std::vector<std::string> { "工作表3", "工作表1", "工作表2" }));
    EXPECT_EQ(frame->ActiveWorkForm(), active);
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 0);
    EXPECT_FALSE(frame->MoveWorkForm(0, 3));
    EXPECT_FALSE(frame->MoveWorkForm(1, 1));
    doc->protectType = 2;
    EXPECT_FALSE(frame->MoveWorkForm(0, 1));
}

TEST_F(FrameTest, ActivationByNameAndByKeysAndByClicks)
{
    frame->InsertWorkForm(2);
    frame->InsertWorkForm(2);
    EXPECT_TRUE(frame->ActivateWorkFormByName(Gbk("工作表1")));
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 0);
    EXPECT_FALSE(frame->ActivateWorkFormByName(Gbk("无此表")));
    EXPECT_EQ(prompt.Calls().back().text, "工作表不存在!");
    // Names are matched without regard to letter case.
    frame->RenameWorkForm(2, "Data");
    EXPECT_TRUE(frame->ActivateWorkFormByName("DATA"));
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 2);

    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    // F5 goes to the previous work form, F6 to the next.
    QTest::keyClick(frame->ActiveView(), Qt::Key_F5);
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 1);
    QTest::keyClick(frame->ActiveView(), Qt::Key_F5);
    QTest::keyClick(frame->ActiveView(), Qt::Key_F5); // already the first
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 0);
    QTest::keyClick(frame->ActiveView(), Qt::Key_F6);
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 1);

    // A click on a tab activates its work form.
    LabelBar* bar = frame->LabelBarWidget();
    const std::vector<QPolygon> shapes = bar->TabShapes();
    ASSERT_EQ(shapes.size(), 3u);
    const QPoint third = shapes[2].boundingRect().center();
    ASSERT_EQ(bar->TabAt(third), 2);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, third);
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 2);
    // Tabs run left to right from 6 pixels after the small scroll bar.
    EXPECT_EQ(shapes[0].point(0).x(), 2 * bar->height() + LabelBar::kFirstTabOffset);
    EXPECT_LT(shapes[0].point(0).x(), shapes[1].point(0).x());
}

TEST_F(FrameTest, LabelMenuListsAtMostThirtyWorkFormsToSwitchTo)
{
    auto switchItems = [&] {
        QMenu menu;
        frame->FillLabelMenu(menu);
        std::vector<QString> texts;
        for (QAction* a : menu.actions())
            if (QMenu* sub = a->menu())
                for (QAction* s : sub->actions())
                    texts.push_back(s->text());
        return texts;
    };
    for (int i = 0; i < 4; ++i)
        frame->InsertWorkForm(2);
    EXPECT_TRUE(switchItems().empty()); // five work forms: no switch menu
    for (int i = 0; i < 31; ++i)
        frame->InsertWorkForm(2);
    const std::vector<QString> items = switchItems();
    ASSERT_EQ(items.size(), 30u);
    EXPECT_EQ(items[0], "&1.工作表1");
    EXPECT_EQ(items[29], "&30.工作表30");
    // The switch command ids activate by index.
    EXPECT_TRUE(frame->ExecuteCommand(cmd::kSwitchWorkFormFirst + 3));
    EXPECT_EQ(frame->ActiveWorkFormIndex(), 3);
}

TEST_F(FrameTest, LayoutPlacesRulersBarsAndTheView)
{
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    CTableView* view = frame->ActiveView();
    const int thick = frame->Ruler(true)->Thickness();
    EXPECT_EQ(view->geometry().topLeft(), QPoint(frame->Ruler(false)->Thickness(), thick));
    const QScrollBar* h = frame->ScrollBar(false);
    EXPECT_EQ(frame->LabelBarWidget()->geometry(), QRect(view->x(), view->geometry().bottom() + 1, 350, h->height()));
    EXPECT_EQ(h->x(), view->x() + 350);
    EXPECT_EQ(frame->ScrollBar(true)->x(), view->geometry().right() + 1);

    // Hiding a ruler gives its room to the view and records the state.
    frame->ShowRuler(true, false);
    EXPECT_EQ(view->y(), 0);
    EXPECT_EQ(Profile::Application().GetInt("BarState", "HorRuler", -1), 0);
    EXPECT_EQ(Profile::Application().GetInt("BarState", "VerRuler", -1), 1);
    frame->ShowRuler(false, false);
    EXPECT_EQ(view->x(), 0);
    frame->ShowRuler(true, true);
    frame->ShowRuler(false, true);
    EXPECT_EQ(Profile::Application().GetInt("BarState", "HorRuler", -1), 1);
}

} // namespace
} // namespace mirel::test
