// The component control: operations deliver the right command ids, the
// properties keep their ranges, and the events reach the host in order.
#include "host/mirel_control.h"
#include "model/basic_obj.h"
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "persist/native_file.h"
#include "platform/prompt.h"
#include "view/command_table.h"
#include "view/o_frame.h"
#include "view/table_view.h"
#include "view/text_tool.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

void EnsureApp()
{
    if (QApplication::instance())
        return;
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qgetenv("MIREL_CONFIG_DIR").isEmpty())
        qputenv("MIREL_CONFIG_DIR", MIREL_BINARY_DIR "/test-config/lanzhou");
    static int argc = 1;
    static char name[] = "host_tests";
    static char* argv[] = { name, nullptr };
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApp();
        control = std::make_unique<MirelControl>();
        control->resize(800, 600);
        control->show();
        scope = std::make_unique<mirel::ScopedPrompt>(prompt);
    }
    void TearDown() override
    {
        scope.reset();
        control.reset();
    }

    CTableView* View() const { return control->Frame()->ActiveView(); }

    // Puts a command that only records its id into the table that would
    // answer it: the active view's for view commands, the frame's else.
    void Probe(int id, bool inFrame)
    {
        mirel::CommandTable& table = inFrame ? control->Frame()->Commands() : View()->Commands();
        table.Add(mirel::Command { id, {}, [this, id] { ran.push_back(id); }, nullptr, nullptr });
    }

    // The events raised while `f` runs.
    std::vector<int> EventsDuring(const std::function<void()>& f)
    {
        QSignalSpy spy(control.get(), &MirelControl::eventRaised);
        f();
        std::vector<int> ids;
        for (const QList<QVariant>& args : spy)
            ids.push_back(args.at(0).toInt());
        return ids;
    }

    mirel::ScriptedPrompt prompt;
    std::unique_ptr<mirel::ScopedPrompt> scope;
    std::unique_ptr<MirelControl> control;
    std::vector<int> ran;
};

// ---------------------------------------------------------------- commands

struct OperationCase {
    const char* name;
    bool (MirelControl::*operation)();
    int id;
    bool frameCommand;
};

const OperationCase kOperationCases[] = {
    { "ShowFindDialog", &MirelControl::ShowFindDialog, 57636, false },
    { "ShowReplaceDialog", &MirelControl::ShowReplaceDialog, 57641, false },
    { "InsertDateTime", &MirelControl::InsertDateTime, 179, false },
    { "InsertPageNumber", &MirelControl::InsertPageNumber, 33124, false },
    { "Copy", &MirelControl::Copy, 57634, false },
    { "Paste", &MirelControl::Paste, 57637, false },
    { "Cut", &MirelControl::Cut, 57635, false },
    { "Delete", &MirelControl::Delete, 57632, false },
    { "SelectAll", &MirelControl::SelectAll, 57642, false },
    { "Undo", &MirelControl::Undo, 57643, false },
    { "Redo", &MirelControl::Redo, 57644, false },
    { "EditHeader", &MirelControl::EditHeader, 33122, false },
    { "EditFooter", &MirelControl::EditFooter, 33123, false },
    { "AppendPage", &MirelControl::AppendPage, 2915, false },
    { "DeleteCurrentPage", &MirelControl::DeleteCurrentPage, 33058, false },
    { "PageSetup", &MirelControl::PageSetup, 2873, false },
    { "AlignLeft", &MirelControl::AlignLeft, 33025, false },
    { "AlignCenter", &MirelControl::AlignCenter, 33038, false },
    { "AlignRight", &MirelControl::AlignRight, 33044, false },
    { "AlignTop", &MirelControl::AlignTop, 33034, false },
    { "AlignMiddle", &MirelControl::AlignMiddle, 33037, false },
    { "AlignBottom", &MirelControl::AlignBottom, 33035, false },
    { "SameWidth", &MirelControl::SameWidth, 33341, false },
    { "SameHeight", &MirelControl::SameHeight, 33342, false },
    { "SameSize", &MirelControl::SameSize, 33343, false },
    { "SpaceEvenlyAcross", &MirelControl::SpaceEvenlyAcross, 33339, false },
    { "SpaceEvenlyDown", &MirelControl::SpaceEvenlyDown, 33340, false },
    { "BringToFront", &MirelControl::BringToFront, 33045, false },
    { "SendToBack", &MirelControl::SendToBack, 33046, false },
    { "BringForward", &MirelControl::BringForward, 33047, false },
    { "SendBackward", &MirelControl::SendBackward, 33048, false },
    { "Group", &MirelControl::Group, 33159, false },
    { "Ungroup", &MirelControl::Ungroup, 33160, false },
    { "LockAbsolutely", &MirelControl::LockAbsolutely, 33155, false },
    { "ObjectProperties", &MirelControl::ObjectProperties, 33158, false },
    { "DrawTableTool", &MirelControl::DrawTableTool, 2897, false },
    { "EraseTableLineTool", &MirelControl::EraseTableLineTool, 2898, false },
    { "MergeCells", &MirelControl::MergeCells, 2930, false },
    { "SplitCell", &MirelControl::SplitCell, 2931, false },
    { "SplitTableHorizontally", &MirelControl::SplitTableHorizontally, 2982, false },
    { "SplitTableVertically", &MirelControl::SplitTableVertically, 33118, false },
    { "EqualRowHeights", &MirelControl::EqualRowHeights, 2978, false },
    { "EqualColumnWidths", &MirelControl::EqualColumnWidths, 2979, false },
    { "TableLookFormat", &MirelControl::TableLookFormat, 33073, false },
    { "SortTable", &MirelControl::SortTable, 33009, false },
    { "InputFormula", &MirelControl::InputFormula, 2981, false },
    { "InsertCellNote", &MirelControl::InsertCellNote, 33138, false },
    { "ShowFillSequence", &MirelControl::ShowFillSequence, 33171, false },
    { "ImportData", &MirelControl::ImportData, 33145, false },
    { "Paragraph", &MirelControl::Paragraph, 2995, false },
    { "FontDialog", &MirelControl::FontDialog, 57696, false },
    { "AcceptRejectRevisions", &MirelControl::AcceptRejectRevisions, 33362, false },
    { "FontSizeSmaller", &MirelControl::FontSizeSmaller, 41715, false },
    { "FontSizeLarger", &MirelControl::FontSizeLarger, 41716, false },
    { "CopyWorkForm", &MirelControl::CopyWorkForm, 33227, true },
    { "DeleteWorkForm", &MirelControl::DeleteWorkForm, 2945, true },
    { "RenameWorkForm", &MirelControl::RenameWorkForm, 2946, true },
    { "ShowPrintPreview", &MirelControl::ShowPrintPreview, 57609, true },
};

TEST_F(ControlTest, EachOperationDeliversItsCommand)
{
    for (const OperationCase& c : kOperationCases) {
        SCOPED_TRACE(c.name);
        Probe(c.id, c.frameCommand);
        ran.clear();
        EXPECT_TRUE((control.get()->*c.operation)());
        EXPECT_EQ(ran, std::vector<int> { c.id });
        // The same through the host's by-name entry.
        ran.clear();
        EXPECT_TRUE(control->RunCommandOperation(c.name));
        EXPECT_EQ(ran, std::vector<int> { c.id });
    }
    EXPECT_EQ(mirel::CommandOperations().size(), std::size(kOperationCases));
}

TEST_F(ControlTest, CommandNobodyAnswersIsReportedAsNotRun)
{
    // No part of this build answers "insert a chart" yet: the operation
    // must not claim it ran.
    EXPECT_FALSE(control->Frame()->Commands().Has(2852));
    EXPECT_EQ(control->InsertObject(25), -1);
    EXPECT_FALSE(control->RunCommandOperation("NoSuchOperation"));
}

TEST_F(ControlTest, IndexedOperationsChooseTheirCommand)
{
    const int objectIds[] = { 33068, 33075, 33231, 33185, 33161, 33134, 33176, 33182, 33181, 2867, 33180, 2853, 2863,
        33178, 33137, 33162, 33183, 2864, 33232, 33338, 2866, 33070, 33114, 2884, 41704, 2852, 57856 };
    for (int kind = 0; kind < 27; ++kind) {
        SCOPED_TRACE(kind);
        Probe(objectIds[kind], false);
        ran.clear();
        EXPECT_EQ(control->InsertObject(kind), 0);
        EXPECT_EQ(ran, std::vector<int> { objectIds[kind] });
    }
    ran.clear();
    EXPECT_EQ(control->InsertObject(27), 27);
    EXPECT_EQ(control->InsertObject(-3), -3);
    EXPECT_TRUE(ran.empty());

    struct Case {
        std::function<bool()> call;
        int id; // 0: nothing delivered
        bool frame;
    };
    const Case cases[] = {
        { [&] { return control->AddWorkForm(0); }, 33357, true },
        { [&] { return control->AddWorkForm(1); }, 33163, true },
        { [&] { return control->AddWorkForm(2); }, 33164, true },
        { [&] { return control->AddWorkForm(3); }, 0, true },
        { [&] { return control->PasteWorkFormAt(0); }, 33228, true },
        { [&] { return control->PasteWorkFormAt(1); }, 33229, true },
        { [&] { return control->PasteWorkFormAt(2); }, 33230, true },
        { [&] { return control->PasteWorkFormAt(-1); }, 0, true },
        { [&] { return control->InsertRow(1); }, 2918, false },
        { [&] { return control->InsertRow(); }, 2919, false },
        { [&] { return control->InsertColumn(1); }, 2926, false },
        { [&] { return control->InsertColumn(2); }, 2927, false },
        { [&] { return control->InsertColumn(0); }, 0, false },
        { [&] { return control->FillCells(0); }, 33165, false },
        { [&] { return control->FillCells(1); }, 33169, false },
        { [&] { return control->FillCells(2); }, 33167, false },
        { [&] { return control->FillCells(3); }, 33168, false },
        { [&] { return control->FillCells(4); }, 0, false },
        { [&] { return control->MergeTablesHorizontally(); }, 33119, false },
        { [&] { return control->MergeTablesVertically(); }, 2983, false },
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n++);
        if (c.id)
            Probe(c.id, c.frame);
        ran.clear();
        EXPECT_EQ(c.call(), c.id != 0);
        EXPECT_EQ(ran, c.id ? std::vector<int> { c.id } : std::vector<int> {});
    }
}

TEST_F(ControlTest, RowAndColumnDeletionOnlyWhenAllowed)
{
    Probe(2928, false);
    Probe(2929, false);
    ran.clear();
    // No table is current: nothing may be deleted and nothing is sent.
    EXPECT_FALSE(control->DeleteCurrentRow());
    EXPECT_FALSE(control->DeleteCurrentColumn());
    EXPECT_TRUE(ran.empty());
}

// ---------------------------------------------------------------- properties

TEST_F(ControlTest, ZoomRangeIsTenToFourHundred)
{
    struct Case {
        int percent;
        bool taken;
    } const cases[] = { { 9, false }, { 10, true }, { 55, true }, { 400, true }, { 401, false }, { 0, false },
        { -100, false }, { 100, true } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        const int before = control->GetZoom();
        EXPECT_EQ(control->SetZoomPercent(c.percent), c.taken);
        EXPECT_EQ(control->GetZoom(), c.taken ? c.percent : before);
    }
}

TEST_F(ControlTest, ControlWheelZoomsWithinTheRange)
{
    ASSERT_TRUE(control->SetZoomPercent(395));
    auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, delta), Qt::NoButton,
            Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(View(), &e);
    };
    wheel(120);
    EXPECT_EQ(control->GetZoom(), 400);
    ASSERT_TRUE(control->SetZoomPercent(15));
    wheel(-120);
    EXPECT_EQ(control->GetZoom(), 10);
    wheel(-120);
    EXPECT_EQ(control->GetZoom(), 10);
    wheel(240);
    EXPECT_EQ(control->GetZoom(), 30);
}

TEST_F(ControlTest, RulerPropertiesFollowTheFrame)
{
    for (bool shown : { false, true }) {
        control->SetHorizontalRulerShown(shown);
        control->SetVerticalRulerShown(!shown);
        EXPECT_EQ(control->HorizontalRulerShown(), shown);
        EXPECT_EQ(control->Frame()->IsRulerShown(true), shown);
        EXPECT_EQ(control->Frame()->IsRulerShown(false), !shown);
    }
}

TEST_F(ControlTest, PropertyDefaults)
{
    EXPECT_EQ(control->ContextMenuMode(), 1);
    EXPECT_EQ(control->FitToText(), 0);
    EXPECT_EQ(control->PrintSettingsDialog(), 0);
    EXPECT_TRUE(control->MenuFilePath().empty());
    control->SetUserValue(-7);
    EXPECT_EQ(control->UserValue(), -7);
    EXPECT_EQ(control->GetControl(), control.get());
}

// ---------------------------------------------------------------- text format

TEST(TextFormatSizes, CodesBecomePoints)
{
    const std::pair<int, int> cases[]
        = { { 0, 42 }, { -1, 36 }, { -2, 26 }, { -3, 24 }, { -4, 22 }, { -5, 18 }, { -6, 16 }, { -7, 14 }, { -8, 12 },
              { -9, 11 }, { -10, 9 }, { -11, 8 }, { -12, 7 }, { -13, 6 }, { -14, 5 }, { 10, 10 }, { 72, 72 } };
    for (auto [code, points] : cases)
        EXPECT_EQ(mirel::SizeCodeToPoints(code), points) << code;
    const std::pair<int, bool> valid[]
        = { { 4, false }, { 5, true }, { 747, true }, { 748, false }, { 0, true }, { -14, true }, { -15, false } };
    for (auto [size, ok] : valid)
        EXPECT_EQ(mirel::IsValidFontSize(size), ok) << size;
}

TEST_F(ControlTest, TextFormatWithNothingSelected)
{
    View()->ClearSelection();
    const mirel::TextFormat f = control->GetTextFormat();
    EXPECT_EQ(f.size, 11);
    EXPECT_EQ(f.faceName, "宋体");
}

TEST_F(ControlTest, InvalidSizeShowsTheMessage)
{
    mirel::TextFormat f;
    f.size = 4;
    f.bold = 1;
    control->SetTextFormat(f);
    ASSERT_FALSE(prompt.Calls().empty());
    EXPECT_EQ(prompt.Calls().back().text, "设置的字号不合法！");
    EXPECT_EQ(prompt.Calls().back().icon, mirel::PromptIcon::Error);
    prompt.ClearCalls();
    f.size = -14;
    control->SetTextFormat(f);
    EXPECT_TRUE(prompt.Calls().empty());
}

TEST_F(ControlTest, FormattingGoesToTheTextAtTheCaret)
{
    CTableView* view = View();
    QTest::mouseClick(view, Qt::LeftButton, {}, view->rect().center());
    QTest::keyClicks(view, "ab");
    ASSERT_TRUE(view->TextToolActive());
    CTextTool* tool = mirel::TextToolOf(*view);
    tool->SelectAll(*view);

    // The toolbar's bold button: one undo step, the caret's format follows.
    mirel::TextFormat f = control->GetTextFormat();
    EXPECT_EQ(f.bold, 0);
    f.bold = 1;
    EXPECT_TRUE(control->SetTextFormat(f));
    EXPECT_EQ(control->GetTextFormat().bold, 1);
    EXPECT_EQ(tool->TypingAttributes().weight, 700);
    f.size = 22; // 二号 in points
    EXPECT_TRUE(control->SetTextFormat(f));
    EXPECT_EQ(control->GetTextFormat().size, 22);

    struct Case {
        const char* what;
        std::function<bool()> set;
        std::function<bool()> holds;
    };
    const Case cases[] = {
        { "alignment", [&] { return control->SetAlignment(1); }, [&] { return control->GetAlignment() == 1; } },
        { "indent", [&] { return control->SetFirstLineIndent(true); }, [&] { return control->GetFirstLineIndent(); } },
        { "shading", [&] { return control->SetShading(true); }, [&] { return control->GetShading(); } },
        { "superscript", [&] { return control->SetScriptPosition(1); },
            [&] { return control->GetScriptPosition() == 1; } },
        { "colour", [&] { return control->ChooseTextColor(0x0000FF); },
            [&] { return control->GetTextFormat().color == 0x0000FFu; } },
        { "colour chooser",
            [&] {
                prompt.QueueColor(0x00FF00u);
                return control->ChooseTextColor(1);
            },
            [&] { return control->GetTextFormat().color == 0x00FF00u; } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(c.holds());
        EXPECT_TRUE(c.set());
        EXPECT_TRUE(c.holds());
    }
    EXPECT_TRUE(control->IsModified());
    // Each change is its own undo step: undo them all, last first.
    for (auto it = std::rbegin(cases); it != std::rend(cases); ++it) {
        SCOPED_TRACE(it->what);
        ASSERT_TRUE(control->Undo());
        EXPECT_FALSE(it->holds());
    }
    ASSERT_TRUE(control->Undo());
    EXPECT_EQ(control->GetTextFormat().size, 11);
    ASSERT_TRUE(control->Undo());
    EXPECT_EQ(control->GetTextFormat().bold, 0);
}

// ---------------------------------------------------------------- events

TEST_F(ControlTest, EventsAroundOpenAndSave)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string good = dir.filePath(QStringLiteral("文档.qwd")).toStdString();
    const std::string unwritable = dir.filePath(QStringLiteral("no/such/folder/x.qwd")).toStdString();

    struct Case {
        const char* what;
        std::function<bool()> call;
        bool ok;
        std::vector<int> events;
    };
    const Case cases[] = {
        { "save", [&] { return control->SaveFile(good); }, true, { 7, 8 } },
        { "save fails", [&] { return control->SaveFile(unwritable); }, false, { 7 } },
        { "open", [&] { return control->OpenFile(good); }, true, { 5, 6 } },
        { "open missing", [&] { return control->OpenFile(dir.filePath("missing.qwd").toStdString()); }, false, { 5 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool ok = false;
        std::vector<int> events = EventsDuring([&] { ok = c.call(); });
        EXPECT_EQ(ok, c.ok);
        // Only the file events matter here; a reset view may report its
        // format (3, 4) in between.
        std::erase_if(events, [](int id) { return id == 3 || id == 4; });
        EXPECT_EQ(events, c.events);
    }
}

TEST_F(ControlTest, OpenClearsTheUndoHistoryAndKeepsTheDocumentOnFailure)
{
    QTemporaryDir dir;
    const std::string bad = dir.filePath("broken.qwd").toStdString();
    QFile f(QString::fromStdString(bad));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a document at all");
    f.close();
    CMirelData* doc = control->Frame()->GetDocumentData();
    doc->GetWorkForm(0)->AddPage();
    doc->SetPathName("/keep/me.qwd");
    EXPECT_FALSE(control->OpenFile(bad));
    EXPECT_EQ(doc->GetPathName(), "/keep/me.qwd");
    EXPECT_EQ(control->GetPageCount(), 2);
}

TEST_F(ControlTest, ClickRaisesPressThenFormatAndRelease)
{
    QWidget* view = View();
    const QPoint inPage = view->rect().center();
    std::vector<int> events = EventsDuring([&] { QTest::mouseClick(view, Qt::LeftButton, {}, inPage); });
    std::erase_if(events, [](int id) { return id == 13; });
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events.front(), 0);
    // On the release the face name and size of what the click made current
    // come first, then the release itself (the host refreshes its buttons
    // after it, with the boxes already right).
    const std::vector<int> tail(events.end() - 3, events.end());
    EXPECT_EQ(tail, (std::vector<int> { 3, 4, 2 }));

    QSignalSpy face(control.get(), &MirelControl::faceNameChanged);
    QSignalSpy size(control.get(), &MirelControl::fontSizeChanged);
    QTest::mouseClick(view, Qt::LeftButton, {}, inPage);
    ASSERT_EQ(face.size(), 1);
    ASSERT_EQ(size.size(), 1);
    EXPECT_FALSE(face.at(0).at(0).toString().isEmpty());
}

TEST_F(ControlTest, RightButtonRaisesEventFourteenFirst)
{
    QWidget* view = View();
    std::vector<int> events
        = EventsDuring([&] { QTest::mousePress(view, Qt::RightButton, {}, view->rect().center()); });
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), 14);
    QTest::mouseRelease(view, Qt::RightButton, {}, view->rect().center());
}

TEST_F(ControlTest, FormatChangeReportsFaceAndSize)
{
    QSignalSpy order(control.get(), &MirelControl::eventRaised);
    View()->ReportFormatState();
    ASSERT_EQ(order.size(), 2);
    EXPECT_EQ(order.at(0).at(0).toInt(), 3);
    EXPECT_EQ(order.at(1).at(0).toInt(), 4);
}

// ---------------------------------------------------------------- files and pages

TEST_F(ControlTest, ExportPageImage)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath("page.png").toStdString();
    EXPECT_FALSE(control->ExportPageImage({}, 1, 100, false));
    EXPECT_FALSE(control->ExportPageImage(file, 0, 100, false));
    EXPECT_FALSE(control->ExportPageImage(file, 2, 100, false));
    ASSERT_TRUE(control->ExportPageImage(file, 1, 1000, true)); // zoom clamped to 400
    QFile written(QString::fromStdString(file));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.read(2), QByteArray("BM")); // a BMP whatever the extension
    prompt.ClearCalls();
    EXPECT_FALSE(control->ExportPageImage(dir.filePath("no/such/dir/p.bmp").toStdString(), 1, 50, false));
    ASSERT_FALSE(prompt.Calls().empty());
    EXPECT_NE(prompt.Calls().back().text.find(" : Write file error!"), std::string::npos);
}

TEST_F(ControlTest, FilePasswordIsSetAndCleared)
{
    CMirelData* doc = control->Frame()->GetDocumentData();
    prompt.QueueText(std::string("密码12"));
    ASSERT_TRUE(control->SetFilePassword());
    EXPECT_FALSE(doc->filePassword.empty());
    EXPECT_TRUE(control->IsModified());
    EXPECT_EQ(prompt.Calls().back().caption, "文件密码");
    prompt.QueueText(std::string());
    ASSERT_TRUE(control->SetFilePassword());
    EXPECT_TRUE(doc->filePassword.empty());
    doc->SetModified(false);
    prompt.QueueText(std::nullopt);
    EXPECT_FALSE(control->SetFilePassword());
    EXPECT_FALSE(control->IsModified());
}

TEST_F(ControlTest, RevisionSwitchAndFontList)
{
    EXPECT_FALSE(control->IsTrackingRevisions());
    EXPECT_TRUE(control->SetTrackRevisions(true));
    EXPECT_TRUE(control->IsTrackingRevisions());
    EXPECT_TRUE(control->IsModified());
    EXPECT_TRUE(control->SetTrackRevisions(false));
    EXPECT_FALSE(control->IsTrackingRevisions());
    const std::string fonts = control->GetFontList();
    EXPECT_FALSE(fonts.empty());
    EXPECT_EQ(fonts.front() == '|', false);
}

TEST_F(ControlTest, LockStateIsRefusedUnderProtection)
{
    CTableView* view = View();
    CWorkForm* wf = control->Frame()->ActiveWorkForm();
    auto obj = std::make_unique<CBasicObj>();
    obj->SetRect({ 100, 100, 400, 400 });
    CBasicObj* raw = wf->GetPage(0)->AddObject(std::move(obj));
    view->Select(raw, false);
    EXPECT_FALSE(control->SetLockState(3));
    CMirelData* doc = control->Frame()->GetDocumentData();
    doc->protectType = 1;
    EXPECT_FALSE(control->SetLockState(1));
    EXPECT_EQ(raw->GetLock(), 0);
    doc->protectType = 0;
    EXPECT_TRUE(control->SetLockState(1));
    EXPECT_EQ(raw->GetLock(), 1);
    EXPECT_TRUE(control->HasSelection());
    EXPECT_FALSE(control->HasMultipleSelection());
}

} // namespace
