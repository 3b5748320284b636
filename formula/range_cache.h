#pragma once
// Running totals of ranges, shared by the formulas of one recalculation.
//
// Formulas that read ranges with the same columns and first row (growing
// totals, many formulas over one table) share one pass down the rows: the
// running state after each row is kept, so a range ending at a row already
// passed costs one lookup. Each state is exactly what a fresh walk over the
// same cells, row by row and column by column, reaches. A cell written while
// the recalculation runs cuts the kept states of every band holding it back
// to the row before it.
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/engine.h"
#include "formula/aggregate.h"

namespace zt {

class RangeCache {
public:
    // Kept states across all bands; beyond it ranges are walked afresh.
    static constexpr std::size_t kMaxStates = 1 << 20;

    explicit RangeCache(int slot) : slot_(slot) {}

    // The numbers of a rectangle of the worksheet in the slot, as a fresh
    // walk accumulates them into a new Aggregate. Empty when the cache does
    // not answer for it (another worksheet, no room left); otherwise whether
    // the walk met no ERR cell, with out set when it met none.
    std::optional<bool> Accumulate(Engine& e, int slot, const TRange& r, Aggregate& out);
    // A cell of the worksheet changed its value or kind.
    void CellWritten(int row, int col);

private:
    struct State {
        std::int64_t Count;  // -1 once an ERR cell was met
        double Sum, Min, Max;
    };
    struct Band {
        int FirstCol, LastCol, FirstRow;
        std::vector<State> States;  // after rows FirstRow, FirstRow + 1, ...
    };

    int slot_;
    std::size_t states_ = 0;
    std::unordered_map<std::uint64_t, Band> bands_;
    std::vector<std::vector<Band*>> byColumn_ = std::vector<std::vector<Band*>>(kCols);
};

}  // namespace zt
