#include "commands/erase_range.h"

#include "core/cell_store.h"
#include "core/undo.h"
#include "formula/recalc.h"

namespace zt {

void EraseRange(Engine& e, TRange range)
{
    if (!e.Cur || !RangeIsDefined(range))
        return;
    TakeUndoSnapshot(e);
    TRange r = OrderedRange(range);
    bool guarded = e.Settings().Protect;
    for (int row = r.FirstRow; row <= r.LastRow; ++row) {
        for (PCell c = FindFirstAtOrAfter(e, row, r.FirstCol); c && c->Col <= r.LastCol; c = NextCell(e, c)) {
            if (guarded && (c->Format & kFormatProtected))
                continue;
            ClearCell(e, c);
        }
    }
    e.Cur->Modified = true;
    if (!e.Settings().ManualCalc)
        RecalcRange(e, r);
}

}  // namespace zt
