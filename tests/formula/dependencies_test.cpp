// Dependencies at the sizes people use, and the cases that once left a
// wrong value or a dangling reference behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/copy_range.h"
#include "commands/insert_delete.h"
#include "core/dependencies.h"
#include "files/worksheet_file.h"
#include "formula/dependency_check.h"
#include "formula/recalc.h"
#include "tests/commands/command_test_support.h"

namespace zt {
namespace {

class DependenciesTest : public CommandTest {};

// What one more formula over a range costs the heap, beside the cells it
// names: the same for ten cells as for a hundred thousand.
TEST_F(DependenciesTest, AFormulaOverARangeCostsTheSameWhateverTheRangesSize)
{
    auto cost = [&](const std::string& range, const std::string& at) {
        Enter(at, "@SUM(" + range + ")");  // the corners exist from here on
        EnterCell(e, "", Range(at).FirstRow, Range(at).FirstCol);
        std::int64_t before = e.Heap.BytesInUse();
        Enter(at, "@SUM(" + range + ")");
        return e.Heap.BytesInUse() - before;
    };
    std::int64_t small = cost("A1..A10", "Z1");
    std::int64_t large = cost("A1..M8000", "Z2");
    EXPECT_EQ(small, large);
    EXPECT_LT(large, 120) << "the code, one range record and one reader";
    EXPECT_EQ(FindCell(e, 4000, 5), nullptr) << "no cell between the corners is made";
}

// A chain of 4,000 and 2,000 growing sums over it: every value right after
// each change, and the bookkeeping in step with the code.
TEST_F(DependenciesTest, GrowingSumsFollowEveryChangeOfTheChain)
{
    Enter("A1", "0");
    for (int r = 2; r <= 4000; ++r)
        Enter("A" + std::to_string(r), "+A" + std::to_string(r - 1) + "+1");
    for (int k = 1; k <= 2000; ++k)
        Enter("B" + std::to_string(k), "@SUM(A$1..A" + std::to_string(2 * k) + ")");
    EXPECT_EQ(RangeAreaCount(e), 2000u);
    for (double start : {0.0, 5.0, -3.0}) {
        Enter("A1", std::to_string(static_cast<int>(start)));
        for (int k : {1, 2, 999, 2000}) {
            double n = 2.0 * k;
            EXPECT_EQ(Value("B" + std::to_string(k)), n * start + n * (n - 1) / 2) << "B" << k;
        }
    }
    EXPECT_EQ(CheckDependencies(e), "");
}

// A range whose two corners both lie in deleted rows loses both: nothing
// keeps pointing at a freed cell, however the heap is used afterwards.
TEST_F(DependenciesTest, ARangeWithBothCornersDeletedLosesBoth)
{
    Enter("A8191", "@SUM(A8..D10)");
    DeleteRows(e, 5, 5);
    for (int i = 0; i < 1000; ++i)
        Enter("Z" + std::to_string(i + 1), "+Y" + std::to_string(i + 1) + "*2");
    EXPECT_EQ(Contents("A8186"), "@SUM(ERR..ERR)");
    RecalcAll(e);
    EXPECT_TRUE(HasError(Cell("A8186")));
    EXPECT_EQ(CheckDependencies(e), "");
}

// A moved block leaves its place to whatever is typed there next: the
// formulas reading a range across it see the new cell at once.
TEST_F(DependenciesTest, ARangeReadsWhatIsTypedWhereCellsMovedAway)
{
    Enter("A1", "1");
    Enter("A2", "2");
    Enter("A3", "4");
    Enter("C1", "@SUM(A1..A3)");
    ASSERT_TRUE(CopyRange(e, true, Range("A2"), Range("E5")));
    EXPECT_EQ(Value("C1"), 5) << "the moved cell left the range";
    Enter("A2", "10");
    EXPECT_EQ(Value("C1"), 15);
    Enter("E5", "7");
    EXPECT_EQ(Value("C1"), 15) << "the moved cell no longer counts";
    EXPECT_EQ(CheckDependencies(e), "");
}

// An entry refused after the cell was cleared leaves it blank, and what
// read it is recalculated at once.
TEST_F(DependenciesTest, ARefusedEntryRecalculatesWhatReadTheCell)
{
    Enter("A1", "9");
    Enter("B1", "+A1*2");
    Enter("C1", "@SUM(A1..A2)");
    EnterCell(e, "12abc", 0, 0);
    EXPECT_TRUE(e.Err.ErrorFlag);
    EXPECT_EQ(Kind("A1"), ckBlank);
    EXPECT_EQ(Value("B1"), 0);
    EXPECT_EQ(Value("C1"), 0);
}

// Each open worksheet keeps its own ranges: a change in one recalculates
// its readers and nothing of the other, and closing one leaves the other's
// bookkeeping whole.
TEST_F(DependenciesTest, EachWorksheetKeepsItsOwnRanges)
{
    int first = e.CurSlot;
    Enter("A1", "1");
    Enter("B1", "@SUM(A1..A3)");
    int second = OpenSheet(e, "OTHER");
    RestoreContext(e, second);
    Enter("A1", "10");
    Enter("A2", "20");
    Enter("B1", "@SUM(A1..A3)");
    Enter("C1", "+A2*2");
    RestoreContext(e, first);
    Enter("A2", "5");
    EXPECT_EQ(Value("B1"), 6);
    EXPECT_EQ(CheckDependencies(e), "");
    RestoreContext(e, second);
    EXPECT_EQ(Value("B1"), 30);
    EXPECT_EQ(CheckDependencies(e), "");
    CloseSheet(e, e.Cur->HeapNo);
    RestoreContext(e, first);
    EXPECT_EQ(RangeAreaCount(e), 1u);
    Enter("A3", "100");
    EXPECT_EQ(Value("B1"), 106);
    EXPECT_EQ(CheckDependencies(e), "");
}

// A file too large for the heap is read in part and says so; a formula
// the heap could not take keeps its text and shows ERR, and nothing shows
// a value that recalculating would change.
TEST(DependenciesHeapTest, AFileThatDoesNotFitIsReportedAndLeavesNoStaleValue)
{
    std::vector<std::uint8_t> bytes;
    {
        Engine big(4096);
        InstallFormulaEngine(big);
        RestoreContext(big, OpenSheet(big, "BIG"));
        for (int r = 0; r < 3000; ++r) {
            EnterCell(big, std::to_string(r), r, 0);
            EnterCell(big, "@SUM(A$1..A" + std::to_string(r + 1) + ")+A" + std::to_string(r + 1), r, 1);
        }
        WriteWorksheetFile(big, bytes, nullptr);
    }
    Engine e(24);
    InstallFormulaEngine(e);
    RestoreContext(e, OpenSheet(e, "SMALL"));
    ReadResult read = ReadWorksheetFile(e, bytes, ReadOptions{});
    EXPECT_FALSE(read.Ok);
    EXPECT_EQ(read.Error, "Out of Memory/File may be truncated");
    RecalcAll(e);
    int parked = 0, linked = 0;
    std::vector<double> values;
    for (int r = 0; r <= e.Cur->MaxRow; ++r)
        if (PCell c = FindCell(e, r, 1); c && IsFormulaKind(c->Kind)) {
            if (c->Kind & kfUnlinked) {
                ++parked;
                EXPECT_TRUE(HasError(c));
                EXPECT_EQ(CellContentsText(e, c), "@SUM(A$1..A" + std::to_string(r + 1) + ")+A" + std::to_string(r + 1));
            } else {
                ++linked;
            }
            values.push_back(NumericValue(*c));
        }
    EXPECT_GT(linked, 0);
    EXPECT_GT(parked, 0);
    EXPECT_EQ(CheckDependencies(e), "");
    RecalcAll(e);
    std::size_t i = 0;
    for (int r = 0; r <= e.Cur->MaxRow; ++r)
        if (PCell c = FindCell(e, r, 1); c && IsFormulaKind(c->Kind)) {
            EXPECT_EQ(NumericValue(*c), values[i++]) << "B" << r + 1;
        }
}

}  // namespace
}  // namespace zt
