// Arbitrary bytes as a batch script of the commands people type, saved and
// reopened at the end.
#include <cstddef>
#include <cstdint>

#include "fuzz/batch_script_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zt::FuzzBatchScript(data, size);
    return 0;
}
