#include "commands/speed_sum.h"

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/undo.h"

namespace zt {

namespace {

bool Inside(const TRange& r, int row, int col)
{
    return row >= r.FirstRow && row <= r.LastRow && col >= r.FirstCol && col <= r.LastCol;
}

// Drops the row (column) of the current cell from the end of the selection
// where it stands; false when it stands at neither end.
bool DropRow(TRange& r, int curRow)
{
    if (curRow == r.FirstRow)
        ++r.FirstRow;
    else if (curRow == r.LastRow)
        --r.LastRow;
    else
        return false;
    return true;
}

bool DropColumn(TRange& r, int curCol)
{
    if (curCol == r.FirstCol)
        ++r.FirstCol;
    else if (curCol == r.LastCol)
        --r.LastCol;
    else
        return false;
    return true;
}

}  // namespace

std::string SpeedSumFormula(const Engine& e, TRange selection, int curRow, int curCol)
{
    if (!RangeIsDefined(selection))
        return {};
    TRange r = OrderedRange(selection);
    if (!RangeIsBlock(r))
        return {};
    if (Inside(r, curRow, curCol)) {
        int height = r.LastRow - r.FirstRow;
        int width = r.LastCol - r.FirstCol;
        bool dropped = height > width   ? DropRow(r, curRow)
                       : width > height ? DropColumn(r, curCol)
                                        : DropRow(r, curRow) || DropColumn(r, curCol);
        if (!dropped)
            return {};
    }
    return "@sum(" + FormatAddress(e, r.FirstRow, r.FirstCol) + ".." + FormatAddress(e, r.LastRow, r.LastCol) + ")";
}

void SpeedSum(Engine& e, TRange selection, int curRow, int curCol)
{
    std::string formula = SpeedSumFormula(e, selection, curRow, curCol);
    if (formula.empty()) {
        if (e.Notifier)
            e.Notifier->Beep();
        return;
    }
    TakeUndoSnapshot(e);
    EnterCell(e, formula, curRow, curCol);
}

}  // namespace zt
