// Random batch scripts, as a hostile user would type them: no crash, the
// dependency bookkeeping right after every command, and a save and reload
// that gives back every cell (longer runs: make fuzz FUZZ_TARGETS=script).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "fuzz/batch_script_fuzz.h"

namespace zt {
namespace {

TEST(BatchRandomScriptTest, ScriptsKeepTheBookkeepingAndSurviveASaveAndReload)
{
    std::mt19937 rng(14);
    for (int script = 0; script < 200; ++script) {
        std::vector<std::uint8_t> bytes(400);
        for (std::uint8_t& b : bytes)
            b = static_cast<std::uint8_t>(rng());
        std::string failure;
        ASSERT_TRUE(RunBatchScript(bytes.data(), bytes.size(), &failure)) << "script " << script << ": " << failure;
    }
}

}  // namespace
}  // namespace zt
