#include "app/batch_commands.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>

#include "app/batch.h"
#include "app/batch_args.h"
#include "app/batch_style_commands.h"
#include "app/batch_file_commands.h"
#include "app/batch_graph_commands.h"
#include "app/batch_macro_commands.h"
#include "app/batch_copy_commands.h"
#include "app/batch_range_commands.h"
#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/cell_text.h"
#include "core/format_codes.h"
#include "core/number_format.h"
#include "core/range_names.h"
#include "core/settings_keys.h"
#include "core/undo.h"
#include "formula/cell_contents.h"
#include "formula/evaluator.h"
#include "formula/recalc.h"
#include "formula/user_functions.h"

namespace zt {

namespace {

// Applies f to every cell of the range, creating cells; stops at the first
// cell that cannot be had.
template <class F>
void ForEachCreatedCell(BatchSession& s, const TRange& r, F f)
{
    Engine& e = s.Eng();
    for (int row = r.FirstRow; row <= r.LastRow; ++row) {
        for (int col = r.FirstCol; col <= r.LastCol; ++col) {
            PCell c = FindOrCreateCell(e, row, col);
            if (!c) {
                ReportPendingError(e);
                return;
            }
            f(*c);
        }
    }
}

void CmdEnter(BatchSession& s, std::string_view rest)
{
    int row, col;
    std::string_view addr = NextWord(rest);
    if (!ArgCell(s, addr, row, col))
        return;
    int shown = s.MessagesShown();
    EntryText fit = EnterCell(s.Eng(), rest, row, col);
    // A formula that does not compile leaves the cell blank without a message
    // box, and a label longer than a cell holds is cut without one; batch
    // mode says so on standard error.
    if (s.Eng().Err.ErrorFlag && s.MessagesShown() == shown)
        s.Fail("Formula Does Not Compile: " + std::string(rest));
    else if (fit == EntryText::LabelCut)
        s.Fail("Label Cut to " + std::to_string(kMaxCellText) + " Characters: " + FormatAddress(s.Eng(), row, col));
}

void CmdShow(BatchSession& s, std::string_view rest)
{
    int row, col;
    if (!ArgCell(s, Trim(rest), row, col))
        return;
    Engine& e = s.Eng();
    PCell c = FindCell(e, row, col);
    std::uint8_t f = c ? c->Format & kFormatCodeMask : 0;
    if (f == kFormatDefault)
        f = e.Settings().DefaultFormat;
    bool label = c && IsLabelOrStrFormula(c->Kind) && !(c->Kind & kfError) && f != kFormatHidden;
    std::string text = label ? LabelText(e, c) : RenderRow(e, row, col, col);
    s.Print(Trim(text));
}

void CmdContents(BatchSession& s, std::string_view rest)
{
    int row, col;
    if (!ArgCell(s, Trim(rest), row, col))
        return;
    Engine& e = s.Eng();
    s.Print(CellContentsText(e, FindCell(e, row, col)));
}

void CmdKind(BatchSession& s, std::string_view rest)
{
    static constexpr std::string_view kNames[] = {"ckStrFormula", "ckFormula", "ckReal",
                                                  "ckInteger",    "ckString",  "ckBlank"};
    int row, col;
    if (!ArgCell(s, Trim(rest), row, col))
        return;
    PCell c = FindCell(s.Eng(), row, col);
    std::uint8_t k = KindOf(c) & 7;
    s.Print(c && k < 6 ? kNames[k] : "none");
}

void CmdValue(BatchSession& s, std::string_view rest)
{
    int row, col;
    if (ArgCell(s, Trim(rest), row, col))
        s.Print(CellValueText(s.Eng(), FindCell(s.Eng(), row, col)));
}

void CmdFormat(BatchSession& s, std::string_view rest)
{
    TRange r;
    if (!ArgRange(s, NextWord(rest), r))
        return;
    std::string_view formatText = Trim(rest);
    std::uint8_t code = ParseFormatSpec(formatText);
    if (formatText.empty() || (code == kFormatDefault && std::toupper(static_cast<unsigned char>(formatText[0])) != 'R')) {
        s.Fail("Invalid Format: " + std::string(formatText));
        return;
    }
    ForEachCreatedCell(s, r, [code](TCell& c) { c.Format = (c.Format & kFormatProtected) | code; });
}

void CmdLock(BatchSession& s, std::string_view rest)
{
    TRange r;
    if (ArgRange(s, Trim(rest), r))
        ForEachCreatedCell(s, r, [](TCell& c) { c.Format |= kFormatProtected; });
}

void CmdUnlock(BatchSession& s, std::string_view rest)
{
    TRange r;
    if (ArgRange(s, Trim(rest), r))
        ForEachCreatedCell(s, r, [](TCell& c) { c.Format &= kFormatCodeMask; });
}

void CmdWidth(BatchSession& s, std::string_view rest)
{
    std::string column(NextWord(rest));
    long pixels;
    TRange r;
    if (!ArgRange(s, column + "1", r) || !ArgInt(s, Trim(rest), 0, 2047, pixels))
        return;
    s.Eng().Cur->Layout.ColWidths[r.FirstCol] = static_cast<std::uint16_t>(pixels);
}

void CmdSet(BatchSession& s, std::string_view rest)
{
    std::string_view line = Trim(rest);
    if (!ApplyWorksheetSetting(s.Eng().Settings(), line))
        s.Fail("Unknown Setting: " + std::string(line));
}

void CmdName(BatchSession& s, std::string_view rest)
{
    std::string_view name = NextWord(rest);
    TRange r;
    if (name.empty() || !ArgRange(s, Trim(rest), r))
        return;
    Engine& e = s.Eng();
    e.Err.Clear();
    if (!SetRangeName(e, name, r))
        ReportPendingError(e);
}

void CmdUnname(BatchSession& s, std::string_view rest)
{
    std::string_view name = Trim(rest);
    if (!DeleteRangeName(s.Eng(), name))
        s.Fail("Unknown Name: " + std::string(name));
}

void CmdNames(BatchSession& s, std::string_view rest)
{
    if (!NoMoreArgs(s, rest))
        return;
    Engine& e = s.Eng();
    for (int i = 1; i <= e.Cur->Names.Count; ++i)
        s.Print(RangeNameAt(e, i) + " " + FormatRange(e, RangeOfName(e, i)));
}

void CmdRender(BatchSession& s, std::string_view rest)
{
    TRange r;
    if (!ArgRange(s, Trim(rest), r))
        return;
    Engine& e = s.Eng();
    for (int row = r.FirstRow; row <= r.LastRow; ++row) {
        std::string line = RenderRow(e, row, r.FirstCol, r.LastCol);
        line.erase(line.find_last_not_of(' ') + 1);
        s.Print(line);
    }
}

void CmdMemory(BatchSession& s, std::string_view rest)
{
    if (NoMoreArgs(s, rest))
        s.Print(std::to_string(MemoryFree(s.Eng())));
}

void CmdCursor(BatchSession& s, std::string_view rest)
{
    int row, col;
    if (ArgCell(s, Trim(rest), row, col))
        s.View().Cursor = TRange{std::int16_t(col), std::int16_t(row), std::int16_t(col), std::int16_t(row)};
}

void CmdSelect(BatchSession& s, std::string_view rest)
{
    TRange r;
    if (ArgRange(s, Trim(rest), r))
        s.View().Selected = r;
}

void CmdRecalc(BatchSession& s, std::string_view rest)
{
    if (NoMoreArgs(s, rest))
        RecalcAll(s.Eng());
}

void CmdManual(BatchSession& s, std::string_view rest)
{
    std::string_view word = Trim(rest);
    if (word == "on" || word == "ON")
        s.Eng().Settings().ManualCalc = true;
    else if (word == "off" || word == "OFF")
        s.Eng().Settings().ManualCalc = false;
    else
        s.Fail("Expected on or off: " + std::string(word));
}

void CmdSnapshot(BatchSession& s, std::string_view rest)
{
    if (NoMoreArgs(s, rest))
        TakeUndoSnapshot(s.Eng());
}

void CmdUndo(BatchSession& s, std::string_view rest)
{
    if (NoMoreArgs(s, rest))
        Undo(s.Eng());
}

void CmdEval(BatchSession& s, std::string_view rest)
{
    TextValue v = EvaluateText(s.Eng(), rest);
    if (v.CompileFailed) {
        s.Fail("Formula Does Not Compile: " + std::string(rest));
    } else if (v.Error) {
        s.Print("ERR");
    } else if (v.IsString) {
        s.Print(v.Text);
    } else {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", v.Number);
        s.Print(buf);
    }
}

void CmdUserFunctions(BatchSession& s, std::string_view rest)
{
    std::string path(Trim(rest));
    Engine& e = s.Eng();
    if (path.empty()) {
        s.Fail("File Name Expected");
    } else if (!LoadUserFunctions(e, path)) {
        std::string why = e.Err.ErrorText;
        e.Err.Clear();
        s.Fail(why);
    }
}

void CmdHelp(BatchSession& s, std::string_view) { s.Print(BatchHelp()); }

constexpr BatchCommand kCommands[] = {
    {"enter", "ADDR TEXT", "type TEXT into a cell (may be empty)", CmdEnter},
    {"show", "ADDR", "the cell as displayed in its column", CmdShow},
    {"contents", "ADDR", "the cell as the edit line shows it", CmdContents},
    {"kind", "ADDR", "the kind of value a cell holds, or none", CmdKind},
    {"value", "ADDR", "the cell's value: ERR, a number (17 digits) or a string", CmdValue},
    {"format", "RANGE FORMAT", "set the display format (F2, C0, G, D1, T3, ...)", CmdFormat},
    {"lock", "RANGE", "protect the cells of a range", CmdLock},
    {"unlock", "RANGE", "unprotect the cells of a range", CmdUnlock},
    {"width", "COLUMN PIXELS", "set a column's width in pixels", CmdWidth},
    {"set", "KEY=VALUE", "a worksheet setting (PRO=, MCALC=, PREFIX=, CURR=, CURS=, COMMA=, PERIOD=, ZERO=, SEP=, ...)", CmdSet},
    {"name", "NAME RANGE", "define or change a range name", CmdName},
    {"unname", "NAME", "delete a range name", CmdUnname},
    {"names", "", "list the range names", CmdNames},
    {"render", "RANGE", "the rows of a range as printed text", CmdRender},
    {"memory", "", "the free-memory figure", CmdMemory},
    {"cursor", "ADDR", "move the cell cursor (the word CURSOR)", CmdCursor},
    {"select", "RANGE", "set the selection (the word RANGE)", CmdSelect},
    {"eval", "FORMULA", "the value of a formula that belongs to no cell", CmdEval},
    {"userfns", "FILE", "load the library of user-defined functions, as start-up does", CmdUserFunctions},
    {"recalc", "", "recalculate every formula", CmdRecalc},
    {"manual", "on|off", "manual or automatic recalculation", CmdManual},
    {"snapshot", "", "take the undo snapshot, as a command does before it changes cells", CmdSnapshot},
    {"undo", "", "go back to the undo snapshot", CmdUndo},
    {"open", "FILE", "read a worksheet file in place of the worksheet", CmdOpen},
    {"save", "[FILE]", "save the worksheet (by default under its name), keeping a .WKB backup", CmdSave},
    {"extract", "RANGE FILE", "save the cells of a range as a worksheet file of their own", CmdExtract},
    {"merge", "FILE TARGET [values|formulas] [replace|sum|difference] [SOURCE]",
     "merge a file's cells, or its range or name SOURCE, at TARGET", CmdMerge},
    {"uplink", "", "read the files that @LINK formulas name and recalculate", CmdUplink},
    {"erase", "RANGE", "clear the contents of a range; formats stay", CmdErase},
    {"copy", "FROM TO", "copy a range; relative references follow the copy", CmdCopy},
    {"move", "FROM TO", "move a range; formulas that read it follow it", CmdMove},
    {"copyvalues", "TYPE FROM TO [FACTOR]", "special copy: formula, value, transpose, scale (by FACTOR) or invert", CmdCopyValues},
    {"insrow", "RANGE [across]", "insert rows spanning the range (across: in every sheet)", CmdInsertRows},
    {"delrow", "RANGE [across]", "delete the rows spanning the range (across: in every sheet)", CmdDeleteRows},
    {"inscol", "RANGE", "insert columns spanning the range", CmdInsertColumns},
    {"delcol", "RANGE", "delete the columns spanning the range", CmdDeleteColumns},
    {"pagebreak", "ADDR", "enter a page-break mark at a cell", CmdPageBreak},
    {"spfill", "RANGE", "speed fill: continue the range's first cell over the range", CmdSpeedFill},
    {"spsum", "RANGE ADDR", "speed sum: enter @sum over the range less ADDR at ADDR", CmdSpeedSum},
    {"quickgraph", "RANGE", "graph each row of the range as a named graph; prints its name", CmdQuickGraph},
    {"graph", "WHAT ...", "the current graph: reset, type N, range X|A..F RANGE, title 1..4 TEXT, legend A..F TEXT, save|use|delete NAME, show", CmdGraph},
    {"style", "RANGE WORD...", "bold italic underline plain left right center fg=0..15 bg=0..15 border=BYTE size=PT font=NAME", CmdStyle},
    {"tabs", "ROWS", "rows per sheet tab (0 or 8192: one sheet)", CmdTabs},
    {"macro", "ADDR", "run the macro that starts at a cell until it ends", CmdMacro},
    {"macrotext", "TEXT", "run one line of macro text, as a macro button does", CmdMacroText},
    {"keys", "TEXT", "type keys into the worksheet window, written as in macros: 12~{DOWN 2}", CmdKeys},
    {"answer", "TEXT", "an answer for an input command of a macro (or the line right after the command)", CmdAnswer},
    {"print", "RANGE|all", "ADDR<TAB>value for every non-blank cell (all: the used area)", CmdPrint},
    {"help", "", "this list", CmdHelp},
};

}  // namespace

std::span<const BatchCommand> BatchCommands() { return kCommands; }

}  // namespace zt
