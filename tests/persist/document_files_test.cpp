// Opening, saving and replacing the open document through its files: an open
// that fails or is refused leaves the document, its name and its modified
// state as they were; the save question and the file dialogs go through the
// prompt interface.
#include "io_fixture.h"
#include "persist/document_source.h"
#include "persist/file_dialogs.h"
#include "persist/remote/remote_messages.h"
#include "platform/messages.h"

#include <sys/stat.h>

namespace mirel::test {
namespace {

namespace fs = std::filesystem;

using DocumentFilesTest = DocumentIoTest;

const std::string kSaveQuestion = "文档已修改，是否保存？";

TEST_F(DocumentFilesTest, RefusedOpensLeaveTheDocumentAndAskNothing)
{
    // Everything here is refused before the document is touched, so the
    // user is not even asked about saving.
    Write(Path("notes.xyz"), NativeFileBytes(1));
    Write(Path("README"), NativeFileBytes(1));
    Write(Path("form.xml"), "<doc/>");
    Write(Path("letter.rtf"), "{\\rtf1 hi}");
    fs::create_directories(Path("folder.qwd"));
    ASSERT_EQ(::mkfifo(Path("pipe.qwd").c_str(), 0600), 0);

    struct Case {
        std::string name;
        std::string message;   // a part of the message shown
    };
    const Case cases[] = {
        {Path("absent.qwd"), Message(61729)},
        {Path("absent.txt"), Message(61729)},
        {Path("notes.xyz"), "不能打开这种类型的文件：notes.xyz"},
        {Path("README"), "不能打开这种类型的文件：README"},
        {Path("form.xml"), "暂不能打开XML文档：form.xml"},
        {Path("letter.rtf"), "暂不能导入RTF文件：letter.rtf"},
        {Path("folder.qwd"), "不是文件：folder.qwd"},
        {Path("pipe.qwd"), "不是文件：pipe.qwd"},
        {".", "文件名称错误！"},
        {"..", "文件名称错误！"},
        {Path("sub/"), "文件名称错误！"},
        {Path(".."), "文件名称错误！"},
    };
    const Snapshot before = Take();
    for (const Case& c : cases) {
        prompt_.ClearCalls();
        EXPECT_FALSE(files_.OpenFile(c.name)) << c.name;
        EXPECT_EQ(Take(), before) << c.name;
        EXPECT_FALSE(SaveQuestionAsked()) << c.name;
        EXPECT_NE(LastMessage().find(c.message), std::string::npos) << c.name << ": " << LastMessage();
    }
    // No dialog allowed and no name: failure without a word.
    prompt_.ClearCalls();
    EXPECT_FALSE(files_.OpenFile("", {}, false));
    EXPECT_TRUE(prompt_.Calls().empty());
    EXPECT_EQ(Take(), before);
}

TEST_F(DocumentFilesTest, DamagedOrRefusedNativeFileKeepsTheDocument)
{
    std::string damaged = NativeFileBytes(3);
    damaged.resize(damaged.size() / 2);
    Write(Path("damaged.qwd"), damaged);
    Write(Path("garbage.mrl"), std::string(100, '\x7F'));
    // fileVersion follows formatWord and the notice text.
    std::string newer = NativeFileBytes(1);
    const size_t version = newer.find("LanZhou Office Document") + 23;
    ASSERT_EQ(uint8_t(newer[version]) | uint8_t(newer[version + 1]) << 8, 2005);
    newer[version] = static_cast<char>(2006 & 0xFF);
    Write(Path("newer.qwd"), newer);

    const Snapshot before = Take();
    struct Case {
        const char* name;
        std::string bytes, message;
    };
    const Case cases[] = {
        {"damaged.qwd", damaged, Message(61728)},
        {"garbage.mrl", std::string(100, '\x7F'), Message(61728)},
        {"newer.qwd", newer, Message(41654)},
    };
    for (const auto& [name, bytes, message] : cases) {
        prompt_.ClearCalls();
        EXPECT_FALSE(files_.OpenFile(Path(name))) << name;
        // The file looked fine until read: the question came, "No" was the answer.
        EXPECT_TRUE(SaveQuestionAsked()) << name;
        EXPECT_EQ(LastMessage(), message) << name;
        EXPECT_EQ(Take(), before) << name;
        EXPECT_FALSE(files_.OpenDocument(Path(name))) << name;
        EXPECT_EQ(Take(), before) << name;
        EXPECT_EQ(Read(Path(name)), bytes) << name;   // reading never changes the file
    }
}

TEST_F(DocumentFilesTest, OpensANativeFileAfterTheSaveQuestion)
{
    Write(Path("other.qwd"), NativeFileBytes(3));
    prompt_.QueueAnswer(PromptAnswer::Yes);   // save the modified document first
    const std::string mine = NativeBytes(doc_);
    ASSERT_TRUE(files_.OpenFile(Path("other.qwd")));
    EXPECT_EQ(Read(Path("report.qwd")), mine);   // saved to its own path
    EXPECT_EQ(doc_.GetPathName(), Path("other.qwd"));
    EXPECT_FALSE(doc_.IsModified());
    EXPECT_EQ(doc_.isTempCopy, 0);
    EXPECT_EQ(doc_.GetWorkForm(0)->name, "theirs");
    EXPECT_EQ(doc_.GetWorkForm(0)->PageCount(), 3);
    EXPECT_EQ(NativeBytes(doc_), Read(Path("other.qwd")));

    // Upper-case extensions are native files too; an unmodified document is not asked about.
    Write(Path("OLD.MRL"), NativeFileBytes(2, "old"));
    prompt_.ClearCalls();
    ASSERT_TRUE(files_.OpenFile(Path("OLD.MRL")));
    EXPECT_FALSE(SaveQuestionAsked());
    EXPECT_EQ(doc_.GetWorkForm(0)->name, "old");
}

TEST_F(DocumentFilesTest, YesWhoseSaveFailsOrIsCancelledStopsTheOpen)
{
    Write(Path("other.qwd"), NativeFileBytes(3));

    // Never saved: Yes asks for a name, the user cancels.
    doc_.SetPathName({});
    Snapshot before = Take();
    prompt_.QueueAnswer(PromptAnswer::Yes);
    prompt_.QueueText(std::nullopt);
    EXPECT_FALSE(files_.OpenFile(Path("other.qwd")));
    EXPECT_EQ(Take(), before);

    // The save itself fails: its folder does not exist.
    doc_.SetPathName(Path("no-such-folder/report.qwd"));
    before = Take();
    prompt_.ClearCalls();
    prompt_.QueueAnswer(PromptAnswer::Yes);
    EXPECT_FALSE(files_.OpenFile(Path("other.qwd")));
    EXPECT_EQ(Take(), before);
    EXPECT_EQ(LastMessage(), Message(61729));

    // The native open's own question: Yes with a failed save, then Cancel.
    for (PromptAnswer answer : {PromptAnswer::Yes, PromptAnswer::Cancel}) {
        prompt_.QueueAnswer(answer);
        EXPECT_FALSE(files_.OpenDocument(Path("other.qwd")));
        EXPECT_EQ(Take(), before);
    }
    ASSERT_EQ(prompt_.PendingAnswers(), 0u);

    // No: opened without saving.
    prompt_.QueueAnswer(PromptAnswer::No);
    EXPECT_TRUE(files_.OpenDocument(Path("other.qwd")));
    EXPECT_EQ(doc_.GetWorkForm(0)->PageCount(), 3);
    EXPECT_FALSE(fs::exists(Path("no-such-folder")));
}

TEST_F(DocumentFilesTest, OpenDialogsGiveTheName)
{
    Write(Path("chosen.qwd"), NativeFileBytes(2));
    doc_.SetModified(false);
    prompt_.QueueText(Path("chosen.qwd"));
    ASSERT_TRUE(files_.OpenFile(""));
    EXPECT_EQ(doc_.GetPathName(), Path("chosen.qwd"));

    prompt_.QueueText(std::nullopt);   // cancelled dialog
    EXPECT_FALSE(files_.OpenDocument(""));
    EXPECT_EQ(doc_.GetPathName(), Path("chosen.qwd"));
    EXPECT_FALSE(files_.OpenDocument("", {}, false));
}

TEST_F(DocumentFilesTest, ATemporaryCopyIsSavedUnderANewName)
{
    // As after importing "letter.rtf": saving under its own name asks for another.
    Write(Path("letter.rtf"), "{\\rtf1 original}");
    doc_.SetPathName(Path("letter.rtf"));
    doc_.isTempCopy = 1;

    prompt_.QueueText(std::nullopt);
    EXPECT_FALSE(files_.SaveDocument(Path("letter.rtf")));
    EXPECT_EQ(doc_.isTempCopy, 1);   // a cancelled save changes nothing
    EXPECT_TRUE(doc_.IsModified());

    prompt_.QueueText(Path("letter-saved"));   // typed without an extension
    ASSERT_TRUE(files_.SaveDocument(Path("letter.rtf")));
    EXPECT_EQ(Read(Path("letter.rtf")), "{\\rtf1 original}");
    EXPECT_EQ(doc_.GetPathName(), Path("letter-saved.qwd"));
    EXPECT_EQ(Read(Path("letter-saved.qwd")), NativeBytes(doc_));
    EXPECT_EQ(doc_.isTempCopy, 0);
    EXPECT_FALSE(doc_.IsModified());

    // Another name is saved to at once, temporary copy or not.
    doc_.isTempCopy = 1;
    doc_.SetModified(true);
    prompt_.ClearCalls();
    ASSERT_TRUE(files_.SaveDocument(Path("direct.qwd")));
    EXPECT_TRUE(prompt_.Calls().empty());
    EXPECT_EQ(doc_.GetPathName(), Path("direct.qwd"));
    EXPECT_EQ(doc_.isTempCopy, 0);
}

TEST_F(DocumentFilesTest, SaveRefusesNamesThatAreNoFiles)
{
    const Snapshot before = Take();
    for (const std::string& name : {std::string("."), std::string(".."), Path("."), Path("sub/")}) {
        prompt_.ClearCalls();
        EXPECT_FALSE(files_.SaveNativeFile(name)) << name;
        EXPECT_EQ(LastMessage(), std::string(remote_msg::kBadFileName)) << name;
        EXPECT_EQ(Take(), before) << name;
    }
    prompt_.QueueText("");   // an empty reply is a cancel
    EXPECT_FALSE(files_.SaveNativeFile(""));
    // A folder in the way: the save fails and says so.
    fs::create_directories(Path("taken.qwd"));
    prompt_.ClearCalls();
    EXPECT_FALSE(files_.SaveNativeFile(Path("taken.qwd")));
    EXPECT_FALSE(LastMessage().empty());
    EXPECT_EQ(Take(), before);
}

TEST_F(DocumentFilesTest, NewDocumentAsksAndResets)
{
    const Snapshot before = Take();
    doc_.SetPathName({});
    const Snapshot unnamed = Take();
    prompt_.QueueAnswer(PromptAnswer::Yes);
    prompt_.QueueText(std::nullopt);   // the save is cancelled: nothing is reset
    EXPECT_FALSE(files_.NewDocument());
    EXPECT_EQ(Take(), unnamed);

    doc_.SetPathName(before.path);
    prompt_.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(files_.NewDocument());
    EXPECT_EQ(Read(before.path), before.bytes);
    EXPECT_EQ(doc_.GetPathName(), "");
    EXPECT_FALSE(doc_.IsModified());
    EXPECT_EQ(doc_.WorkFormCount(), 1);
    EXPECT_EQ(doc_.GetWorkForm(0)->PageCount(), 1);
    EXPECT_EQ(NativeBytes(doc_), NativeBytes(*std::make_unique<CMirelData>()));
}

// Hooks the frame gets, in order.
class RecordingEvents : public DocumentEvents {
public:
    void ReleaseCaret() override { log += "release;"; }
    void DocumentReplaced() override { log += "replaced;"; }
    void SetBusy(bool busy) override { log += busy ? "busy;" : "idle;"; }
    std::string log;
};

TEST_F(DocumentFilesTest, TheFrameIsToldAroundAnOpen)
{
    RecordingEvents events;
    files_.SetEvents(&events);
    Write(Path("other.qwd"), NativeFileBytes(1));
    doc_.SetModified(false);
    ASSERT_TRUE(files_.OpenFile(Path("other.qwd")));
    EXPECT_EQ(events.log, "release;busy;idle;busy;idle;replaced;");
    events.log.clear();
    EXPECT_FALSE(files_.OpenFile(Path("absent.qwd")));
    EXPECT_EQ(events.log.find("replaced"), std::string::npos);
    files_.SetEvents(nullptr);
}

TEST(DefaultExtension, IsAddedOnlyToNamesWithoutOne)
{
    EXPECT_EQ(WithDefaultExtension("/a/b", "qwd|mrl"), "/a/b.qwd");
    EXPECT_EQ(WithDefaultExtension("/a/b.mrl", "qwd|mrl"), "/a/b.mrl");
    EXPECT_EQ(WithDefaultExtension("/a.d/b", "qwd|mrl"), "/a.d/b.qwd");
    EXPECT_EQ(WithDefaultExtension("/a/", "qwd|mrl"), "/a/");
    EXPECT_EQ(WithDefaultExtension("..", "qwd|mrl"), "..");
    EXPECT_EQ(WithDefaultExtension("b", ""), "b");
}

TEST(DocumentKinds, FollowTheExtensionInAnyLetterCase)
{
    EXPECT_EQ(KindOfFileName("a.qwd"), DocumentKind::Native);
    EXPECT_EQ(KindOfFileName("A.MRL"), DocumentKind::Native);
    EXPECT_EQ(KindOfFileName("A.TXT"), DocumentKind::Text);
    EXPECT_EQ(KindOfFileName("x.Rtf"), DocumentKind::Rtf);
    EXPECT_EQ(KindOfFileName("x.DOC"), DocumentKind::Word);
    EXPECT_EQ(KindOfFileName("x.xst"), DocumentKind::Xml);
    EXPECT_EQ(KindOfFileName("x.docx"), DocumentKind::Unknown);
    EXPECT_EQ(KindOfFileName("qwd"), DocumentKind::Unknown);
    EXPECT_EQ(KindOfFileName("x."), DocumentKind::Unknown);
}

}  // namespace
}  // namespace mirel::test
