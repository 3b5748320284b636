// Random macro texts, built from pieces of the macro language, must neither
// crash the interpreter nor leave it running.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "fuzz/fuzz_targets.h"

namespace zt {
namespace {

TEST(MacroRobustness, RandomMacroTextsEndCleanly)
{
    const char* pieces[] = {"{", "}", "{DOWN ", "{LET A", ",", "{FOR B1,1,", "{NEXT}", "{CALL SUB}", "{RETURN}",
                            "{BRANCH A1}", "{IF ", "{WHILE 1,A", "{GET A", "{GETNUMBER \"", "\"", "~", "(", ")",
                            "{MENUBRANCH A1}", "{RESTART}", "{EXIT}", "{QUIT}", "{DELAY 1E9}", "{?}", "1E300",
                            "@SUM(A1..A9)", "\n", "{ONERROR NUL}", "{XYZ}", "{SUB}", "\xff", "\x14", "{ANCHOR 1}"};
    std::mt19937 rng(7);
    for (int run = 0; run < 800; ++run) {
        std::string text;
        int n = int(rng() % 24);
        for (int i = 0; i < n; ++i)
            text += pieces[rng() % std::size(pieces)];
        FuzzRunMacro(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }
    EXPECT_TRUE(FuzzEngine().Cur != nullptr);
}

TEST(MacroRobustness, UntrustedMacrosTouchNoFiles)
{
    std::string probe = ::testing::TempDir() + "/zt_fuzz_probe.txt";
    std::string text = "{OPEN 0,2,\"" + probe + "\"}{WRITELN 0,\"x\"}{CLOSE 0}{MKDIR \"" + probe + ".d\"}";
    FuzzRunMacro(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    EXPECT_FALSE(std::filesystem::exists(probe));
    EXPECT_FALSE(std::filesystem::exists(probe + ".d"));
}

}  // namespace
}  // namespace zt
