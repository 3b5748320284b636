// The window's costs: painting a full pane, and typing into a cell that many
// formulas read until the pane shows the result. Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "files/external_sheets.h"
#include "formula/formula_engine.h"
#include "platform/notify_headless.h"
#include "shell/grid.h"
#include "shell/main_window.h"
#include "shell/worksheet_window.h"

namespace zt {
namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "zentab_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

struct Desktop {
    Engine engine;
    HeadlessNotify notify;
    std::unique_ptr<TForm1> main;
    Desktop()
    {
        App();
        InstallFormulaEngine(engine);
        InstallFileHooks(engine);
        main = std::make_unique<TForm1>(engine);
        engine.Notifier = &notify;
        main->Controller().NewWindow();
    }
    ~Desktop()
    {
        main->Controller().CloseAll();
        main.reset();
    }
    Shell& shell() { return main->Controller(); }
    TGrid* Grid() { return main->FormOf(*shell().Active())->Grid(0); }
};

// A pane showing 40 rows of 120 columns, every cell formatted, coloured and
// bordered: numbers, labels and formulas.
void BM_RepaintFullPane(benchmark::State& state)
{
    Desktop d;
    Engine& e = d.engine;
    for (int r = 0; r < 40; ++r) {
        for (int c = 0; c < 120; ++c) {
            std::string text = c % 3 == 0 ? "'Item " + std::to_string(r)
                             : c % 3 == 1 ? std::to_string(r * 1000 + c) + ".25"
                                          : "+" + ColumnLetters(c - 1) + std::to_string(r + 1) + "*2";
            EnterCell(e, text, r, c);
            PCell cell = FindCell(e, r, c);
            cell->Format = std::uint8_t(0x20 | 2);  // currency, two places
            cell->Borders = 0x55;
            cell->Style = std::uint8_t(r % 2);
            cell->Colors = std::uint32_t(c % 16) << 24 | 0xF0F0F0u;
        }
    }
    // A pane of its own, sized to show exactly that many cells.
    TGrid grid(d.shell(), *d.shell().Active(), 0);
    GridState& g = grid.State();
    int width = TGrid::kRowHeaderWidth + TGrid::kScrollWidth + 120 * g.ColumnPixels(0);
    int height = TGrid::kHeaderHeight + 40 * g.RowPixels(0);
    grid.resize(width, height);
    grid.Sync();
    QImage image(width, height, QImage::Format_RGB32);
    for (auto _ : state) {
        grid.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["cells"] = double(g.Nrows() * g.Ncols());
}
BENCHMARK(BM_RepaintFullPane)->Unit(benchmark::kMillisecond);

// A number typed into A1, which 10,000 formulas read, entered with Enter
// through the shell's keys, then the pane painted.
void BM_TypeIntoCellWithDependents(benchmark::State& state)
{
    Desktop d;
    Engine& e = d.engine;
    EnterCell(e, "1", 0, 0);
    for (int k = 0; k < 10'000; ++k)
        EnterCell(e, "+$A$1+" + std::to_string(k), 1 + k % 8000, 1 + k / 8000);
    TGrid* grid = d.Grid();
    grid->resize(1000, 700);
    grid->Sync();
    QImage image(grid->size(), QImage::Format_RGB32);
    Shell& shell = d.shell();
    int n = 0;
    for (auto _ : state) {
        for (char ch : std::to_string(++n % 1000))
            shell.KeyPress(ch);
        shell.KeyDown(KeyEvent{vkReturn});
        grid->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    if (NumericValue(*FindCell(e, 1, 1)) != NumericValue(*FindCell(e, 0, 0)))
        state.SkipWithError("the dependents were not recalculated");
}
BENCHMARK(BM_TypeIntoCellWithDependents)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zt
