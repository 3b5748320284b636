#pragma once
#include <string>

#include "core/engine.h"

namespace zt {

// The formula the Speed @SUM button enters at the current cell:
// "@sum(" first address ".." last address ")" over the selection less the
// current cell. The current cell is dropped with its row from the top or
// bottom of a selection at least as tall as wide, or with its column from
// the left or right end of a wider one; in a square selection a current
// cell in neither the first nor the last row drops its column. A current
// cell outside the selection leaves the whole selection to sum. Empty (no
// formula) for a single-cell selection and for a current cell inside the
// selection but not at an end of that side.
std::string SpeedSumFormula(const Engine& e, TRange selection, int curRow, int curCol);

// Enters that formula at the current cell after an undo snapshot; when
// there is none, only beeps.
void SpeedSum(Engine& e, TRange selection, int curRow, int curCol);

}  // namespace zt
