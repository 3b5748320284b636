#include <gtest/gtest.h>

#include "tests/app/batch_script.h"

namespace zt {
namespace {

TEST(BatchMacroCommands, MacroRunsDownItsColumnUntilAnEmptyCell)
{
    BatchRun r = RunScript(
        "enter A10 {LET B1,5}\n"
        "enter A11 {FOR C1,1,10,1}{LET D1,D1+C1}{NEXT}\n"
        "macro A10\n"
        "value B1\n"
        "value D1\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "5\n55\n");
}

TEST(BatchMacroCommands, KeysTypeAndPointAsAtTheKeyboard)
{
    BatchRun r = RunScript(
        "cursor A1\n"
        "keys 12{DOWN}+{UP}*2~\n"
        "contents A2\n"
        "value A2\n"
        "macrotext {GOTO C3}7~\n"
        "value C3\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "+A1*2\n24\n7\n");
}

TEST(BatchMacroCommands, InputCommandsTakeAnswerLines)
{
    BatchRun r = RunScript(
        "enter E1 {GETNUMBER \"How many?\",E2}{GETLABEL \"Name?\",E3}\n"
        "macro E1\n"
        "answer 42\n"
        "answer Smith\n"
        "value E2\n"
        "value E3\n"
        "answer 7\n"
        "macro E1\n"
        "answer x\n"
        "value E2\n"
        "value E3\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "42\nSmith\n7\nx\n");
}

TEST(BatchMacroCommands, AnInputWithoutAnswerEndsTheMacroInsteadOfWaiting)
{
    BatchRun r = RunScript(
        "enter E1 {GETNUMBER \"How many?\",E2}{LET F1,1}\n"
        "macro E1\n"
        "value F1\n");
    EXPECT_NE(r.err, "");
    EXPECT_EQ(r.out, "0\n");
    EXPECT_EQ(r.status, 1);
}

TEST(BatchMacroCommands, AMacroThatLoopsForeverIsBrokenOff)
{
    BatchRun r = RunScript(
        "enter A1 {BRANCH A1}\n"
        "macro A1\n"
        "enter B1 {LET C1,2}\n"
        "macro B1\n"
        "value C1\n");
    EXPECT_EQ(r.err, "Error:Break! A1\n");
    EXPECT_EQ(r.out, "2\n");
}

TEST(BatchMacroCommands, OpeningAWorksheetStartsItsAutoexecMacro)
{
    std::string file = ::testing::TempDir() + "/autoexec_macro.wks";
    BatchRun saved = RunScript(
        "enter A1 {LET B1,@SUM(40,2)}\n"
        "name AUTOEXEC A1\n"
        "save " + file + "\n");
    ASSERT_EQ(saved.err, "");
    BatchRun r = RunScript("open " + file + "\nvalue B1\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "42\n");
}

}  // namespace
}  // namespace zt
