#pragma once
// Bytes as a batch script: a byte picks each command and further bytes its
// addresses, texts and numbers, from the commands people type (entries,
// range commands, formats, names, undo, saves and opens of files in one
// folder). After the script the worksheet is saved, opened again and
// compared: a save and reload must give back every cell as it was, and the
// dependency bookkeeping must agree with the formulas throughout.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/batch.h"
#include "core/address.h"
#include "core/cell_store.h"
#include "formula/cell_contents.h"
#include "formula/dependency_check.h"

namespace zt {

class ScriptWriter {
public:
    ScriptWriter(const std::uint8_t* data, std::size_t size, std::string dir) : data_(data), size_(size), dir_(std::move(dir)) {}

    bool More() const { return at_ < size_; }

    // One command line.
    std::string Command()
    {
        static const char* const kTexts[] = {
            "1", "-2.5", "1E306", "2E-39", "32767", "40000", "'label", "\"right", "^centre", "\\-", "+A1*2",
            "@SUM(A1..C4)", "+B2+$C$3", "@IF(A1>2,\"big\",\"small\")", "+A1&\"x\"", "@ERR", "@NA", "+A1..B2",
            "@COUNT(A1..A8192)", "@VTABLE(2,A1..C6,1)", "(", "+A1+", "12abc", "|::", "@ROWS(B2..D9)", ""};
        static const char* const kFormats[] = {"F2", "C0", "P1", ",3", "S2", "G", "D1", "T3", "H", "+", "R"};
        static const char* const kMacros[] = {"{LET A1,5}", "{BLANK B2}", "{LET C3,A1*2}{CALC}", "{GOTO}D4~7~",
                                              "{RECALC A1..D9}", "{FOR E1,1,3,1,A9}", "{BRANCH Z99}"};
        switch (Byte() % 24) {
        case 0: case 1: case 2: case 3: case 4: case 5:
            return "enter " + Addr() + " " + kTexts[Byte() % std::size(kTexts)];
        case 6: return "enter " + Addr() + " " + std::to_string(static_cast<int>(Byte()) - 100) + "." + std::to_string(Byte());
        case 7: return "erase " + Range();
        case 8: return "copy " + Range() + " " + Addr();
        case 9: return "move " + Range() + " " + Addr();
        case 10: {
            static const char* const kTypes[] = {"formula", "value", "transpose", "scale", "invert"};
            return "copyvalues " + std::string(kTypes[Byte() % 5]) + " " + Range() + " " + Addr() + " 2";
        }
        case 11: return std::string(Byte() % 2 ? "insrow " : "delrow ") + Range() + (Byte() % 4 ? "" : " across");
        case 12: return std::string(Byte() % 2 ? "inscol " : "delcol ") + Range();
        case 13: return "format " + NearRange() + " " + kFormats[Byte() % std::size(kFormats)];
        case 14: return "style " + NearRange() + (Byte() % 2 ? " bold fg=" : " italic bg=") + std::to_string(Byte() % 16);
        case 15: return "name " + std::string(1, char('P' + Byte() % 4)) + " " + Range();
        case 16: return Byte() % 2 ? "undo" : "snapshot";
        case 17: return Byte() % 3 ? "recalc" : (Byte() % 2 ? "manual on" : "manual off");
        case 18: return "save " + File();
        case 19: return "open " + File();
        case 20: return "merge " + File() + " " + Addr() + (Byte() % 2 ? " values" : " formulas sum");
        case 21: return std::string(Byte() % 2 ? "lock " : "unlock ") + NearRange();
        case 22: return "width " + ColumnLetters(Byte() % 8) + " " + std::to_string(Byte());
        default: return "macrotext " + std::string(kMacros[Byte() % std::size(kMacros)]);
        }
    }

private:
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Mostly the first rows and columns, now and then the worksheet's edges
    // and addresses beyond them.
    std::string Addr()
    {
        std::uint8_t b = Byte();
        if (b >= 250) {
            static const char* const kEdges[] = {"IV8192", "A8192", "IV1", "A8193", "IW1"};
            return kEdges[b - 250 < 5 ? b - 250 : 0];
        }
        return NearAddr(b);
    }
    std::string NearAddr(std::uint8_t b) { return ColumnLetters(b % 6) + std::to_string(1 + Byte() % 12); }
    std::string Range() { return Addr() + ".." + Addr(); }
    // Formats and protection make a cell at every place of their range.
    std::string NearRange() { return NearAddr(Byte()) + ".." + NearAddr(Byte()); }
    std::string File() { return dir_ + "/" + char('a' + Byte() % 3) + ".wks"; }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    std::string dir_;
};

// Every cell as a line: address, kind, contents as typed, and for cells
// other than formulas their value; then the attribute bytes. A formula's
// value, and with it whether it gives a string, is left out: reopening
// recalculates (after manual recalculation too), and cycles move on.
inline std::vector<std::string> WorksheetLines(Engine& e)
{
    std::vector<std::string> lines;
    for (int row = 0; row <= e.Cur->MaxRow; ++row)
        for (PCell c = CellAt(e, e.Cur->RowHeads[row]); c; c = NextCell(e, c)) {
            std::string kind = IsFormulaKind(c->Kind) ? "formula" : std::to_string(c->Kind & 7);
            std::string line = FormatAddress(e, row, c->Col) + " " + kind + " " + CellContentsText(e, c);
            if (!IsFormulaKind(c->Kind)) {
                double v = NumericValue(*c);
                std::uint64_t bits;
                std::memcpy(&bits, &v, sizeof bits);
                line += " " + std::to_string(bits) + ((c->Kind & kfError) ? " ERR" : "");
            }
            line += " " + std::to_string(c->Format) + " " + std::to_string(c->Typeface) + " " +
                    std::to_string(c->FontSize) + " " + std::to_string(c->Style) + " " + std::to_string(c->Borders) +
                    " " + std::to_string(c->Colors);
            lines.push_back(line);
        }
    return lines;
}

// The script of the bytes, with its files in a folder of its own; false
// when the worksheet or the bookkeeping came out wrong (the fuzzer aborts).
inline bool RunBatchScript(const std::uint8_t* data, std::size_t size, std::string* failure = nullptr)
{
    namespace fs = std::filesystem;
    static const std::string dir = [] {
        fs::path d = fs::temp_directory_path() / ("zt_script_" + std::to_string(getpid()));
        fs::create_directories(d);
        return d.string();
    }();
    for (const char* name : {"a.wks", "b.wks", "c.wks", "a.wkb", "b.wkb", "c.wkb", "final.wks", "final.wkb"})
        fs::remove(fs::path(dir) / name);
    std::ostringstream out, err;
    BatchSession s(out, err);
    ScriptWriter w(data, size, dir);
    auto fail = [&](const std::string& why) {
        if (failure)
            *failure = why;
        return false;
    };
    for (int n = 0; w.More() && n < 200; ++n) {
        std::string line = w.Command();
        s.RunLine(line);
        if (std::string check = CheckDependencies(s.Eng()); !check.empty())
            return fail("after \"" + line + "\": " + check);
    }
    std::vector<std::string> before = WorksheetLines(s.Eng());
    if (!s.RunLine("save " + dir + "/final.wks"))
        return true;  // refused and said so: nothing to compare
    if (!s.RunLine("open " + dir + "/final.wks"))
        return fail("the saved worksheet did not open: " + err.str());
    std::vector<std::string> after = WorksheetLines(s.Eng());
    if (before != after) {
        std::string diff;
        for (std::size_t i = 0; i < std::max(before.size(), after.size()) && diff.empty(); ++i) {
            std::string a = i < before.size() ? before[i] : "(none)";
            std::string b = i < after.size() ? after[i] : "(none)";
            if (a != b)
                diff = a + "  became  " + b;
        }
        return fail("save and reload changed a cell: " + diff);
    }
    return true;
}

inline void FuzzBatchScript(const std::uint8_t* data, std::size_t size)
{
    if (!RunBatchScript(data, size))
        std::abort();
}

}  // namespace zt
