// Arbitrary bytes as clipboard text and a script of copies, moves,
// insertions, deletions and undo.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zt::FuzzRangeCommands(data, size);
    return 0;
}
