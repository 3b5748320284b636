#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "app/batch.h"
#include "tests/app/batch_script.h"
#include "tests/app/run_binary.h"

namespace zt {
namespace {

TEST(BatchTest, EntersAndQueriesCells)
{
    BatchRun r = RunScript(
        "enter A1 42\n"
        "enter b2 hello world\n"
        "enter C3 4.5\n"
        "kind A1\nkind B2\nkind C3\nkind D4\n"
        "value A1\nvalue B2\nvalue C3\n"
        "contents B2\ncontents C3\n"
        "show B2\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "ckInteger\nckString\nckReal\nnone\n"
              "42\nhello world\n4.5\n"
              "'hello world\n4.5\n"
              "hello world\n");
}

TEST(BatchTest, ErrorsGoToStandardErrorAndProcessingGoesOn)
{
    BatchRun r = RunScript(
        "set PRO=TRUE\n"
        "enter A1 5\n"
        "bogus A1\n"
        "show IW1\n"
        "enter A1..B2 5\n"
        "set PRO=FALSE\n"
        "enter A1 6\n"
        "value A1\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "6\n");
    std::istringstream lines(r.err);
    std::string first;
    std::getline(lines, first);
    EXPECT_EQ(first, "Error:Protected Cell");
    EXPECT_NE(r.err.find("Error:Unknown Command: bogus"), std::string::npos);
    EXPECT_NE(r.err.find("Error:Out of Range: IW1"), std::string::npos);
    EXPECT_NE(r.err.find("Error:Invalid Address: A1..B2"), std::string::npos);
}

TEST(BatchTest, FormatsWidthsAndRendering)
{
    BatchRun r = RunScript(
        "enter A1 1234.567\n"
        "format A1 C2\n"
        "show A1\n"
        "enter B1 'left\n"
        "enter C1 12345678901\n"
        "width C 8\n"
        "render A1..C1\n"
        "format A1 Z9\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error:Invalid Format: Z9"), std::string::npos);
    std::istringstream lines(r.out);
    std::string show, render;
    std::getline(lines, show);
    std::getline(lines, render);
    EXPECT_EQ(show, "$1,234.57");
    // Columns of 72 pixels are 11 characters wide, an 8-pixel column 3.
    EXPECT_EQ(render, "$1,234.57  left       ***");
}

TEST(BatchTest, NamesAndTheWordsRangeAndCursor)
{
    BatchRun r = RunScript(
        "name sales B2..B9\n"
        "name Costs C1\n"
        "names\n"
        "cursor D4\n"
        "enter CURSOR 7\n"
        "value D4\n"
        "select A1..A2\n"
        "format RANGE F1\n"
        "enter A2 3\n"
        "show A2\n"
        "unname SALES\n"
        "names\n"
        "unname SALES\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "COSTS C1\nSALES B2..B9\n7\n3.0\nCOSTS C1\n");
    EXPECT_EQ(r.err, "Error:Unknown Name: SALES\n");
}

TEST(BatchTest, TextsTravelAsUtf8AndStayWindows1252Inside)
{
    BatchRun r = RunScript("enter A1 Caf\xc3\xa9 \xe2\x82\xac\nshow A1\nenter A2 \xe4\xb8\xad\n");
    EXPECT_EQ(r.out, "Caf\xc3\xa9 \xe2\x82\xac\n");
    EXPECT_EQ(r.err, "Error:Invalid Character\n");
}

// Text longer than a cell holds, or with a 0 byte, is refused or reported:
// nothing is cut or changed without a word.
TEST(BatchTest, LongOrNulTextIsRefusedOrReported)
{
    auto repeat = [](std::string_view piece, int times) {
        std::string s;
        while (times-- > 0)
            s += piece;
        return s;
    };
    const std::string nul(1, '\0');
    const std::string fits = "+A9+" + repeat("0", 235) + "1";  // 240 characters
    BatchRun r = RunScript("enter A1 5\n"
                           "enter A1 " + fits + "0\n"
                           "value A1\n"
                           "enter A2 " + fits + "\n"
                           "value A2\n"
                           "enter A3 " + repeat("+A2", 50) + "\n"
                           "enter A4 " + repeat("x", 239) + "\n"
                           "enter A5 " + repeat("y", 300) + "\n"
                           "contents A5\n"
                           "enter A6 a" + nul + "b\n"
                           "kind A6\n"
                           "name N" + nul + "X A1\n"
                           "names\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "5\n1\n'" + repeat("y", 239) + "\nnone\n");
    EXPECT_EQ(r.err,
              "Error:Formula Too Long\n"
              "Error:Formula Too Long\n"
              "Error:Label Cut to 240 Characters: A5\n"
              "Error:Invalid Character\n"
              "Error:Invalid Range Name\n");
}

// Keys of any length arrive whole; one entry is cut to what a cell holds.
TEST(BatchTest, LongKeyTextsAreTypedWhole)
{
    std::string keys;
    for (int i = 1; i <= 40; ++i)
        keys += "k" + std::to_string(i) + "~{DOWN}";
    BatchRun r = RunScript("keys " + keys + std::string(240, 'z') + "~\n"
                           "contents A1\ncontents A40\ncontents A41\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "'k1\n'k40\n'" + std::string(239, 'z') + "\n");
}

TEST(BatchTest, MemoryFallsAsCellsAreCreated)
{
    BatchRun r = RunScript("memory\nenter A1 1\nmemory\n");
    std::istringstream lines(r.out);
    long long before, after;
    lines >> before >> after;
    EXPECT_EQ(before, std::int64_t(PageHeap::DefaultPageLimit()) * PageHeap::kPageRoom);
    EXPECT_EQ(after, before - 36);
}

// The executable itself: exit status and the command-line checks.
TEST(BatchBinaryTest, ExitStatusTellsHowTheRunWent)
{
    std::string out;
    EXPECT_EQ(RunBinary("--batch", "enter A1 2\nvalue A1\n", out), 0);
    EXPECT_EQ(out, "2\n");
    EXPECT_EQ(RunBinary("--batch", "enter A0 2\n", out), 1);
    EXPECT_EQ(RunBinary("--bogus", "", out), 2);
    EXPECT_EQ(RunBinary("--help", "", out), 0);
    EXPECT_NE(out.find("enter ADDR TEXT"), std::string::npos);
}

TEST(BatchBinaryTest, TheDemoScriptRuns)
{
    std::ifstream demo(std::string(ZT_SOURCE_DIR) + "/examples/demo.txt");
    std::stringstream text;
    text << demo.rdbuf();
    std::string out;
    EXPECT_EQ(RunBinary("--batch", text.str(), out), 0) << out;
    EXPECT_NE(out.find("ZENTABULAR"), std::string::npos);
}

}  // namespace
}  // namespace zt
