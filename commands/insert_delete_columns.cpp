#include <algorithm>

#include "commands/insert_delete.h"
#include "commands/insert_delete_support.h"
#include "core/cell_store.h"
#include "core/undo.h"
#include "formula/recalc.h"

namespace zt {

namespace {

bool ValidColumns(const Engine& e, int first, int count) { return e.Cur && first >= 0 && first < kCols && count > 0; }

std::span<std::uint16_t> WidthsFrom(Worksheet& ws, int first)
{
    return std::span<std::uint16_t>(ws.Layout.ColWidths).subspan(first);
}

// Whether any cell lies in the column or beyond it.
bool CellsFrom(Engine& e, int col)
{
    for (int row = 0; row <= e.Cur->MaxRow; ++row)
        if (FindFirstAtOrAfter(e, row, col))
            return true;
    return false;
}

// Adds delta to the column of every cell at column `from` or beyond.
void RenumberColumns(Engine& e, int from, int delta)
{
    for (int row = 0; row <= e.Cur->MaxRow; ++row)
        for (PCell c = FindFirstAtOrAfter(e, row, from); c; c = NextCell(e, c))
            c->Col = static_cast<std::uint8_t>(c->Col + delta);
}

}  // namespace

void InsertColumns(Engine& e, int first, int count)
{
    if (!ValidColumns(e, first, count))
        return;
    Worksheet& ws = *e.Cur;
    if (!CellsFrom(e, first))
        return;  // nothing to move
    if (count > kCols - 1 - ws.MaxCol) {
        ReportError(e, kCellsInLastColumn);
        return;
    }
    TakeUndoSnapshot(e);
    RenumberColumns(e, first, count);
    ShiftSizes(WidthsFrom(ws, first), count, SheetLayout::kDefaultColumnWidth);
    ws.MaxCol = static_cast<std::int16_t>(ws.MaxCol + count);
    FollowRenumbering(e);
    ShiftRangesInBlock(e, ColumnBlock(first), 0, count);
    ws.Modified = true;
}

void DeleteColumns(Engine& e, int first, int count)
{
    if (!ValidColumns(e, first, count))
        return;
    Worksheet& ws = *e.Cur;
    if (!CellsFrom(e, first))
        return;  // no cell in or beyond the columns
    count = std::min(count, kCols - first);
    int last = first + count - 1;
    TakeUndoSnapshot(e);
    std::vector<PCell> readers = DestroyBlock(e, ColumnBlock(first, last));
    RenumberColumns(e, last + 1, -count);
    FollowDeletion(e, readers);
    ShiftSizes(WidthsFrom(ws, first), -count, SheetLayout::kDefaultColumnWidth);
    // Still covering the columns before the deleted ones.
    ws.MaxCol = static_cast<std::int16_t>(std::max({ws.MaxCol - count, first - 1, 0}));
    ShiftRangesInBlock(e, ColumnBlock(first), 0, -count);
    ws.Modified = true;
    if (!e.Settings().ManualCalc)
        RecalcAll(e);
}

}  // namespace zt
