#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/batch.h"

namespace zt {
namespace {

std::string RunGraphScript(const std::string& script, std::string* errors = nullptr)
{
    std::ostringstream out, err;
    std::istringstream in(script);
    BatchSession session(out, err);
    session.Run(in);
    if (errors)
        *errors = err.str();
    return out.str();
}

TEST(BatchGraphTest, AGraphIsSetNamedAndKeptByAWorksheetFile)
{
    std::string file = testing::TempDir() + "zt_graph_round_trip.wks";
    std::string shown = RunGraphScript(
        "graph type 1\n"
        "graph range X A1..A4\n"
        "graph range B C1..C4\n"
        "graph title 1 Sales by region\n"
        "graph legend B North\n"
        "graph save Q1\n"
        "graph reset\n"
        "graph show\n"
        "graph use Q1\n"
        "save " + file + "\n"
        "graph show\n");
    std::string reopened = RunGraphScript("open " + file + "\ngraph show\n");
    const std::string q1 =
        "type 1\nX A1..A4\nB C1..C4\ntitle 1 Sales by region\nlegend B North\nnamed Q1\n";
    EXPECT_EQ(shown, "type 0\nX \nnamed Q1\n" + q1);
    EXPECT_EQ(reopened, q1);
}

TEST(BatchGraphTest, BadGraphCommandsAreReported)
{
    std::string errors;
    RunGraphScript("graph type 18\ngraph range G A1..A2\ngraph use NOPE\ngraph fly\n", &errors);
    EXPECT_NE(errors.find("Error:Invalid Number: 18"), std::string::npos);
    EXPECT_NE(errors.find("Error:Expected X or A..F: G"), std::string::npos);
    EXPECT_NE(errors.find("Error:Unknown Graph: NOPE"), std::string::npos);
    EXPECT_NE(errors.find("Error:Expected reset"), std::string::npos);
}

}  // namespace
}  // namespace zt
