#include "commands/insert_delete_support.h"

#include <algorithm>
#include <cstdlib>

#include "core/cell_store.h"
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

// Takes a formula about to be destroyed off the Dependents lists of the
// cells it reads before any of them goes. The unlinked mark keeps anything
// from walking its links again once the cells they name are freed.
void ReleaseDoomedFormula(Engine& e, PCell cell)
{
    if (!IsFormulaKind(cell->Kind))
        return;
    UnlinkDependencies(e, cell);
    cell->Kind |= kfUnlinked;
}

// The formulas on the cell's Dependents list.
std::vector<PCell> ReadersOf(const Engine& e, const TCell* cell)
{
    std::vector<PCell> readers;
    for (HeapAddr l = cell->Dependents; l; l = e.Heap.At<TDepLink>(l)->Next)
        readers.push_back(CellAt(e, e.Heap.At<TDepLink>(l)->Cell));
    return readers;
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

void RelinkReaders(Engine& e, const std::vector<PCell>& cells)
{
    // A range formula reads a whole row or column of these cells; it is
    // re-registered once. The readers are collected first because
    // re-registering rewrites the lists being walked.
    std::vector<PCell> readers;
    for (PCell c : cells) {
        std::vector<PCell> own = ReadersOf(e, c);
        readers.insert(readers.end(), own.begin(), own.end());
    }
    // Linking only checks the head of a list for a link the formula already
    // has, so the old links go first.
    for (PCell formula : UniqueCells(std::move(readers))) {
        UnlinkDependencies(e, formula);
        LinkDependencies(e, formula);
    }
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

    // What is left on the lists of the doomed cells are the formulas outside
    // the block. One that names a doomed cell directly loses the reference
    // now, while every cell its ranges cover still exists, so relinking it
    // creates none.
    std::vector<PCell> readers;
    for (PCell c : doomed) {
        std::vector<PCell> own = ReadersOf(e, c);  // dropping a reference rewrites the list
        for (PCell reader : own)
            DropReferences(e, reader, c);
        readers.insert(readers.end(), own.begin(), own.end());
    }
    readers = UniqueCells(std::move(readers));
    // Set aside, the readers are neither recalculated nor relinked once per
    // destroyed cell, and their ranges create no cells where the block was.
    for (PCell reader : readers)
        UnlinkDependencies(e, reader);

    for (int row = block.FirstRow; row <= lastRow; ++row)
        FreeRun(e, row, block.FirstCol, block.LastCol);
    return readers;
}

void LinkReadersAgain(Engine& e, const std::vector<PCell>& readers)
{
    for (PCell reader : readers)
        LinkDependencies(e, reader);
    if (e.Settings().ManualCalc)
        for (PCell reader : readers)
            RecalcFrom(e, reader);
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
