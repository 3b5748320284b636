#pragma once
#include <optional>
#include <string>

#include "core/engine.h"

namespace zt {

// Where code in the relative form stands: its references are read from there.
struct CodeOrigin {
    int Row = 0;
    int Col = 0;
};

// The text of compiled code as the user would type it: "NOEND" for code
// without its end marker, "OVERFLOW" when an argument list grows too long.
// Linked code names its cells; code still in the relative form is read
// from its origin.
std::string FormulaToText(const Engine& e, const std::uint8_t* code, std::optional<CodeOrigin> origin = std::nullopt);

}  // namespace zt
