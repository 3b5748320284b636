// Arbitrary bytes as the cells of a macro and as a button's macro text.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zt::FuzzRunMacro(data, size);
    return 0;
}
