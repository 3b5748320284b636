#include <algorithm>
#include <optional>

#include "commands/insert_delete.h"
#include "commands/insert_delete_support.h"
#include "core/cell_store.h"
#include "core/undo.h"
#include "formula/recalc.h"

namespace zt {

namespace {

bool ValidRows(const Engine& e, int first, int count) { return e.Cur && first >= 0 && first < kRows && count > 0; }

bool SingleSheet(const Engine& e) { return SheetRowCount(e) == kRows; }

// The last row of the sheet that holds the row.
int SheetLastRow(const Engine& e, int row)
{
    int n = SheetRowCount(e);
    return row / n * n + n - 1;
}

// The row at the same place within every sheet, from the first sheet to the last.
std::vector<int> SameRowInEverySheet(const Engine& e, int row)
{
    int n = SheetRowCount(e);
    std::vector<int> rows;
    for (int r = row % n; r < kRows; r += n)
        rows.push_back(r);
    return rows;
}

std::span<std::uint16_t> Heights(Worksheet& ws, int first, int last)
{
    return std::span<std::uint16_t>(ws.Layout.RowHeights).subspan(first, last - first + 1);
}

// The row list of `from` becomes the (empty) list of `to`, renumbered.
void MoveRowList(Engine& e, int from, int to)
{
    Worksheet& ws = *e.Cur;
    ws.RowHeads[to] = ws.RowHeads[from];
    ws.RowHeads[from] = 0;
    for (PCell c = CellAt(e, ws.RowHeads[to]); c; c = NextCell(e, c))
        c->Row = static_cast<std::int16_t>(to);
}

// The last of rows first..last that holds cells (not beyond the highest
// row); first - 1 when none does.
int LastRowWithCells(const Engine& e, int first, int last)
{
    int row = std::min<int>(last, e.Cur->MaxRow);
    while (row >= first && !e.Cur->RowHeads[row])
        --row;
    return row < first ? first - 1 : row;
}

bool RowsHoldCells(const Engine& e, int first, int last) { return LastRowWithCells(e, first, last) >= first; }

// An insertion of rows within one sheet, worked out before anything moves.
struct RowInsertion {
    int First = 0;
    int Count = 0;      // bounded to the rows left in the sheet
    int SheetLast = 0;
    int LastUsed = 0;   // the last row from First on that holds cells
    bool Refused = false;
};

// Nothing when no cell of the sheet lies at or below the first row.
std::optional<RowInsertion> PlanRowInsertion(const Engine& e, int first, int count)
{
    const Worksheet& ws = *e.Cur;
    RowInsertion p;
    p.First = first;
    p.SheetLast = SheetLastRow(e, first);
    p.LastUsed = LastRowWithCells(e, first, p.SheetLast);
    if (p.LastUsed < first)
        return std::nullopt;
    p.Count = std::min(count, p.SheetLast - first + 1);
    // With sheets the cells of the sheet's last rows must not reach the next
    // sheet, whose own rows stay where they are.
    if (SingleSheet(e))
        p.Refused = count > kRows - 1 - ws.MaxRow;
    else
        p.Refused = p.LastUsed + p.Count > p.SheetLast;
    return p;
}

void InsertRowsInSheet(Engine& e, const RowInsertion& p)
{
    Worksheet& ws = *e.Cur;
    ShiftSizes(Heights(ws, p.First, p.SheetLast), p.Count, SheetLayout::kDefaultRowHeight);
    for (int row = p.LastUsed; row >= p.First; --row)
        MoveRowList(e, row, row + p.Count);
    if (ws.MaxRow < p.SheetLast)
        ws.MaxRow = static_cast<std::int16_t>(std::min(ws.MaxRow + p.Count, p.SheetLast));
    ShiftRangesInBlock(e, RowBlock(p.First, p.SheetLast), p.Count, 0);
}

void InsertRowsAt(Engine& e, const std::vector<int>& firsts, int count)
{
    std::vector<RowInsertion> plans;
    for (int first : firsts)
        if (std::optional<RowInsertion> p = PlanRowInsertion(e, first, count))
            plans.push_back(*p);
    if (plans.empty())
        return;
    if (std::any_of(plans.begin(), plans.end(), [](const RowInsertion& p) { return p.Refused; })) {
        ReportError(e, kCellsInBottomRow);
        return;
    }
    TakeUndoSnapshot(e);
    for (const RowInsertion& p : plans)
        InsertRowsInSheet(e, p);
    FollowRenumbering(e);
    e.Cur->Modified = true;
}

void DeleteRowsInSheet(Engine& e, int first, int count)
{
    Worksheet& ws = *e.Cur;
    int sheetLast = SheetLastRow(e, first);
    int lastUsed = LastRowWithCells(e, first, sheetLast);
    if (lastUsed < first)
        return;  // no cell in or below the rows
    count = std::min(count, sheetLast - first + 1);
    int last = first + count - 1;
    std::vector<PCell> readers = DestroyBlock(e, RowBlock(first, std::min(last, lastUsed)));
    ShiftSizes(Heights(ws, first, sheetLast), -count, SheetLayout::kDefaultRowHeight);
    for (int row = last + 1; row <= lastUsed; ++row)
        MoveRowList(e, row, row - count);
    FollowDeletion(e, readers);
    // Still covering the rows before the deleted ones.
    if (ws.MaxRow <= sheetLast)
        ws.MaxRow = static_cast<std::int16_t>(std::max({ws.MaxRow - count, first - 1, 0}));
    ShiftRangesInBlock(e, RowBlock(first, sheetLast), -count, 0);
}

void DeleteRowsAt(Engine& e, const std::vector<int>& firsts, int count)
{
    if (std::none_of(firsts.begin(), firsts.end(),
                     [&](int first) { return RowsHoldCells(e, first, SheetLastRow(e, first)); }))
        return;  // no cell in or below the rows in any sheet
    TakeUndoSnapshot(e);
    for (int first : firsts)
        DeleteRowsInSheet(e, first, count);
    e.Cur->Modified = true;
    if (!e.Settings().ManualCalc)
        RecalcAll(e);
}

}  // namespace

int SheetRowCount(const Engine& e)
{
    int n = e.Cur ? e.Settings().RowsPerSheet : kRows;
    return (n > 0 && n < kRows && kRows % n == 0) ? n : kRows;
}

void InsertRows(Engine& e, int first, int count)
{
    if (ValidRows(e, first, count))
        InsertRowsAt(e, {first}, count);
}

void DeleteRows(Engine& e, int first, int count)
{
    if (ValidRows(e, first, count))
        DeleteRowsAt(e, {first}, count);
}

void InsertRowsAcross(Engine& e, int first, int count)
{
    if (ValidRows(e, first, count))
        InsertRowsAt(e, SameRowInEverySheet(e, first), count);
}

void DeleteRowsAcross(Engine& e, int first, int count)
{
    if (ValidRows(e, first, count))
        DeleteRowsAt(e, SameRowInEverySheet(e, first), count);
}

}  // namespace zt
