#pragma once
#include <string>

#include "core/engine.h"

namespace zt {

// What the edit line shows for a cell: a formula as text, a number that
// reads back to its value, a label with its prefix; empty otherwise.
std::string CellContentsText(const Engine& e, const TCell* cell);

}  // namespace zt
