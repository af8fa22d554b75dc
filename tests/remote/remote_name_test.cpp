#include <gtest/gtest.h>

#include <string>

#include "persist/remote/missing_page.h"
#include "persist/remote/remote_messages.h"
#include "persist/remote/remote_name.h"

namespace mirel {
namespace {

TEST(RemoteName, ClassifiesPrefixesInAnyCase) {
  struct Case {
    const char* name;
    RemoteNameKind kind;
  } cases[] = {
      {"HTTP://host/a.qwd", RemoteNameKind::Http},
      {"http://host/a.qwd", RemoteNameKind::Http},
      {"hTTpS://host/a.qwd", RemoteNameKind::Http},
      {"FTP:docs/a.qwd", RemoteNameKind::Ftp},
      {"ftp:a.qwd", RemoteNameKind::Ftp},
      {"/home/user/a.qwd", RemoteNameKind::Local},
      {"HTTP:/host/a.qwd", RemoteNameKind::Local},
      {"FT", RemoteNameKind::Local},
      {"", RemoteNameKind::Local},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyRemoteName(c.name), c.kind) << c.name;

  EXPECT_EQ(StripFtpPrefix("FTP:docs/a.qwd"), "docs/a.qwd");
  EXPECT_EQ(StripFtpPrefix("ftp:/abs/a.qwd"), "/abs/a.qwd");
  EXPECT_EQ(StripFtpPrefix("docs/a.qwd"), "docs/a.qwd");
  EXPECT_EQ(StripFtpPrefix("FTP"), "FTP");
}

TEST(RemoteName, TakesTheLastPartOfTheAddress) {
  struct Case {
    const char* address;
    const char* name;
  } cases[] = {
      {"http://host/dir/report.qwd", "report.qwd"},
      {"HTTP://HOST:8080/a/b/c/Report.QWD", "Report.QWD"},
      {"http://host/report.qwd?version=2#top", "report.qwd"},
      {"http://host/report.qwd#frag/ment", "report.qwd"},
      {"http://host/%E6%8A%A5%E5%91%8A.qwd", "报告.qwd"},
      {"http://host/报告.qwd", "报告.qwd"},
      {"http://host/a%20b.txt", "a b.txt"},
      {"http://host/bad%FFescape.txt", "bad%FFescape.txt"},  // not UTF-8: kept escaped
      {"http://host/100%.txt", "100%.txt"},
      {"FTP:docs/report.qwd", "report.qwd"},
      {"ftp:report.qwd", "report.qwd"},
      {"docs/sub/plan.mrl", "plan.mrl"},
      {"/abs/plan.mrl", "plan.mrl"},
      {"plan", "plan"},
  };
  for (const Case& c : cases) {
    RemoteResult<std::string> got = ResolveRemoteName(c.address);
    ASSERT_TRUE(got.ok()) << c.address << ": " << got.error().message;
    EXPECT_EQ(got.value(), c.name) << c.address;
  }
}

TEST(RemoteName, RefusesAddressesWithoutASafeName) {
  const std::string tooLong = "http://host/" + std::string(300, 'a') + ".qwd";
  const char* cases[] = {
      "",
      "http://host/",
      "http://host/dir/",
      "http://host/dir/?q=a.qwd",
      "http://host",
      "http://host?x=a.qwd",
      "http://host/.",
      "http://host/..",
      "http://host/%2E%2E",
      "http://host/a%2Fb.qwd",
      "http://host/a%5Cb.qwd",
      "http://host/a%3Ab.qwd",
      "http://host/a%00b.qwd",
      "http://host/a%0Ab.qwd",
      "http://host/x..y.qwd",
      "FTP:",
      "FTP:docs/",
      "ftp:..",
      "docs/a\\b.qwd",
      "c:report.qwd",
      tooLong.c_str(),
  };
  for (const char* address : cases) {
    RemoteResult<std::string> got = ResolveRemoteName(address);
    ASSERT_FALSE(got.ok()) << address << " gave " << got.value();
    EXPECT_EQ(got.error().kind, RemoteErrorKind::BadName) << address;
    EXPECT_EQ(got.error().message, remote_msg::kBadFileName) << address;
  }
}

TEST(RemoteName, SafeLocalNames) {
  EXPECT_TRUE(IsSafeLocalName("report.qwd"));
  EXPECT_TRUE(IsSafeLocalName("报告 2024.qwd"));
  EXPECT_TRUE(IsSafeLocalName(".hidden"));
  EXPECT_TRUE(IsSafeLocalName(std::string(255, 'a')));
  const std::string bad[] = {"", ".", "..", "a/b", "a\\b", "a:b", "a..b", "..a", "a..",
                             std::string("a\0b", 3), "tab\there", "del\x7f",
                             "\xB1\xA8\xB8\xE6.qwd" /* GBK bytes */, "\xC0\xAF" /* overlong '/' */,
                             std::string(256, 'a')};
  for (const std::string& name : bad) EXPECT_FALSE(IsSafeLocalName(name)) << name;
}

TEST(RemoteName, LowerExtension) {
  EXPECT_EQ(LowerExtension("REPORT.TXT"), "txt");
  EXPECT_EQ(LowerExtension("a.b.QwD"), "qwd");
  EXPECT_EQ(LowerExtension("noext"), "");
  EXPECT_EQ(LowerExtension("trailing."), "");
}

TEST(MissingPage, RecognisesTheTitleInTheFirstBytesOnly) {
  struct Case {
    std::string body;
    bool missing;
  } cases[] = {
      {"<html><head><title>404 Not Found</title></head></html>", true},
      {"<HTML><TITLE>404 NOT FOUND</TITLE>", true},
      {"<title>404 nOt FoUnD", true},
      {"<title>\xE6\x96\x87\xE4\xBB\xB6\xE4\xB8\x8D\xE5\xAD\x98\xE5\x9C\xA8</title>", true},
      {"<TITLE>\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA</TITLE>", true},
      {"<title>404 Found</title>", false},
      {"<title> 404 Not Found</title>", false},
      {"<h1>404 Not Found</h1>", false},
      {"", false},
      {std::string(600, ' ') + "<title>404 Not Found</title>", false},
      {std::string(500, ' ') + "<title>404 Not Found</title>", false},  // cut at 512
      {std::string(492, ' ') + "<title>404 not found", true},           // ends exactly at 512
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LooksLikeMissingPage(c.body), c.missing) << c.body.substr(0, 80);
  }
}

}  // namespace
}  // namespace mirel
