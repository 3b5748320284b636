#pragma once
#include <array>
#include <cstdint>

#include "core/engine.h"
#include "formula/compiled_formula.h"

namespace zt::compile {

// What one compilation shares across its nested levels. Failure is the
// engine's ErrorFlag, which the compiler only ever sets.
struct CompilerState {
    explicit CompilerState(Engine& e) : E(e) {}

    Engine& E;
    std::array<std::uint8_t, 242> Out{};
    int Pos = 2;              // next byte; 0 and 1 take the length at the end
    int PendingExternal = 0;  // offset of the range placeholder a file name still waits to fill
    int Depth = 0;            // parenthesised groups currently open

    bool Failed() const { return E.Err.ErrorFlag; }
    void Fail() { E.Err.ErrorFlag = true; }

    // Appends one byte. Code that would put the end marker at 240 or
    // beyond cannot be stored: the formula is too long. Anything written
    // while a file name waits for its range, which must follow it
    // directly, fails.
    void Emit(std::uint8_t b)
    {
        if (Failed())
            return;
        if (PendingExternal) {
            Fail();
            return;
        }
        if (Pos >= kMaxCodeLength - 1) {
            E.Err.Set(kFormulaTooLong);
            return;
        }
        Out[Pos++] = b;
    }

    // Appends the low `count` bytes of a number, least significant first.
    void EmitLittleEndian(std::uint64_t bits, int count)
    {
        for (int i = 0; i < count; ++i)
            Emit(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
};

}  // namespace zt::compile
