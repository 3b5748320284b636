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

}  // namespace
}  // namespace zt
