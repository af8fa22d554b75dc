#include "platform/settings.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace mirel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::vector<std::string> FolderEntries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Sets an environment variable for the life of a scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(temp_.isValid()); }
  fs::path Dir() const { return fs::path(temp_.path().toStdString()); }
  QTemporaryDir temp_;
};

const std::string kSample =
    "; 岚舟文字 settings\n"
    "stray line without equals\n"
    "\n"
    "[Settings]\n"
    "MaxUndoTimes = 12\n"
    "  # indented comment\n"
    "Owner=张三\n"
    "\n"
    "[岚舟文字]\n"
    "工具条1状态=1\n"
    "[broken section\n"
    "水平标尺=0\n";

TEST(IniFile, ReadsValuesLiterallyAndWithoutCase) {
  IniFile ini;
  ini.Parse(kSample);
  EXPECT_EQ(ini.Get("Settings", "MaxUndoTimes"), std::optional<std::string>("12"));
  EXPECT_EQ(ini.Get("settings", "maxundotimes"), std::optional<std::string>("12"));
  EXPECT_EQ(ini.GetString("Settings", "Owner"), "张三");
  EXPECT_EQ(ini.GetInt("岚舟文字", "工具条1状态", -1), 1);
  // "[broken section" is not a section: the key after it stays in 岚舟文字.
  EXPECT_EQ(ini.GetInt("岚舟文字", "水平标尺", -1), 0);
  EXPECT_FALSE(ini.HasSection("broken section"));
  EXPECT_EQ(ini.Get("Settings", "stray line without equals"), std::nullopt);
  EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Settings", "岚舟文字"}));
  EXPECT_EQ(ini.Keys("Settings"), (std::vector<std::string>{"MaxUndoTimes", "Owner"}));
  // Not an integer, or missing: the fallback.
  EXPECT_EQ(ini.GetInt("Settings", "Owner", 7), 7);
  EXPECT_EQ(ini.GetInt("Settings", "Missing", 8), 8);
  EXPECT_EQ(ini.GetInt("Missing", "Missing", 9), 9);
  EXPECT_EQ(ini.ToString(), kSample);  // nothing changed, nothing rewritten
}

TEST(IniFile, RewriteKeepsUnrelatedLines) {
  IniFile ini;
  ini.Parse(kSample);
  EXPECT_TRUE(ini.SetInt("SETTINGS", "maxundotimes", 40));  // existing key, other case
  EXPECT_TRUE(ini.SetString("Settings", "CompanyName", "兰州公司"));
  EXPECT_TRUE(ini.SetString("岚舟文字", "垂直标尺", "1"));
  EXPECT_TRUE(ini.SetInt("BarState", "HorRuler", 1));
  EXPECT_EQ(ini.ToString(),
            "; 岚舟文字 settings\n"
            "stray line without equals\n"
            "\n"
            "[Settings]\n"
            "MaxUndoTimes=40\n"  // the key keeps its spelling
            "  # indented comment\n"
            "Owner=张三\n"
            "CompanyName=兰州公司\n"
            "\n"
            "[岚舟文字]\n"
            "工具条1状态=1\n"
            "[broken section\n"
            "水平标尺=0\n"
            "垂直标尺=1\n"
            "\n"
            "[BarState]\n"
            "HorRuler=1\n");
  EXPECT_TRUE(ini.RemoveKey("Settings", "Owner"));
  EXPECT_FALSE(ini.RemoveKey("Settings", "Owner"));
  EXPECT_TRUE(ini.RemoveSection("岚舟文字"));
  EXPECT_FALSE(ini.HasSection("岚舟文字"));
  EXPECT_EQ(ini.GetString("Settings", "CompanyName"), "兰州公司");
}

TEST(IniFile, KeepsLineEndingsAndByteOrderMark) {
  IniFile ini;
  ini.Parse("\xEF\xBB\xBF[A]\r\nk=v\r\nlast=1");
  EXPECT_EQ(ini.GetString("A", "k"), "v");
  ASSERT_TRUE(ini.SetString("A", "new", "2"));
  EXPECT_EQ(ini.ToString(), "\xEF\xBB\xBF[A]\r\nk=v\r\nlast=1\r\nnew=2\r\n");
}

TEST(IniFile, RefusesEntriesThatWouldBreakTheFile) {
  IniFile ini;
  EXPECT_FALSE(ini.SetString("S", "k", "two\nlines"));
  EXPECT_FALSE(ini.SetString("S", "k\rx", "v"));
  EXPECT_FALSE(ini.SetString("S]", "k", "v"));
  EXPECT_FALSE(ini.SetString("S", "a=b", "v"));
  EXPECT_FALSE(ini.SetString("S", "[x", "v"));
  EXPECT_FALSE(ini.SetString("S", ";x", "v"));
  EXPECT_FALSE(ini.SetString("", "k", "v"));
  EXPECT_FALSE(ini.SetString("S", " ", "v"));
  EXPECT_EQ(ini.ToString(), "");
  EXPECT_TRUE(ini.SetString("S", "k", "a=b;c"));
  EXPECT_EQ(ini.GetString("S", "k"), "a=b;c");
}

TEST(IniFile, HostileInputDoesNotBreakTheReader) {
  IniFile ini;
  std::string binary = "[S]\n"s + "k=\0\x01\xFF\xFE"s + "\n[" + std::string(1 << 20, 'x') + "\n" +
                       "=novalue\n[]\n[S2]junk\nv=" + std::string(1 << 20, 'y') + "\n\r\r\n";
  ini.Parse(binary);
  EXPECT_EQ(ini.GetString("S", "k"), "\0\x01\xFF\xFE"s);
  EXPECT_EQ(ini.GetString("S2", "v").size(), size_t{1} << 20);
  EXPECT_EQ(ini.ToString(), binary);
}

TEST_F(SettingsTest, LoadAndSaveRoundTrip) {
  const fs::path file = Dir() / "配置项.ini";
  WriteFile(file, kSample);
  IniFile ini;
  std::string error;
  ASSERT_TRUE(ini.Load(file, &error)) << error;
  ASSERT_TRUE(ini.SetInt("Settings", "MoveStep", 5));
  ASSERT_TRUE(ini.Save(file, &error)) << error;
  IniFile again;
  ASSERT_TRUE(again.Load(file));
  EXPECT_EQ(again.GetInt("Settings", "MoveStep", 0), 5);
  EXPECT_EQ(again.GetString("Settings", "Owner"), "张三");
  EXPECT_EQ(ReadFile(file).find("[broken section\n") != std::string::npos, true);
  EXPECT_EQ(FolderEntries(Dir()), std::vector<std::string>{"配置项.ini"});  // no temp left

  // A missing file reads as empty.
  IniFile missing;
  EXPECT_TRUE(missing.Load(Dir() / "none.ini"));
  EXPECT_TRUE(missing.Sections().empty());
}

TEST_F(SettingsTest, RefusesHugeFilesAndNonFiles) {
  const fs::path huge = Dir() / "huge.ini";
  WriteFile(huge, "[S]\nk=v\n" + std::string(IniFile::kMaxFileSize, ';'));
  IniFile ini;
  std::string error;
  EXPECT_FALSE(ini.Load(huge, &error));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
  EXPECT_FALSE(ini.HasSection("S"));

  error.clear();
  EXPECT_FALSE(ini.Load(Dir(), &error));
  EXPECT_FALSE(error.empty());
}

TEST_F(SettingsTest, SaveFailureIsReportedAndLeavesNothingBehind) {
  IniFile ini;
  ini.SetString("S", "k", "v");
  std::string error;
  EXPECT_FALSE(ini.Save(Dir() / "no-such-folder" / "a.ini", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ini.Save(Dir(), &error));  // the target is a folder
  // /proc refuses new files even to root.
  if (fs::exists("/proc/self")) {
    error.clear();
    EXPECT_FALSE(ini.Save("/proc/mirel-settings-test.ini", &error));
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(FolderEntries(Dir()), std::vector<std::string>{});
}

TEST_F(SettingsTest, SaveIntoReadOnlyFolderFails) {
  IniFile ini;
  ini.SetString("S", "k", "v");
  std::string error;
  // Root may write anyway: the test is then skipped.
  const fs::path ro = Dir() / "ro";
  fs::create_directory(ro);
  WriteFile(ro / "a.ini", "[S]\nk=old\n");
  fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec);
  const bool enforced = access(ro.c_str(), W_OK) != 0;
  error.clear();
  const bool saved = ini.Save(ro / "a.ini", &error);
  fs::permissions(ro, fs::perms::owner_all);
  if (!enforced) GTEST_SKIP() << "running with rights that ignore folder permissions";
  EXPECT_FALSE(saved);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadFile(ro / "a.ini"), "[S]\nk=old\n");
}

// A write that fails half-way (file size limit) keeps the old file whole.
TEST_F(SettingsTest, FailedWriteKeepsThePreviousFile) {
  const fs::path file = Dir() / "a.ini";
  const std::string old = "[S]\nk=old\n";
  WriteFile(file, old);
  IniFile ini;
  ini.Parse(old);
  ini.SetString("S", "big", std::string(64 * 1024, 'x'));

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  const bool ok = ini.Save(file, &error);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadFile(file), old);
  EXPECT_EQ(FolderEntries(Dir()), std::vector<std::string>{"a.ini"});
}

TEST_F(SettingsTest, ProfileDefaults) {
  Profile profile(Dir() / "lanzhou.ini");
  EXPECT_EQ(profile.MaxUndoTimes(), 30);
  EXPECT_EQ(profile.MoveStep(), 2);
  EXPECT_EQ(profile.MaxIterriveCount(), 200);
  EXPECT_EQ(profile.AltSel(), 1);
  EXPECT_EQ(profile.MirrorFactor(), 15);
  EXPECT_EQ(profile.JumeToNextCell(), 0);
  EXPECT_EQ(profile.Owner(), "");
  EXPECT_EQ(profile.CompanyName(), "");
  EXPECT_FALSE(fs::exists(profile.File()));  // reading creates nothing
}

TEST_F(SettingsTest, ProfileReadsTheFileAndFollowsChanges) {
  const fs::path file = Dir() / "lanzhou.ini";
  WriteFile(file, "[Settings]\nMaxUndoTimes=50\nOwner=李四\nAltSel=zero\n");
  Profile profile(file);
  EXPECT_EQ(profile.MaxUndoTimes(), 50);
  EXPECT_EQ(profile.Owner(), "李四");
  EXPECT_EQ(profile.AltSel(), 1);  // not a number: the default
  WriteFile(file, "[Settings]\nMaxUndoTimes=7\n; another program wrote this file\n");
  EXPECT_EQ(profile.MaxUndoTimes(), 7);
  EXPECT_EQ(profile.Owner(), "");
}

TEST_F(SettingsTest, ProfileWritesThroughAndKeepsOtherLines) {
  const fs::path file = Dir() / "sub" / "lanzhou.ini";
  Profile profile(file);
  ASSERT_TRUE(profile.WriteRulerState(true, false)) << profile.LastError();
  EXPECT_EQ(ReadFile(file), "[BarState]\nHorRuler=1\nVerRuler=0\n");
  WriteFile(file, "# mine\n[BarState]\nHorRuler=1\nVerRuler=0\n");
  ASSERT_TRUE(profile.WriteString("Settings", "Owner", "王五"));
  EXPECT_EQ(ReadFile(file), "# mine\n[BarState]\nHorRuler=1\nVerRuler=0\n\n[Settings]\nOwner=王五\n");
  EXPECT_EQ(profile.Owner(), "王五");
  EXPECT_FALSE(profile.WriteString("Settings", "Bad\nKey", "x"));
}

TEST_F(SettingsTest, ProfileNeverOverwritesAFileItCouldNotRead) {
  const fs::path file = Dir() / "lanzhou.ini";
  const std::string huge = "[Settings]\n" + std::string(IniFile::kMaxFileSize + 10, ';');
  WriteFile(file, huge);
  Profile profile(file);
  EXPECT_EQ(profile.MaxUndoTimes(), 30);
  EXPECT_FALSE(profile.IsWritable());
  EXPECT_FALSE(profile.WriteInt("Settings", "MaxUndoTimes", 3));
  EXPECT_FALSE(profile.LastError().empty());
  EXPECT_EQ(fs::file_size(file), huge.size());
}

TEST_F(SettingsTest, ConfigFolderAndApplicationProfile) {
  const std::string xdg = (Dir() / "xdg").string();
  {
    ScopedEnv noOverride("MIREL_CONFIG_DIR", nullptr);
    ScopedEnv home("XDG_CONFIG_HOME", &xdg);
    EXPECT_EQ(ConfigFolder(), fs::path(xdg) / "lanzhou");
  }
  const std::string mine = (Dir() / "mine").string();
  ScopedEnv override("MIREL_CONFIG_DIR", &mine);
  EXPECT_EQ(ConfigFolder(), fs::path(mine));
  EXPECT_EQ(ResolveProfileFile("MenuData.ini"), fs::path(mine) / "MenuData.ini");
  EXPECT_EQ(ResolveProfileFile("/etc/x.ini"), fs::path("/etc/x.ini"));

  Profile& app = Profile::Application();
  EXPECT_EQ(app.File(), fs::path(mine) / "lanzhou.ini");
  ASSERT_TRUE(app.WriteInt("Settings", "MoveStep", 4)) << app.LastError();
  EXPECT_EQ(Profile::Application().MoveStep(), 4);
  EXPECT_TRUE(fs::exists(fs::path(mine) / "lanzhou.ini"));
}

}  // namespace
}  // namespace mirel
