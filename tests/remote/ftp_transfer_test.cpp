#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>

#include "local_server.h"
#include "persist/remote/ftp_transfer.h"
#include "persist/remote/remote_file.h"
#include "persist/remote/remote_messages.h"
#include "test_files.h"

namespace mirel {
namespace {

namespace fs = std::filesystem;

class FtpTransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.ok());
    ASSERT_TRUE(downloads_.ok());
    options_.useEnvironmentProxy = false;
    options_.connectTimeout = std::chrono::seconds(10);
    options_.totalTimeout = std::chrono::seconds(60);
    test::WriteFile(root_.path() / "docs" / "report.qwd", original_);
  }
  void TearDown() override { server_.Stop(); }

  void StartServer(QStringList flags = {}) {
    flags.prepend(QString::fromStdString(root_.path().string()));
    std::string error;
    ASSERT_TRUE(server_.Start("ftp_test_server.py", flags, &error)) << error;
  }
  FtpServer Writer(bool passive = true) const {
    return FtpServer{"127.0.0.1:" + std::to_string(server_.port()), "writer", "secret", passive};
  }
  std::string ServerBytes(const std::string& path) const {
    return test::ReadFile(root_.path() / path);
  }
  std::set<std::string> ServerDocs() const { return test::ListFolder(root_.path() / "docs"); }
  bool DownloadsEmpty() const { return test::ListFolder(downloads_.path()).empty(); }

  const std::string original_ = test::BinaryBytes(70'000);
  TempFolder root_{"ftp-root"};
  TempFolder downloads_{"ftp-dl"};
  test::LocalServer server_;
  TransferOptions options_;
};

TEST_F(FtpTransferTest, GetsFilesInPassiveAndActiveMode) {
  StartServer();
  for (bool passive : {true, false}) {
    for (const char* path : {"docs/report.qwd", "/docs/report.qwd"}) {
      TempFolder folder("ftp-get");
      RemoteResult<FetchedFile> got = FetchFtp(path, Writer(passive), folder, options_);
      ASSERT_TRUE(got.ok()) << path << " passive=" << passive << ": " << got.error().message
                            << " " << got.error().detail;
      EXPECT_EQ(got.value().name, "report.qwd");
      EXPECT_EQ(got.value().localPath, folder.path() / "report.qwd");
      EXPECT_EQ(test::ReadFile(got.value().localPath), original_);
      EXPECT_EQ(test::ListFolder(folder.path()), std::set<std::string>{"report.qwd"});
    }
  }
  // A read-only user may read.
  FtpServer reader = Writer();
  reader.user = "reader";
  reader.password = "look";
  RemoteResult<FetchedFile> read = FetchFtp("docs/report.qwd", reader, downloads_, options_);
  ASSERT_TRUE(read.ok()) << read.error().detail;
  EXPECT_EQ(test::ReadFile(read.value().localPath), original_);
}

TEST_F(FtpTransferTest, ResolveRemoteFileTakesFtpNamesInAnyCase) {
  StartServer();
  RemoteResult<ResolvedFile> got =
      ResolveRemoteFile("ftp:docs/report.qwd", Writer(), downloads_, options_);
  ASSERT_TRUE(got.ok()) << got.error().detail;
  EXPECT_TRUE(got.value().downloaded);
  EXPECT_EQ(test::ReadFile(got.value().localPath), original_);
}

TEST_F(FtpTransferTest, FailedGetsLeaveNothingBehind) {
  StartServer();
  FtpServer wrongPassword = Writer();
  wrongPassword.password = "guess";
  FtpServer unknownUser = Writer();
  unknownUser.user = "nobody";
  FtpServer noServer = Writer();
  noServer.address = "  ";
  FtpServer badServer = Writer();
  badServer.address = "127.0.0.1/evil@x";
  FtpServer closed = Writer();
  closed.address = "127.0.0.1:" + std::to_string(test::UnusedPort());

  struct Case {
    const char* what;
    std::string path;
    FtpServer server;
    RemoteErrorKind kind;
    std::string_view message;
  } cases[] = {
      {"wrong password", "docs/report.qwd", wrongPassword, RemoteErrorKind::AuthFailed,
       remote_msg::kLoginFailed},
      {"unknown user", "docs/report.qwd", unknownUser, RemoteErrorKind::AuthFailed,
       remote_msg::kLoginFailed},
      {"no server", "docs/report.qwd", noServer, RemoteErrorKind::NoServer, remote_msg::kNoServer},
      {"bad server", "docs/report.qwd", badServer, RemoteErrorKind::ConnectFailed,
       remote_msg::kConnectFailed},
      {"closed port", "docs/report.qwd", closed, RemoteErrorKind::ConnectFailed,
       remote_msg::kConnectFailed},
      {"missing file", "docs/absent.qwd", Writer(), RemoteErrorKind::NotFound,
       remote_msg::kOpenFileFailed},
      {"missing folder", "nowhere/report.qwd", Writer(), RemoteErrorKind::NotFound,
       remote_msg::kOpenFileFailed},
      {"folder name", "docs/", Writer(), RemoteErrorKind::BadName, remote_msg::kBadFileName},
      {"dot dot", "docs/..", Writer(), RemoteErrorKind::BadName, remote_msg::kBadFileName},
      {"command injection", "docs/a.qwd\r\nDELE report.qwd", Writer(), RemoteErrorKind::BadName,
       remote_msg::kBadFileName},
  };
  for (const Case& c : cases) {
    RemoteResult<FetchedFile> got = FetchFtp(c.path, c.server, downloads_, options_);
    ASSERT_FALSE(got.ok()) << c.what;
    EXPECT_EQ(got.error().kind, c.kind) << c.what << ": " << got.error().detail;
    EXPECT_EQ(got.error().message, c.message) << c.what;
    EXPECT_TRUE(DownloadsEmpty()) << c.what;
  }
  EXPECT_EQ(ServerBytes("docs/report.qwd"), original_);
  EXPECT_EQ(ServerDocs(), std::set<std::string>{"report.qwd"});
}

TEST_F(FtpTransferTest, DownloadSizeLimitDeletesThePartialFile) {
  StartServer();
  options_.maxBytes = 10'000;
  RemoteResult<FetchedFile> got = FetchFtp("docs/report.qwd", Writer(), downloads_, options_);
  ASSERT_FALSE(got.ok());
  EXPECT_EQ(got.error().kind, RemoteErrorKind::TooLarge) << got.error().detail;
  EXPECT_TRUE(DownloadsEmpty());
}

TEST_F(FtpTransferTest, UploadsReplaceTheTargetInBothModes) {
  StartServer();
  TempFolder local("ftp-up");
  for (bool passive : {true, false}) {
    const std::string bytes = test::BinaryBytes(passive ? 123'457 : 9'999) + "end";
    test::WriteFile(local.path() / "mrltemp.mrl", bytes);
    RemoteStatus put = UploadFtp(local.path() / "mrltemp.mrl", "docs/report.qwd", Writer(passive),
                                 options_);
    ASSERT_TRUE(put.ok()) << "passive=" << passive << ": " << put.error().detail;
    EXPECT_EQ(ServerBytes("docs/report.qwd"), bytes);
    EXPECT_EQ(ServerDocs(), std::set<std::string>{"report.qwd"});
  }
  // A new file, an empty one, and one with a Chinese name.
  test::WriteFile(local.path() / "empty.qwd", "");
  ASSERT_TRUE(UploadFtp(local.path() / "empty.qwd", "docs/new.qwd", Writer(), options_).ok());
  EXPECT_TRUE(fs::exists(root_.path() / "docs" / "new.qwd"));
  EXPECT_EQ(fs::file_size(root_.path() / "docs" / "new.qwd"), 0u);
  ASSERT_TRUE(UploadFtp(local.path() / "mrltemp.mrl", "报告.qwd", Writer(), options_).ok());
  EXPECT_EQ(ServerBytes("报告.qwd"), test::ReadFile(local.path() / "mrltemp.mrl"));
}

// Each way an upload can fail keeps the previous file on the server intact and
// leaves no temporary file beside it.
TEST_F(FtpTransferTest, FailedUploadsKeepThePreviousFile) {
  TempFolder local("ftp-up");
  const std::string bytes = test::BinaryBytes(8 << 20);
  test::WriteFile(local.path() / "big.qwd", bytes);
  FtpServer wrongPassword{"", "writer", "guess", true};
  FtpServer reader{"", "reader", "look", true};

  struct Case {
    const char* what;
    QStringList flags;
    FtpServer server;  // address filled in once the server runs
    bool cancel;
    RemoteErrorKind kind;
  } cases[] = {
      {"wrong password", {}, wrongPassword, false, RemoteErrorKind::AuthFailed},
      {"read-only user", {}, reader, false, RemoteErrorKind::ServerError},
      {"cancelled midway", {}, Writer(), true, RemoteErrorKind::Cancelled},
      {"connection cut midway", {"--abort-upload-after", "300000"}, Writer(), false,
       RemoteErrorKind::ServerError},
      {"rename refused", {"--no-rename"}, Writer(), false, RemoteErrorKind::ServerError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server_.Stop();
    StartServer(c.flags);
    FtpServer server = c.server;
    server.address = "127.0.0.1:" + std::to_string(server_.port());
    TransferProgress progress;
    if (c.cancel) progress = [](std::uint64_t done, std::uint64_t) { return done < (1 << 20); };
    RemoteStatus put = UploadFtp(local.path() / "big.qwd", "docs/report.qwd", server, options_,
                                 progress);
    ASSERT_FALSE(put.ok());
    EXPECT_EQ(put.error().kind, c.kind) << put.error().detail;
    if (c.kind != RemoteErrorKind::AuthFailed && c.kind != RemoteErrorKind::Cancelled) {
      EXPECT_EQ(put.error().message, remote_msg::kUploadFailed);
    }
    EXPECT_EQ(ServerBytes("docs/report.qwd"), original_);
    EXPECT_EQ(ServerDocs(), std::set<std::string>{"report.qwd"});
  }
}

TEST_F(FtpTransferTest, ServerThatWillNotRenameOverAFileStillGetsTheUpload) {
  StartServer({"--no-rename-over"});
  TempFolder local("ftp-up");
  test::WriteFile(local.path() / "new.qwd", "the new document");
  RemoteStatus put = UploadFtp(local.path() / "new.qwd", "docs/report.qwd", Writer(), options_);
  ASSERT_TRUE(put.ok()) << put.error().detail;
  EXPECT_EQ(ServerBytes("docs/report.qwd"), "the new document");
  EXPECT_EQ(ServerDocs(), std::set<std::string>{"report.qwd"});
}

TEST_F(FtpTransferTest, UploadOfAMissingLocalFileSendsNothing) {
  StartServer();
  RemoteStatus put = UploadFtp(root_.path() / "no-such-file.qwd", "docs/report.qwd", Writer(),
                               options_);
  ASSERT_FALSE(put.ok());
  EXPECT_EQ(put.error().kind, RemoteErrorKind::LocalFileError);
  EXPECT_EQ(ServerBytes("docs/report.qwd"), original_);
  EXPECT_EQ(ServerDocs(), std::set<std::string>{"report.qwd"});
}

TEST_F(FtpTransferTest, DeleteRemovesOnlyTheNamedFile) {
  test::WriteFile(root_.path() / "docs" / "old.qwd", "old");
  StartServer();
  RemoteStatus del = DeleteFtp("docs/old.qwd", Writer(), options_);
  ASSERT_TRUE(del.ok()) << del.error().detail;
  EXPECT_EQ(ServerDocs(), std::set<std::string>{"report.qwd"});

  RemoteStatus again = DeleteFtp("docs/old.qwd", Writer(), options_);
  ASSERT_FALSE(again.ok());
  EXPECT_EQ(again.error().message, remote_msg::kDeleteFailed);

  FtpServer reader = Writer();
  reader.user = "reader";
  reader.password = "look";
  EXPECT_FALSE(DeleteFtp("docs/report.qwd", reader, options_).ok());
  EXPECT_EQ(ServerBytes("docs/report.qwd"), original_);
}

TEST_F(FtpTransferTest, LineBreaksInRemotePathsCannotSmuggleCommands) {
  StartServer();
  TempFolder local("ftp-up");
  test::WriteFile(local.path() / "new.qwd", "new");
  for (const std::string& path : {std::string("docs/x\r\nDELE docs/report.qwd"),
                                  std::string("docs\n/report.qwd")}) {
    RemoteStatus del = DeleteFtp(path, Writer(), options_);
    ASSERT_FALSE(del.ok()) << path;
    EXPECT_EQ(del.error().kind, RemoteErrorKind::BadName);
    RemoteStatus put = UploadFtp(local.path() / "new.qwd", path, Writer(), options_);
    ASSERT_FALSE(put.ok()) << path;
    EXPECT_EQ(put.error().kind, RemoteErrorKind::BadName);
  }
  EXPECT_EQ(ServerBytes("docs/report.qwd"), original_);
  EXPECT_EQ(ServerDocs(), std::set<std::string>{"report.qwd"});
}

}  // namespace
}  // namespace mirel
