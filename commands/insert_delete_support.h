#pragma once
// The pieces the column and the row operations share.
#include <cstdint>
#include <span>
#include <vector>

#include "core/engine.h"

namespace zt {

// Moves the sizes of a band delta places towards its end (negative: towards
// its start). Sizes pushed out of the band are dropped; the places left
// behind get fill.
void ShiftSizes(std::span<std::uint16_t> band, int delta, std::uint16_t fill);

// After cells were renumbered: the ranges read by formulas watch the cells
// between their corners now. What reads a range that changed is
// recalculated unless recalculation is manual.
void FollowRenumbering(Engine& e);

// Destroys every cell of the block with FreeRun (rows beyond the highest
// row hold none). References to a destroyed cell, direct or as the corner
// of a range, become references to no cell (ERR); remembered ranges with a
// corner on one become undefined. Returns the formulas outside the block
// that read its cells, for recalculation once the cells that stay have
// their new coordinates.
std::vector<PCell> DestroyBlock(Engine& e, const TRange& block);

// After a deletion: the ranges follow their corners, and under manual
// recalculation the formulas DestroyBlock returned are recalculated, as
// the loss of a cell they read always does; otherwise the caller
// recalculates the worksheet.
void FollowDeletion(Engine& e, const std::vector<PCell>& readers);

// ShiftRememberedRanges, keeping every corner that was inside the block on
// the worksheet and in the block's sheet: a corner pushed beyond the block's
// last row (column) stops there, one pulled before row 0 (column A) stops
// at 0.
void ShiftRangesInBlock(Engine& e, const TRange& block, int dRow, int dCol);

// Blocks as TRange values.
TRange RowBlock(int firstRow, int lastRow);  // all columns
TRange ColumnBlock(int firstCol, int lastCol = kCols - 1);  // all rows

}  // namespace zt
