#pragma once
// Bodies of the fuzz targets, shared by the fuzzers and by the test that
// replays the inputs they once failed on.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "commands/clipboard_transfer.h"
#include "commands/copy_range.h"
#include "commands/copy_values.h"
#include "commands/insert_delete.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "core/undo.h"
#include "files/worksheet_file.h"
#include "formula/cell_contents.h"
#include "formula/compiled_formula.h"
#include "formula/compiler.h"
#include "formula/dependency_check.h"
#include "formula/evaluator.h"
#include "formula/formula_engine.h"
#include "formula/recalc.h"
#include "macro/macro_interpreter.h"
#include "platform/clipboard.h"

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
    if (!LinkDependencies(e, cell))
        ParkFormula(e, cell);
    EvaluateCell(e, cell);
    CellContentsText(e, cell);
    RecalcAll(e);
    if (!CheckDependencies(e).empty())
        std::abort();
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
    if (!CheckDependencies(e).empty())
        std::abort();
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

// A host for macros with nobody at the keyboard: keys vanish, waits and
// questions get nothing, and every macro is broken off after a step budget.
class FuzzMacroHost : public MacroHost {
public:
    MacroInterpreter* Interpreter = nullptr;
    long Steps = 0;
    unsigned long long Clock = 0;
    void PlayKeys(const std::string&) override {}
    void ProcessEvents() override
    {
        if (++Steps >= 20000 && Interpreter && Interpreter->Running())
            Interpreter->BreakMacro();
    }
    bool WaitForKey(char& key) override
    {
        key = 'y';
        return Steps % 2 == 0;
    }
    bool InputText(const std::string&, std::string& answer) override
    {
        answer = "+A1*2";
        return Steps % 3 == 0;
    }
    int MenuChoice(const std::vector<std::string>& items, const std::vector<std::string>&,
                   const std::string&) override
    {
        return int(Steps % long(items.size() + 2));
    }
    TRange CursorCell() const override { return TRange{0, 0, 0, 0}; }
    void GoToCell(int, int, bool) override {}
    void SetAnchor(bool) override {}
    void ShowStep(const std::string&) override {}
    void MacroStateChanged(bool) override {}
    unsigned long long TickCount() const override { return Clock; }
    void Sleep(unsigned ms) override { Clock += ms; }
    bool AllowFileAccess() const override { return false; }
};

// The input as the texts of the macro cells A1, A2, ... (split at line
// breaks): run as a macro from A1 and as the text of a macro button. No
// text may crash the interpreter or keep it running past its budget.
inline void FuzzRunMacro(const std::uint8_t* data, std::size_t size)
{
    Engine& e = FuzzEngine();
    FreeAllCells(e);
    SetRangeName(e, "SUB", TRange{1, 0, 1, 0});
    std::string text(reinterpret_cast<const char*>(data), size);
    int row = 0;
    for (std::size_t start = 0; start <= text.size() && row < 40; ++row) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string cell = text.substr(start, std::min<std::size_t>(end - start, kMaxCellText));
        if (!cell.empty())
            EnterCell(e, "'" + cell, row, 0);
        start = end + 1;
    }
    e.Err.Clear();
    FuzzMacroHost host;
    MacroInterpreter macro(e, host);
    host.Interpreter = &macro;
    macro.RunMacroAt(0, 0);
    if (macro.Running())
        std::abort();
    host.Steps = 0;
    macro.RunMacroText(text.substr(0, 240));
    if (macro.Running())
        std::abort();
    e.Err.Clear();
    FreeAllCells(e);
}

// Every row list in column order, each cell carrying its row's number.
inline bool RowListsAreSound(Engine& e)
{
    for (int row = 0; row < kRows; ++row) {
        int last = -1;
        for (PCell c = CellAt(e, e.Cur->RowHeads[row]); c; c = NextCell(e, c)) {
            if (c->Row != row || c->Col <= last)
                return false;
            last = c->Col;
        }
    }
    return true;
}

// The input as clipboard text (private or plain) pasted into a few cells,
// then the rest as a script of range commands, five bytes each: the
// command, a row (two bytes), a column and a count. Copies, moves,
// insertions, deletions and undo must keep every row list sound and the
// dependency bookkeeping in step with the formulas after every command.
inline void FuzzRangeCommands(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return;
    Engine& e = FuzzEngine();
    FreeAllCells(e);
    DiscardSnapshot(e);
    e.Settings().RowsPerSheet = (data[0] & 1) ? 1024 : 8192;
    std::size_t split = 2 + data[1] % (size - 1);
    if (split > size)
        split = size;
    std::string text(reinterpret_cast<const char*>(data) + 2, split - 2);
    MemoryClipboard clip;
    clip.SetData((data[0] & 2) ? text : std::string(), text);
    ClipboardPaste(e, clip, data[0] >> 4, (data[0] >> 2) & 3);
    for (std::size_t at = split; at + 5 <= size; at += 5) {
        const std::uint8_t* op = data + at;
        int row = (op[1] | op[2] << 8) % kRows;
        int col = op[3];
        int count = op[4] % 9;
        TRange here{std::int16_t(col), std::int16_t(row), std::int16_t(std::min(col + count, kCols - 1)),
                    std::int16_t(std::min(row + count, kRows - 1))};
        TRange home{0, 0, std::int16_t(count), std::int16_t(count)};
        switch (op[0] % 12) {
        case 0: CopyRange(e, false, home, here); break;
        case 1: CopyRange(e, true, home, here); break;
        case 2: CopyRange(e, op[4] & 1, here, home); break;
        case 3: InsertRows(e, row, count); break;
        case 4: DeleteRows(e, row, count); break;
        case 5: InsertColumns(e, col, count); break;
        case 6: DeleteColumns(e, col, count); break;
        case 7: InsertRowsAcross(e, row % 1024, count); break;
        case 8: DeleteRowsAcross(e, row % 1024, count); break;
        case 9: CopyValues(e, op[4] % 5, home, here, 2); break;
        case 10: Undo(e); break;
        default: ClipboardCopy(e, clip, home, op[4] & 1); ClipboardPaste(e, clip, row, col); break;
        }
        e.Err.Clear();
        if (!CheckDependencies(e).empty())
            std::abort();
    }
    RecalcAll(e);
    if (!RowListsAreSound(e))
        std::abort();
    e.Err.Clear();
    FreeAllCells(e);
    DiscardSnapshot(e);
}

}  // namespace zt
