#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "persist/remote/remote_messages.h"
#include "persist/remote/temp_folder.h"
#include "persist/remote/word_to_rtf.h"
#include "test_files.h"

namespace mirel {
namespace {

namespace fs = std::filesystem;

// A small document LibreOffice reads whatever the extension says.
const char kRtfDocument[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hello conversion\\par}";

TEST(WordToRtf, WithoutLibreOfficeTheServiceCannotBeCreated) {
  TempFolder folder("word");
  test::WriteFile(folder.path() / "letter.doc", kRtfDocument);
  WordConversionOptions options;
  options.searchPath = std::vector<fs::path>{};  // an empty PATH
  RemoteResult<fs::path> got = ConvertWordToRtf(folder.path() / "letter.doc", folder.path(), options);
  ASSERT_FALSE(got.ok());
  EXPECT_EQ(got.error().kind, RemoteErrorKind::NotInstalled);
  EXPECT_EQ(got.error().message, remote_msg::kWordServiceFailed);
  EXPECT_EQ(test::ListFolder(folder.path()), std::set<std::string>{"letter.doc"});

  // A folder holding something else of that name does not count.
  TempFolder decoy("word-path");
  fs::create_directory(decoy.path() / "soffice");
  test::WriteFile(decoy.path() / "libreoffice", "not executable");
  options.searchPath = std::vector<fs::path>{decoy.path()};
  EXPECT_TRUE(FindOfficeProgram(options.searchPath).empty());
  got = ConvertWordToRtf(folder.path() / "letter.doc", folder.path(), options);
  ASSERT_FALSE(got.ok());
  EXPECT_EQ(got.error().message, remote_msg::kWordServiceFailed);
}

TEST(WordToRtf, MissingInputIsRefusedBeforeStartingAnything) {
  TempFolder folder("word");
  RemoteResult<fs::path> got = ConvertWordToRtf(folder.path() / "absent.doc", folder.path());
  ASSERT_FALSE(got.ok());
  EXPECT_EQ(got.error().kind, RemoteErrorKind::ConversionFailed);
}

TEST(WordToRtf, ConvertsWithTheInstalledLibreOffice) {
  if (FindOfficeProgram().empty()) {
    GTEST_SKIP() << "LibreOffice (soffice) is not installed; the conversion cannot run here";
  }
  TempFolder folder("word");
  TempFolder out("word-out");
  test::WriteFile(folder.path() / "letter.doc", kRtfDocument);
  test::WriteFile(out.path() / "letter.rtf", "stale");
  RemoteResult<fs::path> got = ConvertWordToRtf(folder.path() / "letter.doc", out.path());
  ASSERT_TRUE(got.ok()) << got.error().message << " " << got.error().detail;
  EXPECT_EQ(got.value(), out.path() / "letter.rtf");
  const std::string rtf = test::ReadFile(got.value());
  EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
  EXPECT_NE(rtf.find("Hello conversion"), std::string::npos);
}

// The process handling (no shell, own profile, arguments, time-out) checked
// with stand-in programs written by the test; the real conversion is above.
class OfficeStandInTest : public ::testing::Test {
 protected:
  void Install(const std::string& script) {
    const fs::path program = bin_.path() / "soffice";
    test::WriteFile(program, "#!/bin/sh\n" + script);
    ::chmod(program.c_str(), 0755);
    options_.searchPath = std::vector<fs::path>{bin_.path()};
  }
  TempFolder bin_{"office-bin"};
  TempFolder work_{"office-work"};
  WordConversionOptions options_;
};

TEST_F(OfficeStandInTest, PassesItsArgumentsWithoutAShell) {
  // Writes "<stem>.rtf" into the folder after --outdir and records its arguments.
  Install(
      "log=\"$(dirname \"$0\")/args.txt\"\n"
      "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$log\"; done\n"
      "while [ $# -gt 1 ]; do\n"
      "  if [ \"$1\" = --outdir ]; then out=\"$2\"; fi\n"
      "  shift\n"
      "done\n"
      "base=$(basename \"$1\"); printf '{\\\\rtf1 converted}' > \"$out/${base%.*}.rtf\"\n");
  const std::string name = "a letter; $(touch pwned) `x`.doc";
  test::WriteFile(work_.path() / name, kRtfDocument);
  RemoteResult<fs::path> got = ConvertWordToRtf(work_.path() / name, work_.path(), options_);
  ASSERT_TRUE(got.ok()) << got.error().message << " " << got.error().detail;
  EXPECT_EQ(got.value(), work_.path() / "a letter; $(touch pwned) `x`.rtf");
  EXPECT_EQ(test::ReadFile(got.value()), "{\\rtf1 converted}");
  EXPECT_FALSE(fs::exists(work_.path() / "pwned"));
  EXPECT_FALSE(fs::exists(bin_.path() / "pwned"));

  const std::string args = test::ReadFile(bin_.path() / "args.txt");
  EXPECT_NE(args.find("--headless\n"), std::string::npos);
  EXPECT_NE(args.find("--convert-to\nrtf\n"), std::string::npos);
  EXPECT_NE(args.find("-env:UserInstallation=file:///"), std::string::npos);
  EXPECT_NE(args.find((work_.path() / name).string() + "\n"), std::string::npos);
}

TEST_F(OfficeStandInTest, FailureAndTimeOutLeaveNoRtf) {
  test::WriteFile(work_.path() / "letter.doc", kRtfDocument);

  Install("exit 3\n");
  RemoteResult<fs::path> failed = ConvertWordToRtf(work_.path() / "letter.doc", work_.path(), options_);
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.error().kind, RemoteErrorKind::ConversionFailed);
  EXPECT_EQ(failed.error().message, remote_msg::kWordConvertFailed);

  // Succeeds without writing anything: a stale RTF must not pass for the result.
  test::WriteFile(work_.path() / "letter.rtf", "stale");
  Install("exit 0\n");
  RemoteResult<fs::path> nothing = ConvertWordToRtf(work_.path() / "letter.doc", work_.path(), options_);
  ASSERT_FALSE(nothing.ok());
  EXPECT_FALSE(fs::exists(work_.path() / "letter.rtf"));

  // Hangs, with a child of its own: both are killed at the time-out.
  Install("sleep 300 &\necho $! > \"$(dirname \"$0\")/child.pid\"\nwait\n");
  options_.timeout = std::chrono::milliseconds(500);
  RemoteResult<fs::path> hung = ConvertWordToRtf(work_.path() / "letter.doc", work_.path(), options_);
  ASSERT_FALSE(hung.ok());
  EXPECT_EQ(hung.error().kind, RemoteErrorKind::TimedOut);
  const std::string childPid = test::ReadFile(bin_.path() / "child.pid");
  ASSERT_FALSE(childPid.empty());
  // The child was killed with its group; once reaped by init it is gone.
  const fs::path proc = "/proc/" + childPid.substr(0, childPid.find('\n'));
  bool gone = false;
  for (int i = 0; i < 200 && !gone; ++i) {
    std::string stat = test::ReadFile(proc / "stat");
    gone = stat.empty() || stat.find(") Z") != std::string::npos;
    if (!gone) ::usleep(25'000);
  }
  EXPECT_TRUE(gone);
}

}  // namespace
}  // namespace mirel
