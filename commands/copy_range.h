#pragma once
#include "core/engine.h"

namespace zt {

// The copy and move commands. A source of several columns (rows), and any
// move, uses only the first cell of the destination; a single column (row)
// is repeated across every column (row) of the destination. Copied formulas
// keep the offsets of their relative references and the targets of their
// absolute ones; moved cells keep their records, so every formula that
// read them follows them. When the last copy would end beyond IV8192,
// "Copy Error" is reported and nothing changes. Protected destinations are
// skipped. Takes an undo snapshot; a copy recalculates its destination, a
// move carries the remembered ranges of the moved block along. False when
// the command was refused or stopped by an error.
bool CopyRange(Engine& e, bool move, TRange source, TRange dest);

}  // namespace zt
