#pragma once
#include <array>
#include <cstdint>
#include <string_view>

namespace zt {

// Operand opcodes; each is also its own argument class.
enum Opcode : std::uint8_t {
    opNumber = 0,
    opCellRef = 1,
    opRangeRef = 2,
    opEnd = 3,
    opParen = 4,
    opInteger = 5,
    opString = 6,
    opExternalRef = 7,
    opNeg = 8,
    opAdd = 9,
    opSub = 10,
    opMul = 11,
    opDiv = 12,
    opPower = 13,
    opEq = 14,
    opNe = 15,
    opLe = 16,
    opGe = 17,
    opLt = 18,
    opGt = 19,
    opAnd = 20,
    opOr = 21,
    opNot = 22,
    opPlus = 23,
    opConcat = 24,
    opPercent = 25,
    opFactorial = 26,
    opUserFunction = 254,
    opRangeFunction = 255,
};

// Argument classes beyond the operand opcodes.
enum ArgClass : std::uint8_t {
    acPrefix = 8,
    acInfix = 9,
    acArgs0 = 10,
    acArgs1 = 11,
    acArgs2 = 12,
    acArgs3 = 13,
    acArgs4 = 14,
    acList = 15,
    acPostfix = 16,
    acUser = 254,
};

inline constexpr int kHighestFunction = 186;

struct OpcodeTables {
    std::array<std::uint8_t, 256> Class;
    std::array<std::string_view, 256> Name;
};

// The class and the name of every opcode 0..255.
const OpcodeTables& Opcodes();
inline std::uint8_t OpClass(std::uint8_t op) { return Opcodes().Class[op]; }
inline std::string_view OpName(std::uint8_t op) { return Opcodes().Name[op]; }

}  // namespace zt
