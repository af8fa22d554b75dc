// Opening Word files: the file is copied and converted to RTF in a private
// folder (LibreOffice, or a stand-in program written by the test), the RTF
// goes to the RTF reader, and nothing of the conversion is left afterwards.
#include "io_fixture.h"
#include "persist/document_source.h"
#include "persist/remote/remote_messages.h"
#include "persist/remote/word_to_rtf.h"

#include <sys/stat.h>

namespace mirel::test {
namespace {

namespace fs = std::filesystem;

const char kRtfDocument[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hello conversion\\par}";

class WordOpenTest : public DocumentIoTest {
protected:
    void TearDown() override
    {
        SetRtfImporter(nullptr);
        DocumentIoTest::TearDown();
    }
    // A stand-in "soffice" that writes "<stem>.rtf" into the --outdir folder,
    // holding the bytes of the file it was given.
    void InstallStandIn()
    {
        fs::create_directories(dir_ / "bin");
        const fs::path program = dir_ / "bin" / "soffice";
        Write(program.string(), "#!/bin/sh\n"
                                "while [ $# -gt 1 ]; do\n"
                                "  if [ \"$1\" = --outdir ]; then out=\"$2\"; fi\n"
                                "  shift\n"
                                "done\n"
                                "base=$(basename \"$1\"); cat \"$1\" > \"$out/${base%.*}.rtf\"\n");
        ::chmod(program.c_str(), 0755);
        files_.Settings().word.searchPath = std::vector<fs::path>{dir_ / "bin"};
    }
    // An RTF reader that keeps what it was given.
    void InstallRecordingImporter()
    {
        SetRtfImporter([this](const std::string& path, CMirelData& fresh) {
            importedFrom_ = path;
            imported_ = Read(path);
            fresh.GetWorkForm(0)->name = "from rtf";
            return FileOutcome{};
        });
    }
    std::string importedFrom_, imported_;
};

TEST_F(WordOpenTest, ConvertsTheCopyAndHandsTheRtfToTheReader)
{
    InstallStandIn();
    InstallRecordingImporter();
    Write(Path("Letter.DOC"), kRtfDocument);
    doc_.SetModified(false);
    ASSERT_TRUE(files_.OpenFile(Path("Letter.DOC"))) << LastMessage();
    EXPECT_EQ(imported_, kRtfDocument);
    EXPECT_EQ(fs::path(importedFrom_).extension(), ".rtf");
    EXPECT_EQ(importedFrom_.rfind((dir_ / "tmp").string(), 0), 0u);
    EXPECT_EQ(doc_.GetWorkForm(0)->name, "from rtf");
    EXPECT_EQ(doc_.GetPathName(), Path("Letter.DOC"));
    EXPECT_EQ(doc_.isTempCopy, 1);
    EXPECT_FALSE(doc_.IsModified());
    EXPECT_TRUE(TempLeftovers().empty());
    EXPECT_EQ(Read(Path("Letter.DOC")), kRtfDocument);

    // Saving under the Word file's name asks for another name.
    prompt_.QueueText(std::nullopt);
    EXPECT_FALSE(files_.SaveDocument(Path("Letter.DOC")));
    EXPECT_EQ(Read(Path("Letter.DOC")), kRtfDocument);
}

TEST_F(WordOpenTest, WithoutAnRtfReaderTheConvertedFileIsRefused)
{
    InstallStandIn();
    Write(Path("letter.doc"), kRtfDocument);
    const Snapshot before = Take();
    EXPECT_FALSE(files_.OpenFile(Path("letter.doc")));
    EXPECT_EQ(LastMessage(), "暂不能导入RTF文件：letter.doc");
    EXPECT_EQ(Take(), before);
    EXPECT_FALSE(SaveQuestionAsked());
    EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(WordOpenTest, WithoutLibreOfficeTheServiceCannotBeCreated)
{
    InstallRecordingImporter();
    files_.Settings().word.searchPath = std::vector<fs::path>{};
    Write(Path("letter.doc"), kRtfDocument);
    const Snapshot before = Take();
    EXPECT_FALSE(files_.OpenFile(Path("letter.doc")));
    ASSERT_FALSE(prompt_.Calls().empty());
    EXPECT_EQ(prompt_.Calls().back().text, remote_msg::kWordServiceFailed);
    EXPECT_EQ(prompt_.Calls().back().icon, PromptIcon::Error);
    EXPECT_EQ(Take(), before);
    EXPECT_TRUE(importedFrom_.empty());
    EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(WordOpenTest, ConvertsWithTheInstalledLibreOffice)
{
    if (FindOfficeProgram().empty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; the Word conversion cannot run here";
    Write(Path("letter.doc"), kRtfDocument);
    // Up to the RTF reader: with none installed the converted file is refused.
    if (!HasRtfImporter()) {
        const Snapshot before = Take();
        EXPECT_FALSE(files_.OpenFile(Path("letter.doc")));
        EXPECT_EQ(LastMessage(), "暂不能导入RTF文件：letter.doc");
        EXPECT_EQ(Take(), before);
    }
    InstallRecordingImporter();
    doc_.SetModified(false);
    ASSERT_TRUE(files_.OpenFile(Path("letter.doc"))) << LastMessage();
    EXPECT_EQ(imported_.rfind("{\\rtf", 0), 0u);
    EXPECT_NE(imported_.find("Hello conversion"), std::string::npos);
    EXPECT_EQ(doc_.isTempCopy, 1);
    EXPECT_TRUE(TempLeftovers().empty());
}

}  // namespace
}  // namespace mirel::test
