// Random clipboard texts and command scripts through the range fuzz target:
// no crash, and row lists stay sound (the target aborts otherwise).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "fuzz/fuzz_targets.h"

namespace zt {
namespace {

TEST(RangeCommandsRandomTest, RandomScriptsKeepTheRowListsSound)
{
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> byte(0, 255);
    // Clipboard texts built of entries, separators and attribute lists, so
    // that the pastes fill blocks for the commands to work on.
    const char* pieces[] = {"1", "2.5", "'ab", "+A1", "@SUM(A1..C3)", "+B2*$A$1", "\t", "\t", "\r\n", ";F3,C1", "x;y"};
    for (int run = 0; run < 300; ++run) {
        std::string text;
        while (text.size() < 200)
            text += pieces[rng() % std::size(pieces)];
        std::vector<std::uint8_t> input{static_cast<std::uint8_t>(byte(rng) & 0x0F), 0};
        input.insert(input.end(), text.begin(), text.end());
        input[1] = static_cast<std::uint8_t>(input.size() - 2);
        for (int i = 0; i < 5 * 12; ++i)
            input.push_back(static_cast<std::uint8_t>(byte(rng)));
        FuzzRangeCommands(input.data(), input.size());
        Engine& e = FuzzEngine();
        EXPECT_EQ(e.Cur->MaxRow, 0) << run;
    }
}

}  // namespace
}  // namespace zt
