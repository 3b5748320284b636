// Worksheet files through the ztb32 process: where saves and backups go,
// what they refuse, which names and files reach the readers, and how a
// script's lines end.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/worksheet_io.h"
#include "tests/app/run_binary.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

class BatchFilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::path(testing::TempDir()) / ("zt_bf_" + std::string(info->name()) + "_" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    // Runs a batch script; its standard output and error, and the exit status.
    std::string Run(const std::string& script, int& status, const std::string& args = "--batch")
    {
        std::string out;
        status = RunBinary(args, script, out);
        return out;
    }
    std::string Run(const std::string& script)
    {
        int status = 0;
        std::string out = Run(script, status);
        EXPECT_EQ(status, 0) << script << out;
        return out;
    }

    // The value of A1 in a worksheet file, as batch mode prints it.
    std::string ValueIn(const std::string& file) { return Run("open " + file + "\nvalue A1\n"); }

    static std::string Bytes(const std::string& path)
    {
        std::ifstream f(path, std::ios::binary);
        std::stringstream text;
        text << f.rdbuf();
        return text.str();
    }
    static void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

    // The names in the folder, sorted, separated by blanks.
    std::string Entries(const fs::path& dir) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string text;
        for (const std::string& name : names)
            text += (text.empty() ? "" : " ") + name;
        return text;
    }
    std::string Entries() const { return Entries(dir_); }

    fs::path dir_;
};

TEST_F(BatchFilesTest, BackupsKeepThePreviousVersionAndRemoveNoOtherFile)
{
    // Files whose names a backup once took by replacing the last character.
    for (const char* other : {"budgeb", "vB", "REPORB"})
        Write(Path(other), "keep");
    std::string script;
    for (const char* name : {"budget", "v2", "REPORT", "X.WKS", "y.Wks", "z.wk1"})
        script += "enter A1 1\nsave " + Path(name) + "\nenter A1 2\nsave " + Path(name) + "\n";
    Run(script);

    EXPECT_EQ(Entries(), "REPORB REPORT REPORT.WKB X.WKB X.WKS budgeb budget budget.wkb v2 v2.wkb vB "
                         "y.Wkb y.Wks z.wk1 z.wk1.wkb");
    for (const char* other : {"budgeb", "vB", "REPORB"})
        EXPECT_EQ(Bytes(Path(other)), "keep") << other;
    for (const char* backup : {"budget.wkb", "v2.wkb", "REPORT.WKB", "X.WKB", "y.Wkb", "z.wk1.wkb"})
        EXPECT_EQ(ValueIn(Path(backup)), "1\n") << backup;
    EXPECT_EQ(ValueIn(Path("budget")), "2\n");
}

TEST_F(BatchFilesTest, ASaveWritesALinksTargetAndRefusesAReadOnlyFile)
{
    fs::create_directories(dir_ / "data");
    fs::create_directories(dir_ / "links");
    Run("enter A1 1\nsave " + Path("data/real.wks") + "\n");
    fs::create_symlink("../data/real.wks", dir_ / "links" / "link.wks");

    Run("open " + Path("links/link.wks") + "\nenter A1 2\nsave\n");
    EXPECT_TRUE(fs::is_symlink(dir_ / "links" / "link.wks"));
    EXPECT_EQ(ValueIn(Path("data/real.wks")), "2\n");
    EXPECT_EQ(ValueIn(Path("data/real.wkb")), "1\n");
    EXPECT_EQ(Entries(dir_ / "links"), "link.wks");
    EXPECT_EQ(Entries(dir_ / "data"), "real.wkb real.wks");

    // Read-only for everyone, even for a process that could replace it.
    fs::permissions(dir_ / "data" / "real.wks", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::string before = Bytes(Path("data/real.wks"));
    int status = 0;
    std::string out = Run("open " + Path("links/link.wks") + "\nenter A1 3\nsave\nsave " + Path("data/real.wks") + "\n",
                          status);
    EXPECT_EQ(status, 1);
    std::string refusal = "Error:Unable to WRITE " + Path("links/link.wks") + ": Permission denied\n" +
                          "Error:Unable to WRITE " + Path("data/real.wks") + ": Permission denied\n";
    EXPECT_EQ(out, refusal);
    EXPECT_TRUE(Bytes(Path("data/real.wks")) == before);
    EXPECT_EQ(ValueIn(Path("data/real.wkb")), "1\n");
    EXPECT_EQ(Entries(dir_ / "data"), "real.wkb real.wks");
}

TEST_F(BatchFilesTest, FileNamesReachTheSystemInUtf8)
{
    const std::string sheet = Path("\xc3\xbcn\xc3\xaf.wks");  // ü n ï
    const std::string part = Path("\xc3\xa9t\xc3\xa9.wks");   // é t é
    Write(Path("f\xc3\xbcnf.usr"), "FIVE\n5\n");
    Run("enter A1 7\nsave " + sheet + "\nsave " + sheet + "\nextract A1..A1 " + part + "\n");
    EXPECT_EQ(Entries(), "f\xc3\xbcnf.usr \xc3\xa9t\xc3\xa9.wks \xc3\xbcn\xc3\xaf.wkb \xc3\xbcn\xc3\xaf.wks");

    std::string out = Run("merge " + part + " B1\nuserfns " + Path("f\xc3\xbcnf.usr") +
                          "\nenter C1 @FIVE\nenter D1 +[" + sheet + "]A1\nenter E1 @LINK(\"" + sheet +
                          ">A1\")\nuplink\nprint all\n");
    EXPECT_EQ(out, "B1\t7\nC1\t5\nD1\t7\nE1\t7\n");

    int status = 0;
    EXPECT_EQ(Run("", status, "--batch " + sheet + " --print all"), "A1\t7\n");
    EXPECT_EQ(status, 0);
}

TEST_F(BatchFilesTest, OnlyRegularFilesOfAWorksheetsSizeAreRead)
{
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
    // Sparse: as large as it says without taking the disk.
    fs::path big = dir_ / "big.wks";
    Write(big.string(), "");
    fs::resize_file(big, kMaxWorksheetFileBytes + 1);

    int status = 0;
    std::string out = Run("open /dev/zero\nuserfns /dev/urandom\nmerge " + Path("pipe") + " A1\nopen " + Path("") +
                              "\nopen " + big.string() + "\nuserfns " + big.string() + "\n",
                          status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out, "Error:Not a Regular File: /dev/zero\n"
                   "Error:Not a Regular File: /dev/urandom\n"
                   "Error:Not a Regular File: " + Path("pipe") + "\n"
                   "Error:Not a Regular File: " + Path("") + "\n"
                   "Error:File Too Large: " + big.string() + "\n"
                   "Error:File Too Large: " + big.string() + "\n");
}

TEST_F(BatchFilesTest, ScriptLinesMayEndWithCarriageReturnsAlone)
{
    EXPECT_EQ(Run("enter A1 5\renter A2 +A1*2\rvalue A2\r"
                  "enter B1 {GETNUMBER \"How many?\",B2}\rmacro B1\ranswer 21\rvalue B2\r\n"
                  "value A1\r\n\r\nvalue A2\n"),
              "10\n21\n5\n10\n");
}

// A save killed while it writes leaves its temporary file; the next save of
// the same file takes it away.
TEST_F(BatchFilesTest, TheNextSaveRemovesWhatAKilledSaveLeft)
{
    const std::string file = Path("big.wks");
    const std::string script = "enter A1 " + std::string(200, 'x') + "\ncopy A1 A1..A999\nsave " + file + "\n";
    Run("enter A1 1\nsave " + file + "\n");
    std::string before = Bytes(file);

    std::string in = Path("script");
    Write(in, script);
    // The limit on file size stops the writing with SIGXFSZ, which kills the process.
    std::string command = "ulimit -c 0; ulimit -f 64; exec " + std::string(ZT_BINARY) + " --batch < " + in +
                          " > /dev/null 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    fs::remove(in);
    EXPECT_TRUE(Bytes(file) == before);
    EXPECT_NE(Entries(), "big.wks");

    Run(script);
    EXPECT_EQ(Entries(), "big.wkb big.wks");
    EXPECT_TRUE(Bytes(Path("big.wkb")) == before);
}

}  // namespace
}  // namespace zt
