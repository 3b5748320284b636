#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/bench_sheet.h"
#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "formula/compiler.h"
#include "formula/formula_engine.h"
#include "formula/recalc.h"

namespace zt {
namespace {

// A chain of 200,000 formulas, each adding 1 to the one before it, running
// down the columns.
void BM_RecalcChain(benchmark::State& state)
{
    constexpr int kChain = 200'000;
    auto e = NewSheet();
    EnterCell(*e, "1", 0, 0);
    for (int k = 1; k < kChain; ++k) {
        int prev = k - 1;
        EnterCell(*e, "+" + Addr(prev % kRows, prev / kRows) + "+1", k % kRows, k / kRows);
    }
    for (auto _ : state)
        RecalcAll(*e);
    state.counters["formulas_per_s"] = benchmark::Counter(double(kChain) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RecalcChain)->Unit(benchmark::kMillisecond);

// 8,000 numbers added up through a tree of formulas of 40 references each.
void BM_RecalcFanIn(benchmark::State& state)
{
    constexpr int kLeaves = 8000;
    constexpr int kFan = 40;
    auto e = NewSheet();
    for (int i = 0; i < kLeaves; ++i)
        EnterCell(*e, std::to_string(i % 100), i % kRows, 0);
    int level = 0, count = kLeaves;
    while (count > 1) {
        int parents = (count + kFan - 1) / kFan;
        for (int p = 0; p < parents; ++p) {
            std::string f;
            for (int k = p * kFan; k < std::min(count, (p + 1) * kFan); ++k)
                f += "+" + Addr(k % kRows, level);
            EnterCell(*e, f, p, level + 1);
        }
        count = parents;
        ++level;
    }
    for (auto _ : state)
        RecalcAll(*e);
    state.counters["levels"] = level;
}
BENCHMARK(BM_RecalcFanIn)->Unit(benchmark::kMicrosecond);

// One cell that 10,000 formulas read changes.
void BM_RecalcFromWideFan(benchmark::State& state)
{
    constexpr int kDependents = 10'000;
    auto e = NewSheet();
    EnterCell(*e, "1", 0, 0);
    for (int i = 0; i < kDependents; ++i)
        EnterCell(*e, "+$A$1*" + std::to_string(i % 50 + 1), i % kRows, 1 + i / kRows);
    int v = 0;
    for (auto _ : state)
        EnterCell(*e, std::to_string(++v % 1000), 0, 0);
    state.counters["formulas_per_s"] = benchmark::Counter(double(kDependents) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RecalcFromWideFan)->Unit(benchmark::kMicrosecond);

// Compiling short formulas.
void BM_CompileShort(benchmark::State& state)
{
    auto e = NewSheet();
    const std::vector<std::string> texts = {"+A1*2+B3", "(C4-D5)/2^E6", "+A1<>B1#AND#C1>=3", "+\"ab\"&F7", "+$G$8*1.5%"};
    std::string code;
    std::size_t i = 0;
    for (auto _ : state) {
        code = texts[i++ % texts.size()];
        CompileFormula(*e, code);
        benchmark::DoNotOptimize(code.data());
    }
    state.counters["formulas_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CompileShort)->Iterations(1'000'000);

}  // namespace
}  // namespace zt
