#include "core/cell_store.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "core/dependencies.h"
#include "core/remembered_ranges.h"

namespace zt {

namespace {

constexpr std::uint32_t kCellSize = sizeof(TCell);

void FreeStrResult(Engine& e, PCell c)
{
    if ((c->Kind & 7) == ckStrFormula) {
        HeapAddr s = ReadStrResult(*c);
        if (s)
            FreeText(e, s);
    }
}

void FreeContents(Engine& e, PCell c)
{
    FreeStrResult(e, c);
    FreeText(e, c->Text);
}

}  // namespace

HeapAddr HeapAlloc(Engine& e, std::uint32_t n)
{
    HeapAddr a = e.Heap.Allocate(n);
    if (!a) {
        e.Err.OutOfMemory = true;
        e.Err.Set(kOutOfMemory);
    }
    return a;
}

void HeapFree(Engine& e, HeapAddr a, std::uint32_t n)
{
    if (a)
        e.Heap.Release(a, n);
}

std::string_view TextOf(const Engine& e, HeapAddr a)
{
    if (!a)
        return {};
    const auto* p = e.Heap.At<std::uint8_t>(a);
    return {reinterpret_cast<const char*>(p + 1), p[0]};
}

HeapAddr SetText(Engine& e, HeapAddr old, std::string_view text)
{
    if (text.size() > 255)
        text = text.substr(0, 255);
    auto len = static_cast<std::uint8_t>(text.size());
    if (old && *e.Heap.At<std::uint8_t>(old) == len) {
        std::memcpy(e.Heap.At<std::uint8_t>(old) + 1, text.data(), len);
        return old;
    }
    HeapAddr a = HeapAlloc(e, len + 1u);
    if (!a)
        return old;
    auto* p = e.Heap.At<std::uint8_t>(a);
    p[0] = len;
    std::memcpy(p + 1, text.data(), len);
    if (old)
        HeapFree(e, old, *e.Heap.At<std::uint8_t>(old) + 1u);
    return a;
}

void FreeText(Engine& e, HeapAddr& field)
{
    if (field)
        HeapFree(e, field, *e.Heap.At<std::uint8_t>(field) + 1u);
    field = 0;
}

namespace {

// Walks the row to the first cell at or after the column; prev becomes the
// cell before it. A walk starts at the row's hint when that cell lies left
// of the column (rows are long, and lookups move rightwards), and leaves
// the last cell it passed as the new hint.
PCell WalkRow(Engine& e, int row, int col, PCell& prev)
{
    Worksheet& ws = *e.Cur;
    prev = nullptr;
    PCell c = CellAt(e, ws.RowHeads[row]);
    if (PCell hint = CellAt(e, ws.RowHints[row]); hint && hint->Row == row && hint->Col < col) {
        prev = hint;
        c = NextCell(e, hint);
    }
    while (c && c->Col < col) {
        prev = c;
        c = NextCell(e, c);
    }
    ws.RowHints[row] = AddrOf(e, prev);
    return c;
}

// A cell record leaving its row must not stay its row's hint.
void Unhint(Engine& e, const TCell* c)
{
    HeapAddr& hint = e.Cur->RowHints[c->Row];
    if (hint == AddrOf(e, c))
        hint = 0;
}

}  // namespace

PCell FindCell(Engine& e, int row, int col)
{
    e.FindPrev = nullptr;
    if (row < 0 || row >= kRows || !e.Cur)
        return nullptr;
    PCell prev;
    PCell c = WalkRow(e, row, col, prev);
    e.FindPrev = prev;
    return (c && c->Col == col) ? c : nullptr;
}

PCell FindFirstAtOrAfter(Engine& e, int row, int col)
{
    if (row < 0 || row >= kRows || !e.Cur)
        return nullptr;
    PCell prev;
    return WalkRow(e, row, col, prev);
}

void RelocateCell(Engine& e, PCell cell, int toRow, int toCol)
{
    Worksheet& ws = *e.Cur;
    int row = cell->Row;
    FindCell(e, row, cell->Col);
    if (PCell prev = e.FindPrev)
        prev->Next = cell->Next;
    else
        ws.RowHeads[row] = cell->Next;
    Unhint(e, cell);
    cell->Row = static_cast<std::int16_t>(toRow);
    cell->Col = static_cast<std::uint8_t>(toCol);
    FindCell(e, toRow, toCol);
    HeapAddr a = AddrOf(e, cell);
    if (PCell prev = e.FindPrev) {
        cell->Next = prev->Next;
        prev->Next = a;
    } else {
        cell->Next = ws.RowHeads[toRow];
        ws.RowHeads[toRow] = a;
    }
    ws.MaxRow = std::max<std::int16_t>(ws.MaxRow, static_cast<std::int16_t>(toRow));
    ws.MaxCol = std::max<std::int16_t>(ws.MaxCol, static_cast<std::int16_t>(toCol));
    CornerMoved(e, cell);
}

PCell FindOrCreateCell(Engine& e, int row, int col)
{
    if (row < 0 || row >= kRows || col < 0 || col >= kCols) {
        e.Err.Set(kOutOfRange);
        return nullptr;
    }
    if (!e.Cur)
        return nullptr;
    Worksheet& ws = *e.Cur;
    ws.Modified = true;
    if (PCell c = FindCell(e, row, col))
        return c;
    PCell prev = e.FindPrev;
    HeapAddr prevAddr = AddrOf(e, prev);  // addresses survive; the walk result is kept
    HeapAddr a = HeapAlloc(e, kCellSize);
    if (!a)
        return nullptr;
    ws.MaxRow = std::max<std::int16_t>(ws.MaxRow, static_cast<std::int16_t>(row));
    ws.MaxCol = std::max<std::int16_t>(ws.MaxCol, static_cast<std::int16_t>(col));
    PCell c = CellAt(e, a);
    *c = e.DefaultCell;
    c->Col = static_cast<std::uint8_t>(col);
    c->Row = static_cast<std::int16_t>(row);
    if (prevAddr) {
        PCell p = CellAt(e, prevAddr);
        c->Next = p->Next;
        p->Next = a;
    } else {
        c->Next = ws.RowHeads[row];
        ws.RowHeads[row] = a;
    }
    e.FindPrev = prev;
    return c;
}

void ClearCell(Engine& e, PCell cell)
{
    if (!cell || (cell->Kind & 7) == ckBlank)
        return;
    if (IsFormulaKind(cell->Kind))
        e.Formula->UnlinkDependencies(e, cell);
    FreeContents(e, cell);
    cell->Kind = ckBlank;
    ZeroValue(*cell);
}

namespace {

// The formula loses its references to a cell about to vanish and shows ERR
// until it is recalculated.
void LoseReference(Engine& e, PCell formula, PCell cell)
{
    e.Formula->DropReferences(e, formula, cell);
    FreeStrResult(e, formula);  // the error value takes the slot
    formula->Kind = static_cast<std::uint8_t>(ckFormula | kfError | (formula->Kind & kfUnlinked));
    WriteReal(*formula, -1.0);
}

}  // namespace

void DetachCell(Engine& e, PCell cell)
{
    // The list is taken off the cell first: what is left on it afterwards
    // is dropped below.
    std::vector<PCell> readers = NamingFormulas(e, cell);
    FreeDependents(e, cell);
    for (PCell reader : readers) {
        if (reader == cell)
            continue;
        LoseReference(e, reader, cell);
        e.Formula->RecalcFrom(e, reader);
    }
    FreeDependents(e, cell);
    ForgetCell(e, cell->Row, cell->Col);
    // A formula about to vanish must not stay on other cells' lists.
    if (IsFormulaKind(cell->Kind))
        e.Formula->UnlinkDependencies(e, cell);
    FreeContents(e, cell);
}

void FreeRun(Engine& e, int row, int firstCol, int lastCol)
{
    if (!e.Cur || row < 0 || row >= kRows || row > e.Cur->MaxRow)
        return;
    HeapAddr& head = e.Cur->RowHeads[row];
    auto nextOf = [&](PCell p) { return p ? p->Next : head; };
    PCell prev = nullptr;  // the last cell kept; null for the row head
    for (HeapAddr a = nextOf(prev); a; a = nextOf(prev)) {
        PCell c = CellAt(e, a);
        if (c->Col < firstCol) {
            prev = c;
            continue;
        }
        if (c->Col > lastCol)
            return;
        DetachCell(e, c);
        // Relinking the formulas that read the cell may have put new cells
        // into this row before it: its predecessor is looked up again, and
        // the new cells of the run are freed in turn.
        PCell before = prev;
        while (nextOf(before) != a)
            before = CellAt(e, nextOf(before));
        if (before)
            before->Next = c->Next;
        else
            head = c->Next;
        Unhint(e, c);
        HeapFree(e, a, kCellSize);
    }
}

void FreeAllCells(Engine& e)
{
    if (!e.Cur)
        return;
    Worksheet& ws = *e.Cur;
    FreeRangeAreas(e);
    for (int row = 0; row <= ws.MaxRow; ++row) {
        HeapAddr a = ws.RowHeads[row];
        while (a) {
            PCell c = CellAt(e, a);
            HeapAddr next = c->Next;
            FreeDependents(e, c);
            FreeContents(e, c);
            HeapFree(e, a, kCellSize);
            a = next;
        }
        ws.RowHeads[row] = 0;
    }
    std::fill(ws.RowHints.begin(), ws.RowHints.end(), 0);
    ws.MaxRow = 0;
    ws.MaxCol = 0;
}

namespace {

// The next heap number that no open worksheet carries.
std::uint16_t TakeHeapNumber(Engine& e)
{
    for (;;) {
        std::uint16_t n = e.NextHeapNo++;
        if (e.NextHeapNo == 0)
            e.NextHeapNo = 1;
        if (n != 0 && !FindSheetSlot(e, n))
            return n;
    }
}

}  // namespace

int OpenSheet(Engine& e, std::string_view name)
{
    std::string upper(name);
    for (char& ch : upper)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    for (int s = 1; s <= kMaxSheetSlots; ++s) {
        if (e.Slots[s] && e.Slots[s]->Name == upper) {
            ++e.Slots[s]->ShareCount;
            return s;
        }
    }
    for (int s = 1; s <= kMaxSheetSlots; ++s) {
        if (e.Slots[s])
            continue;
        auto ws = std::make_unique<Worksheet>();
        ws->Name = upper;
        ws->HeapNo = TakeHeapNumber(e);
        ws->Settings = e.Defaults;
        e.Slots[s] = std::move(ws);
        return s;
    }
    return 0;
}

int FindSheetSlot(const Engine& e, std::uint16_t heapNo)
{
    for (int s = 1; s <= kMaxSheetSlots; ++s)
        if (e.Slots[s] && e.Slots[s]->HeapNo == heapNo)
            return s;
    return 0;
}

void CloseSheet(Engine& e, std::uint16_t heapNo)
{
    int s = FindSheetSlot(e, heapNo);
    if (!s)
        return;
    Worksheet& ws = *e.Slots[s];
    if (ws.ShareCount > 0) {
        --ws.ShareCount;
        return;
    }
    e.Heap.ReleaseHeap(heapNo);
    if (e.Cur == &ws) {
        e.Cur = nullptr;
        e.CurSlot = 0;
        e.Heap.SelectHeap(0);
    }
    e.Slots[s].reset();
}

void RestoreContext(Engine& e, int slot)
{
    if (slot < 1 || slot > kMaxSheetSlots || !e.Slots[slot])
        return;
    e.Cur = e.Slots[slot].get();
    e.CurSlot = slot;
    e.FindPrev = nullptr;
    e.Heap.SelectHeap(e.Cur->HeapNo);
}

void FreeAllSheets(Engine& e)
{
    for (int s = 1; s <= kMaxSheetSlots; ++s) {
        if (!e.Slots[s])
            continue;
        e.Heap.ReleaseHeap(e.Slots[s]->HeapNo);
        e.Slots[s].reset();
    }
    e.Cur = nullptr;
    e.CurSlot = 0;
    e.Heap.SelectHeap(0);
}

std::int64_t MemoryFree(const Engine& e) { return e.Heap.MemoryFree(); }
bool MemoryLow(const Engine& e) { return e.Heap.MemoryLow(); }

void ReportError(Engine& e, std::string_view message)
{
    if (!e.Notifier)
        return;
    e.Notifier->Beep();
    e.Notifier->ShowMessage("Error:" + std::string(message));
}

void ReportPendingError(Engine& e) { ReportError(e, e.Err.ErrorText); }

}  // namespace zt
