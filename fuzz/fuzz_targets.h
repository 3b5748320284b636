#pragma once
// Bodies of the fuzz targets, shared by the fuzzers and by the test that
// replays the inputs they once failed on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/cell_store.h"
#include "core/range_names.h"
#include "files/worksheet_file.h"
#include "formula/cell_contents.h"
#include "formula/compiled_formula.h"
#include "formula/compiler.h"
#include "formula/evaluator.h"
#include "formula/formula_engine.h"
#include "formula/recalc.h"

namespace zt {

// One worksheet for all runs, with a few range names for formulas to use.
inline Engine& FuzzEngine()
{
    static Engine* e = [] {
        auto* engine = new Engine(64);
        InstallFormulaEngine(*engine);
        RestoreContext(*engine, OpenSheet(*engine, "FUZZ"));
        SetRangeName(*engine, "SALES", TRange{1, 1, 1, 8});
        SetRangeName(*engine, "F", TRange{0, 0, 1, 2});
        SetRangeName(*engine, "G", TRange{4, 4, 4, 4});
        return engine;
    }();
    return *e;
}

inline bool WalkEndsAtEndMarker(const std::uint8_t* code)
{
    int next = 2;
    bool inStep = true;
    WalkFormula(code, [&](int pos, std::uint8_t) {
        inStep = pos == next;
        next = pos + 1 + OperandSize(code, pos);
        return inStep;
    });
    return inStep && next == code[0];
}

// The input as formula text; the first byte chooses the separator and the
// decimal point. Code that compiles must keep the container rules.
inline void FuzzCompile(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return;
    Engine& e = FuzzEngine();
    FreeAllCells(e);
    bool european = data[0] & 1;
    e.Settings().Sep = european ? ';' : ',';
    e.Settings().Period = european ? ',' : '.';
    std::string code(reinterpret_cast<const char*>(data + 1), size - 1);
    CompileFormula(e, code);
    e.Settings().Sep = ',';
    e.Settings().Period = '.';
    if (e.Err.ErrorFlag)
        return;
    const auto* p = reinterpret_cast<const std::uint8_t*>(code.data());
    if (code.size() != p[0] + 1u || !IsWellFormed(p) || p[1] != 0 || !WalkEndsAtEndMarker(p))
        std::abort();
}

// The input as the stored code of a formula cell in the relative form, as
// a damaged file could hold it: linked, evaluated, shown as text,
// recalculated and cleared.
inline void FuzzEvaluateCode(const std::uint8_t* data, std::size_t size)
{
    Engine& e = FuzzEngine();
    std::string block(reinterpret_cast<const char*>(data), size < 255 ? size : 255);
    PCell cell = FindOrCreateCell(e, 100, 10);
    cell->Text = SetText(e, cell->Text, block);
    cell->Kind = ckFormula | kfUnlinked;
    e.Formula->LinkFormula(e, cell);
    LinkDependencies(e, cell);
    EvaluateCell(e, cell);
    CellContentsText(e, cell);
    RecalcAll(e);
    FreeAllCells(e);
}

// The input as the bytes of a worksheet file: read into an empty
// worksheet, recalculated, written again and read back; then merged and
// listed. Whatever a read keeps must write a file that reads whole.
inline void FuzzReadWorksheet(const std::uint8_t* data, std::size_t size)
{
    static Engine* engine = [] {
        auto* e = new Engine(64);
        InstallFormulaEngine(*e);
        return e;
    }();
    Engine& e = *engine;
    RestoreContext(e, OpenSheet(e, "WKS"));
    std::span<const std::uint8_t> bytes(data, size);
    ReadWorksheetFile(e, bytes, ReadOptions{});
    RecalcAll(e);
    for (int row = 0; row < 4; ++row)
        for (PCell c = FindFirstAtOrAfter(e, row, 0); c; c = NextCell(e, c))
            CellContentsText(e, c);
    std::vector<std::uint8_t> out;
    WriteWorksheetFile(e, out, nullptr);
    ReadOptions merge;
    merge.Mode = ReadMode::Merge;
    merge.TargetRow = 3;
    merge.TargetCol = 2;
    // What the writer produced is always a whole file.
    ReadResult again = ReadWorksheetFile(e, out, merge);
    if (again.Truncated || !IsWorksheetFile(out))
        std::abort();
    ListFileRangeNames(e, bytes);
    e.Err.Clear();
    CloseSheet(e, e.Cur->HeapNo);
}

}  // namespace zt
