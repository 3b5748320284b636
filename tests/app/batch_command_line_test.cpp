// The batch command line as people convert and print files with it: a file
// that cannot be read changes nothing, a file's start-up macro runs only
// when asked for, and no macro makes the program sleep.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/app/run_binary.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

class BatchCommandLineTest : public ::testing::Test {
protected:
    BatchCommandLineTest() : dir(fs::path(testing::TempDir()) / ("zt_cmdline_" + std::to_string(getpid())))
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~BatchCommandLineTest() override { fs::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static std::string Contents(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // A worksheet whose start-up macro writes 99 into B1, after a delay
    // long enough to notice.
    std::string FileWithStartupMacro()
    {
        std::string out;
        std::string file = Path("macro.wks");
        EXPECT_EQ(RunBinary("--batch", "enter A1 7\nenter A5 '{DELAY 1E9}{LET B1,99}\nname AUTOEXEC A5\nsave " + file + "\n", out), 0)
            << out;
        return file;
    }

    fs::path dir;
};

TEST_F(BatchCommandLineTest, NothingIsSavedOrPrintedAfterTheInputFailed)
{
    std::string target = Path("out.wks");
    std::string out;
    ASSERT_EQ(RunBinary("--batch", "enter A1 1\nsave " + target + "\n", out), 0) << out;
    const std::string before = Contents(target);

    EXPECT_EQ(RunBinary("--batch " + Path("missing.wks") + " --save " + target, "", out), 1);
    EXPECT_EQ(out, "Error:Unable to Open File\n");
    EXPECT_EQ(Contents(target), before);
    EXPECT_FALSE(fs::exists(Path("out.wkb")) || fs::exists(Path("out.WKB"))) << "no backup was made";

    // A file cut short is read in part and reported; it is not converted either.
    std::string cut = Path("cut.wks");
    std::ofstream(cut, std::ios::binary) << before.substr(0, before.size() / 2);
    EXPECT_EQ(RunBinary("--batch " + cut + " --save " + target, "", out), 1);
    EXPECT_EQ(Contents(target), before);
    EXPECT_EQ(RunBinary("--batch " + cut + " --print all", "", out), 1);
    EXPECT_EQ(out.find('\t'), std::string::npos) << out;
}

TEST_F(BatchCommandLineTest, AFilesStartupMacroRunsOnlyWhenAskedFor)
{
    std::string file = FileWithStartupMacro();
    std::string out;
    EXPECT_EQ(RunBinary("--batch " + file + " --print B1", "", out), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(RunBinary("--batch " + file + " --recalc --save " + Path("copy.wks"), "", out), 0);
    EXPECT_EQ(RunBinary("--batch " + Path("copy.wks") + " --print B1", "", out), 0);
    EXPECT_EQ(out, "") << "the conversion ran no macro";

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunBinary("--batch " + file + " --macros --print B1", "", out), 0);
    EXPECT_EQ(out, "B1\t99\n");
    EXPECT_EQ(RunBinary("--batch", "open " + file + "\nvalue B1\n", out), 0);
    EXPECT_EQ(out, "99\n") << "the open command runs it";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << "a delay of eleven days";
}

TEST_F(BatchCommandLineTest, AMacroWaitingForeverIsBrokenOffAtItsStepBudget)
{
    auto start = std::chrono::steady_clock::now();
    std::string out;
    EXPECT_EQ(RunBinary("--batch", "enter A1 '{DELAY 60000}{BRANCH A1}\nmacro A1\nenter B1 3\nvalue B1\n", out), 1);
    EXPECT_EQ(out, "Error:Break! A1\n3\n") << "broken off and said so; the script goes on";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace
}  // namespace zt
