#pragma once
// Reading the reference arguments of the range functions.
#include <vector>

#include "formula/eval_machine.h"

namespace zt {

// The rectangle behind a reference argument, corners in order. False (and
// ErrorFlag) when the argument is a plain value, a broken reference, or a
// reference into another worksheet file, for the functions that read the
// current worksheet only.
bool SheetRangeArgument(EvalMachine& m, const EvalSlot& slot, TRange& r);

// The rectangle behind any reference argument, external ones included, and
// the slot of the worksheet that holds its cells (read them with that slot
// made current, see ScopedSheet). False (and ErrorFlag) for a plain value,
// a broken reference, or another file that cannot be read.
struct RangeSource {
    TRange Range = kUndefinedRange;
    int Slot = 0;
};
bool AnyRangeArgument(EvalMachine& m, const EvalSlot& slot, RangeSource& source);

// The number of every position of the rectangle, row by row; positions
// without a number (no cell, blank, label, string formula) give 0. False
// when a numeric cell of the rectangle is ERR.
bool ReadRangeNumbers(Engine& e, const TRange& r, std::vector<double>& out);

// The number of one position as ReadRangeNumbers sees it; false when the
// cell there is ERR.
bool CellNumber(Engine& e, int row, int col, double& value);

}  // namespace zt
