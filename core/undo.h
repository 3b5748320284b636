#pragma once
#include "core/engine.h"

namespace zt {

// The snapshot lives behind the six extra row heads of the worksheet, so it
// belongs to the worksheet and travels with its context.
inline constexpr int kUndoCellsSlot = 8192;    // list of saved cell images
inline constexpr int kUndoWidthsSlot = 8193;   // 256 column widths, 512 bytes
inline constexpr int kUndoHeightsSlot = 8194;  // first of four blocks of row heights
inline constexpr int kUndoHeightBlocks = 4;    // 2048 heights, 4096 bytes each

// Modes of SaveWidths and SaveHeights.
inline constexpr int kLayoutSave = 0;     // allocate a block and copy the sizes into it
inline constexpr int kLayoutRestore = 1;  // copy the block back into the layout and free it
inline constexpr int kLayoutFree = 2;     // free the block

// Replaces the snapshot of the current worksheet with one of all its cells,
// column widths, row heights and remembered ranges, unless UNDO= is off. Commands call it
// before they change anything. A failure is reported as "Out of UNDO
// memory!" and leaves no snapshot; the error state is as before.
void TakeUndoSnapshot(Engine& e);

// Replaces the snapshot with one of the column widths and row heights only,
// so that undoing a resize leaves the cells alone.
void SnapshotSizes(Engine& e);

// Rebuilds the worksheet from the snapshot and consumes it; does nothing
// when there is none, except that after a snapshot that failed it reports
// "Nothing to Undo".
void Undo(Engine& e);

// Releases the snapshot.
void DiscardSnapshot(Engine& e);

// Save, restore or free the snapshot's copy of the column widths (row
// heights). Returns false when the block cannot be allocated; the slot is
// then nil.
bool SaveWidths(Engine& e, int mode);
bool SaveHeights(Engine& e, int mode);

}  // namespace zt
