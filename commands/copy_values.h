#pragma once
#include "core/engine.h"

namespace zt {

// The kinds of the Copy dialog, by their stored numbers.
enum CopyValuesType : int {
    kCopyFormula = 0,    // the entry text re-entered as typed, with the attributes
    kCopyValue = 1,
    kCopyTranspose = 2,  // values, rows and columns swapped
    kCopyScale = 3,      // values times the factor
    kCopyInvert = 4,     // 1 / value; "@ERR" for 0
};

// Copies what the cells of source show to dest: a single source cell goes
// to every cell of dest, a block to dest's first cell (transposed for
// kCopyTranspose). References are never re-based. Labels and string
// results are entered as typed; numbers are stored, and a failed number
// becomes the text "@ERR". The whole source is read before anything is
// written, so overlapping ranges copy what was there. A block that would
// not fit the worksheet reports "Copy Error" and copies nothing. Takes an
// undo snapshot; false when refused or stopped by an error.
bool CopyValues(Engine& e, int type, TRange source, TRange dest, double factor);

}  // namespace zt
