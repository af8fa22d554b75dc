// Opening documents by address and uploading them, against real HTTP and FTP
// servers on 127.0.0.1: the fetched copy never outlives the open, failures
// keep the open document, and an upload leaves no local copy behind.
#include "io_fixture.h"
#include "persist/document_source.h"
#include "persist/remote/remote_messages.h"
#include "persist/remote/temp_folder.h"
#include "platform/messages.h"
#include "remote/local_server.h"

#include <chrono>

namespace mirel::test {
namespace {

namespace fs = std::filesystem;

class RemoteOpenTest : public DocumentIoTest {
protected:
    void SetUp() override
    {
        DocumentIoTest::SetUp();
        root_ = dir_ / "served";
        fs::create_directories(root_);
        TransferOptions& options = files_.Settings().transfer;
        options.useEnvironmentProxy = false;   // the servers are on loopback
        options.connectTimeout = std::chrono::seconds(10);
        options.totalTimeout = std::chrono::seconds(60);
    }
    void TearDown() override
    {
        server_.Stop();
        DocumentIoTest::TearDown();
    }
    void StartHttp()
    {
        std::string error;
        ASSERT_TRUE(server_.Start("http_test_server.py", {QString::fromStdString(root_.string())}, &error)) << error;
    }
    void StartFtp()
    {
        std::string error;
        ASSERT_TRUE(server_.Start("ftp_test_server.py", {QString::fromStdString(root_.string())}, &error)) << error;
        files_.SetFtpServer(Ftp("writer", "secret"));
    }
    FtpServer Ftp(const std::string& user, const std::string& password) const
    {
        return FtpServer{"127.0.0.1:" + std::to_string(server_.port()), user, password};
    }
    std::string Url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(server_.port()) + path;
    }
    void Serve(const std::string& name, const std::string& bytes)
    {
        fs::create_directories((root_ / name).parent_path());
        Write((root_ / name).string(), bytes);
    }

    fs::path root_;   // what the servers serve
    LocalServer server_;
};

TEST_F(RemoteOpenTest, OpensANativeFileByHttpAndDeletesTheDownload)
{
    StartHttp();
    Serve("a.qwd", NativeFileBytes(3, "web"));
    doc_.SetModified(false);
    for (std::string url : {Url("/files/a.qwd"), "HTTP://127.0.0.1:" + std::to_string(server_.port()) + "/files/a.qwd"}) {
        ASSERT_TRUE(files_.OpenFile(url)) << url << ": " << LastMessage();
        EXPECT_EQ(doc_.GetWorkForm(0)->name, "web");
        EXPECT_EQ(doc_.GetWorkForm(0)->PageCount(), 3);
        EXPECT_EQ(doc_.GetPathName(), url);
        EXPECT_EQ(doc_.isTempCopy, 1);   // its local copy is gone: saving asks for a name
        EXPECT_FALSE(doc_.IsModified());
        EXPECT_EQ(LastTransferError(), "");
        EXPECT_TRUE(TempLeftovers().empty());
    }
    // Saving under the address asks for a file name.
    prompt_.QueueText(Path("kept.qwd"));
    ASSERT_TRUE(files_.SaveDocument(doc_.GetPathName()));
    EXPECT_EQ(doc_.GetPathName(), Path("kept.qwd"));
    EXPECT_EQ(Read(Path("kept.qwd")), NativeFileBytes(3, "web"));
}

TEST_F(RemoteOpenTest, HttpFailuresKeepTheDocument)
{
    StartHttp();
    Serve("fake.qwd", "<html><head><TITLE>404 Not FOUND</TITLE></head><body>gone</body></html>");
    Serve("damaged.qwd", NativeFileBytes(2).substr(0, 40));
    struct Case {
        std::string url;
        std::string message;
        bool transfer;   // the last transfer error is set
    };
    const Case cases[] = {
        {Url("/files/"), std::string(remote_msg::kBadFileName), true},
        {Url("/files/missing.qwd"), std::string(remote_msg::kFileNotFound), true},
        {Url("/files/fake.qwd"), std::string(remote_msg::kFileNotFound), true},
        {Url("/files/page.html"), "不能打开这种类型的文件：page.html", false},
        {Url("/files/damaged.qwd"), Message(61728), false},
    };
    const Snapshot before = Take();
    for (const Case& c : cases) {
        prompt_.ClearCalls();
        EXPECT_FALSE(files_.OpenFile(c.url)) << c.url;
        EXPECT_EQ(LastMessage(), c.message) << c.url;
        EXPECT_EQ(LastTransferError(), c.transfer ? c.message : "") << c.url;
        EXPECT_EQ(Take(), before) << c.url;
        EXPECT_TRUE(TempLeftovers().empty()) << c.url;
    }
    // The name comes from the address given, not from where it redirects to.
    prompt_.ClearCalls();
    EXPECT_FALSE(files_.OpenFile(Url("/redirect/1/missing.qwd")));
    EXPECT_EQ(LastMessage(), remote_msg::kFileNotFound);
    EXPECT_EQ(Take(), before);

    // Server down.
    server_.Stop();
    const int port = UnusedPort();
    prompt_.ClearCalls();
    EXPECT_FALSE(files_.OpenFile("http://127.0.0.1:" + std::to_string(port) + "/files/a.qwd"));
    EXPECT_EQ(LastMessage(), remote_msg::kCannotOpenAddress);
    EXPECT_EQ(LastTransferError(), remote_msg::kCannotOpenAddress);
    EXPECT_EQ(Take(), before);
    EXPECT_FALSE(SaveQuestionAsked());
}

TEST_F(RemoteOpenTest, OpensByFtpWithoutThePrefixAndDeletesTheDownload)
{
    StartFtp();
    Serve("docs/b.qwd", NativeFileBytes(2, "ftp"));
    for (const char* name : {"FTP:docs/b.qwd", "ftp:/docs/b.qwd"}) {
        doc_.SetModified(false);
        ASSERT_TRUE(files_.OpenFile(name)) << name << ": " << LastMessage();
        EXPECT_EQ(doc_.GetWorkForm(0)->name, "ftp");
        EXPECT_EQ(doc_.GetWorkForm(0)->PageCount(), 2);
        EXPECT_EQ(doc_.GetPathName(), name);
        EXPECT_EQ(doc_.isTempCopy, 1);
        EXPECT_TRUE(TempLeftovers().empty());
    }

    // Missing file, wrong password, no server: the document stays.
    doc_.SetModified(true);
    const Snapshot before = Take();
    EXPECT_FALSE(files_.OpenFile("FTP:docs/none.qwd"));
    EXPECT_EQ(LastMessage(), remote_msg::kOpenFileFailed);
    files_.SetFtpServer(Ftp("writer", "wrong"));
    EXPECT_FALSE(files_.OpenFile("FTP:docs/b.qwd"));
    EXPECT_EQ(LastMessage(), remote_msg::kLoginFailed);
    EXPECT_EQ(LastTransferError(), remote_msg::kLoginFailed);
    files_.SetFtpServer({});
    EXPECT_FALSE(files_.OpenFile("FTP:docs/b.qwd"));
    EXPECT_EQ(LastMessage(), remote_msg::kNoServer);
    EXPECT_EQ(Take(), before);
    EXPECT_FALSE(SaveQuestionAsked());
    EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(RemoteOpenTest, UploadsANeverSavedDocumentThroughAPrivateCopy)
{
    StartFtp();
    doc_.SetPathName({});
    const std::string expected = NativeBytes(doc_);
    ASSERT_TRUE(files_.UploadDocument("report.qwd")) << LastMessage();
    EXPECT_TRUE(prompt_.Calls().empty());
    EXPECT_EQ(Read((root_ / "report.qwd").string()), expected);
    EXPECT_EQ(doc_.GetPathName(), "");
    EXPECT_FALSE(doc_.IsModified());
    EXPECT_TRUE(TempLeftovers().empty());   // "mrltemp.mrl" went with its folder

    // The server has what a local save writes.
    ASSERT_TRUE(files_.SaveNativeFile(Path("local.qwd")));
    EXPECT_EQ(Read(Path("local.qwd")), Read((root_ / "report.qwd").string()));
}

TEST_F(RemoteOpenTest, UploadsASavedDocumentFromItsOwnPath)
{
    StartFtp();
    ASSERT_TRUE(files_.UploadDocument("FTP:mine.qwd")) << LastMessage();
    EXPECT_EQ(doc_.GetPathName(), Path("report.qwd"));
    EXPECT_FALSE(doc_.IsModified());
    EXPECT_EQ(Read(Path("report.qwd")), Read((root_ / "mine.qwd").string()));
    EXPECT_EQ(Read(Path("report.qwd")), NativeBytes(doc_));
}

TEST_F(RemoteOpenTest, AFailedUploadChangesNothing)
{
    StartFtp();
    Serve("report.qwd", "previous");
    doc_.SetPathName({});
    const Snapshot before = Take();
    struct Case {
        FtpServer server;
        std::string remote, message;
    };
    const Case cases[] = {
        {Ftp("writer", "wrong"), "report.qwd", std::string(remote_msg::kLoginFailed)},
        {Ftp("reader", "look"), "report.qwd", std::string(remote_msg::kUploadFailed)},
        {Ftp("writer", "secret"), "no-folder/report.qwd", std::string(remote_msg::kUploadFailed)},
        {Ftp("writer", "secret"), "", std::string(remote_msg::kBadFileName)},
        {FtpServer{}, "report.qwd", std::string(remote_msg::kNoServer)},
    };
    for (const Case& c : cases) {
        files_.SetFtpServer(c.server);
        prompt_.ClearCalls();
        EXPECT_FALSE(files_.UploadDocument(c.remote)) << c.server.user << " " << c.remote;
        EXPECT_EQ(LastMessage(), c.message) << c.server.user << " " << c.remote;
        EXPECT_EQ(Take(), before);
        EXPECT_EQ(Read((root_ / "report.qwd").string()), "previous");
        EXPECT_TRUE(TempLeftovers().empty());
    }
}

TEST_F(RemoteOpenTest, LoadsDocumentsForTheCommandLine)
{
    StartHttp();
    Serve("c.qwd", NativeFileBytes(4, "cli"));
    SourceSettings settings;
    settings.transfer = files_.Settings().transfer;

    LoadedDocument got = LoadDocumentFile(Url("/files/c.qwd"), settings);
    ASSERT_TRUE(got.document) << got.error;
    EXPECT_EQ(got.document->GetWorkForm(0)->name, "cli");
    EXPECT_EQ(got.document->GetWorkForm(0)->PageCount(), 4);
    EXPECT_TRUE(TempLeftovers().empty());

    Write(Path("d.qwd"), NativeFileBytes(2, "local"));
    got = LoadDocumentFile(Path("d.qwd"), settings);
    ASSERT_TRUE(got.document) << got.error;
    EXPECT_EQ(got.document->GetPathName(), Path("d.qwd"));

    const std::pair<std::string, std::string> failures[] = {
        {Url("/files/none.qwd"), std::string(remote_msg::kFileNotFound)},
        {Url("/"), std::string(remote_msg::kBadFileName)},
        {"FTP:x.qwd", std::string(remote_msg::kNoServer)},
        {Path("none.qwd"), Message(61729)},
        {Path("d.bin"), "不能打开这种类型的文件：d.bin"},
    };
    for (const auto& [name, message] : failures) {
        got = LoadDocumentFile(name, settings);
        EXPECT_FALSE(got.document) << name;
        EXPECT_EQ(got.error, message) << name;
    }
    EXPECT_TRUE(prompt_.Calls().empty());   // nothing is asked or shown
}

}  // namespace
}  // namespace mirel::test
