// The inquiries that depend on the machine: files, the current directory,
// the outcome of file operations and the memory figures.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/batch.h"
#include "core/cell_entry.h"
#include "formula/evaluator.h"
#include "formula/io_result.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

class SystemFunctions : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "ztsysXXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        std::ofstream(dir_ / "data.txt") << "12345";
        std::ofstream(dir_ / ".hidden") << "x";
    }

    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(dir_ / "data.txt", fs::perms::owner_all, ec);
        fs::remove_all(dir_, ec);
    }

    TextValue Eval(const std::string& formula) { return EvaluateText(session_.Eng(), formula); }
    double Number(const std::string& formula)
    {
        TextValue v = Eval(formula);
        EXPECT_FALSE(v.Error) << formula;
        EXPECT_FALSE(v.IsString) << formula;
        return v.Number;
    }
    std::string Quoted(const fs::path& p) { return "\"" + p.string() + "\""; }

    std::ostringstream out_, err_;
    BatchSession session_{out_, err_};
    fs::path dir_;
};

TEST_F(SystemFunctions, FileInfoOfARegularFile)
{
    std::string name = Quoted(dir_ / "data.txt");
    EXPECT_EQ(Number("@FILEINFO(1," + name + ")"), 5);
    EXPECT_EQ(Number("@FILEINFO(2," + name + ")"), 1);
    // A writable regular file carries the archive bit alone.
    EXPECT_EQ(Number("@FILEINFO(3," + name + ")"), 32);
    TextValue text = Eval("@FILEINFO(4," + name + ")");
    ASSERT_TRUE(text.IsString);
    EXPECT_EQ(text.Text.rfind("5 bytes", 0), 0u) << text.Text;
}

TEST_F(SystemFunctions, FileInfoAttributes)
{
    EXPECT_EQ(Number("@FILEINFO(3," + Quoted(dir_ / ".hidden") + ")"), 32 + 2);
    // A directory exists but is no file to open.
    EXPECT_EQ(Number("@FILEINFO(3," + Quoted(dir_) + ")"), 16);
    EXPECT_EQ(Number("@FILEINFO(2," + Quoted(dir_) + ")"), 0);
    // The superuser may write any file, so only others see it read-only.
    if (geteuid() != 0) {
        fs::permissions(dir_ / "data.txt", fs::perms::owner_read);
        EXPECT_EQ(Number("@FILEINFO(3," + Quoted(dir_ / "data.txt") + ")"), 32 + 1);
    }
}

TEST_F(SystemFunctions, PathIsTheCurrentDirectoryAgainstWhichNamesResolve)
{
    fs::path before = fs::current_path();
    fs::current_path(dir_);
    TextValue path = Eval("@PATH");
    double size = Number("@FILEINFO(1,\"data.txt\")");
    fs::current_path(before);
    ASSERT_TRUE(path.IsString);
    EXPECT_EQ(fs::path(path.Text), fs::canonical(dir_));
    EXPECT_EQ(size, 5);
}

TEST_F(SystemFunctions, IoResultIsClearedByReadingIt)
{
    SetIoResult(2);
    EXPECT_EQ(Number("@IORESULT"), 2);
    EXPECT_EQ(Number("@IORESULT"), 0);
}

TEST_F(SystemFunctions, MemoryFiguresFollowTheCells)
{
    Engine& e = session_.Eng();
    double free0 = Number("@MEMAVAIL(0)");
    double budget0 = Number("@MEMAVAIL(1)");
    for (int row = 0; row < 200; ++row)
        EnterCell(e, "a label long enough to take some room", row, 0);
    EXPECT_LT(Number("@MEMAVAIL(0)"), free0);
    EXPECT_LT(Number("@MEMAVAIL(1)"), budget0);
    double pages = Number("@MEMAVAIL(2)");
    EXPECT_GT(pages, 0);
    EXPECT_EQ(std::fmod(pages, 8192), 0);
}

}  // namespace
}  // namespace zt
