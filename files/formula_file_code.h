#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/engine.h"

namespace zt {

// The bytes a file stores for a formula cell: its code from offset 2
// through the end marker, references as word pairs seen from the cell.
std::vector<std::uint8_t> FileCodeOf(const Engine& e, const TCell& cell);

// The in-memory code (length byte, 0, code) of the bytes read from a file;
// a trailing 0 after the end marker is dropped.
std::string CodeFromFile(std::span<const std::uint8_t> fileCode);

// True when code read from a file can be linked and evaluated: its length
// and end marker are right, the walk over its opcodes lands exactly on the
// end marker, every opcode exists and every user-function call names an
// entry of the worksheet's table.
bool FileCodeIsValid(const Engine& e, const std::uint8_t* code);

// Gives a formula cell whose stored code is damaged the code @ERR and the
// kfError flag, so it shows ERR and never runs the bytes it was read with.
void MarkDamagedFormula(Engine& e, PCell cell);

}  // namespace zt
