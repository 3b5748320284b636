#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/batch.h"
#include "tests/app/batch_script.h"

namespace zt {
namespace {

TEST(BatchRangeCommandsTest, FillSumEraseAndGraph)
{
    BatchRun r = RunScript(
        "enter A1 C\n"
        "spfill A1..C1\n"
        "value C1\n"
        "enter A2 10\n"
        "spfill A2..A4\n"
        "value A4\n"
        "spsum A2..A5 A5\n"
        "contents A5\n"
        "value A5\n"
        "format A3 F2\n"
        "erase A2..A3\n"
        "value A5\n"
        "contents A3\n"
        "quickgraph A1..C2\n"
        "quickgraph A1..A3\n"
        "graph show\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "E\n"
              "12\n"
              "@SUM(A2..A4)\n"
              "33\n"
              "12\n"
              "\n"
              "QGRAPH1\n"
              "type 0\nX A1..C1\nA A2..C2\nnamed QGRAPH1\n");
}

TEST(BatchRangeCommandsTest, BadArgumentsAreReported)
{
    BatchRun r = RunScript(
        "erase\n"
        "spfill Q\n"
        "spsum A1..A3 A1..A2\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error:Invalid Range: \n"), std::string::npos);
    EXPECT_NE(r.err.find("Error:Invalid Range: Q"), std::string::npos);
    EXPECT_NE(r.err.find("Error:Invalid Address: A1..A2"), std::string::npos);
}

}  // namespace
}  // namespace zt
