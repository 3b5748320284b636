// Runs the worksheet scripts under tests/sheets: batch commands that build
// a worksheet, with "expect" lines that check what the program answers.
//
//   expect value ADDR 64          the answer of "value ADDR" (numbers compare as numbers)
//   expect value ADDR ~0.3333333  the same within a relative 1e-9
//   expect contents ADDR +A1*2    any query command works: show, kind, contents, ...
//   expect error                  the command before failed
//   expect error Out of Range: A0 ... with this message (after "Error:")
//
// The token $SHEETS stands for the tests/sheets directory, for scripts that
// read files kept beside them.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/batch.h"
#include "formula/io_result.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

bool ReadNumber(std::string_view s, double& v)
{
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return !s.empty() && ec == std::errc() && end == s.data() + s.size();
}

bool SameAnswer(std::string got, std::string want)
{
    bool approx = !want.empty() && want[0] == '~';
    if (approx)
        want.erase(0, 1);
    double g, w;
    if (ReadNumber(got, g) && ReadNumber(want, w))
        return approx ? std::fabs(g - w) <= 1e-9 * std::max(1.0, std::fabs(w)) : g == w;
    return got == want;
}

std::vector<std::string> Scripts()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(ZT_SOURCE_DIR) / "tests" / "sheets"))
        if (entry.path().extension() == ".txt")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void ReplaceAll(std::string& line, std::string_view token, const std::string& by)
{
    for (std::size_t at = line.find(token); at != std::string::npos; at = line.find(token, at + by.size()))
        line.replace(at, token.size(), by);
}

class SheetScript : public ::testing::TestWithParam<std::string> {};

TEST_P(SheetScript, Runs)
{
    fs::path sheets = fs::path(ZT_SOURCE_DIR) / "tests" / "sheets";
    std::ifstream file(sheets / GetParam());
    ASSERT_TRUE(file) << GetParam();
    TakeIoResult();  // a file operation of an earlier test in this process must not show
    std::ostringstream out, err;
    BatchSession session(out, err);
    std::string line;
    int number = 0;
    bool lastFailed = false;
    std::string lastLine, lastError;
    auto unexpectedFailure = [&] {
        if (lastFailed)
            ADD_FAILURE() << GetParam() << ": unexpected error after \"" << lastLine << "\": " << lastError;
        lastFailed = false;
    };
    while (std::getline(file, line)) {
        ++number;
        ReplaceAll(line, "$SHEETS", sheets.string());
        if (line.rfind("expect ", 0) != 0) {
            unexpectedFailure();
            err.str("");
            lastFailed = !session.RunLine(line);
            lastLine = line;
            lastError = err.str();
            continue;
        }
        std::string rest = line.substr(7);
        if (rest == "error" || rest.starts_with("error ")) {
            EXPECT_TRUE(lastFailed) << GetParam() << ":" << number << ": \"" << lastLine << "\" did not fail";
            if (rest != "error") {
                std::string message = lastError.substr(0, lastError.find('\n'));
                EXPECT_EQ(message, "Error:" + rest.substr(6)) << GetParam() << ":" << number;
            }
            lastFailed = false;
            continue;
        }
        unexpectedFailure();
        std::size_t cmdEnd = rest.find(' ');
        std::size_t addrEnd = rest.find(' ', cmdEnd + 1);
        ASSERT_NE(cmdEnd, std::string::npos) << GetParam() << ":" << number;
        std::string query = rest.substr(0, addrEnd);
        std::string want = addrEnd == std::string::npos ? "" : rest.substr(addrEnd + 1);
        out.str("");
        err.str("");
        EXPECT_TRUE(session.RunLine(query)) << GetParam() << ":" << number << ": " << err.str();
        std::string got = out.str();
        if (!got.empty() && got.back() == '\n')
            got.pop_back();
        EXPECT_TRUE(SameAnswer(got, want))
            << GetParam() << ":" << number << ": " << query << " gave \"" << got << "\", expected \"" << want << "\"";
    }
    unexpectedFailure();
}

INSTANTIATE_TEST_SUITE_P(Sheets, SheetScript, ::testing::ValuesIn(Scripts()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.size() - 4);
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

}  // namespace
}  // namespace zt
