// The frame's document commands: the modified prompt, new, open, save and
// page bitmaps, with scripted dialogs and real files.
#include "persist/file_dialogs.h"
#include "persist/native_file.h"
#include "platform/gbk.h"
#include "platform/muldiv.h"
#include "platform/prompt.h"
#include "view/o_frame.h"
#include "view/page_export.h"
#include "view/table_view.h"
#include "view_support.h"

#include <QImage>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace mirel::test {
namespace {

// File names from a queue (nullopt: Cancel; an empty queue cancels), and
// what was asked, as the real dialogs would be asked.
class ScriptedDialogs : public FileDialogs {
public:
    struct Call {
        bool save = false;
        std::string filter;
        std::string extensions;
    };
    void Queue(std::optional<std::string> reply) { replies_.push_back(std::move(reply)); }
    const std::vector<Call>& Calls() const { return calls_; }
    std::optional<std::string> AskOpenFileName(std::string_view filter) override
    {
        calls_.push_back({ false, std::string(filter), {} });
        return Next();
    }
    std::optional<std::string> AskSaveFileName(std::string_view filter, std::string_view extensions) override
    {
        calls_.push_back({ true, std::string(filter), std::string(extensions) });
        std::optional<std::string> reply = Next();
        if (reply)
            *reply = WithDefaultExtension(*reply, extensions);
        return reply;
    }

private:
    std::optional<std::string> Next()
    {
        if (replies_.empty())
            return std::nullopt;
        std::optional<std::string> r = replies_.front();
        replies_.erase(replies_.begin());
        return r;
    }
    std::vector<std::optional<std::string>> replies_;
    std::vector<Call> calls_;
};

class ScopedDialogs {
public:
    explicit ScopedDialogs(FileDialogs& d)
        : previous_(SetCurrentFileDialogs(&d))
    {
    }
    ~ScopedDialogs() { SetCurrentFileDialogs(previous_); }

private:
    FileDialogs* previous_;
};

class FrameDocumentTest : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureApp();
        frame = std::make_unique<COFrame>();
        frame->resize(1000, 700);
        doc = frame->GetDocumentData();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override { frame.reset(); }
    std::string PathOf(const char* name) const
    {
        return (std::filesystem::path(dir.path().toStdString()) / name).string();
    }

    QTemporaryDir dir;
    std::unique_ptr<COFrame> frame;
    CMirelData* doc = nullptr;
    ScriptedPrompt prompt;
    ScopedPrompt promptScope { prompt };
    ScriptedDialogs chooser;
    ScopedDialogs chooserScope { chooser };
};

TEST_F(FrameDocumentTest, NewAsksToSaveAModifiedDocument)
{
    frame->InsertWorkForm(2);
    ASSERT_TRUE(doc->IsModified());
    // No: the changes go.
    prompt.QueueAnswer(PromptAnswer::No);
    EXPECT_TRUE(frame->NewDocument());
    ASSERT_EQ(prompt.Calls().size(), 1u);
    EXPECT_EQ(prompt.Calls()[0].text, "文档已修改，是否保存？");
    EXPECT_EQ(prompt.Calls()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(doc->WorkFormCount(), 1);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(frame->Views().size(), 1u);
    EXPECT_EQ(frame->ActiveView()->GetWorkForm(), doc->GetWorkForm(0));
    EXPECT_EQ(frame->ActiveView()->GetCurrentPage(), doc->GetWorkForm(0)->GetPage(0));

    // Unmodified: no question at all.
    prompt.ClearCalls();
    EXPECT_TRUE(frame->NewDocument());
    EXPECT_TRUE(prompt.Calls().empty());

    // Yes saves first; when the save is cancelled the document stays.
    frame->InsertWorkForm(2);
    prompt.QueueAnswer(PromptAnswer::Yes);
    chooser.Queue(std::nullopt);
    EXPECT_FALSE(frame->NewDocument());
    EXPECT_EQ(doc->WorkFormCount(), 2);
    EXPECT_TRUE(doc->IsModified());

    // Yes with a name: saved, then a new document.
    prompt.QueueAnswer(PromptAnswer::Yes);
    chooser.Queue(PathOf("kept"));
    EXPECT_TRUE(frame->NewDocument());
    EXPECT_TRUE(std::filesystem::exists(PathOf("kept.qwd")));
    EXPECT_EQ(doc->WorkFormCount(), 1);
    EXPECT_TRUE(doc->GetPathName().empty());
}

TEST_F(FrameDocumentTest, SaveAndOpenRoundTrip)
{
    frame->InsertWorkForm(2);
    frame->InsertWorkForm(2);
    doc->GetWorkForm(1)->AddPage();
    chooser.Queue(PathOf("three"));
    EXPECT_TRUE(frame->SaveDocument({}));
    const std::string path = PathOf("three.qwd");
    ASSERT_EQ(chooser.Calls().size(), 1u);
    EXPECT_TRUE(chooser.Calls()[0].save);
    EXPECT_EQ(chooser.Calls()[0].filter, "Mirel文件(*.mrl)|*.mrl||");
    EXPECT_EQ(doc->GetPathName(), path);
    EXPECT_FALSE(doc->IsModified());

    // A temporary copy is saved under a new name even when one is given.
    doc->isTempCopy = 1;
    chooser.Queue(std::nullopt);
    EXPECT_FALSE(frame->SaveDocument(path));
    EXPECT_EQ(chooser.Calls().size(), 2u);
    doc->isTempCopy = 0;

    COFrame other;
    other.resize(800, 600);
    EXPECT_TRUE(other.OpenDocument(path));
    const CMirelData* read = other.GetDocumentData();
    EXPECT_EQ(read->WorkFormCount(), 3);
    EXPECT_EQ(read->GetWorkForm(1)->PageCount(), 2);
    EXPECT_EQ(read->GetPathName(), path);
    EXPECT_FALSE(read->IsModified());
    EXPECT_EQ(other.ActiveWorkFormIndex(), 0);
    EXPECT_EQ(other.Views().size(), 1u);
    EXPECT_EQ(other.ActiveView()->GetWorkForm(), read->GetWorkForm(0));
}

TEST_F(FrameDocumentTest, AFailedOpenLeavesTheDocumentAlone)
{
    frame->InsertWorkForm(2);
    frame->RenameWorkForm(1, "mine");
    const std::string bad = PathOf("bad.qwd");
    std::ofstream(bad, std::ios::binary) << "this is no document";
    // The modified document is kept (answer No), then the read fails.
    prompt.QueueAnswer(PromptAnswer::No);
    EXPECT_FALSE(frame->OpenDocument(bad));
    EXPECT_EQ(doc->WorkFormCount(), 2);
    EXPECT_EQ(doc->GetWorkForm(1)->name, "mine");
    EXPECT_TRUE(doc->GetPathName().empty());
    EXPECT_EQ(frame->ActiveView()->GetWorkForm(), doc->GetWorkForm(1));
    ASSERT_GE(prompt.Calls().size(), 2u);
    EXPECT_EQ(prompt.Calls()[0].buttons, PromptButtons::YesNoCancel);

    // Cancel at the question: nothing is read.
    prompt.ClearCalls();
    prompt.QueueAnswer(PromptAnswer::Cancel);
    EXPECT_FALSE(frame->OpenDocument(bad));
    EXPECT_EQ(prompt.Calls().size(), 1u);
}

TEST_F(FrameDocumentTest, PageBitmapNames)
{
    EXPECT_EQ(PageBitmapFileNames("/d/a.bmp", 1), (std::vector<std::string> { "/d/a.bmp" }));
    EXPECT_EQ(PageBitmapFileNames("/d/a.bmp", 3), (std::vector<std::string> { "/d/a1.bmp", "/d/a2.bmp", "/d/a3.bmp" }));
    EXPECT_EQ(PageBitmapFileNames("/d/a.BMP", 2), (std::vector<std::string> { "/d/a1.bmp", "/d/a2.bmp" }));
    // A name without ".bmp" keeps every character.
    EXPECT_EQ(PageBitmapFileNames("ab", 2), (std::vector<std::string> { "ab1.bmp", "ab2.bmp" }));
    EXPECT_TRUE(PageBitmapFileNames("x.bmp", 0).empty());
    EXPECT_TRUE(PageBitmapFileNames("", 2).empty());
}

TEST_F(FrameDocumentTest, ExportWritesOneBitmapPerPageAtFullSize)
{
    CWorkForm* wf = doc->GetWorkForm(0);
    EnsurePages(*wf, 3);
    AddPainted(*wf->GetPage(1), { 0, 0, 1050, 1485 }, 0x0000FF);
    chooser.Queue(PathOf("page"));
    EXPECT_TRUE(frame->ExportPageBitmaps());
    ASSERT_EQ(chooser.Calls().size(), 1u);
    EXPECT_EQ(chooser.Calls()[0].filter, "位图(*.bmp)|*.bmp||");
    EXPECT_EQ(chooser.Calls()[0].extensions, "bmp");
    const int dpi = frame->ActiveView()->DpiY();
    for (int i = 1; i <= 3; ++i) {
        QImage image(QString::fromStdString(PathOf(("page" + std::to_string(i) + ".bmp").c_str())), "BMP");
        ASSERT_FALSE(image.isNull()) << i;
        EXPECT_EQ(image.width(), MulDiv(100 * 2100, dpi, 25400) + 1);
        EXPECT_EQ(image.height(), MulDiv(100 * 2970, dpi, 25400) + 1);
        // The second page carries a red quarter in its top-left corner.
        EXPECT_EQ(image.pixelColor(10, 10) == QColor(Qt::red), i == 2) << i;
    }
    // An unwritable place reports the file name.
    EXPECT_FALSE(frame->ExportPageBitmaps("/nonexistent-folder/x.bmp"));
    EXPECT_EQ(prompt.Calls().back().text, "/nonexistent-folder/x1.bmp : Write file error!");
}

} // namespace
} // namespace mirel::test
