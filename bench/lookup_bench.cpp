#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "formula/compiler.h"
#include "formula/evaluator.h"
#include "formula/formula_engine.h"

namespace zt {
namespace {

// 5,000 @VTABLE lookups into a 5,000-row table, evaluated as compiled
// formulas of no cell: the cost of the lookups alone.
void BM_VtableLookups(benchmark::State& state)
{
    constexpr int kTable = 5000;
    auto e = std::make_unique<Engine>();
    InstallFormulaEngine(*e);
    RestoreContext(*e, OpenSheet(*e, "BENCH"));
    for (int i = 0; i < kTable; ++i) {
        EnterCell(*e, std::to_string(i), i, 0);
        EnterCell(*e, std::to_string(i * 2), i, 1);
    }
    std::vector<std::string> codes;
    for (int i = 0; i < kTable; ++i) {
        std::string code = "@VTABLE(" + std::to_string((i * 7919) % kTable) + ".5,$A$1..$B$5000,1)";
        CompileFormula(*e, code);
        codes.push_back(code);
    }
    double total = 0;
    for (auto _ : state)
        for (const std::string& code : codes)
            total += EvaluateText(*e, code, true).Number;
    benchmark::DoNotOptimize(total);
    state.counters["lookups_per_s"] = benchmark::Counter(double(kTable) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_VtableLookups)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zt
