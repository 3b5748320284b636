#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "core/cell_entry.h"
#include "core/cell_store.h"

namespace zt {
namespace {

constexpr int kEntered = 500'000;
constexpr int kEnteredCols = (kEntered + kRows - 1) / kRows;

// Typing 500,000 numbers into a fresh worksheet, row by row.
void BM_EnterNumbers(benchmark::State& state)
{
    std::vector<std::string> texts;
    texts.reserve(kEntered);
    for (int i = 0; i < kEntered; ++i)
        texts.push_back(i % 2 ? std::to_string(i) : std::to_string(i) + ".25");
    double bytesPerCell = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto e = std::make_unique<Engine>();
        RestoreContext(*e, OpenSheet(*e, "BENCH"));
        std::int64_t before = e->Heap.BytesInUse();
        state.ResumeTiming();
        int n = 0;
        for (int row = 0; row < kRows && n < kEntered; ++row)
            for (int col = 0; col < kEnteredCols && n < kEntered; ++col)
                EnterCell(*e, texts[n++], row, col);
        state.PauseTiming();
        bytesPerCell = double(e->Heap.BytesInUse() - before) / kEntered;
        e.reset();
        state.ResumeTiming();
    }
    state.counters["heap_bytes_per_cell"] = bytesPerCell;
    state.counters["cells_per_s"] = benchmark::Counter(double(kEntered) * state.iterations(),
                                                       benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EnterNumbers)->Unit(benchmark::kMillisecond);

// Random FindCell lookups over a worksheet filled as far as the heap allows
// (8192 rows of 100 columns).
void BM_FindCellRandom(benchmark::State& state)
{
    constexpr int kFullCols = 100;
    Engine e;
    RestoreContext(e, OpenSheet(e, "BENCH"));
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kFullCols; ++col)
            StoreNumber(FindOrCreateCell(e, row, col), row + col);
    std::mt19937 rng(1);
    std::vector<std::pair<int, int>> probes(1 << 16);
    for (auto& p : probes)
        p = {int(rng() % kRows), int(rng() % kCols)};
    std::size_t i = 0;
    std::int64_t found = 0;
    for (auto _ : state) {
        const auto& [row, col] = probes[i++ & (probes.size() - 1)];
        found += FindCell(e, row, col) != nullptr;
    }
    benchmark::DoNotOptimize(found);
    state.counters["cells"] = double(kRows) * kFullCols;
    state.counters["lookups_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FindCellRandom);

}  // namespace
}  // namespace zt
