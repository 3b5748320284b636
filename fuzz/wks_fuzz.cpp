// Arbitrary bytes as a worksheet file: read, recalculated, written, merged
// back and listed.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zt::FuzzReadWorksheet(data, size);
    return 0;
}
