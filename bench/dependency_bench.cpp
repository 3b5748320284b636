// Dependencies at the sizes people use: many formulas over one range, growing
// totals typed one by one, lookups into a large table, a full worksheet.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/bench_sheet.h"
#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "files/worksheet_file.h"
#include "formula/formula_engine.h"
#include "formula/recalc.h"

namespace zt {
namespace {

double ValueAt(Engine& e, int row, int col)
{
    PCell c = FindCell(e, row, col);
    return c && !HasError(c) ? NumericValue(*c) : -1;
}

// fan 100,000: A1..A4000 hold 1..4000 and 100,000 formulas read all of it
// with @SUM($A$1..$A$4000). Each iteration types a new A1, which
// recalculates every one of them.
void BM_FanChange(benchmark::State& state)
{
    constexpr int kFormulas = 100'000;
    auto e = NewSheet();
    e->Settings().ManualCalc = true;
    for (int r = 0; r < 4000; ++r)
        EnterCell(*e, std::to_string(r + 1), r, 0);
    for (int i = 0; i < kFormulas; ++i)
        EnterCell(*e, "@SUM($A$1..$A$4000)", i % kRows, 1 + i / kRows);
    e->Settings().ManualCalc = false;
    RecalcAll(*e);
    int v = 1;
    for (auto _ : state)
        EnterCell(*e, std::to_string(++v), 0, 0);
    const double expected = 8'002'000.0 + v - 1;
    for (int i = 0; i < kFormulas; i += 997)
        if (ValueAt(*e, i % kRows, 1 + i / kRows) != expected)
            state.SkipWithError("a formula of the fan holds a wrong value");
    state.counters["formulas_per_s"] = benchmark::Counter(double(kFormulas) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FanChange)->Unit(benchmark::kMillisecond);

// Running totals typed one by one, recalculating as they go: B<n> holds
// @SUM(A$1..A<n>) for n = 1..8,000.
void BM_TypeRunningTotals(benchmark::State& state)
{
    constexpr int kRowsTyped = 8000;
    for (auto _ : state) {
        state.PauseTiming();
        auto e = NewSheet();
        for (int r = 0; r < kRowsTyped; ++r)
            EnterCell(*e, std::to_string(r % 7), r, 0);
        state.ResumeTiming();
        for (int r = 0; r < kRowsTyped; ++r)
            EnterCell(*e, "@SUM(A$1.." + Addr(r, 0) + ")", r, 1);
        state.PauseTiming();
        if (e->Err.ErrorFlag || ValueAt(*e, kRowsTyped - 1, 1) != 23'997)
            state.SkipWithError("a running total is wrong");
        e.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TypeRunningTotals)->Unit(benchmark::kMillisecond);

// 5,000 @VTABLE formulas typed against an 8,000-row table, then one key
// of the table changed.
void BM_VtableFormulas(benchmark::State& state)
{
    constexpr int kTable = 8000;
    constexpr int kLookups = 5000;
    for (auto _ : state) {
        state.PauseTiming();
        auto e = NewSheet();
        for (int i = 0; i < kTable; ++i) {
            EnterCell(*e, std::to_string(i), i, 0);
            EnterCell(*e, std::to_string(i * 2), i, 1);
        }
        state.ResumeTiming();
        for (int i = 0; i < kLookups; ++i)
            EnterCell(*e, "@VTABLE(" + std::to_string((i * 7919) % kTable) + ".5,$A$1..$B$8000,1)", i, 3);
        EnterCell(*e, "0.25", 0, 0);
        state.PauseTiming();
        if (ValueAt(*e, 1, 3) != double((7919 % kTable) * 2))
            state.SkipWithError("a lookup is wrong");
        e.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_VtableFormulas)->Unit(benchmark::kMillisecond);

// A worksheet with a number in every one of its 2,097,152 cells: read from
// its file and recalculated.
void BM_LoadFullGrid(benchmark::State& state)
{
    std::vector<std::uint8_t> bytes;
    {
        auto e = NewSheet();
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                EnterCell(*e, std::to_string((r + c) % 1000), r, c);
        WriteWorksheetFile(*e, bytes, nullptr);
    }
    for (auto _ : state) {
        auto e = NewSheet();
        ReadResult read = ReadWorksheetFile(*e, bytes, ReadOptions{});
        RecalcAll(*e);
        if (!read.Ok || read.Cells != kRows * kCols || ValueAt(*e, kRows - 1, kCols - 1) != (kRows + kCols - 2) % 1000)
            state.SkipWithError("the grid did not load whole");
        state.PauseTiming();
        e.reset();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = double(bytes.size()) / 1e6;
}
BENCHMARK(BM_LoadFullGrid)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zt
