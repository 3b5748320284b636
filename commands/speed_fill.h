#pragma once
#include "core/engine.h"

namespace zt {

// The Speed Fill button: continues the first cell of the selection over the
// rest of it, by what that cell holds.
// - A label of one letter: the following labels in column-letter order
//   (A, B, ..., Z, AA, AB, ...), row by row, each with the prefix "'"; a
//   lower-case letter continues in lower case.
// - Any other label, or a formula: copied into every other cell, formulas
//   with their relative references re-based.
// - A number: the numbers after it, step 1, along the longer side of the
//   selection: down the first column and on down the next when the
//   selection is at least as tall as wide, else across the first row and on
//   across the next; the sequence runs on from one column (row) to the next.
// The first cell keeps what it holds; protected positions are skipped. An
// empty first cell only beeps.
void SpeedFill(Engine& e, TRange selection);

}  // namespace zt
