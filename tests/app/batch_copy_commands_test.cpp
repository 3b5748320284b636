#include <gtest/gtest.h>

#include <string>

#include "tests/app/batch_script.h"

namespace zt {
namespace {

TEST(BatchCopyCommandsTest, CopyMoveAndSpecialCopies)
{
    BatchRun r = RunScript(
        "enter A1 2\n"
        "enter A2 +A1*3\n"
        "copy A1..A2 B1\n"
        "contents B2\n"
        "move B1..B2 D4\n"
        "contents D5\n"
        "copyvalues scale A1..A2 F1 @SUM(1,1)\n"
        "value F2\n"
        "copyvalues invert A1 G1\n"
        "value G1\n"
        "copyvalues 2 A1..A2 H1\n"
        "value I1\n"
        "copyvalues formula A2 J2\n"
        "contents J2\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "+B1*3\n+D4*3\n12\n0.5\n6\n+A1*3\n");
}

TEST(BatchCopyCommandsTest, RowsAndColumnsAcrossSheets)
{
    BatchRun r = RunScript(
        "tabs 4096\n"
        "enter A12 1\n"
        "enter A4108 2\n"
        "enter B1 +A12+A4108\n"
        "insrow A10..A11 across\n"
        "contents B1\n"
        "delrow A10 across\n"
        "contents B1\n"
        "inscol A1\n"
        "contents C1\n"
        "delcol A1..B1\n"
        "value A1\n"
        "pagebreak C3\n"
        "contents C3\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "+A:A14+B:A14\n+A:A13+B:A13\n+A:B13+B:B13\nERR\n|::\n");
}

TEST(BatchCopyCommandsTest, BadArgumentsAndRefusalsAreErrors)
{
    EXPECT_NE(RunScript("copyvalues double A1 B1\n").status, 0);
    EXPECT_NE(RunScript("copyvalues scale A1 B1 \"x\"\n").status, 0);
    EXPECT_NE(RunScript("insrow A1 everywhere\n").status, 0);
    BatchRun r = RunScript("enter A1 1\nenter A2 2\ncopy A1..A2 A8192\n");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("Copy Error"), std::string::npos);
    r = RunScript("enter IV1 1\ninscol A1\n");
    EXPECT_NE(r.err.find("Cells in last Column"), std::string::npos);
}

}  // namespace
}  // namespace zt
