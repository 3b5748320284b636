#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/cell.h"
#include "core/error_state.h"
#include "core/hooks.h"
#include "core/page_heap.h"
#include "core/range.h"
#include "core/range_index.h"
#include "core/settings.h"
#include "core/sheet_extras.h"
#include "core/sheet_layout.h"
#include "core/graph_record.h"

namespace zt {

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

// A function defined by formula text; parameter k is written @A(k).
struct TUserFunction {
    std::string Name;  // upper case, at most 12 characters
    std::string Body;  // at most 255 characters
    int ParamCount = 0;  // 0..10
};
inline constexpr int kMaxUserFunctions = 255;

// One open worksheet: its cells, settings and tables. Several windows on
// the same worksheet share it.
struct Worksheet {
    std::string Name;  // upper-cased
    std::string FilePath;  // the file it was read from or saved to, case kept; empty when new
    std::uint16_t HeapNo = 0;
    std::uint16_t ShareCount = 0;  // 0 = one user
    std::vector<HeapAddr> RowHeads = std::vector<HeapAddr>(kRowHeadCount, 0);
    // Per row, a cell of the row that the last lookup passed, where the
    // next lookup further right may start; 0 when none is known.
    std::vector<HeapAddr> RowHints = std::vector<HeapAddr>(kRows, 0);
    std::int16_t MaxRow = 0;
    std::int16_t MaxCol = 0;
    RangeIndex Ranges;  // the ranges its formulas read (core/dependencies.h)
    bool Modified = false;
    bool UndoHasCells = false;  // the undo snapshot holds the cells (perhaps none)
    std::vector<TRange> UndoRanges;  // the remembered ranges when the snapshot was taken
    bool UndoLost = false;  // the last snapshot could not be taken, so Undo has nothing to go back to
    WorksheetSettings Settings;
    TRangeNameTable Names;
    std::array<TRange, kDataRangeCount> DataRanges{};
    SheetLayout Layout;
    std::vector<TUserFunction> UserFunctions;  // index byte of a call = position + 1
    GraphState Graphs;
    WindowModel Window;
    PrintSetup Print;
    DocumentInfo Info;
    AnalysisState Analysis;
};

// One argument of the running user function.
struct UserParam {
    double Value = 0;
    std::uint8_t Type = 1;  // as the evaluator's slot types: 1 number, 2 string, 3 missing
    bool Error = false;
    std::string Text;
};

class RangeCache;

// State the formula engine keeps between evaluations: the bounds of nested
// work (evaluations inside evaluations, a recalculation of the whole sheet
// starting inside another), the variable @X reads, and the arguments of the
// user function being evaluated.
struct FormulaRuntime {
    int EvalDepth = 0;
    bool RecalcBusy = false;
    double XValue = 0;
    int MethodNesting = 0;  // @RECUR and @INTG inside one another
    std::array<UserParam, 10> Params;
    int ParamCount = 0;
    RangeCache* Cache = nullptr;  // while a recalculation evaluates its formulas
};

// A cell of another worksheet file read by @LINK, and the value last received.
struct LinkedCell {
    std::int16_t Col = 0;
    std::int16_t Row = 0;
    std::int16_t Sheet = 0;
    bool IsString = false;
    bool HasValue = false;
    double Value = 0;
    std::string Text;
};
struct LinkedFile {
    std::string File;  // upper case, at most 255 characters
    std::vector<LinkedCell> Cells;  // ascending (sheet, row, column), no duplicates
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
    std::vector<TUserFunction> UserLibrary;  // loaded from the library file
    std::vector<LinkedFile> FileLinkTable;

    std::unique_ptr<FormulaHooks> Formula = std::make_unique<FormulaHooks>();
    std::unique_ptr<ViewHooks> View = std::make_unique<ViewHooks>();
    std::unique_ptr<FileHooks> Files = std::make_unique<FileHooks>();
    Notify* Notifier = nullptr;
    // Set while a macro runs: moves its position when cells of the block
    // move by the deltas, as the remembered ranges do.
    std::function<void(const TRange& block, int dRow, int dCol)> MacroPositionShift;

    explicit Engine(int pageLimit = PageHeap::DefaultPageLimit());

    WorksheetSettings& Settings() { return Cur->Settings; }
    const WorksheetSettings& Settings() const { return Cur->Settings; }
};

}  // namespace zt
