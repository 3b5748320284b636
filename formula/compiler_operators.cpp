#include "formula/compiler_operators.h"

#include <iterator>

#include "formula/opcodes.h"

namespace zt::compile {

namespace {

// The operators after the blank (1) and the separator (2), loosest first.
constexpr char kByPrecedence[] = {'#', kOrCode, kAndCode, kNotCode, '=', '<', '>', kNeCode, kLeCode,
                                  kGeCode, '+', '-', '*', '/', '^', kNegCode, kPlusCode, '&'};
constexpr int kFirstListedPrecedence = 3;

// The operators that write code, in opcode order from opNeg.
constexpr char kByOpcode[] = {kNegCode, '+', '-', '*', '/', '^', '=', kNeCode, kLeCode,
                              kGeCode, '<', '>', kAndCode, kOrCode, kNotCode, kPlusCode, '&'};

struct PairEntry {
    char First;
    char Second;
    OperatorPair Result;
};

constexpr PairEntry kPairs[] = {
    {'>', '=', {kGeCode, 1}}, {'>', '<', {kNeCode, 1}}, {'<', '=', {kLeCode, 1}},
    {'<', '>', {kNeCode, 1}}, {'=', '>', {kGeCode, 1}}, {'=', '<', {kLeCode, 1}},
    {'#', 'X', {kNotCode, 4}}, {'#', 'A', {kAndCode, 4}}, {'#', 'O', {kOrCode, 3}},
};

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

int Precedence(char c, char sep)
{
    if (c == ' ')
        return 1;
    if (c == sep)
        return 2;
    for (std::size_t i = 0; i < std::size(kByPrecedence); ++i)
        if (kByPrecedence[i] == c)
            return kFirstListedPrecedence + static_cast<int>(i);
    return 0;
}

std::uint8_t OperatorOpcode(char c, char sep)
{
    if (c == sep)
        return 0;
    for (std::size_t i = 0; i < std::size(kByOpcode); ++i)
        if (kByOpcode[i] == c)
            return static_cast<std::uint8_t>(opNeg + i);
    return 0;
}

std::optional<OperatorPair> LookUpPair(char c, char next)
{
    c = Upper(c);
    next = Upper(next);
    for (const PairEntry& p : kPairs)
        if (p.First == c && p.Second == next)
            return p.Result;
    return std::nullopt;
}

}  // namespace zt::compile
