// Incremental recalculation must agree with a full evaluation from scratch:
// random acyclic worksheets are changed one cell at a time, and after every
// change each formula is evaluated again in an order known to be natural.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "formula/evaluator.h"
#include "formula/formula_engine.h"

namespace zt {
namespace {

constexpr int kRowsUsed = 12;
constexpr int kColsUsed = 6;
constexpr int kCells = kRowsUsed * kColsUsed;

struct Generator {
    std::mt19937 rng;

    int Below(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
    static std::string Addr(int index) { return ColumnLetters(index % kColsUsed) + std::to_string(index / kColsUsed + 1); }

    // A formula reading only cells with a smaller index, so the worksheet
    // has no cycle and index order is a natural order.
    std::string Formula(int index)
    {
        auto earlier = [&] { return Addr(Below(index)); };
        switch (Below(6)) {
        case 0: return "+" + earlier() + "+1";
        case 1: return "+" + earlier() + "*2-" + earlier();
        case 2: return "+" + earlier() + "/" + earlier();
        case 3: return "(" + earlier() + "+" + earlier() + ")^2%";
        case 4: {
            int row = index / kColsUsed;
            if (row == 0)
                return "+" + earlier() + "-3";
            int r1 = Below(row), r2 = Below(row), c1 = Below(kColsUsed), c2 = Below(kColsUsed);
            return "+" + Addr(r1 * kColsUsed + c1) + ".." + Addr(r2 * kColsUsed + c2) + "+" + earlier();
        }
        default: return "+" + earlier() + "&\"x\"";
        }
    }

    std::string Entry(int index)
    {
        if (index == 0 || Below(10) < 4)
            return std::to_string(Below(9) - 4) + (Below(3) == 0 ? ".5" : "");
        return Formula(index);
    }
};

struct Snapshot {
    std::vector<std::uint8_t> Kinds;
    std::vector<std::string> Values;
};

Snapshot Take(Engine& e)
{
    Snapshot s;
    for (int i = 0; i < kCells; ++i) {
        PCell c = FindCell(e, i / kColsUsed, i % kColsUsed);
        std::uint8_t kind = KindOf(c) & 0x0F;
        s.Kinds.push_back(kind);
        if (!c)
            s.Values.emplace_back();
        else if ((kind & 7) == ckStrFormula)
            s.Values.emplace_back(TextOf(e, ReadStrResult(*c)));
        else
            s.Values.push_back(std::to_string(NumericValue(*c)));
    }
    return s;
}

void EvaluateInIndexOrder(Engine& e)
{
    for (int i = 0; i < kCells; ++i)
        if (PCell c = FindCell(e, i / kColsUsed, i % kColsUsed); c && IsFormulaKind(c->Kind))
            EvaluateCell(e, c);
}

TEST(RecalcDifferentialTest, IncrementalResultsMatchAFullEvaluation)
{
    Generator g{std::mt19937(20261208)};
    for (int sheet = 0; sheet < 1500; ++sheet) {
        Engine e(256);
        InstallFormulaEngine(e);
        RestoreContext(e, OpenSheet(e, "T"));
        for (int i = 0; i < kCells; ++i) {
            std::string text = g.Entry(i);
            EnterCell(e, text, i / kColsUsed, i % kColsUsed);
            ASSERT_FALSE(e.Err.ErrorFlag) << text;
        }
        EvaluateInIndexOrder(e);
        for (int change = 0; change < 25; ++change) {
            int i = g.Below(kCells);
            std::string text = g.Entry(i);
            EnterCell(e, text, i / kColsUsed, i % kColsUsed);
            ASSERT_FALSE(e.Err.ErrorFlag) << text;
            Snapshot incremental = Take(e);
            EvaluateInIndexOrder(e);
            Snapshot full = Take(e);
            ASSERT_EQ(incremental.Kinds, full.Kinds) << "sheet " << sheet << " change " << change << ": " << text;
            ASSERT_EQ(incremental.Values, full.Values) << "sheet " << sheet << " change " << change << ": " << text;
        }
    }
}

}  // namespace
}  // namespace zt
