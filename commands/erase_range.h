#pragma once
#include "core/engine.h"

namespace zt {

// The erase command: clears the contents of every cell of the rectangle,
// keeping formats and attributes; under worksheet protection protected
// cells are left alone. Takes an undo snapshot first and recalculates what
// depends on the rectangle unless recalculation is manual.
void EraseRange(Engine& e, TRange range);

}  // namespace zt
