#pragma once
#include <cstdint>
#include <optional>

namespace zt::compile {

// Inside the compiler every operator is one character. Operators typed
// with two or more characters, and the unary forms of + and -, get these
// codes; typing a code character itself has the same effect.
inline constexpr char kOrCode = 28;     // #OR#
inline constexpr char kAndCode = 29;    // #AND#
inline constexpr char kNegCode = 30;    // unary minus
inline constexpr char kLeCode = 31;     // <=
inline constexpr char kNeCode = '?';    // <>
inline constexpr char kGeCode = '|';    // >=
inline constexpr char kNotCode = '\\';  // NOT
inline constexpr char kPlusCode = '_';  // unary plus

// Binding strength 1..20 (a higher value binds more tightly), 0 for a
// character that is no operator. `sep` is the argument separator.
int Precedence(char c, char sep);
inline bool IsOperatorChar(char c, char sep) { return Precedence(c, sep) > 0; }

// The opcode an operator writes; 0 for the blank, the separator and '#',
// which write nothing.
std::uint8_t OperatorOpcode(char c, char sep);

struct OperatorPair {
    char Code;
    int Skip;  // further characters the pair consumes
};
// The operator spelt by c and the character after it (either case), if any.
std::optional<OperatorPair> LookUpPair(char c, char next);

}  // namespace zt::compile
