#pragma once
#include <vector>

#include "core/engine.h"

namespace zt {

// The two halves of a recalculation: a depth-first walk over the Dependents
// lists that lists formula cells in post-order, and their evaluation from
// the end of the list.
struct RecalcOrder {
    std::vector<PCell> Cells;
    std::vector<std::pair<PCell, HeapAddr>> Walk;  // (cell, position in its Dependents list)
};
void BuildRecalcOrder(Engine& e, PCell start, RecalcOrder& order);
void RunRecalcOrder(Engine& e, RecalcOrder& order);

// A cell and everything that depends on it, directly or indirectly.
void RecalcFrom(Engine& e, PCell cell);
// Everything reachable from the existing cells of a rectangle.
void RecalcRange(Engine& e, const TRange& r);
// Every formula of the current worksheet.
void RecalcAll(Engine& e);
// Every formula of every open worksheet; the current one stays current.
void RecalcAllSheets(Engine& e);

}  // namespace zt
