#pragma once
#include <cstdint>
#include <vector>

#include "core/dependencies.h"
#include "core/engine.h"

namespace zt {

// The two halves of a recalculation: a depth-first walk over the formulas
// that read each cell (core/dependencies.h), listing formula cells in
// post-order, and their evaluation from the end of the list.
struct RecalcOrder {
    // A cell on the walk path: its range readers still to visit are
    // Readers[Next, End), then its Dependents list from Link.
    struct Frame {
        PCell Cell;
        std::size_t Begin;
        std::size_t Next;
        std::size_t End;
        HeapAddr Link;
    };
    std::vector<PCell> Cells;
    std::vector<Frame> Walk;
    std::vector<ReaderRef> Readers;
    std::uint32_t WalkNo = 0;  // 0 until the walk has begun
    bool Ranges = false;       // whether the worksheet has range readers at all
};
void BuildRecalcOrder(Engine& e, PCell start, RecalcOrder& order);
void RunRecalcOrder(Engine& e, RecalcOrder& order);

// A cell and everything that depends on it, directly or indirectly.
void RecalcFrom(Engine& e, PCell cell);
// Everything reachable from the existing cells of a rectangle.
void RecalcRange(Engine& e, const TRange& r);
// The formulas and everything that depends on them.
void RecalcFormulas(Engine& e, const std::vector<PCell>& formulas);
// Every formula of the current worksheet.
void RecalcAll(Engine& e);
// Every formula of every open worksheet; the current one stays current.
void RecalcAllSheets(Engine& e);

}  // namespace zt
