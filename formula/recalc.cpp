#include "formula/recalc.h"

#include "core/cell_store.h"
#include "formula/evaluator.h"
#include "formula/range_cache.h"

namespace zt {

namespace {

void BeginOrder(Engine& e, RecalcOrder& order)
{
    order.Ranges = RangeAreaCount(e) > 0;
    order.WalkNo = BeginWalk(e);
}

// The walk enters a cell: its range readers are gathered for the visit,
// most recently linked first; its Dependents list follows them.
void Enter(Engine& e, PCell c, RecalcOrder& order)
{
    c->Kind |= kfVisited;
    std::size_t begin = order.Readers.size();
    if (order.Ranges)
        GatherRangeReaders(e, c->Row, c->Col, order.WalkNo, order.Readers);
    order.Walk.push_back({c, begin, begin, order.Readers.size(), c->Dependents});
}

// A cell the walk is done with: a formula joins the order once; any other
// cell loses its marks at once.
void Finish(Engine& e, PCell c, RecalcOrder& order)
{
    if (c->Kind & kfQueued)
        return;
    c->Kind |= kfQueued;
    if (IsFormulaKind(c->Kind)) {
        order.Cells.push_back(c);
        if (order.Ranges)
            ReaderFinished(e, c, order.WalkNo);
    } else {
        c->Kind &= 0x0F;
    }
}

}  // namespace

void BuildRecalcOrder(Engine& e, PCell start, RecalcOrder& order)
{
    if (start->Kind & kfVisited)
        return;
    if (order.WalkNo == 0)
        BeginOrder(e, order);
    Enter(e, start, order);
    while (!order.Walk.empty()) {
        RecalcOrder::Frame& f = order.Walk.back();
        PCell d;
        if (f.Next < f.End) {
            d = order.Readers[f.Next++].Formula;
        } else if (f.Link) {
            d = NextListed(e, f.Link);
        } else {
            PCell c = f.Cell;
            order.Readers.resize(f.Begin);
            order.Walk.pop_back();
            Finish(e, c, order);
            continue;
        }
        if (d->Kind & kfVisited)
            Finish(e, d, order);  // met again: finished now, on the path of a cycle or not
        else
            Enter(e, d, order);
    }
}

void RunRecalcOrder(Engine& e, RecalcOrder& order)
{
    // Formulas over the same bands of rows share their running totals
    // while the order runs (a nested run keeps the outer one's).
    RangeCache cache(e.CurSlot);
    RangeCache* outer = e.Runtime.Cache;
    if (!outer)
        e.Runtime.Cache = &cache;
    for (auto it = order.Cells.rbegin(); it != order.Cells.rend(); ++it)
        EvaluateCell(e, *it);
    e.Runtime.Cache = outer;
    order.Cells.clear();
    e.Err.ErrorFlag = false;
}

void RecalcFrom(Engine& e, PCell cell)
{
    cell->Kind &= 0x0F;
    RecalcOrder order;
    BuildRecalcOrder(e, cell, order);
    RunRecalcOrder(e, order);
}

void RecalcRange(Engine& e, const TRange& range)
{
    if (e.Runtime.RecalcBusy || !e.Cur || !RangeIsDefined(range))
        return;
    e.Runtime.RecalcBusy = true;
    TRange r = OrderedRange(range);
    RecalcOrder order;
    BeginOrder(e, order);
    for (int row = r.FirstRow; row <= r.LastRow; ++row)
        for (PCell c = FindFirstAtOrAfter(e, row, r.FirstCol); c && c->Col <= r.LastCol; c = NextCell(e, c))
            BuildRecalcOrder(e, c, order);
    RunRecalcOrder(e, order);
    e.Runtime.RecalcBusy = false;
}

void RecalcFormulas(Engine& e, const std::vector<PCell>& formulas)
{
    if (formulas.empty() || !e.Cur)
        return;
    RecalcOrder order;
    BeginOrder(e, order);
    for (PCell c : formulas)
        BuildRecalcOrder(e, c, order);
    RunRecalcOrder(e, order);
}

void RecalcAll(Engine& e)
{
    if (!e.Cur)
        return;
    RecalcRange(e, TRange{0, 0, e.Cur->MaxCol, e.Cur->MaxRow});
}

void RecalcAllSheets(Engine& e)
{
    int current = e.CurSlot;
    for (int s = 1; s <= kMaxSheetSlots; ++s) {
        if (!e.Slots[s])
            continue;
        RestoreContext(e, s);
        RecalcAll(e);
    }
    if (current)
        RestoreContext(e, current);
}

}  // namespace zt
