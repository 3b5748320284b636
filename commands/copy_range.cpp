#include "commands/copy_range.h"

#include <algorithm>

#include "commands/copy_cell.h"
#include "core/cell_store.h"
#include "core/dependencies.h"
#include "core/remembered_ranges.h"
#include "core/undo.h"
#include "formula/recalc.h"

namespace zt {

namespace {

// Moves the cell record at (row, col) to (toRow, toCol). A cell already
// there is destroyed first, and formulas that read it turn to ERR.
void MoveCell(Engine& e, int row, int col, int toRow, int toCol)
{
    PCell s = FindCell(e, row, col);
    if (!s || (e.Settings().Protect && (s->Format & kFormatProtected)))
        return;
    if (PositionProtected(e, toRow, toCol))
        return;
    if (FindCell(e, toRow, toCol))
        FreeRun(e, toRow, toCol, toCol);
    RelocateCell(e, FindCell(e, row, col), toRow, toCol);
}

// One pass of the source block onto the destination anchored at (row, col),
// in the order that never reads a cell already overwritten.
bool CopyBlock(Engine& e, bool move, const TRange& s, int row, int col)
{
    int dr = row - s.FirstRow;
    int dc = col - s.FirstCol;
    if (dr == 0 && dc == 0)
        return true;
    int rows = s.LastRow - s.FirstRow + 1;
    int cols = s.LastCol - s.FirstCol + 1;
    // Overlapping blocks are walked away from the destination; apart, in
    // reading order, which row lookups are quickest for.
    bool apart = row > s.LastRow || row + rows <= s.FirstRow || col > s.LastCol || col + cols <= s.FirstCol;
    bool rowsUp = apart || row < s.FirstRow;
    bool colsUp = apart || col < s.FirstCol;
    for (int i = 0; i < rows; ++i) {
        int r = rowsUp ? s.FirstRow + i : s.LastRow - i;
        for (int j = 0; j < cols; ++j) {
            int c = colsUp ? s.FirstCol + j : s.LastCol - j;
            if (move)
                MoveCell(e, r, c, r + dr, c + dc);
            else if (!CopyCell(e, r, c, r + dr, c + dc))
                return false;
        }
    }
    return true;
}

}  // namespace

bool CopyRange(Engine& e, bool move, TRange source, TRange dest)
{
    if (!e.Cur || !RangeIsDefined(source) || !RangeIsDefined(dest))
        return false;
    TRange s = OrderedRange(source);
    TRange d = OrderedRange(dest);
    if (move || s.LastCol > s.FirstCol)
        d.LastCol = d.FirstCol;
    if (move || s.LastRow > s.FirstRow)
        d.LastRow = d.FirstRow;

    int endRow = d.LastRow + s.LastRow - s.FirstRow;
    int endCol = d.LastCol + s.LastCol - s.FirstCol;
    if (!ValidCoord(endRow, endCol)) {
        ReportError(e, kCopyError);
        return false;
    }
    TakeUndoSnapshot(e);
    Worksheet& ws = *e.Cur;
    ws.MaxRow = std::max<std::int16_t>(ws.MaxRow, static_cast<std::int16_t>(endRow));
    ws.MaxCol = std::max<std::int16_t>(ws.MaxCol, static_cast<std::int16_t>(endCol));
    ws.Modified = true;

    bool ok = true;
    for (int row = d.FirstRow; row <= d.LastRow && ok; ++row)
        for (int col = d.FirstCol; col <= d.LastCol && ok; ++col)
            ok = CopyBlock(e, move, s, row, col);

    TRange written{d.FirstCol, d.FirstRow, static_cast<std::int16_t>(endCol), static_cast<std::int16_t>(endRow)};
    if (move) {
        ShiftRememberedRanges(e, s, d.FirstRow - s.FirstRow, d.FirstCol - s.FirstCol);
        // The moved cells keep their values, but a range now holds other
        // cells where they left or arrived, or has a corner that moved.
        if (!e.Settings().ManualCalc) {
            std::vector<PCell> readers = RangeReadersMeeting(e, s);
            std::vector<PCell> more = RangeReadersMeeting(e, written);
            readers.insert(readers.end(), more.begin(), more.end());
            RecalcFormulas(e, readers);
        }
    } else {
        RecalcRange(e, written);
    }
    return ok;
}

}  // namespace zt
