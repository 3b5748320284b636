#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/bench_sheet.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "formula/evaluator.h"
#include "formula/formula_engine.h"
#include "formula/recalc.h"

namespace zt {
namespace {

// One list function over a column of 8,000 numbers, integers and reals
// mixed; each iteration evaluates the formula cell once.
void BM_ListFunctionColumn(benchmark::State& state, const std::string& function)
{
    constexpr int kValues = 8000;
    auto e = NewSheet();
    for (int row = 0; row < kValues; ++row)
        StoreValue(*e, row, 0, row % 3 == 0 ? row + 0.25 : row, false);
    EnterCell(*e, "@" + function + "(A1..A" + std::to_string(kValues) + ")", 0, 1);
    PCell cell = FindCell(*e, 0, 1);
    for (auto _ : state) {
        EvaluateCell(*e, cell);
        benchmark::DoNotOptimize(cell->Value);
    }
    state.counters["cells_per_s"] = benchmark::Counter(double(kValues) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(BM_ListFunctionColumn, SUM, std::string("SUM"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ListFunctionColumn, AVG, std::string("AVG"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ListFunctionColumn, MAX, std::string("MAX"))->Unit(benchmark::kMicrosecond);

// Running totals: B<k> = @SUM($A$1..A<k>) for k = 1..2000, two million
// cell visits per recalculation.
void BM_RecalcGrowingSums(benchmark::State& state)
{
    constexpr int kRowsUsed = 2000;
    auto e = NewSheet();
    for (int row = 0; row < kRowsUsed; ++row)
        StoreValue(*e, row, 0, row + 1, false);
    for (int row = 0; row < kRowsUsed; ++row)
        EnterCell(*e, "@SUM($A$1..A" + std::to_string(row + 1) + ")", row, 1);
    for (auto _ : state)
        RecalcAll(*e);
    state.counters["cells_per_s"] =
        benchmark::Counter(double(kRowsUsed) * (kRowsUsed + 1) / 2 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RecalcGrowingSums)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zt
