#pragma once
// Reading the reference arguments of the range functions.
#include <vector>

#include "formula/eval_machine.h"

namespace zt {

// The rectangle behind a reference argument, corners in order. False (and
// ErrorFlag) when the argument is a plain value, a broken reference, or a
// reference into another worksheet file, whose cells are not held here.
bool SheetRangeArgument(EvalMachine& m, const EvalSlot& slot, TRange& r);

// The number of every position of the rectangle, row by row; positions
// without a number (no cell, blank, label, string formula) give 0. False
// when a numeric cell of the rectangle is ERR.
bool ReadRangeNumbers(Engine& e, const TRange& r, std::vector<double>& out);

// The number of one position as ReadRangeNumbers sees it; false when the
// cell there is ERR.
bool CellNumber(Engine& e, int row, int col, double& value);

}  // namespace zt
