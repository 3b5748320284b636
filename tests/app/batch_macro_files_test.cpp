#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/app/batch_script.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(BatchMacroFiles, SlotsWriteAppendAndClose)
{
    fs::path dir = fs::path(::testing::TempDir()) / "zt_macro_files";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string file = (dir / "out.txt").string();
    BatchRun r = RunScript(
        "enter A1 3\n"
        "macrotext {OPEN 2,2,\"" + file + "\"}{WRITELN 2,\"total\"}{WRITE 2,A1*2}{CLOSE 2}\n"
        "eval @IORESULT\n"
        "macrotext {APPEND 0,\"" + file + "\"}{WRITELN 0,\"!\"}{CLOSE 0}\n"
        "macrotext {MKDIR \"" + (dir / "sub").string() + "\"}\n"
        "eval @IORESULT\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "0\n0\n");
    EXPECT_EQ(ReadFile(dir / "out.txt"), "total\r\n6!\r\n");
    EXPECT_TRUE(fs::is_directory(dir / "sub"));
    fs::remove_all(dir);
}

TEST(BatchMacroFiles, BadFileNumbersOnlySetTheResult)
{
    BatchRun r = RunScript(
        "macrotext {WRITELN 6,\"x\"}{LET A1,1}\n"
        "eval @IORESULT\n"
        "value A1\n"
        "macrotext {CLOSE -1}{WRITE 3,\"never opened\"}{LET A2,1}\n"
        "eval @IORESULT\n"
        "value A2\n"
        "macrotext {OPEN 1,1,\"/nonexistent/dir/file.txt\"}\n"
        "eval @IORESULT\n");
    EXPECT_EQ(r.err, "");
    std::istringstream lines(r.out);
    std::string bad, a1, notOpen, a2, missing;
    lines >> bad >> a1 >> notOpen >> a2 >> missing;
    EXPECT_NE(bad, "0");
    EXPECT_EQ(a1, "1");
    EXPECT_NE(notOpen, "0");
    EXPECT_EQ(a2, "1");
    EXPECT_NE(missing, "0");
}

}  // namespace
}  // namespace zt
