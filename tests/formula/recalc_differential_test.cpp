// Incremental recalculation must agree with an evaluation from scratch.
// Random worksheets of single references and ranges (overlapping, nested,
// reaching far below the used rows) are changed by entries, erasures,
// copies, moves, insertions and deletions of rows and columns, undo, and a
// save and reload; after every step the dependency bookkeeping must match
// what the formulas' code says, and every formula must hold the value an
// evaluation in a natural order worked out from the code gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <random>
#include <string>
#include <vector>

#include "commands/copy_range.h"
#include "commands/erase_range.h"
#include "commands/insert_delete.h"
#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/undo.h"
#include "files/worksheet_file.h"
#include "formula/cell_contents.h"
#include "formula/compiled_formula.h"
#include "formula/dependency_check.h"
#include "formula/evaluator.h"
#include "formula/formula_engine.h"
#include "formula/opcodes.h"
#include "formula/recalc.h"

namespace zt {
namespace {

constexpr int kRowsUsed = 12;
constexpr int kColsUsed = 6;
constexpr int kCells = kRowsUsed * kColsUsed;

struct Generator {
    std::mt19937 rng;

    int Below(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
    std::string Dollar() { return Below(4) == 0 ? "$" : ""; }
    std::string Addr(int row, int col) { return Dollar() + ColumnLetters(col) + Dollar() + std::to_string(row + 1); }
    std::string Addr(int index) { return Addr(index / kColsUsed, index % kColsUsed); }

    // A range of rows above `row` (so the worksheet stays acyclic when it
    // is made), or now and then one below the used rows reaching far down,
    // which insertions may push cells into.
    std::string Range(int row)
    {
        int r1 = Below(row), r2 = Below(row), c1 = Below(kColsUsed), c2 = Below(kColsUsed);
        if (Below(10) == 0)
            return Addr(kRowsUsed + 4 + Below(4), c1) + ".." + Addr(200, c2);
        return Addr(r1, c1) + ".." + Addr(r2, c2);
    }

    // A formula reading only cells with a smaller index, so the worksheet
    // as made has no cycle and index order is a natural order.
    std::string Formula(int index)
    {
        auto earlier = [&] { return Addr(Below(index)); };
        int row = index / kColsUsed;
        if (row > 0 && Below(2) == 0) {
            switch (Below(7)) {
            case 0: return "@SUM(" + Range(row) + ")+" + earlier();
            case 1: return "@COUNT(" + Range(row) + ")*2";
            case 2: return "@MAX(" + Range(row) + "," + Range(row) + ")";
            case 3: return "+" + Range(row) + "-" + earlier();
            case 4: return "@ROWS(" + Range(row) + ")+@COLS(" + Range(row) + ")";
            case 5: return "@INDEX(" + Range(row) + ",1,1)";
            default: return "@SUM(" + Range(row) + "," + Range(row) + ")";
            }
        }
        switch (Below(5)) {
        case 0: return "+" + earlier() + "+1";
        case 1: return "+" + earlier() + "*2-" + earlier();
        case 2: return "+" + earlier() + "/" + earlier();
        case 3: return "(" + earlier() + "+" + earlier() + ")^2%";
        default: return "+" + earlier() + "&\"x\"";
        }
    }

    std::string Entry(int index)
    {
        if (index == 0 || Below(10) < 4)
            return std::to_string(Below(9) - 4) + (Below(3) == 0 ? ".5" : "");
        return Formula(index);
    }

    TRange Block(int rows, int cols)
    {
        auto r = static_cast<std::int16_t>(Below(kRowsUsed));
        auto c = static_cast<std::int16_t>(Below(kColsUsed));
        return TRange{c, r, static_cast<std::int16_t>(c + Below(cols)), static_cast<std::int16_t>(r + Below(rows))};
    }
};

struct Snapshot {
    std::map<std::pair<int, int>, std::uint8_t> Kinds;
    std::map<std::pair<int, int>, std::string> Values;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

// The cells where two snapshots differ, as "A1 incremental / from scratch".
std::string Differences(const Snapshot& a, const Snapshot& b)
{
    std::string out;
    for (const auto& [at, value] : b.Values) {
        auto it = a.Values.find(at);
        std::string mine = it == a.Values.end() ? "(none)" : it->second;
        if (mine != value || a.Kinds.count(at) == 0 || a.Kinds.at(at) != b.Kinds.at(at))
            out += ColumnLetters(at.second) + std::to_string(at.first + 1) + " " + mine + "/" + value + "  ";
    }
    return out;
}

std::vector<PCell> Formulas(Engine& e);

// Every cell of the worksheet as "A1 contents", for a failure message.
std::string Dump(Engine& e)
{
    std::string out;
    for (int row = 0; row <= e.Cur->MaxRow; ++row)
        for (PCell c = CellAt(e, e.Cur->RowHeads[row]); c; c = NextCell(e, c))
            if ((c->Kind & 7) != ckBlank)
                out += "\n  " + ColumnLetters(c->Col) + std::to_string(row + 1) + " " + CellContentsText(e, c);
    return out;
}

std::vector<PCell> Formulas(Engine& e)
{
    std::vector<PCell> out;
    for (int row = 0; row <= e.Cur->MaxRow; ++row)
        for (PCell c = CellAt(e, e.Cur->RowHeads[row]); c; c = NextCell(e, c))
            if (IsFormulaKind(c->Kind) && !(c->Kind & kfUnlinked))
                out.push_back(c);
    return out;
}

Snapshot Take(Engine& e)
{
    Snapshot s;
    for (PCell c : Formulas(e)) {
        std::pair<int, int> at{c->Row, c->Col};
        s.Kinds[at] = c->Kind & 0x0F;
        s.Values[at] = (c->Kind & 7) == ckStrFormula ? std::string(TextOf(e, ReadStrResult(*c)))
                                                       : std::to_string(NumericValue(*c));
    }
    return s;
}

// The formulas in an order where each comes after every formula it reads,
// worked out from the code alone; false when they read each other in a
// cycle.
bool NaturalOrder(Engine& e, std::vector<PCell>& order)
{
    std::vector<PCell> formulas = Formulas(e);
    std::map<std::pair<int, int>, std::size_t> at;
    for (std::size_t i = 0; i < formulas.size(); ++i)
        at[{formulas[i]->Row, formulas[i]->Col}] = i;
    std::vector<std::vector<std::size_t>> readers(formulas.size());
    std::vector<int> waiting(formulas.size(), 0);
    for (std::size_t i = 0; i < formulas.size(); ++i) {
        const std::uint8_t* code = CodeOf(e, formulas[i]);
        std::set<std::size_t> reads;
        auto cover = [&](int r1, int c1, int r2, int c2) {
            for (auto it = at.lower_bound({std::min(r1, r2), 0}); it != at.end() && it->first.first <= std::max(r1, r2); ++it)
                if (it->first.second >= std::min(c1, c2) && it->first.second <= std::max(c1, c2))
                    reads.insert(it->second);
        };
        WalkFormula(code, [&](int pos, std::uint8_t op) {
            if (op == opCellRef) {
                if (LinkTarget t = ReadLink(e, ReadLinkWord(code + pos + 1)); t.Cell)
                    cover(t.Row, t.Col, t.Row, t.Col);
            } else if (op == opRangeRef) {
                LinkTarget a = ReadLink(e, ReadLinkWord(code + pos + 1));
                LinkTarget b = ReadLink(e, ReadLinkWord(code + pos + 5));
                if (a.Cell && b.Cell)
                    cover(a.Row, a.Col, b.Row, b.Col);
            }
            return true;
        });
        for (std::size_t j : reads) {
            readers[j].push_back(i);
            ++waiting[i];
        }
    }
    order.clear();
    for (std::size_t i = 0; i < formulas.size(); ++i)
        if (waiting[i] == 0)
            order.push_back(formulas[i]);
    for (std::size_t k = 0; k < order.size(); ++k)
        for (std::size_t j : readers[at[{order[k]->Row, order[k]->Col}]])
            if (--waiting[j] == 0)
                order.push_back(formulas[j]);
    return order.size() == formulas.size();
}

class Worksheet {
public:
    explicit Worksheet(std::uint32_t seed) : g{std::mt19937(seed)}
    {
        InstallFormulaEngine(e);
        RestoreContext(e, OpenSheet(e, "T"));
        for (int i = 0; i < kCells; ++i)
            Enter(i);
    }

    void Enter(int index)
    {
        last = g.Entry(index);
        EnterCell(e, last, index / kColsUsed, index % kColsUsed);
    }

    // One random step: mostly entries, sometimes a command.
    void Step()
    {
        switch (g.Below(20)) {
        case 0: last = "erase"; EraseRange(e, g.Block(3, 3)); break;
        case 1: case 2: last = "copy"; CopyRange(e, false, g.Block(3, 3), g.Block(1, 1)); break;
        case 3: case 4: last = "move"; CopyRange(e, true, g.Block(3, 3), g.Block(1, 1)); break;
        case 5: last = "insrow"; InsertRows(e, g.Below(kRowsUsed), 1 + g.Below(2)); break;
        case 6: last = "delrow"; DeleteRows(e, g.Below(kRowsUsed), 1 + g.Below(2)); break;
        case 7: last = "inscol"; InsertColumns(e, g.Below(kColsUsed), 1); break;
        case 8: last = "delcol"; DeleteColumns(e, g.Below(kColsUsed), 1); break;
        case 9: last = "undo"; Undo(e); break;
        case 10: last = "reload"; SaveAndReload(); break;
        default: Enter(g.Below(kCells)); break;
        }
    }

    // Types a number over the first formula outside the natural order.
    void BreakCycle(const std::vector<PCell>& order)
    {
        for (PCell c : Formulas(e))
            if (std::find(order.begin(), order.end(), c) == order.end()) {
                EnterCell(e, std::to_string(g.Below(9)), c->Row, c->Col);
                return;
            }
    }

    void SaveAndReload()
    {
        std::vector<std::uint8_t> bytes;
        WriteWorksheetFile(e, bytes, nullptr);
        CloseSheet(e, e.Cur->HeapNo);
        RestoreContext(e, OpenSheet(e, "T"));
        ASSERT_TRUE(ReadWorksheetFile(e, bytes, ReadOptions{}).Ok);
        RecalcAll(e);
    }

    Engine e{1024};
    Generator g;
    std::string last;
};

TEST(RecalcDifferentialTest, IncrementalResultsMatchAnEvaluationFromScratchAfterEveryCommand)
{
    for (std::uint32_t sheet = 0; sheet < 150; ++sheet) {
        Worksheet w(20261208 + sheet);
        for (int step = 0; step < 40; ++step) {
            w.Step();
            std::string where = "sheet " + std::to_string(sheet) + " step " + std::to_string(step) + ": " + w.last;
            ASSERT_EQ(CheckDependencies(w.e), "") << where;
            // Copies and moves can make formulas read each other in a
            // cycle, where no order is natural: numbers typed over them
            // break it, and the entries must recalculate exactly too.
            std::vector<PCell> order;
            while (!NaturalOrder(w.e, order))
                w.BreakCycle(order);
            Snapshot incremental = Take(w.e);
            for (PCell c : order)
                EvaluateCell(w.e, c);
            Snapshot full = Take(w.e);
            ASSERT_TRUE(incremental == full) << where << ": " << Differences(incremental, full) << Dump(w.e);
        }
    }
}

}  // namespace
}  // namespace zt

namespace zt {
namespace {

// The running totals a recalculation shares between formulas must give
// exactly what each formula's own walk of its ranges gives, in every order
// the walk may take: here in worksheets full of cycles, where formulas read
// ranges that hold cells evaluated after them.
TEST(RecalcDifferentialTest, SharedRunningTotalsChangeNoResultEvenInCycles)
{
    for (std::uint32_t sheet = 0; sheet < 200; ++sheet) {
        std::mt19937 rng(77 + sheet);
        auto below = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        auto addr = [&](int row, int col) { return ColumnLetters(col) + std::to_string(row + 1); };
        std::vector<std::string> entries;
        for (int i = 0; i < kCells; ++i) {
            int row = i / kColsUsed, col = i % kColsUsed;
            std::string text = std::to_string(below(9) - 3);
            if (below(3) > 0) {
                int band = below(kColsUsed);
                text = "@SUM(" + addr(below(3), band) + ".." + addr(below(kRowsUsed), band + below(2)) + ")+" +
                       addr(below(kRowsUsed), below(kColsUsed)) + (below(5) == 0 ? "+@MAX(A1..B9)" : "");
            }
            entries.push_back(text);
            (void)row;
            (void)col;
        }
        auto build = [&](Engine& e) {
            InstallFormulaEngine(e);
            RestoreContext(e, OpenSheet(e, "T"));
            e.Settings().ManualCalc = true;
            for (int i = 0; i < kCells; ++i)
                EnterCell(e, entries[i], i / kColsUsed, i % kColsUsed);
        };
        Engine shared(256), own(256);
        build(shared);
        build(own);
        for (int round = 0; round < 3; ++round) {
            RecalcAll(shared);
            RecalcOrder order;
            for (int row = 0; row <= own.Cur->MaxRow; ++row)
                for (PCell c = CellAt(own, own.Cur->RowHeads[row]); c; c = NextCell(own, c))
                    BuildRecalcOrder(own, c, order);
            for (auto it = order.Cells.rbegin(); it != order.Cells.rend(); ++it)
                EvaluateCell(own, *it);  // no recalculation runs: each formula walks its own ranges
            ASSERT_TRUE(Take(shared) == Take(own)) << "sheet " << sheet << " round " << round << ": "
                                                   << Differences(Take(shared), Take(own)) << Dump(own);
        }
    }
}

}  // namespace
}  // namespace zt
