// The main window: its settings file, the least size, the boxes, the save
// prompt on new, open and close, saving and the recent-files list.
#include "app/app_settings.h"
#include "app/main_window.h"
#include "app/qt_texts.h"
#include "model/mirel_data.h"
#include "model/work_form.h"
#include "persist/native_file.h"
#include "platform/ini_file.h"
#include "platform/prompt.h"
#include "platform/settings.h"
#include "view/o_frame.h"
#include "view/table_view.h"
#include "view/text_flow.h"
#include "view/text_tool.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QAbstractButton>
#include <QDir>
#include <QMessageBox>
#include <QUrl>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace {

namespace fs = std::filesystem;

void EnsureApp()
{
    if (QApplication::instance())
        return;
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "main_window_tests";
    static char* argv[] = { name, nullptr };
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

// Each test gets its own settings folder, so "配置项.ini" starts absent.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApp();
        ASSERT_TRUE(config.isValid());
        qputenv("MIREL_CONFIG_DIR", config.path().toUtf8());
        scope = std::make_unique<mirel::ScopedPrompt>(prompt);
    }
    void TearDown() override
    {
        window.reset();
        scope.reset();
    }
    mirel::MainWindow& Window()
    {
        if (!window)
            window = std::make_unique<mirel::MainWindow>();
        return *window;
    }
    std::string SavedDocument(const QString& name)
    {
        const std::string path = files.filePath(name).toStdString();
        CMirelData doc;
        doc.GetWorkForm(0)->AddPage();
        EXPECT_TRUE(mirel::SaveNativeFile(path, doc).ok());
        return path;
    }
    CMirelData* Doc() { return Window().Control()->Frame()->GetDocumentData(); }

    QTemporaryDir config;
    QTemporaryDir files;
    mirel::ScriptedPrompt prompt;
    std::unique_ptr<mirel::ScopedPrompt> scope;
    std::unique_ptr<mirel::MainWindow> window;
};

TEST(AppSettings, WindowRectangleWorthSaving)
{
    struct Case {
        int left, top, width, height;
        bool ok;
    } const cases[] = {
        { 0, 0, 1024, 768, true },
        { 1280 - 170, 10, 400, 300, true },
        { 1280 - 169, 10, 400, 300, false }, // moved beyond the right edge
        { 10, 800 - 80, 400, 300, true },
        { 10, 800 - 79, 400, 300, false },
        { -1, 0, 400, 300, false },
        { 0, -1, 400, 300, false },
        { 0, 0, 1281, 300, false },
        { 0, 0, 400, 801, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(mirel::RectWorthSaving(c.left, c.top, c.width, c.height, 1280, 800), c.ok) << c.left << "," << c.top;
}

TEST(AppSettings, RecentFilesNewestFirstWithoutDuplicates)
{
    std::vector<std::string> list;
    for (int i = 0; i < 10; ++i)
        mirel::AddRecentFile(list, "/d/" + std::to_string(i) + ".qwd");
    ASSERT_EQ(list.size(), static_cast<size_t>(mirel::kMaxRecentFiles));
    EXPECT_EQ(list.front(), "/d/9.qwd");
    mirel::AddRecentFile(list, "/d/5.qwd");
    EXPECT_EQ(list.front(), "/d/5.qwd");
    EXPECT_EQ(std::count(list.begin(), list.end(), "/d/5.qwd"), 1);
    mirel::AddRecentFile(list, "");
    EXPECT_EQ(list.front(), "/d/5.qwd");
}

TEST(AppSettings, FileRoundTripAndDamagedRectangle)
{
    QTemporaryDir dir;
    const fs::path file = dir.filePath(QStringLiteral("配置项.ini")).toStdString();
    // No file: every toolbar and ruler shown, no rectangle.
    mirel::AppSettings s = mirel::LoadAppSettings(file);
    EXPECT_FALSE(s.hasRect);
    for (bool shown : s.toolbarShown)
        EXPECT_TRUE(shown);

    s.toolbarShown[1] = false;
    s.vRulerShown = false;
    s.left = 30;
    s.top = 40;
    s.width = 900;
    s.height = 600;
    s.showState = 3;
    s.recentFiles = { "/文档/一.qwd", "/文档/二.qwd" };
    ASSERT_TRUE(mirel::SaveAppSettings(file, s, true));
    const mirel::AppSettings back = mirel::LoadAppSettings(file);
    EXPECT_TRUE(back.hasRect);
    EXPECT_FALSE(back.toolbarShown[1]);
    EXPECT_TRUE(back.toolbarShown[2]);
    EXPECT_FALSE(back.vRulerShown);
    EXPECT_EQ(back.left, 30);
    EXPECT_EQ(back.width, 900);
    EXPECT_EQ(back.showState, 3);
    EXPECT_EQ(back.recentFiles, s.recentFiles);
    {
        mirel::IniFile ini;
        std::ifstream in(file);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        EXPECT_NE(text.find("[岚舟文字]"), std::string::npos);
        EXPECT_NE(text.find("工具条2状态=0"), std::string::npos);
    }

    // "工具条1状态" present but a width of 0: everything shown again.
    mirel::Profile(file).WriteInt(mirel::kAppSection, "宽度", 0);
    const mirel::AppSettings damaged = mirel::LoadAppSettings(file);
    EXPECT_FALSE(damaged.hasRect);
    EXPECT_TRUE(damaged.toolbarShown[1]);
    EXPECT_TRUE(damaged.vRulerShown);
}

TEST(AppSettings, RectangleNotWrittenKeepsTheOldOne)
{
    QTemporaryDir dir;
    const fs::path file = dir.filePath(QStringLiteral("配置项.ini")).toStdString();
    mirel::AppSettings s;
    s.left = 5, s.top = 6, s.width = 800, s.height = 500;
    ASSERT_TRUE(mirel::SaveAppSettings(file, s, true));
    s.left = 5000;
    ASSERT_TRUE(mirel::SaveAppSettings(file, s, false));
    EXPECT_EQ(mirel::LoadAppSettings(file).left, 5);
}

TEST(QtTexts, MessageBoxButtonsSpeakChinese)
{
    EnsureApp();
    ASSERT_TRUE(mirel::InstallChineseQtTexts(*QCoreApplication::instance()))
        << "qtbase_zh_CN.qm is missing (package qt6-translations-l10n)";
    QMessageBox box(QMessageBox::Question, QStringLiteral("提示！"), QStringLiteral("文件已被修改，是否保存？"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QStringList texts;
    for (QAbstractButton* b : box.buttons())
        texts << b->text().remove(QLatin1Char('&'));
    texts.sort();
    for (const QString& want : { QStringLiteral("是"), QStringLiteral("否"), QStringLiteral("取消") })
        EXPECT_TRUE(texts.join(QLatin1Char(' ')).contains(want)) << texts.join(QLatin1Char(' ')).toStdString();
}

TEST(BoxItems, ZoomAndSizeEntries)
{
    const std::vector<mirel::BoxItem> zoom = mirel::ZoomBoxItems();
    ASSERT_EQ(zoom.size(), 8u);
    EXPECT_EQ(zoom[0].text, QStringLiteral("400%"));
    EXPECT_EQ(zoom[3].value, 100);
    EXPECT_EQ(zoom[7].value, 10);
    const std::vector<mirel::BoxItem> sizes = mirel::SizeBoxItems();
    ASSERT_EQ(sizes.size(), 36u);
    EXPECT_EQ(sizes[0].text, QStringLiteral("初号"));
    EXPECT_EQ(sizes[0].value, 42);
    EXPECT_EQ(sizes[10].text, QStringLiteral("五号"));
    EXPECT_EQ(sizes[10].value, 11);
    EXPECT_EQ(sizes[15].value, 5);
    EXPECT_EQ(sizes[16].text, QStringLiteral("6"));
    EXPECT_EQ(sizes.back().value, 748);
}

TEST_F(MainWindowTest, StartsWithBoxesToolbarsAndLeastSize)
{
    mirel::MainWindow& w = Window();
    w.show();
    EXPECT_EQ(w.ZoomBox()->currentText(), QStringLiteral("100%"));
    EXPECT_EQ(w.SizeBox()->currentText(), QStringLiteral("五号"));
    EXPECT_EQ(w.FontBox()->currentText(), QStringLiteral("宋体"));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(w.ToolBar(i)->isVisible()) << i;
    w.resize(600, 200);
    EXPECT_EQ(w.width(), mirel::kMinWindowWidth);
    EXPECT_EQ(w.height(), mirel::kMinWindowHeight);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("岚舟文字 V1.1 "));
}

TEST_F(MainWindowTest, FormatBoxesAndButtonsFormatTheTextAndFollowTheCaret)
{
    mirel::MainWindow& w = Window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    CTableView* view = w.Control()->Frame()->ActiveView();
    QTest::mouseClick(view, Qt::LeftButton, {}, view->rect().center());
    QTest::keyClicks(view, "ab");
    CTextTool* tool = mirel::TextToolOf(*view);
    ASSERT_NE(tool, nullptr);
    tool->SelectAll(*view);
    auto button = [&](const QString& text) -> QAction* {
        for (QAction* a : w.ToolBar(1)->actions())
            if (a->text() == text)
                return a;
        return nullptr;
    };
    QAction* centre = button(QStringLiteral("居中"));
    QAction* bold = button(QStringLiteral("粗体"));
    ASSERT_TRUE(centre && bold);

    // The size box, the centre and bold buttons, as a user picks them.
    const int size = w.SizeBox()->findText(QStringLiteral("二号"));
    ASSERT_GE(size, 0);
    w.SizeBox()->setCurrentIndex(size);
    emit w.SizeBox()->activated(size);
    centre->trigger();
    bold->trigger();
    const mirel::BodyFlow flow(*view->GetWorkForm());
    const std::vector<mirel::FlowRun> runs = flow.Runs(0, flow.Length());
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs.front().attrs.sizeCode, 22);
    EXPECT_EQ(runs.front().attrs.weight, 700);
    EXPECT_EQ(tool->CaretParagraph(*view).alignment, 1);

    // A click elsewhere and back: the boxes and buttons show the caret's
    // format.
    w.SizeBox()->setCurrentIndex(0);
    centre->setChecked(false);
    bold->setChecked(false);
    QTest::mouseClick(view, Qt::LeftButton, {}, view->rect().center());
    EXPECT_EQ(w.SizeBox()->currentText(), QStringLiteral("二号"));
    EXPECT_TRUE(centre->isChecked());
    EXPECT_TRUE(bold->isChecked());
}

TEST_F(MainWindowTest, ZoomBoxFollowsTheComponent)
{
    mirel::MainWindow& w = Window();
    w.show();
    emit w.ZoomBox()->activated(w.ZoomBox()->findData(200));
    EXPECT_EQ(w.Control()->GetZoom(), 200);
    w.Control()->SetZoomPercent(75);
    w.SyncZoom();
    EXPECT_EQ(w.ZoomBox()->currentText(), QStringLiteral("75%"));
}

TEST_F(MainWindowTest, OpensFilesInOrderAndCaptionsThem)
{
    const std::string first = SavedDocument(QStringLiteral("一.qwd"));
    const std::string second = SavedDocument(QStringLiteral("二.qwd"));
    mirel::MainWindow& w = Window();
    ASSERT_TRUE(w.OpenDocumentFile(first));
    ASSERT_TRUE(w.OpenDocumentFile(second));
    EXPECT_EQ(w.CurrentFile(), second);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("岚舟文字 V1.1   ") + QString::fromStdString(second));
    ASSERT_GE(w.RecentFiles().size(), 2u);
    EXPECT_EQ(w.RecentFiles()[0], second);
    EXPECT_EQ(w.RecentFiles()[1], first);
    // The list is in the settings file for the next start.
    EXPECT_EQ(mirel::LoadAppSettings(mirel::AppSettingsFile()).recentFiles.front(), second);

    Doc()->SetModified(true);
    w.UpdateCaption();
    EXPECT_TRUE(w.windowTitle().startsWith(QLatin1Char('*')));
}

TEST_F(MainWindowTest, FailedOpenKeepsTheDocument)
{
    const std::string good = SavedDocument(QStringLiteral("好.qwd"));
    mirel::MainWindow& w = Window();
    ASSERT_TRUE(w.OpenDocumentFile(good));
    Doc()->SetModified(true);
    EXPECT_FALSE(w.OpenDocumentFile(files.filePath("缺.qwd").toStdString()));
    EXPECT_EQ(w.CurrentFile(), good);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Doc()->GetPathName(), good);
}

TEST_F(MainWindowTest, CancelOnTheSavePromptStopsNewAndClose)
{
    const std::string path = SavedDocument(QStringLiteral("文.qwd"));
    mirel::MainWindow& w = Window();
    w.show();
    ASSERT_TRUE(w.OpenDocumentFile(path));
    Doc()->SetModified(true);

    prompt.QueueAnswer(mirel::PromptAnswer::Cancel);
    w.New();
    EXPECT_EQ(w.CurrentFile(), path);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(prompt.Calls().back().text, "文件已被修改，是否保存？");
    EXPECT_EQ(prompt.Calls().back().caption, "提示！");

    prompt.QueueAnswer(mirel::PromptAnswer::Cancel);
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());

    // No: the document is dropped without a second question.
    prompt.ClearCalls();
    prompt.QueueAnswer(mirel::PromptAnswer::No);
    w.New();
    EXPECT_EQ(prompt.Calls().size(), 1u);
    EXPECT_TRUE(w.CurrentFile().empty());
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(MainWindowTest, ADroppedFileOpensAsTheDocumentUnlessTheSaveIsCancelled)
{
    const std::string first = SavedDocument(QStringLiteral("甲.qwd"));
    const std::string second = SavedDocument(QStringLiteral("乙.qwd"));
    mirel::MainWindow& w = Window();
    w.show();
    auto drop = [&](const std::string& path) {
        w.OpenDroppedFiles({ QUrl::fromLocalFile(QString::fromStdString(path)) });
    };
    drop(first);
    EXPECT_EQ(w.CurrentFile(), first);
    EXPECT_EQ(Doc()->GetWorkForm(0)->PageCount(), 2);

    // A modified document and Cancel on the save prompt: the drop stops.
    Doc()->SetModified(true);
    prompt.QueueAnswer(mirel::PromptAnswer::Cancel);
    drop(second);
    EXPECT_EQ(w.CurrentFile(), first);
    EXPECT_TRUE(Doc()->IsModified());
    // No: the dropped file replaces it.
    prompt.QueueAnswer(mirel::PromptAnswer::No);
    drop(second);
    EXPECT_EQ(w.CurrentFile(), second);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(MainWindowTest, YesSavesAndAFailedSaveStopsAndKeepsTheName)
{
    const std::string path = SavedDocument(QStringLiteral("存.qwd"));
    mirel::MainWindow& w = Window();
    ASSERT_TRUE(w.OpenDocumentFile(path));
    ASSERT_EQ(Doc()->GetWorkForm(0)->PageCount(), 2);
    Doc()->GetWorkForm(0)->AddPage();
    Doc()->SetModified(true);
    prompt.QueueAnswer(mirel::PromptAnswer::Yes);
    w.New();
    CMirelData reread;
    ASSERT_TRUE(mirel::OpenNativeFile(path, reread).ok());
    EXPECT_EQ(reread.GetWorkForm(0)->PageCount(), 3);

    // Saving into a folder that went away fails: the error is shown, the
    // name kept, and New does not throw the document away.
    const std::string lost = files.filePath("gone/新.qwd").toStdString();
    QDir().mkpath(files.filePath("gone"));
    const std::string lostCopy = lost;
    {
        CMirelData doc;
        ASSERT_TRUE(mirel::SaveNativeFile(lostCopy, doc).ok());
    }
    ASSERT_TRUE(w.OpenDocumentFile(lost));
    QDir(files.filePath("gone")).removeRecursively();
    Doc()->SetModified(true);
    prompt.ClearCalls();
    prompt.QueueAnswer(mirel::PromptAnswer::Yes);
    w.New();
    EXPECT_EQ(w.CurrentFile(), lost);
    EXPECT_TRUE(Doc()->IsModified());
    ASSERT_GE(prompt.Calls().size(), 2u);
    EXPECT_NE(prompt.Calls()[1].text, "文件无法访问，请检查您是否有此目录的访问权限或请以管理员身份运行后重试！");
}

TEST_F(MainWindowTest, SaveWithoutChangesDoesNothing)
{
    mirel::MainWindow& w = Window();
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_TRUE(w.Save());
    EXPECT_TRUE(prompt.Calls().empty());
    EXPECT_TRUE(w.CurrentFile().empty());
}

TEST_F(MainWindowTest, SettingsWrittenOnCloseAndReadAtStart)
{
    {
        mirel::MainWindow& w = Window();
        w.show();
        w.setGeometry(40, 50, 700, 500); // inside the offscreen screen (800 x 600)
        w.ToolBar(3)->hide();
        w.Control()->SetVerticalRulerShown(false);
        ASSERT_TRUE(w.close());
        window.reset();
    }
    const mirel::AppSettings s = mirel::LoadAppSettings(mirel::AppSettingsFile());
    EXPECT_TRUE(s.hasRect);
    EXPECT_FALSE(s.toolbarShown[3]);
    EXPECT_TRUE(s.toolbarShown[0]);
    EXPECT_FALSE(s.vRulerShown);
    EXPECT_EQ(s.width, 700);
    mirel::MainWindow& again = Window();
    EXPECT_FALSE(again.Control()->VerticalRulerShown());
    EXPECT_TRUE(again.ToolBar(3)->isHidden());
    EXPECT_EQ(again.width(), 700);
}

TEST_F(MainWindowTest, ExportPdfWritesAFile)
{
    mirel::MainWindow& w = Window();
    const std::string pdf = files.filePath("导出.pdf").toStdString();
    ASSERT_TRUE(w.ExportPdf(pdf));
    QFile f(QString::fromStdString(pdf));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(5), QByteArray("%PDF-"));
}

} // namespace
