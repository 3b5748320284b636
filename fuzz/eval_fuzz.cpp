// Arbitrary bytes as the stored code of a formula cell: linked,
// evaluated, shown as text, recalculated and cleared.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zt::FuzzEvaluateCode(data, size);
    return 0;
}
