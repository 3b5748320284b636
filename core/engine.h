#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/cell.h"
#include "core/error_state.h"
#include "core/hooks.h"
#include "core/page_heap.h"
#include "core/range.h"
#include "core/settings.h"
#include "core/sheet_layout.h"

namespace zt {

inline constexpr int kRows = 8192;
inline constexpr int kCols = 256;
inline constexpr int kRowHeadCount = 8198;  // 8192 rows and six undo slots
inline constexpr int kMaxSheetSlots = 256;
inline constexpr int kMaxRangeNames = 240;
inline constexpr int kRangeNameLength = 12;
inline constexpr int kRangeNameRecord = 21;  // short string of 12 and a TRange
inline constexpr int kMaxCellText = 240;
inline constexpr int kDataRangeCount = 12;

// The sorted range-name table; entries 1..Count hold heap addresses of the
// 21-byte name records.
struct TRangeNameTable {
    std::uint16_t Count = 0;
    std::array<HeapAddr, 256> Entries{};
};

// One open worksheet: its cells, settings and tables. Several windows on
// the same worksheet share it.
struct Worksheet {
    std::string Name;  // upper-cased
    std::uint16_t HeapNo = 0;
    std::uint16_t ShareCount = 0;  // 0 = one user
    std::vector<HeapAddr> RowHeads = std::vector<HeapAddr>(kRowHeadCount, 0);
    std::int16_t MaxRow = 0;
    std::int16_t MaxCol = 0;
    bool Modified = false;
    bool UndoHasCells = false;  // the undo snapshot holds the cells (perhaps none)
    WorksheetSettings Settings;
    TRangeNameTable Names;
    std::array<TRange, kDataRangeCount> DataRanges{};
    SheetLayout Layout;
};

// Bounds of nested work: evaluations inside evaluations, and the guard
// against a recalculation of the whole sheet starting inside another.
struct FormulaRuntime {
    int EvalDepth = 0;
    bool RecalcBusy = false;
};

// Everything the engine knows at one time: the heap, the open worksheets,
// the current one, the error state and the hooks of the higher layers.
struct Engine {
    PageHeap Heap;
    ErrorState Err;
    WorksheetSettings Defaults;
    std::array<std::unique_ptr<Worksheet>, kMaxSheetSlots + 1> Slots;  // 1..256
    Worksheet* Cur = nullptr;
    int CurSlot = 0;
    std::uint16_t NextHeapNo = 1;

    TCell DefaultCell{};
    TCell ScratchFormulaCell{};
    PCell FindPrev = nullptr;  // the cell before the last lookup's position
    bool SheetRecalculated = false;
    FormulaRuntime Runtime;

    std::unique_ptr<FormulaHooks> Formula = std::make_unique<FormulaHooks>();
    std::unique_ptr<ViewHooks> View = std::make_unique<ViewHooks>();
    Notify* Notifier = nullptr;

    explicit Engine(int pageLimit = PageHeap::DefaultPageLimit());

    WorksheetSettings& Settings() { return Cur->Settings; }
    const WorksheetSettings& Settings() const { return Cur->Settings; }
};

}  // namespace zt
