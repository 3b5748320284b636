#pragma once
#include <string_view>

#include "core/engine.h"

namespace zt {

inline constexpr std::string_view kCopyError = "Copy Error";

// Whether writing at a position is refused: under worksheet protection a
// position without a cell, or whose cell is marked protected.
bool PositionProtected(Engine& e, int row, int col);

// The attributes a copy carries: format, typeface, size, style, borders
// and colours.
void CopyAttributes(const TCell& from, TCell& to);

// Copies the cell at (fromRow, fromCol) to (toRow, toCol): contents, value
// and attributes. A formula's relative references keep their offsets and
// its absolute references their targets. A missing source clears the
// destination. Protected destinations are left alone. When the destination
// cell or its text cannot be had, "Copy Error" is reported and the result
// is false, so that the caller stops. Does not recalculate.
bool CopyCell(Engine& e, int fromRow, int fromCol, int toRow, int toCol);

}  // namespace zt
