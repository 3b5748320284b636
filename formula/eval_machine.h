#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/cell_store.h"
#include "core/engine.h"

namespace zt {

inline constexpr int kStackSlots = 256;       // more than any 240-byte code can push
inline constexpr int kStringPoolSize = 1024;
inline constexpr int kMaxShortString = 255;

enum SlotType : std::uint8_t {
    stNumber = 1,
    stString = 2,
    stMissing = 3,
};

// One value on the evaluation stack.
struct EvalSlot {
    double Value;
    std::uint8_t Type;
    bool Error;
    std::uint16_t Text;        // pool offset of the string when Type is stString
    std::uint8_t RangeOrigin;  // offset of the range operand that pushed it, else 0
    std::uint8_t PushedBy;     // offset of the opcode that pushed it
};

// The stack machine that runs one compiled formula. Each evaluation has its
// own machine, so nested evaluations cannot disturb each other.
struct EvalMachine {
    EvalMachine(Engine& engine, const std::uint8_t* code) : E(engine), Code(code) {}

    Engine& E;
    const std::uint8_t* Code;
    int Pc = 2;             // offset of the current opcode's operands
    std::uint8_t Op = 0;    // the current opcode
    int OpOffset = 0;       // offset of the current opcode
    int Sp = 0;             // top slot; slots start at 1
    bool Fault = false;     // ends the run with ERR
    int PoolFill = 0;
    std::array<EvalSlot, kStackSlots + 1> Stack;
    std::array<char, kStringPoolSize> Pool;

    EvalSlot& Top() { return Stack[Sp]; }
    // The argument i places below the top (0 is the top).
    EvalSlot& Arg(int i) { return Stack[Sp - i]; }

    // A new top slot; false (and a fault) when the stack is full.
    bool Push();
    void PushNumber(double v);
    // Stores a string (cut to 255 bytes) in the pool; ERR when the pool is full.
    void PushString(std::string_view s);
    // Makes slot a string; the pool must have room or the slot becomes ERR.
    void SetString(EvalSlot& slot, std::string_view s);
    void SetNumber(EvalSlot& slot, double v);

    std::string_view SlotString(const EvalSlot& slot) const;
    // The slot's string, or a number as text; releases the slot's string.
    std::string ValueAsText(EvalSlot& slot);
    // Gives the slot's string back to the pool when it is the newest one.
    void Release(EvalSlot& slot);
    // Pops n slots, releasing their strings from the newest down.
    void Pop(int n);
};

using OpHandler = void (*)(EvalMachine& m);
using HandlerTable = std::array<OpHandler, 256>;

// Rounds to the nearest integer (ties to even) and keeps the low 16 bits;
// 1 for magnitudes beyond 32 bits.
std::int16_t ToInt16(double x);

// The reference behind an argument slot as an ordered rectangle; sets
// ErrorFlag when the slot was not pushed by a reference operand.
TRange GetRangeArgument(EvalMachine& m, const EvalSlot& slot);

// Calls f(cell) for every existing cell of the rectangle, row by row.
template <class F>
void ForEachCellInRange(Engine& e, const TRange& r, F f)
{
    for (int row = r.FirstRow; row <= r.LastRow; ++row)
        for (PCell c = FindFirstAtOrAfter(e, row, r.FirstCol); c && c->Col <= r.LastCol; c = NextCell(e, c))
            f(c);
}

}  // namespace zt
