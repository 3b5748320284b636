#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>

#include "core/engine.h"
#include "formula/eval_machine.h"

namespace zt {

// Parameters a definition can declare: the size of the parameter block.
inline constexpr int kMaxUserParams = std::tuple_size_v<decltype(FormulaRuntime::Params)>;

// Reads the library of text-defined functions: pairs of lines, a header
// "NAME,n" and the body formula, where the body reads parameter k as @A(k).
// Lines are cut at ';', trimmed and upper-cased; empty lines are skipped.
// A file that cannot be read, is no regular file or is larger than a
// library can usefully be leaves the library empty, sets the error with
// its reason and gives false.
bool LoadUserFunctions(Engine& e, const std::string& path);

// The position (from 1) of a definition in the current worksheet's table,
// or 0. A definition found only in the library is copied into the table
// first; a full table or an unknown name gives 0.
int FindUserFunction(Engine& e, std::string_view name);

// Arguments a call of worksheet-table entry `index` takes; -1 when there is
// no such definition.
int UserFunctionArity(const Engine& e, int index);

// Arguments a call of opRangeFunction at `offset` takes (one per column of
// its range); -1 when its reference names no cells.
int RangeFunctionArity(const Engine& e, const std::uint8_t* code, int offset);

// The handler of opRangeFunction.
void RegisterRangeFunctions(HandlerTable& t);

}  // namespace zt
