#pragma once
#include <string>
#include <string_view>

#include "core/engine.h"

namespace zt {

// Cells of the current worksheet.
PCell FindCell(Engine& e, int row, int col);
PCell FindFirstAtOrAfter(Engine& e, int row, int col);
PCell FindOrCreateCell(Engine& e, int row, int col);
void ClearCell(Engine& e, PCell cell);
// Before a cell record is destroyed: every formula that names it, directly
// or as the corner of a range, loses that reference, shows ERR and is
// recalculated; remembered ranges with a corner on it become undefined.
// Formulas reading it through ranges that go on without it are for the
// caller to recalculate once its cells are in place.
void DetachCell(Engine& e, PCell cell);
// Takes a cell record out of its row and puts it, renumbered, at another
// position, which must be free. Nothing else about it changes; ranges with
// it as a corner follow it.
void RelocateCell(Engine& e, PCell cell, int toRow, int toCol);
void FreeRun(Engine& e, int row, int firstCol, int lastCol);
void FreeAllCells(Engine& e);

inline PCell CellAt(const Engine& e, HeapAddr a) { return e.Heap.At<TCell>(a); }
inline HeapAddr AddrOf(const Engine& e, const TCell* c) { return e.Heap.AddrOf(c); }
inline PCell NextCell(const Engine& e, const TCell* c) { return e.Heap.At<TCell>(c->Next); }

// Heap blocks of the current worksheet; a failed allocation sets the
// out-of-memory condition.
HeapAddr HeapAlloc(Engine& e, std::uint32_t n);
void HeapFree(Engine& e, HeapAddr a, std::uint32_t n);

// Short strings in the heap: a length byte and at most 255 bytes.
std::string_view TextOf(const Engine& e, HeapAddr a);
// Stores text (cut to 255 bytes) and returns its address, reusing the old
// block when the length is unchanged. On failure the old text is kept and
// the out-of-memory condition set.
HeapAddr SetText(Engine& e, HeapAddr old, std::string_view text);
void FreeText(Engine& e, HeapAddr& field);

// The open-worksheet table.
int OpenSheet(Engine& e, std::string_view name);  // slot, 0 when none is free
void CloseSheet(Engine& e, std::uint16_t heapNo);
void RestoreContext(Engine& e, int slot);          // makes the slot's worksheet current
void FreeAllSheets(Engine& e);
int FindSheetSlot(const Engine& e, std::uint16_t heapNo);

std::int64_t MemoryFree(const Engine& e);
bool MemoryLow(const Engine& e);

// Beeps and shows "Error:" followed directly by the message.
void ReportError(Engine& e, std::string_view message);
// Reports the pending ErrorText.
void ReportPendingError(Engine& e);

}  // namespace zt
