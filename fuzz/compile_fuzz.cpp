// Arbitrary bytes as formula text.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zt::FuzzCompile(data, size);
    return 0;
}
