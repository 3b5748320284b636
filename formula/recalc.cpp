#include "formula/recalc.h"

#include "core/cell_store.h"
#include "formula/evaluator.h"

namespace zt {

namespace {

PCell DependentOf(const Engine& e, HeapAddr link) { return CellAt(e, e.Heap.At<TDepLink>(link)->Cell); }
HeapAddr NextLink(const Engine& e, HeapAddr link) { return e.Heap.At<TDepLink>(link)->Next; }

// A cell the walk is done with: a formula joins the order once; any other
// cell loses its marks at once.
void Finish(PCell c, RecalcOrder& order)
{
    if (c->Kind & kfQueued)
        return;
    c->Kind |= kfQueued;
    if (IsFormulaKind(c->Kind))
        order.Cells.push_back(c);
    else
        c->Kind &= 0x0F;
}

}  // namespace

void BuildRecalcOrder(Engine& e, PCell start, RecalcOrder& order)
{
    if (start->Kind & kfVisited)
        return;
    order.Walk.clear();
    PCell c = start;
    HeapAddr p = c->Dependents;
    bool entering = true;
    for (;;) {
        if (entering) {
            if (c->Kind & kfVisited) {
                // Met again: finished now, on the path of a cycle or not.
                Finish(c, order);
                p = 0;
            } else {
                c->Kind |= kfVisited;
            }
        }
        if (p) {
            PCell d = DependentOf(e, p);
            order.Walk.emplace_back(c, p);
            c = d;
            p = c->Dependents;
            entering = true;
            continue;
        }
        Finish(c, order);
        if (order.Walk.empty())
            return;
        std::tie(c, p) = order.Walk.back();
        order.Walk.pop_back();
        p = NextLink(e, p);
        entering = false;
    }
}

void RunRecalcOrder(Engine& e, RecalcOrder& order)
{
    for (auto it = order.Cells.rbegin(); it != order.Cells.rend(); ++it)
        EvaluateCell(e, *it);
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
    for (int row = r.FirstRow; row <= r.LastRow; ++row)
        for (PCell c = FindFirstAtOrAfter(e, row, r.FirstCol); c && c->Col <= r.LastCol; c = NextCell(e, c))
            BuildRecalcOrder(e, c, order);
    RunRecalcOrder(e, order);
    e.Runtime.RecalcBusy = false;
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
