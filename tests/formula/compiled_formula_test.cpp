#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/dependencies.h"
#include "formula/compiled_formula.h"
#include "formula/compiler.h"
#include "formula/formula_engine.h"
#include "formula/opcodes.h"
#include "formula/recalc.h"

namespace zt {
namespace {

class CompiledFormulaTest : public ::testing::Test {
protected:
    CompiledFormulaTest() : e(256)
    {
        InstallFormulaEngine(e);
        RestoreContext(e, OpenSheet(e, "T"));
    }

    std::string Compile(const std::string& text)
    {
        std::string code = text;
        CompileFormula(e, code);
        EXPECT_FALSE(e.Err.ErrorFlag) << text;
        return code;
    }
    static std::uint8_t* Bytes(std::string& s) { return reinterpret_cast<std::uint8_t*>(s.data()); }
    static std::uint16_t Word(const std::string& s, int at)
    {
        std::uint16_t w;
        std::memcpy(&w, s.data() + at, 2);
        return w;
    }

    Engine e;
};

TEST_F(CompiledFormulaTest, RelativeFormCountsOffsetsInFourteenBits)
{
    // In C3 (row 2, column 2): B2 is one up and one left; $A$1 absolute;
    // A$1 relative column, absolute row.
    std::string code = Compile("+B2+$A$1+A$1");
    UnlinkFormula(e, Bytes(code), 2, 2);
    EXPECT_EQ(Word(code, 3), 0xBFFF);
    EXPECT_EQ(Word(code, 5), 0xBFFF);
    EXPECT_EQ(Word(code, 8), 0x0000);
    EXPECT_EQ(Word(code, 10), 0x0000);
    EXPECT_EQ(Word(code, 14), 0xBFFE);
    EXPECT_EQ(Word(code, 16), 0x0000);
}

TEST_F(CompiledFormulaTest, LinkingFromAnotherCellMovesOnlyRelativeReferences)
{
    std::string code = Compile("+B2+$A$1+B2..C3");
    UnlinkFormula(e, Bytes(code), 2, 2);
    LinkFormula(e, Bytes(code), 5, 4);  // as if copied from C3 to E6
    std::vector<std::string> seen;
    WalkFormula(Bytes(code), [&](int pos, std::uint8_t op) {
        for (int k = 0; k < (op == opRangeRef ? 2 : op == opCellRef ? 1 : 0); ++k) {
            LinkTarget t = ReadLink(e, ReadLinkWord(Bytes(code) + pos + 1 + 4 * k));
            seen.push_back(std::to_string(t.Row) + ":" + std::to_string(t.Col));
        }
        return true;
    });
    // B2 -> D5, $A$1 stays, the range B2..C3 -> D5..E6 (stored last corner first).
    EXPECT_EQ(seen, (std::vector<std::string>{"4:3", "0:0", "5:4", "4:3"}));
    EXPECT_NE(FindCell(e, 5, 4), nullptr);
}

TEST_F(CompiledFormulaTest, AReferenceToNoCellStaysOneThroughTheRelativeForm)
{
    std::string code = Compile("+B2*2");
    WriteLinkWord(Bytes(code) + 3, 0);
    UnlinkFormula(e, Bytes(code), 2, 2);
    EXPECT_EQ(Word(code, 3), 0xFFFF);
    EXPECT_EQ(Word(code, 5), 0xFFFF);
    LinkFormula(e, Bytes(code), 2, 2);
    EXPECT_EQ(ReadLinkWord(Bytes(code) + 3), 0u);
}

TEST_F(CompiledFormulaTest, TheWalkNeverReadsAtOrPastTheEndMarker)
{
    // A string operand without its 0 byte, and operands cut short by L.
    std::vector<std::vector<std::uint8_t>> codes = {
        {5, 0, opString, 'a', 'b', opEnd},
        {4, 0, opNumber, 1, opEnd},
        {6, 0, opRangeRef, 1, 2, 3, opEnd},
        {8, 0, opExternalRef, 0, 0, 0, 0, 0, opEnd},
        {3, 0, acList, opEnd},
    };
    for (auto& c : codes) {
        int last = -1;
        WalkFormula(c.data(), [&](int pos, std::uint8_t) {
            last = pos;
            return true;
        });
        EXPECT_LT(last, int(c[0]));
        for (int pos = 2; pos < c[0]; ++pos)
            EXPECT_TRUE(OperandSize(c.data(), pos) < 0 || pos + 1 + OperandSize(c.data(), pos) <= c[0]);
    }
}

TEST_F(CompiledFormulaTest, UserFunctionCallsAreFound)
{
    std::vector<std::uint8_t> with = {7, 0, opInteger, 1, 0, opUserFunction, 1, opEnd};
    std::vector<std::uint8_t> without = {5, 0, opInteger, 1, 0, opEnd};
    EXPECT_TRUE(HasUserFunction(with.data()));
    EXPECT_FALSE(HasUserFunction(without.data()));
}

TEST_F(CompiledFormulaTest, DependenciesCoverEveryCellOfARangeOnce)
{
    EnterCell(e, "+A1+A1..B2+A1+B2..A1", 5, 5);
    PCell f = FindCell(e, 5, 5);
    EXPECT_EQ(RangeAreaCount(e), 1u) << "one range, whichever way round it is written";
    EXPECT_EQ(RangeReaderCount(e), 1u);
    for (auto [row, col] : {std::pair{0, 0}, {0, 1}, {1, 0}, {1, 1}})
        EXPECT_EQ(DependentsAt(e, row, col), std::vector<PCell>{f}) << row << "," << col;
    EXPECT_TRUE(DependentsAt(e, 2, 0).empty());
    EXPECT_EQ(FindCell(e, 0, 1), nullptr) << "only the corners the code names are cells";
    EXPECT_EQ(CheckRangeIndex(e), "");
    EnterCell(e, "", 5, 5);
    for (auto [row, col] : {std::pair{0, 0}, {0, 1}, {1, 0}, {1, 1}})
        EXPECT_TRUE(DependentsAt(e, row, col).empty());
    EXPECT_EQ(RangeAreaCount(e), 0u);
}

TEST_F(CompiledFormulaTest, DeletingACellTurnsItsReferencesIntoErr)
{
    EnterCell(e, "3", 1, 0);
    EnterCell(e, "+A2*2+A1..A3", 0, 2);
    PCell f = FindCell(e, 0, 2);
    EXPECT_EQ(NumericValue(*f), 6.0);
    FreeRun(e, 1, 0, 0);
    EXPECT_TRUE(f->Kind & kfError);
    // The range lost no corner, so A1 and A3 are still read by the formula.
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(DependentsAt(e, row, 0), std::vector<PCell>{f});
}

TEST(TinyHeapFormulaTest, AFormulaWhoseLinksDoNotFitIsRefused)
{
    struct Log : Notify {
        void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
        std::vector<std::string> messages;
    } log;
    Engine e(8);
    e.Notifier = &log;
    InstallFormulaEngine(e);
    RestoreContext(e, OpenSheet(e, "T"));
    // Labels until a range and its reader no longer fit beside the code.
    int row = 0;
    while (e.Heap.BudgetFree() > PageHeap::kBudgetReserve + 120)
        EnterCell(e, "label", row++, 0);
    std::int64_t before = e.Heap.BytesInUse();
    EnterCell(e, "@SUM(A1..A8000)", 0, 1);
    ASSERT_FALSE(log.messages.empty());
    EXPECT_EQ(log.messages.back(), "Error:Out of Memory");
    PCell cell = FindCell(e, 0, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->Kind, ckBlank);
    EXPECT_TRUE(DependentsAt(e, 0, 0).empty());
    EXPECT_EQ(RangeAreaCount(e), 0u);
    EXPECT_LE(e.Heap.BytesInUse(), before + 2 * 36) << "at most the cells the code named stay";
    // Room made again takes the formula.
    EnterCell(e, "", 1, 0);
    EnterCell(e, "", 2, 0);
    EnterCell(e, "@SUM(A1..A8000)", 0, 1);
    EXPECT_EQ(FindCell(e, 0, 1)->Kind, ckFormula);
}

TEST(LongChainTest, TwoHundredThousandFormulasRecalculateCompletely)
{
    constexpr int kChain = 200'000;
    Engine e(4080);
    InstallFormulaEngine(e);
    RestoreContext(e, OpenSheet(e, "T"));
    e.Settings().ManualCalc = true;
    EnterCell(e, "1", 0, 0);
    for (int k = 1; k < kChain; ++k) {
        int prev = k - 1;
        char text[32];
        std::snprintf(text, sizeof text, "+%s%d+1", ColumnLetters(prev / kRows).c_str(), prev % kRows + 1);
        EnterCell(e, text, k % kRows, k / kRows);
    }
    EnterCell(e, "5", 0, 0);
    RecalcAll(e);
    PCell last = FindCell(e, (kChain - 1) % kRows, (kChain - 1) / kRows);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(NumericValue(*last), 5.0 + kChain - 1);
    // Automatic recalculation from the head of the chain reaches its end.
    e.Settings().ManualCalc = false;
    EnterCell(e, "10", 0, 0);
    EXPECT_EQ(NumericValue(*last), 10.0 + kChain - 1);
}

}  // namespace
}  // namespace zt
