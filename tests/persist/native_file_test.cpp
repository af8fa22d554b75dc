// Opening and saving native files: damaged input never crashes or replaces
// the open document, reading never changes the file, and saving never
// destroys the previous file before the new one is complete.
#include "model/mirel_data.h"
#include "model/table_page.h"
#include "model/work_form.h"
#include "persist/native_file.h"
#include "platform/messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class NativeFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("mirel-native-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    fs::path dir_;
};

// A document the user has open: distinct name and path, modified.
void MakeUsersDocument(CMirelData& doc)
{
    doc.GetWorkForm(0)->name = "mine";
    doc.GetWorkForm(0)->AddPage();
    doc.SetPathName("/home/user/report.qwd");
    doc.SetModified(true);
}

}  // namespace

TEST_F(NativeFile, SaveAndOpenRoundTrip)
{
    CMirelData doc;
    doc.GetWorkForm(0)->AddPage();
    const std::string path = Path("a.qwd");
    ASSERT_TRUE(mirel::SaveNativeFile(path, doc).ok());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_FALSE(doc.IsModified());

    CMirelData again;
    ASSERT_TRUE(mirel::OpenNativeFile(path, again).ok());
    EXPECT_EQ(again.GetWorkForm(0)->PageCount(), 2);
    EXPECT_EQ(again.GetPathName(), path);
    EXPECT_EQ(mirel::NativeBytes(again), Read(path));
}

TEST_F(NativeFile, ReadOnlyFileOpens)
{
    CMirelData doc;
    const std::string path = Path("ro.qwd");
    ASSERT_TRUE(mirel::SaveNativeFile(path, doc).ok());
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    CMirelData again;
    EXPECT_TRUE(mirel::OpenNativeFile(path, again).ok());
}

TEST_F(NativeFile, FailedOpenKeepsTheOpenDocument)
{
    CMirelData good;
    const std::string valid = mirel::NativeBytes(good);
    Write(Path("damaged.qwd"), valid.substr(0, valid.size() / 2));
    Write(Path("garbage.qwd"), std::string(100, '\xFF'));
    fs::create_directories(Path("folder.qwd"));

    struct Case {
        std::string name;
        std::string message;
    };
    const Case cases[] = {
        {"damaged.qwd", mirel::Message(61728)},
        {"garbage.qwd", mirel::Message(61728)},
        {"missing.qwd", mirel::Message(61729)},
        {"folder.qwd", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMirelData doc;
        MakeUsersDocument(doc);
        const std::string before = mirel::NativeBytes(doc);
        const auto out = mirel::OpenNativeFile(Path(c.name), doc);
        EXPECT_EQ(out.status, mirel::FileOutcome::Status::Failed);
        if (!c.message.empty()) {
            EXPECT_EQ(out.message, c.message);
        }
        EXPECT_FALSE(out.message.empty());
        EXPECT_EQ(doc.GetPathName(), "/home/user/report.qwd");
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(mirel::NativeBytes(doc), before);
    }
}

TEST_F(NativeFile, EmptyFileOpensAsANewDocument)
{
    Write(Path("empty.qwd"), "");
    CMirelData doc;
    MakeUsersDocument(doc);
    ASSERT_TRUE(mirel::OpenNativeFile(Path("empty.qwd"), doc).ok());
    EXPECT_EQ(doc.WorkFormCount(), 1);
    EXPECT_EQ(doc.GetWorkForm(0)->PageCount(), 1);
}

TEST_F(NativeFile, FailedSaveLeavesThePreviousFile)
{
    CMirelData doc;
    const std::string path = Path("keep.qwd");
    ASSERT_TRUE(mirel::SaveNativeFile(path, doc).ok());
    const std::string before = Read(path);

    // A file-size limit below the document's size makes the write fail part
    // way, as a full disk would (and it binds root too).
    doc.GetWorkForm(0)->AddPage();
    doc.SetModified(true);
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 200;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto out = mirel::SaveNativeFile(path, doc);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(out.status, mirel::FileOutcome::Status::Failed);
    EXPECT_FALSE(out.message.empty());
    EXPECT_TRUE(doc.IsModified()) << "a failed save leaves the document modified";
    EXPECT_EQ(Read(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1)
        << "no temporary file left behind";
}

TEST_F(NativeFile, SaveIntoMissingFolderIsReported)
{
    CMirelData doc;
    const auto out = mirel::SaveNativeFile(Path("no/such/folder/x.qwd"), doc);
    EXPECT_EQ(out.status, mirel::FileOutcome::Status::Failed);
    EXPECT_EQ(out.message, mirel::Message(61729));
    EXPECT_TRUE(doc.GetPathName().empty());
}

TEST_F(NativeFile, SaveKeepsThePermissionsOfTheReplacedFile)
{
    CMirelData doc;
    const std::string path = Path("perm.qwd");
    Write(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(mirel::SaveNativeFile(path, doc).ok());
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// Every prefix of a valid file, and the file with bytes changed at random,
// is either read or refused cleanly; reading never changes the file.
TEST_F(NativeFile, DamagedFilesAreRefusedCleanly)
{
    CMirelData rich;
    rich.GetWorkForm(0)->AddPage();
    rich.GetWorkForm(0)->watermarkText = "draft";
    rich.GetWorkForm(0)->columnCount = 2;
    rich.GetWorkForm(0)->GetPage(1)->LayoutColumns(nullptr);
    auto second = rich.CreateWorkForm(rich.NextWorkFormId() + 1, rich.NextWorkFormName());
    rich.AddWorkForm(std::move(second));
    const std::string valid = mirel::NativeBytes(rich);

    int read = 0, refused = 0;
    for (size_t n = 0; n < valid.size(); ++n) {
        CMirelData doc;
        const auto out = mirel::ReadNativeBytes(std::string_view(valid).substr(0, n), doc);
        (out.ok() ? read : refused)++;
        if (!out.ok()) {
            EXPECT_EQ(doc.WorkFormCount(), 1);
        }
    }
    EXPECT_EQ(read, 1) << "only the empty prefix reads (as a new document)";

    std::mt19937 rng(20261211);
    const std::string path = Path("fuzzed.qwd");
    for (int round = 0; round < 400; ++round) {
        std::string bytes = valid;
        const int changes = 1 + round % 8;
        for (int k = 0; k < changes; ++k)
            bytes[rng() % bytes.size()] = static_cast<char>(rng());
        Write(path, bytes);
        CMirelData doc;
        const auto out = mirel::OpenNativeFile(path, doc, {}, false);
        if (out.ok()) {
            EXPECT_GE(doc.WorkFormCount(), 1);
        }
        EXPECT_EQ(Read(path), bytes);
    }
}
