#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "local_server.h"
#include "persist/remote/http_fetch.h"
#include "persist/remote/remote_file.h"
#include "persist/remote/remote_messages.h"
#include "test_files.h"

namespace mirel {
namespace {

namespace fs = std::filesystem;

class HttpFetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(serverRoot_.ok());
    ASSERT_TRUE(downloads_.ok());
    std::string error;
    ASSERT_TRUE(server_.Start("http_test_server.py",
                              {QString::fromStdString(serverRoot_.path().string())}, &error))
        << error;
    options_.useEnvironmentProxy = false;  // the server is on loopback
    options_.connectTimeout = std::chrono::seconds(10);
    options_.totalTimeout = std::chrono::seconds(60);
  }
  void TearDown() override { server_.Stop(); }

  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(server_.port()) + path;
  }
  void Serve(const std::string& name, const std::string& bytes) {
    test::WriteFile(serverRoot_.path() / name, bytes);
  }
  bool DownloadsEmpty() const { return test::ListFolder(downloads_.path()).empty(); }

  TempFolder serverRoot_{"http-root"};
  TempFolder downloads_{"http-dl"};
  test::LocalServer server_;
  TransferOptions options_;
};

TEST_F(HttpFetchTest, FetchesTheBytesIntoThePrivateFolderOnly) {
  const std::string bytes = test::BinaryBytes(300'000);
  Serve("doc.qwd", bytes);
  Serve("报告.qwd", "chinese name");

  std::uint64_t lastDone = 0;
  int calls = 0;
  fs::path fetchedPath;
  {
    TempFolder folder("fetch");
    RemoteResult<FetchedFile> got = FetchHttp(
        "HTTP://127.0.0.1:" + std::to_string(server_.port()) + "/files/doc.qwd", folder, options_,
        [&](std::uint64_t done, std::uint64_t) {
          lastDone = done;
          ++calls;
          return true;
        });
    ASSERT_TRUE(got.ok()) << got.error().message << " " << got.error().detail;
    EXPECT_EQ(got.value().name, "doc.qwd");
    EXPECT_EQ(got.value().localPath, folder.path() / "doc.qwd");
    EXPECT_EQ(test::ReadFile(got.value().localPath), bytes);
    EXPECT_EQ(test::ListFolder(folder.path()), std::set<std::string>{"doc.qwd"});
    EXPECT_GT(calls, 0);
    EXPECT_EQ(lastDone, bytes.size());
    fetchedPath = got.value().localPath;

    // A second fetch of the same name replaces the first copy.
    Serve("doc.qwd", "changed");
    RemoteResult<FetchedFile> again = FetchHttp(Url("/files/doc.qwd"), folder, options_);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(test::ReadFile(again.value().localPath), "changed");
    EXPECT_EQ(test::ListFolder(folder.path()), std::set<std::string>{"doc.qwd"});

    for (const char* path : {"/files/%E6%8A%A5%E5%91%8A.qwd", "/files/报告.qwd"}) {
      RemoteResult<FetchedFile> chinese = FetchHttp(Url(path), folder, options_);
      ASSERT_TRUE(chinese.ok()) << path << ": " << chinese.error().detail;
      EXPECT_EQ(chinese.value().name, "报告.qwd");
      EXPECT_EQ(test::ReadFile(chinese.value().localPath), "chinese name");
    }
  }
  EXPECT_FALSE(fs::exists(fetchedPath));
}

TEST_F(HttpFetchTest, MissingFilesAndErrorStatusesGiveFileNotFound) {
  const std::string padding(600, ' ');
  Serve("upper.html", "<HTML><HEAD><TITLE>404 NOT FOUND</TITLE></HEAD><BODY>" + padding + "</BODY>");
  Serve("mixed.html", "<html><title>404 Not Found</title></html>");  // shorter than 512 bytes
  Serve("gbk.html", "<title>\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA</title>" + padding);
  Serve("utf8.html", "<title>文件不存在</title>");

  struct Case {
    const char* path;
    RemoteErrorKind kind;
  } cases[] = {
      {"/status/404", RemoteErrorKind::NotFound},
      {"/status/403", RemoteErrorKind::NotFound},
      {"/status/410", RemoteErrorKind::NotFound},
      {"/status/500", RemoteErrorKind::ServerError},
      {"/status/503", RemoteErrorKind::ServerError},
      {"/files/absent.qwd", RemoteErrorKind::NotFound},
      {"/files/upper.html", RemoteErrorKind::NotFound},
      {"/files/mixed.html", RemoteErrorKind::NotFound},
      {"/files/gbk.html", RemoteErrorKind::NotFound},
      {"/files/utf8.html", RemoteErrorKind::NotFound},
  };
  for (const Case& c : cases) {
    RemoteResult<FetchedFile> got = FetchHttp(Url(c.path), downloads_, options_);
    ASSERT_FALSE(got.ok()) << c.path;
    EXPECT_EQ(got.error().kind, c.kind) << c.path;
    EXPECT_EQ(got.error().message, remote_msg::kFileNotFound) << c.path;
    EXPECT_TRUE(DownloadsEmpty()) << c.path;
  }

  // The title only counts in the first 512 bytes.
  const std::string late = padding + "<title>404 Not Found</title>";
  Serve("late.html", late);
  RemoteResult<FetchedFile> got = FetchHttp(Url("/files/late.html"), downloads_, options_);
  ASSERT_TRUE(got.ok());
  EXPECT_EQ(test::ReadFile(got.value().localPath), late);
}

TEST_F(HttpFetchTest, AddressWithoutFileNameIsRefusedBeforeAnyTransfer) {
  for (const std::string& url : {Url("/files/"), Url(""), Url("/files/%2E%2E"), Url("/a%2Fb")}) {
    RemoteResult<FetchedFile> got = FetchHttp(url, downloads_, options_);
    ASSERT_FALSE(got.ok()) << url;
    EXPECT_EQ(got.error().kind, RemoteErrorKind::BadName) << url;
    EXPECT_EQ(got.error().message, remote_msg::kBadFileName) << url;
  }
  EXPECT_TRUE(DownloadsEmpty());
}

TEST_F(HttpFetchTest, OnlyHttpHttpsAndFtpAreFollowed) {
  Serve("doc.qwd", "x");
  const std::string port = std::to_string(server_.port());
  const std::string refused[] = {
      "file:///etc/hostname.txt",
      "gopher://127.0.0.1:" + port + "/files/doc.qwd",
      "dict://127.0.0.1:" + port + "/doc.qwd",
      "scp://127.0.0.1:" + port + "/doc.qwd",
      "unknown-scheme://127.0.0.1/doc.qwd",
      // A redirect may not lead off to a local file or another protocol.
      Url("/redirect-to?url=file:///etc/hostname.txt"),
      Url("/redirect-to?url=dict://127.0.0.1:" + port + "/x.qwd"),
  };
  for (const std::string& url : refused) {
    RemoteResult<FetchedFile> got = FetchHttp(url, downloads_, options_);
    ASSERT_FALSE(got.ok()) << url;
    EXPECT_EQ(got.error().kind, RemoteErrorKind::RefusedScheme) << url << " " << got.error().detail;
    EXPECT_EQ(got.error().message, remote_msg::kRefusedAddress) << url;
  }
  RemoteResult<FetchedFile> control = FetchHttp(Url("/files/doc.qwd\r\nX: y"), downloads_, options_);
  EXPECT_FALSE(control.ok());
  EXPECT_TRUE(DownloadsEmpty());
}

TEST_F(HttpFetchTest, RedirectsAreFollowedUpToTheLimit) {
  Serve("doc.qwd", "redirected bytes");
  options_.maxRedirects = 5;
  RemoteResult<FetchedFile> within = FetchHttp(Url("/redirect/5/doc.qwd"), downloads_, options_);
  ASSERT_TRUE(within.ok()) << within.error().detail;
  EXPECT_EQ(within.value().name, "doc.qwd");
  EXPECT_EQ(test::ReadFile(within.value().localPath), "redirected bytes");

  TempFolder other("redirect");
  RemoteResult<FetchedFile> beyond = FetchHttp(Url("/redirect/6/doc.qwd"), other, options_);
  ASSERT_FALSE(beyond.ok());
  EXPECT_EQ(beyond.error().kind, RemoteErrorKind::ServerError);
  EXPECT_TRUE(test::ListFolder(other.path()).empty());
}

TEST_F(HttpFetchTest, SizeLimitAbortsAndDeletesThePartialFile) {
  options_.maxBytes = 1000;
  Serve("exact.bin", test::BinaryBytes(1000));
  Serve("over.bin", test::BinaryBytes(1001));
  RemoteResult<FetchedFile> exact = FetchHttp(Url("/files/exact.bin"), downloads_, options_);
  ASSERT_TRUE(exact.ok()) << exact.error().detail;
  EXPECT_EQ(fs::file_size(exact.value().localPath), 1000u);
  fs::remove(exact.value().localPath);

  struct Case {
    std::string url;
    std::uint64_t limit;
  } cases[] = {
      {Url("/files/over.bin"), 1000},
      {Url("/huge?declared=1"), 1 << 20},  // refused on the announced length
      {Url("/huge?declared=0"), 1 << 20},  // no length: stopped while arriving
  };
  for (const Case& c : cases) {
    options_.maxBytes = c.limit;
    RemoteResult<FetchedFile> got = FetchHttp(c.url, downloads_, options_);
    ASSERT_FALSE(got.ok()) << c.url;
    EXPECT_EQ(got.error().kind, RemoteErrorKind::TooLarge) << c.url << " " << got.error().detail;
    EXPECT_EQ(got.error().message, remote_msg::kTooLarge);
    EXPECT_TRUE(DownloadsEmpty()) << c.url;
  }
}

TEST_F(HttpFetchTest, CancelStallAndRefusedConnectionLeaveNothing) {
  RemoteResult<FetchedFile> cancelled =
      FetchHttp(Url("/huge?declared=1"), downloads_, options_,
                [](std::uint64_t done, std::uint64_t) { return done < 100'000; });
  ASSERT_FALSE(cancelled.ok());
  EXPECT_EQ(cancelled.error().kind, RemoteErrorKind::Cancelled);
  EXPECT_TRUE(DownloadsEmpty());

  RemoteResult<FetchedFile> thrown =
      FetchHttp(Url("/huge?declared=1"), downloads_, options_,
                [](std::uint64_t, std::uint64_t) -> bool { throw std::runtime_error("x"); });
  ASSERT_FALSE(thrown.ok());
  EXPECT_EQ(thrown.error().kind, RemoteErrorKind::Cancelled);

  options_.totalTimeout = std::chrono::seconds(1);
  RemoteResult<FetchedFile> stalled = FetchHttp(Url("/stall"), downloads_, options_);
  ASSERT_FALSE(stalled.ok());
  EXPECT_EQ(stalled.error().kind, RemoteErrorKind::TimedOut);
  EXPECT_EQ(stalled.error().message, remote_msg::kTimedOut);
  EXPECT_TRUE(DownloadsEmpty());

  const int closed = test::UnusedPort();
  RemoteResult<FetchedFile> refused = FetchHttp(
      "http://127.0.0.1:" + std::to_string(closed) + "/doc.qwd", downloads_, options_);
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error().kind, RemoteErrorKind::ConnectFailed);
  EXPECT_EQ(refused.error().message, remote_msg::kCannotOpenAddress);
  EXPECT_TRUE(DownloadsEmpty());
}

TEST_F(HttpFetchTest, ResolveRemoteFileFetchesAddressesAndPassesLocalNames) {
  Serve("pic.bmp", "BM fake picture bytes");
  RemoteResult<ResolvedFile> remote = ResolveRemoteFile(
      "hTtP://127.0.0.1:" + std::to_string(server_.port()) + "/files/pic.bmp", FtpServer{},
      downloads_, options_);
  ASSERT_TRUE(remote.ok()) << remote.error().detail;
  EXPECT_TRUE(remote.value().downloaded);
  EXPECT_EQ(remote.value().localPath.parent_path(), downloads_.path());
  EXPECT_EQ(test::ReadFile(remote.value().localPath), "BM fake picture bytes");

  RemoteResult<ResolvedFile> local =
      ResolveRemoteFile("/home/someone/pic.bmp", FtpServer{}, downloads_, options_);
  ASSERT_TRUE(local.ok());
  EXPECT_FALSE(local.value().downloaded);
  EXPECT_EQ(local.value().localPath, fs::path("/home/someone/pic.bmp"));

  RemoteResult<ResolvedFile> missing = ResolveRemoteFile(Url("/status/404"), FtpServer{},
                                                         downloads_, options_);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().message, remote_msg::kFileNotFound);
}

}  // namespace
}  // namespace mirel
