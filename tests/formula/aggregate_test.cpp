// The list functions and @MEDIAN against straightforward reference
// computations: columns long enough to wrap a 16-bit counter, and random
// worksheets of numbers, labels, blanks, string formulas and ERR cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
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

class AggregateTest : public ::testing::Test {
protected:
    AggregateTest() : e(2048)
    {
        InstallFormulaEngine(e);
        RestoreContext(e, OpenSheet(e, "T"));
    }

    // The number a formula gives, or nothing for ERR.
    std::optional<double> Eval(const std::string& formula)
    {
        TextValue v = EvaluateText(e, formula);
        EXPECT_FALSE(v.CompileFailed) << formula;
        if (v.Error)
            return std::nullopt;
        return v.Number;
    }

    static std::string Addr(int row, int col) { return ColumnLetters(col) + std::to_string(row + 1); }

    Engine e;
};

TEST_F(AggregateTest, CountsBeyondSixteenBits)
{
    // 1..40000 in A1..E8000, row by row.
    constexpr int kRowsUsed = 8000, kColsUsed = 5, kN = kRowsUsed * kColsUsed;
    for (int row = 0; row < kRowsUsed; ++row)
        for (int col = 0; col < kColsUsed; ++col)
            StoreValue(e, row, col, row * kColsUsed + col + 1, false);
    EXPECT_EQ(Eval("@COUNT(A1..E8000)"), kN);
    EXPECT_EQ(Eval("@COUNT(A1..E8000,A1..E8000)"), 2 * kN);
    EXPECT_EQ(Eval("@SUM(A1..E8000)"), 800020000.0);
    EXPECT_EQ(Eval("@AVG(A1..E8000)"), 20000.5);
    EXPECT_EQ(Eval("@MAX(A1..E8000)"), kN);
    // The population variance of 1..N is (N^2 - 1) / 12.
    std::optional<double> var = Eval("@VAR(A1..E8000)");
    ASSERT_TRUE(var);
    EXPECT_NEAR(*var, (double(kN) * kN - 1) / 12, 1e-9 * *var);

    // The same through a formula cell and recalculation.
    EnterCell(e, "@AVG(A1..E8000)", 0, 10);
    PCell c = FindCell(e, 0, 10);
    ASSERT_TRUE(c);
    EXPECT_EQ(NumericValue(*c), 20000.5);
    // Doubling the last value, N, raises the mean by 1.
    StoreValue(e, kRowsUsed - 1, kColsUsed - 1, 2 * kN);
    EXPECT_EQ(NumericValue(*c), 20001.5);
}

// What a generated position holds.
enum class Content { None, Blank, Integer, Real, Formula, Label, StrFormula, Err };

struct Position {
    Content What = Content::None;
    double Number = 0;  // for the numeric contents
};

class RandomSheet : public AggregateTest {
protected:
    static constexpr int kRowsUsed = 12, kColsUsed = 6;

    // Fills a fresh block of rows; Addr names its positions.
    void Fill(std::mt19937& rng, int block)
    {
        base = block * kRowsUsed;
        for (int row = 0; row < kRowsUsed; ++row)
            for (int col = 0; col < kColsUsed; ++col)
                Put(rng, row, col);
    }

    std::string Addr(int row, int col) const { return AggregateTest::Addr(base + row, col); }

    void Put(std::mt19937& rng, int r, int col)
    {
        Position& p = grid[r][col];
        p = Position{};
        const int row = base + r;
        int k = static_cast<int>(rng() % 41) - 20;
        switch (rng() % 20) {
        case 0: case 1: case 2: p.What = Content::None; return;
        case 3: case 4:
            p.What = Content::Blank;
            FindOrCreateCell(e, row, col);
            return;
        case 5: case 6: p.What = Content::Label; EnterCell(e, "word", row, col); return;
        case 7: p.What = Content::StrFormula; EnterCell(e, "+\"s\"", row, col); return;
        case 8:
            p.What = rng() % 4 == 0 ? Content::Err : Content::Label;
            EnterCell(e, p.What == Content::Err ? "+1/0" : "other", row, col);
            return;
        case 9: case 10: case 11:
            p.What = Content::Formula;
            p.Number = k * 2.25;
            EnterCell(e, "+" + std::to_string(k) + "*2.25", row, col);
            return;
        case 12: case 13: case 14:
            p.What = Content::Real;
            p.Number = k + 0.5;
            EnterCell(e, std::to_string(p.Number), row, col);
            return;
        default:
            p.What = Content::Integer;
            p.Number = k;
            EnterCell(e, std::to_string(k), row, col);
            return;
        }
    }

    static bool Numeric(Content c) { return c == Content::Integer || c == Content::Real || c == Content::Formula; }

    Position grid[kRowsUsed][kColsUsed];
    int base = 0;
};

// The definition of each list function over the numbers it is given.
std::optional<double> Reference(const std::string& name, const std::vector<double>& x)
{
    double n = static_cast<double>(x.size());
    double sum = 0;
    for (double v : x)
        sum += v;
    if (name == "SUM")
        return sum;
    if (name == "COUNT")
        return n;
    if (name == "MIN")
        return x.empty() ? 0 : *std::min_element(x.begin(), x.end());
    if (name == "MAX")
        return x.empty() ? 0 : *std::max_element(x.begin(), x.end());
    if (name == "AVG")
        return x.empty() ? std::nullopt : std::optional<double>(sum / n);
    bool sample = name == "VARU" || name == "STDU";
    if (x.size() < (sample ? 2u : 1u))
        return std::nullopt;
    double squares = 0;
    for (double v : x)
        squares += (v - sum / n) * (v - sum / n);
    double var = squares / (sample ? n - 1 : n);
    return name[0] == 'S' ? std::sqrt(var) : var;
}

TEST_F(RandomSheet, ListFunctionsMatchTheirDefinitions)
{
    std::mt19937 rng(20240611);
    const std::vector<std::string> names = {"SUM", "AVG", "COUNT", "MIN", "MAX", "VAR", "STD", "VARU", "STDU"};
    for (int sheet = 0; sheet < 8; ++sheet) {
        Fill(rng, sheet);
        for (int trial = 0; trial < 60; ++trial) {
            int r1 = rng() % kRowsUsed, r2 = rng() % kRowsUsed, c1 = rng() % kColsUsed, c2 = rng() % kColsUsed;
            std::vector<double> x;
            bool error = false;
            // Equal corners make a single-cell reference, which is a plain
            // value: whatever the cell holds counts, a text as 0.
            bool single = r1 == r2 && c1 == c2;
            for (int row = std::min(r1, r2); row <= std::max(r1, r2); ++row)
                for (int col = std::min(c1, c2); col <= std::max(c1, c2); ++col) {
                    const Position& p = grid[row][col];
                    error = error || p.What == Content::Err;
                    if (Numeric(p.What) || single)
                        x.push_back(p.Number);
                }
            const std::string& name = names[rng() % names.size()];
            std::string formula = "@" + name + "(" + Addr(r1, c1) + ".." + Addr(r2, c2);
            for (int extra = rng() % 3; extra > 0; --extra) {
                double v = static_cast<int>(rng() % 100) / 4.0;
                x.push_back(v);
                formula += "," + std::to_string(v);
            }
            formula += ")";
            std::optional<double> want = error ? std::nullopt : Reference(name, x);
            std::optional<double> got = Eval(formula);
            ASSERT_EQ(got.has_value(), want.has_value()) << formula;
            if (want) {
                EXPECT_NEAR(*got, *want, 1e-9 * std::max(1.0, std::fabs(*want))) << formula;
            }
        }
    }
}

TEST_F(RandomSheet, MedianOfEveryPosition)
{
    std::mt19937 rng(77);
    for (int sheet = 0; sheet < 6; ++sheet) {
        Fill(rng, sheet);
        for (int trial = 0; trial < 40; ++trial) {
            int r1 = rng() % kRowsUsed, r2 = rng() % kRowsUsed, c1 = rng() % kColsUsed, c2 = rng() % kColsUsed;
            std::vector<double> x;
            bool error = false;
            for (int row = std::min(r1, r2); row <= std::max(r1, r2); ++row)
                for (int col = std::min(c1, c2); col <= std::max(c1, c2); ++col) {
                    const Position& p = grid[row][col];
                    error = error || p.What == Content::Err;
                    x.push_back(Numeric(p.What) ? p.Number : 0);
                }
            std::sort(x.begin(), x.end());
            std::size_t h = x.size() / 2;
            double want = x.size() % 2 ? x[h] : (x[h - 1] + x[h]) / 2;
            std::string formula = "@MEDIAN(" + Addr(r1, c1) + ".." + Addr(r2, c2) + ")";
            std::optional<double> got = Eval(formula);
            if (error) {
                EXPECT_FALSE(got) << formula;
            } else {
                EXPECT_EQ(got, want) << formula;
            }
        }
    }
}

}  // namespace
}  // namespace zt
