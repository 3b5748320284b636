#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/bench_sheet.h"
#include "commands/copy_range.h"
#include "commands/insert_delete.h"
#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "formula/formula_engine.h"

namespace zt {
namespace {

constexpr int kBlockRows = 1000;
constexpr int kBlockCols = 100;

// A block of 100 columns by 1,000 rows of formulas, each reading the input
// column and the cell above it.
std::unique_ptr<Engine> FormulaBlock()
{
    auto e = NewSheet();
    for (int row = 0; row < kBlockRows; ++row)
        StoreValue(*e, row, 0, row + 1, false);
    for (int row = 0; row < kBlockRows; ++row)
        for (int col = 1; col <= kBlockCols; ++col)
            EnterCell(*e, "+$A" + std::to_string(row + 1) + "*" + std::to_string(col) +
                              (row > 0 ? "+" + FormatAddress(*e, row - 1, col) : std::string()),
                      row, col);
    return e;
}

// The block copied to an empty place: references re-based, the copy
// recalculated, the undo snapshot taken. The copy is removed again,
// untimed, after each iteration.
void BM_CopyFormulaBlock(benchmark::State& state)
{
    auto e = FormulaBlock();
    TRange source{1, 0, kBlockCols, kBlockRows - 1};
    TRange dest{1, 2000, 1, 2000};
    for (auto _ : state) {
        benchmark::DoNotOptimize(CopyRange(*e, false, source, dest));
        state.PauseTiming();
        // Bottom row first: a freed cell's readers are gone already.
        for (int row = 2000 + kBlockRows - 1; row >= 2000; --row)
            FreeRun(*e, row, 0, kCols - 1);
        state.ResumeTiming();
    }
    state.counters["cells_per_s"] =
        benchmark::Counter(double(kBlockRows) * kBlockCols * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CopyFormulaBlock)->Unit(benchmark::kMillisecond)->Iterations(10);

// The same copy onto the previous one, whose formulas must be unlinked first.
void BM_CopyFormulaBlockOverItself(benchmark::State& state)
{
    auto e = FormulaBlock();
    TRange source{1, 0, kBlockCols, kBlockRows - 1};
    TRange dest{1, 2000, 1, 2000};
    CopyRange(*e, false, source, dest);
    for (auto _ : state)
        benchmark::DoNotOptimize(CopyRange(*e, false, source, dest));
}
BENCHMARK(BM_CopyFormulaBlockOverItself)->Unit(benchmark::kMillisecond)->Iterations(10);

// One row inserted at the top of a worksheet of 200,000 cells, 50,000 of
// them formulas; the undo snapshot of the whole worksheet included.
void BM_InsertRowAtTop(benchmark::State& state)
{
    constexpr int kRowsUsed = 2000;
    auto e = NewSheet();
    for (int row = 0; row < kRowsUsed; ++row) {
        for (int col = 0; col < 75; ++col)
            StoreValue(*e, row, col, row * 100 + col, false);
        for (int col = 75; col < 100; ++col)
            EnterCell(*e, "+" + FormatAddress(*e, row, col - 75) + "*2", row, col);
    }
    for (auto _ : state)
        InsertRows(*e, 0, 1);
    state.counters["cells"] = double(kRowsUsed) * 100;
}
BENCHMARK(BM_InsertRowAtTop)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace
}  // namespace zt
