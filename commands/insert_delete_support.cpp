#include "commands/insert_delete_support.h"

#include <algorithm>
#include <cstdlib>

#include "core/cell_store.h"
#include "core/dependencies.h"
#include "core/remembered_ranges.h"
#include "formula/compiled_formula.h"
#include "formula/recalc.h"

namespace zt {

namespace {

bool Inside(const TRange& block, int row, int col)
{
    return row >= block.FirstRow && row <= block.LastRow && col >= block.FirstCol && col <= block.LastCol;
}

void KeepInside(const TRange& block, std::int16_t& row, std::int16_t& col)
{
    row = static_cast<std::int16_t>(std::clamp<int>(row, 0, block.LastRow));
    col = static_cast<std::int16_t>(std::clamp<int>(col, 0, block.LastCol));
}

// Takes a formula about to be destroyed off every list before any of the
// cells it reads goes. The unlinked mark keeps anything from walking its
// links again once the cells they name are freed.
void ReleaseDoomedFormula(Engine& e, PCell cell)
{
    if (!IsFormulaKind(cell->Kind))
        return;
    UnlinkDependencies(e, cell);
    cell->Kind |= kfUnlinked;
}

std::vector<PCell> UniqueCells(std::vector<PCell> cells)
{
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    return cells;
}

}  // namespace

void ShiftSizes(std::span<std::uint16_t> band, int delta, std::uint16_t fill)
{
    auto places = static_cast<std::ptrdiff_t>(std::min<std::size_t>(std::abs(delta), band.size()));
    if (delta > 0) {
        std::shift_right(band.begin(), band.end(), places);
        std::fill(band.begin(), band.begin() + places, fill);
    } else if (delta < 0) {
        std::shift_left(band.begin(), band.end(), places);
        std::fill(band.end() - places, band.end(), fill);
    }
}

void FollowRenumbering(Engine& e)
{
    std::vector<PCell> readers = ResyncRangeAreas(e);
    if (!e.Settings().ManualCalc)
        RecalcFormulas(e, readers);
}

std::vector<PCell> DestroyBlock(Engine& e, const TRange& block)
{
    int lastRow = std::min<int>(block.LastRow, e.Cur->MaxRow);
    std::vector<PCell> doomed;
    for (int row = block.FirstRow; row <= lastRow; ++row)
        for (PCell c = FindFirstAtOrAfter(e, row, block.FirstCol); c && c->Col <= block.LastCol; c = NextCell(e, c))
            doomed.push_back(c);
    for (PCell c : doomed)
        ReleaseDoomedFormula(e, c);

    // What still reads the block are formulas outside it. One that names a
    // doomed cell loses the reference now, one cell after the other, so
    // that a range with both corners in the block loses both.
    std::vector<PCell> readers = RangeReadersMeeting(e, block);
    for (PCell c : doomed) {
        std::vector<PCell> naming = NamingFormulas(e, c);  // dropping a reference rewrites the lists
        for (PCell reader : naming)
            DropReferences(e, reader, c);
        readers.insert(readers.end(), naming.begin(), naming.end());
    }
    for (int row = block.FirstRow; row <= lastRow; ++row)
        FreeRun(e, row, block.FirstCol, block.LastCol);
    return UniqueCells(std::move(readers));
}

void FollowDeletion(Engine& e, const std::vector<PCell>& readers)
{
    ResyncRangeAreas(e);
    if (e.Settings().ManualCalc)
        RecalcFormulas(e, readers);
}

void ShiftRangesInBlock(Engine& e, const TRange& block, int dRow, int dCol)
{
    std::vector<TRange> before = RememberedRanges(e);
    ShiftRememberedRanges(e, block, dRow, dCol);
    std::size_t next = 0;
    UpdateRememberedRanges(e, [&](TRange r) {
        if (next >= before.size())
            return r;
        const TRange& old = before[next++];
        if (!RangeIsDefined(old))
            return r;
        if (Inside(block, old.FirstRow, old.FirstCol))
            KeepInside(block, r.FirstRow, r.FirstCol);
        if (Inside(block, old.LastRow, old.LastCol))
            KeepInside(block, r.LastRow, r.LastCol);
        return r;
    });
}

TRange RowBlock(int firstRow, int lastRow)
{
    return TRange{0, static_cast<std::int16_t>(firstRow), kCols - 1, static_cast<std::int16_t>(lastRow)};
}

TRange ColumnBlock(int firstCol, int lastCol)
{
    return TRange{static_cast<std::int16_t>(firstCol), 0, static_cast<std::int16_t>(lastCol), kRows - 1};
}

}  // namespace zt
