#pragma once
#include <string>

#include "core/engine.h"

namespace zt {

// The text of compiled code as the user would type it: "NOEND" for code
// without its end marker, "OVERFLOW" when an argument list grows too long.
std::string FormulaToText(const Engine& e, const std::uint8_t* code);

}  // namespace zt
