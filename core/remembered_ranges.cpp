#include "core/remembered_ranges.h"

#include "core/range_names.h"

namespace zt {

namespace {

void UpdateGraph(TGraphDef& g, const std::function<TRange(TRange)>& change)
{
    g.XRange.Set(change(g.XRange.Get()));
    for (int i = 0; i < kGraphSeries; ++i) {
        g.Series[i].Set(change(g.Series[i].Get()));
        g.DataLabels[i].Set(change(g.DataLabels[i].Get()));
    }
}

bool Inside(const TRange& block, int row, int col)
{
    return row >= block.FirstRow && row <= block.LastRow && col >= block.FirstCol && col <= block.LastCol;
}

}  // namespace

void UpdateRememberedRanges(Engine& e, const std::function<TRange(TRange)>& change)
{
    if (!e.Cur)
        return;
    Worksheet& ws = *e.Cur;
    for (TRange& r : ws.DataRanges)
        r = change(r);
    UpdateGraph(ws.Graphs.Current, change);
    for (TGraphDef& g : ws.Graphs.Named)
        UpdateGraph(g, change);
    for (int i = 1; i <= ws.Names.Count; ++i)
        SetRangeOfName(e, i, change(RangeOfName(e, i)));
}

std::vector<TRange> RememberedRanges(Engine& e)
{
    std::vector<TRange> all;
    UpdateRememberedRanges(e, [&all](TRange r) {
        all.push_back(r);
        return r;
    });
    return all;
}

void RestoreRememberedRanges(Engine& e, const std::vector<TRange>& ranges)
{
    if (RememberedRanges(e).size() != ranges.size())
        return;
    std::size_t next = 0;
    UpdateRememberedRanges(e, [&](TRange) { return ranges[next++]; });
}

void ShiftRememberedRanges(Engine& e, const TRange& block, int dRow, int dCol)
{
    TRange b = OrderedRange(block);
    UpdateRememberedRanges(e, [&](TRange r) {
        if (!RangeIsDefined(r))
            return r;
        if (Inside(b, r.FirstRow, r.FirstCol)) {
            r.FirstRow = static_cast<std::int16_t>(r.FirstRow + dRow);
            r.FirstCol = static_cast<std::int16_t>(r.FirstCol + dCol);
        }
        if (Inside(b, r.LastRow, r.LastCol)) {
            r.LastRow = static_cast<std::int16_t>(r.LastRow + dRow);
            r.LastCol = static_cast<std::int16_t>(r.LastCol + dCol);
        }
        return r;
    });
    if (e.MacroPositionShift)
        e.MacroPositionShift(b, dRow, dCol);
}

void ForgetCell(Engine& e, int row, int col)
{
    UpdateRememberedRanges(e, [row, col](TRange r) {
        if (RangeIsDefined(r) && ((r.FirstRow == row && r.FirstCol == col) || (r.LastRow == row && r.LastCol == col)))
            UndefineRange(r);
        return r;
    });
}

}  // namespace zt
