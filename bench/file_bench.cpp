#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/bench_sheet.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "files/file_access.h"
#include "files/worksheet_io.h"
#include "formula/formula_engine.h"

namespace zt {
namespace {

constexpr int kBenchRows = 2000;
constexpr int kBenchCols = 250;  // 500,000 cells

// Numbers, integers and reals mixed, with a column of labels every 25
// columns and a column of formulas every 50.
std::unique_ptr<Engine> FilledSheet()
{
    auto e = NewSheet();
    for (int row = 0; row < kBenchRows; ++row) {
        for (int col = 0; col < kBenchCols; ++col) {
            if (col % 50 == 49)
                EnterCell(*e, "+A" + std::to_string(row + 1) + "*2", row, col);
            else if (col % 25 == 24)
                EnterCell(*e, "row " + std::to_string(row), row, col);
            else
                StoreValue(*e, row, col, col % 2 ? row * 0.5 + col : row + col, false);
        }
    }
    return e;
}

std::string BenchFile() { return (std::filesystem::temp_directory_path() / "zt_file_bench.wks").string(); }

void BM_SaveWorksheet(benchmark::State& state)
{
    auto e = FilledSheet();
    const std::string file = BenchFile();
    for (auto _ : state)
        if (!SaveWorksheet(*e, file))
            state.SkipWithError("save failed");
    state.counters["file_bytes"] = double(std::filesystem::file_size(file));
    state.counters["cells_per_s"] =
        benchmark::Counter(double(kBenchRows) * kBenchCols * state.iterations(), benchmark::Counter::kIsRate);
    std::filesystem::remove(file);
    std::filesystem::remove(BackupName(file));
}
BENCHMARK(BM_SaveWorksheet)->Unit(benchmark::kMillisecond);

void BM_LoadWorksheet(benchmark::State& state)
{
    const std::string file = BenchFile();
    if (!SaveWorksheet(*FilledSheet(), file)) {
        state.SkipWithError("save failed");
        return;
    }
    auto e = NewSheet();
    for (auto _ : state)
        if (!RetrieveWorksheet(*e, file) || e->Cur->MaxRow != kBenchRows - 1 || e->Cur->MaxCol != kBenchCols - 1)
            state.SkipWithError("load failed");
    state.counters["file_bytes"] = double(std::filesystem::file_size(file));
    state.counters["cells_per_s"] =
        benchmark::Counter(double(kBenchRows) * kBenchCols * state.iterations(), benchmark::Counter::kIsRate);
    std::filesystem::remove(file);
}
BENCHMARK(BM_LoadWorksheet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zt
