#pragma once
#include <string_view>

#include "core/engine.h"

namespace zt {

// Insertion and deletion of whole columns and rows of the current worksheet.
// Cells are renumbered in place, so formulas keep naming the cells they
// named; only references to deleted cells are lost (they show ERR). Column
// widths, row heights and the remembered ranges move with their columns and
// rows. Each operation that changes something is one undo step; a deletion
// recalculates unless recalculation is manual. A first column or row that is
// negative or beyond the worksheet, or a count below 1, does nothing.

inline constexpr std::string_view kCellsInLastColumn = "Cells in last Column";
inline constexpr std::string_view kCellsInBottomRow = "CELLS in bottom row";

// Rows in each sheet of the current worksheet: RowsPerSheet when it divides
// the 8192 rows into two or more sheets, otherwise 8192 (a single sheet).
int SheetRowCount(const Engine& e);

// Columns first..first + count - 1. An insertion that would push cells
// beyond column IV is refused with "Cells in last Column".
void InsertColumns(Engine& e, int first, int count);
void DeleteColumns(Engine& e, int first, int count);

// Rows first..first + count - 1, within the sheet that holds row first. An
// insertion that would push cells beyond the last row of that sheet is
// refused with "CELLS in bottom row"; the cells of other sheets never move.
void InsertRows(Engine& e, int first, int count);
void DeleteRows(Engine& e, int first, int count);

// The same rows relative to their sheet, in every sheet from the first to
// the last, as one undo step. An insertion refused in any sheet is refused
// in all of them.
void InsertRowsAcross(Engine& e, int first, int count);
void DeleteRowsAcross(Engine& e, int first, int count);

// Enters the page-break mark "|::" at the cell as if typed; moves nothing.
void InsertPageBreak(Engine& e, int row, int col);

}  // namespace zt
