#pragma once
#include <string_view>

#include "formula/compiler_state.h"

namespace zt::compile {

enum class NameMode {
    Plain,  // the name stands alone
    Call,   // the name was followed by a parenthesised argument list
};

// A token that begins with '@' is a function: its opcode is written and
// the argument balance of the level is settled against its argument
// count. Any other token is an operand.
void EmitName(CompilerState& st, NameMode mode, std::string_view token, int& balance);

// A number, string, reference, range (or range name) or file name, with
// an optional trailing '%' or '!'.
void EmitOperand(CompilerState& st, std::string_view token);

}  // namespace zt::compile
