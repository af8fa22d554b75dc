// The headless command line, run as the real program: new documents,
// conversion to qwd and png, the structure dump, and files that fail.
#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct RunResult {
    int exitCode = -1;
    std::string out;
};

// Runs lanzhou with the arguments (no shell involved: arguments are quoted
// for popen's shell by single quotes, and test paths hold none).
RunResult Lanzhou(const std::vector<std::string>& args)
{
    std::string cmd = std::string("'") + LANZHOU_BINARY + "'";
    for (const std::string& a : args)
        cmd += " '" + a + "'";
    cmd += " 2>&1";
    RunResult run;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        run.out.append(buf.data(), n);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("mirel-cli-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "out");
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string P(const std::string& name) const { return (dir_ / name).string(); }
    fs::path dir_;
};

}  // namespace

TEST_F(CommandLine, NewDocumentDumpsItsStructure)
{
    ASSERT_EQ(Lanzhou({"--new", P("a.qwd")}).exitCode, 0);
    const RunResult dump = Lanzhou({"--dump", P("a.qwd")});
    EXPECT_EQ(dump.exitCode, 0);
    EXPECT_NE(dump.out.find("workform \"工作表1\" id=0xe900 page=2100x2970"), std::string::npos) << dump.out;
    EXPECT_NE(dump.out.find("page 0 columns=1 objects=0"), std::string::npos);
    EXPECT_NE(dump.out.find("CTextObj (200,200,1900,2770) flow=0"), std::string::npos);
}

TEST_F(CommandLine, ConvertsEveryFileAndReportsTheOnesThatFail)
{
    ASSERT_EQ(Lanzhou({"--new", P("good.qwd")}).exitCode, 0);
    std::ofstream(P("bad.qwd"), std::ios::binary) << std::string("\x01\x00\x03xyz", 6);

    // A missing output folder is made.
    const RunResult png = Lanzhou({"--convert-to", "png", "--outdir", P("out/pages"), P("bad.qwd"), P("good.qwd")});
    EXPECT_EQ(png.exitCode, 1);
    EXPECT_NE(png.out.find("bad.qwd: 非预期的文件格式。"), std::string::npos) << png.out;
    const QImage page(QString::fromStdString(P("out/pages/good-1.png")));
    ASSERT_FALSE(page.isNull());
    // A4 at 150 dpi with the one-pixel shadow.
    EXPECT_EQ(page.width(), 1241);
    EXPECT_EQ(page.height(), 1755);
    EXPECT_EQ(page.pixelColor(600, 800), QColor(Qt::white));

    const RunResult qwd = Lanzhou({"--convert-to", "qwd", "--outdir", P("out"), P("good.qwd")});
    EXPECT_EQ(qwd.exitCode, 0) << qwd.out;
    std::ifstream a(P("good.qwd"), std::ios::binary), b(P("out/good.qwd"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}), std::string(std::istreambuf_iterator<char>(b), {}));

    // An output folder that cannot be made (a file stands in its path).
    const RunResult blocked = Lanzhou({"--convert-to", "pdf", "--outdir", P("good.qwd/x"), P("good.qwd")});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_NE(blocked.out.find("good.qwd/x"), std::string::npos) << blocked.out;
}

TEST_F(CommandLine, UsageErrors)
{
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const Case cases[] = {
        {{"--convert-to"}, 2},
        {{"--convert-to", "docx", "x.qwd"}, 2},
        {{"--dump"}, 2},
        {{"--bogus", "x"}, 2},
        {{"--help"}, 0},
        {{"--dump", "/no/such/file.qwd"}, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Lanzhou(c.args).exitCode, c.exitCode) << c.args[0];
}
