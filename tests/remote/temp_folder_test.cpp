#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "persist/remote/temp_folder.h"
#include "test_files.h"

namespace mirel {
namespace {

namespace fs = std::filesystem;

TEST(TempFolder, IsPrivateUniqueAndGoesWithItsContents) {
  fs::path kept;
  {
    TempFolder a("download");
    TempFolder b("download");
    ASSERT_TRUE(a.ok());
    ASSERT_TRUE(b.ok());
    EXPECT_NE(a.path(), b.path());
    EXPECT_EQ(a.path().parent_path(), TempFolder::SystemTempDir());
    struct stat st {};
    ASSERT_EQ(::stat(a.path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    test::WriteFile(a.path() / "doc.qwd", "bytes");
    test::WriteFile(a.path() / "sub" / "deep.bin", "more");
    kept = a.path();
  }
  EXPECT_FALSE(fs::exists(kept));
}

TEST(TempFolder, MoveHandsOverTheFolder) {
  TempFolder a("move");
  const fs::path path = a.path();
  TempFolder b(std::move(a));
  EXPECT_FALSE(a.ok());
  EXPECT_EQ(b.path(), path);
  TempFolder c("other");
  const fs::path replaced = c.path();
  c = std::move(b);
  EXPECT_FALSE(fs::exists(replaced));  // the folder it held before is removed
  EXPECT_TRUE(fs::exists(path));
  c.Remove();
  EXPECT_FALSE(fs::exists(path));
}

TEST(TempFolder, FilePathAcceptsOnlySafeNames) {
  TempFolder folder("names");
  ASSERT_TRUE(folder.FilePath("report.qwd").has_value());
  EXPECT_EQ(*folder.FilePath("report.qwd"), folder.path() / "report.qwd");
  for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b", "c:x", "a..b"}) {
    EXPECT_FALSE(folder.FilePath(bad).has_value()) << bad;
  }
}

TEST(TempFolder, FailsCleanlyUnderAMissingParent) {
  TempFolder folder(fs::path("/nonexistent-parent-for-mirel-test"), "x");
  EXPECT_FALSE(folder.ok());
  EXPECT_FALSE(folder.FilePath("a.qwd").has_value());
}

}  // namespace
}  // namespace mirel
