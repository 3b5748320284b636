#include "commands/copy_range.h"

#include <map>
#include <tuple>

#include "commands/copy_cell.h"
#include "core/address.h"
#include "core/range_names.h"
#include "core/undo.h"
#include "tests/commands/command_test_support.h"

namespace zt {
namespace {

class CopyRangeTest : public CommandTest {
protected:
    bool Copy(std::string_view from, std::string_view to) { return CopyRange(e, false, Range(from), Range(to)); }
    bool Move(std::string_view from, std::string_view to) { return CopyRange(e, true, Range(from), Range(to)); }

    // Every cell of a rectangle: its entry text and value, keyed by offset.
    using Dump = std::map<std::pair<int, int>, std::pair<std::string, double>>;
    Dump DumpOf(const TRange& r)
    {
        Dump d;
        for (int row = r.FirstRow; row <= r.LastRow; ++row)
            for (int col = r.FirstCol; col <= r.LastCol; ++col)
                if (PCell c = FindCell(e, row, col); c && BaseKind(c->Kind) != ckBlank)
                    d[{row - r.FirstRow, col - r.FirstCol}] = {CellContentsText(e, c), NumericValue(*c)};
        return d;
    }
};

TEST_F(CopyRangeTest, RelativeReferencesFollowTheCopyAbsoluteOnesStay)
{
    Enter("A1", "+B1");
    Enter("C1", "+$B$1");
    Enter("D1", "+$B1+B$1");
    Enter("B1", "1");
    Enter("B3", "3");
    ASSERT_TRUE(Copy("A1", "A2..A5"));
    EXPECT_EQ(Contents("A2"), "+B2");
    EXPECT_EQ(Contents("A5"), "+B5");
    EXPECT_EQ(Value("A3"), 3);
    ASSERT_TRUE(Copy("C1", "C2..C4"));
    EXPECT_EQ(Contents("C4"), "+$B$1");
    EXPECT_EQ(Value("C4"), 1);
    ASSERT_TRUE(Copy("D1", "F3"));
    EXPECT_EQ(Contents("F3"), "+$B3+D$1");
}

TEST_F(CopyRangeTest, ASingleColumnFillsEveryDestinationColumn)
{
    Enter("A1", "1");
    Enter("A2", "+A1+1");
    Enter("A3", "@SUM(A1..A2)");
    ASSERT_TRUE(Copy("A1..A3", "C1..E1"));
    for (const char* col : {"C", "D", "E"}) {
        std::string c(col);
        EXPECT_EQ(Contents(c + "2"), "+" + c + "1+1");
        EXPECT_EQ(Contents(c + "3"), "@SUM(" + c + "1.." + c + "2)");
        EXPECT_EQ(Value(c + "3"), 3);
    }
    EXPECT_EQ(Cell("F1"), nullptr);
}

TEST_F(CopyRangeTest, ASingleRowFillsEveryDestinationRowAndABlockOnlyTheFirstCell)
{
    Enter("A1", "1");
    Enter("B1", "2");
    Enter("A2", "3");
    ASSERT_TRUE(Copy("A1..B1", "A4..D6"));
    EXPECT_EQ(Value("A6"), 1);
    EXPECT_EQ(Value("B6"), 2);
    EXPECT_EQ(Cell("C4"), nullptr);
    ASSERT_TRUE(Copy("A1..B2", "F4..H9"));
    EXPECT_EQ(Value("F5"), 3);
    EXPECT_EQ(Cell("H4"), nullptr);
    EXPECT_EQ(Cell("F6"), nullptr);
}

// Copying onto an overlapping place must give what a copy through a free
// area of the worksheet gives.
TEST_F(CopyRangeTest, OverlappingCopiesEqualACopyThroughAFreeArea)
{
    struct Case { const char* To; int Dr; int Dc; };
    for (Case c : {Case{"B4", 1, 0}, Case{"B2", -1, 0}, Case{"C3", 0, 1}, Case{"A3", 0, -1}, Case{"C4", 1, 1},
                   Case{"A2", -1, -1}}) {
        SCOPED_TRACE(c.To);
        FreeAllCells(e);
        for (int row = 2; row <= 5; ++row)
            for (int col = 1; col <= 3; ++col)
                EnterCell(e, (row + col) % 3 ? std::to_string(row * 10 + col) : "+" + FormatAddress(e, row - 1, col + 1) + "*2",
                          row, col);
        TRange source = Range("B3..D6");
        ASSERT_TRUE(Copy("B3..D6", "M100"));
        ASSERT_TRUE(Copy("M100..O103", c.To));
        TRange dest{std::int16_t(source.FirstCol + c.Dc), std::int16_t(source.FirstRow + c.Dr),
                    std::int16_t(source.LastCol + c.Dc), std::int16_t(source.LastRow + c.Dr)};
        Dump expected = DumpOf(dest);

        FreeAllCells(e);
        for (int row = 2; row <= 5; ++row)
            for (int col = 1; col <= 3; ++col)
                EnterCell(e, (row + col) % 3 ? std::to_string(row * 10 + col) : "+" + FormatAddress(e, row - 1, col + 1) + "*2",
                          row, col);
        ASSERT_TRUE(Copy("B3..D6", c.To));
        EXPECT_EQ(DumpOf(dest), expected);
    }
}

TEST_F(CopyRangeTest, AReferenceAboveRowOneWrapsToTheLastRow)
{
    Enter("A2", "+A1");
    ASSERT_TRUE(Copy("A2", "A1"));
    EXPECT_EQ(Contents("A1"), "+A8192");
}

TEST_F(CopyRangeTest, ACopyEndingBeyondTheWorksheetChangesNothing)
{
    Enter("A1", "1");
    Enter("B2", "2");
    EXPECT_FALSE(Copy("A1..B2", "IV8191"));
    EXPECT_EQ(notify.LastMessage(), "Error:Copy Error");
    EXPECT_EQ(Cell("IV8191"), nullptr);
    EXPECT_FALSE(Copy("A1..A2", "IU8192..IV8192"));
    EXPECT_EQ(Cell("IU8192"), nullptr);
    EXPECT_TRUE(Copy("A1..B2", "IU8191"));
    EXPECT_EQ(Value("IV8192"), 2);
}

TEST_F(CopyRangeTest, MovedCellsAreFollowedByTheFormulasThatReadThem)
{
    Enter("A1", "+B1");
    Enter("B1", "7");
    ASSERT_TRUE(Move("B1", "D5"));
    EXPECT_EQ(Contents("A1"), "+D5");
    EXPECT_EQ(Cell("B1"), nullptr);
    Enter("D5", "9");
    EXPECT_EQ(Value("A1"), 9);

    ASSERT_TRUE(Move("A1", "A9"));
    EXPECT_EQ(Contents("A9"), "+D5");
    Enter("C1", "+B1");
    ASSERT_TRUE(Move("C1", "C9"));
    EXPECT_EQ(Contents("C9"), "+B1");
}

TEST_F(CopyRangeTest, MovingOntoACellReplacesItAndItsReadersShowErr)
{
    Enter("A1", "1");
    Enter("B1", "2");
    Enter("C1", "+B1*10");
    ASSERT_TRUE(Move("A1", "B1"));
    EXPECT_EQ(Value("B1"), 1);
    EXPECT_TRUE(HasError(Cell("C1")));
    EXPECT_EQ(Cell("A1"), nullptr);
}

TEST_F(CopyRangeTest, OverlappingMovesKeepEveryCell)
{
    for (int row = 0; row < 5; ++row)
        EnterCell(e, std::to_string(row + 1), row, 0);
    Enter("B1", "@SUM(A1..A5)");
    ASSERT_TRUE(Move("A1..A5", "A3"));
    for (int row = 2; row < 7; ++row)
        EXPECT_EQ(NumericValue(*FindCell(e, row, 0)), row - 1);
    EXPECT_EQ(Cell("A1"), nullptr);
    EXPECT_EQ(Cell("A2"), nullptr);
    EXPECT_EQ(Contents("B1"), "@SUM(A3..A7)");
    ASSERT_TRUE(Move("A3..A7", "A1"));
    EXPECT_EQ(Contents("B1"), "@SUM(A1..A5)");
    EXPECT_EQ(Cell("A6"), nullptr);
}

TEST_F(CopyRangeTest, RememberedCornersInsideTheMovedBlockFollowIt)
{
    Enter("A1", "1");
    Enter("B2", "2");
    ASSERT_TRUE(SetRangeName(e, "BLOCK", Range("A1..B2")));
    ASSERT_TRUE(SetRangeName(e, "OUTSIDE", Range("C5..D6")));
    e.Cur->DataRanges[4] = Range("A1..A9");
    e.Cur->Graphs.Current.Series[0].Set(Range("B2..B2"));
    ASSERT_TRUE(Move("A1..B2", "F1"));
    EXPECT_EQ(RangeOfName(e, FindRangeName(e, "BLOCK")), Range("F1..G2"));
    EXPECT_EQ(RangeOfName(e, FindRangeName(e, "OUTSIDE")), Range("C5..D6"));
    EXPECT_EQ(e.Cur->DataRanges[4], (TRange{5, 0, 0, 8}));
    EXPECT_EQ(e.Cur->Graphs.Current.Series[0].Get(), Range("G2..G2"));
}

TEST_F(CopyRangeTest, AMoveCarriesTheRunningMacroPosition)
{
    TRange seen;
    e.MacroPositionShift = [&](const TRange& block, int dRow, int dCol) {
        seen = block;
        EXPECT_EQ(dRow, 4);
        EXPECT_EQ(dCol, 2);
    };
    Enter("A1", "x");
    ASSERT_TRUE(Move("A1..B2", "C5"));
    EXPECT_EQ(seen, Range("A1..B2"));
}

TEST_F(CopyRangeTest, ProtectedDestinationsAreSkippedAndMovesFromThemRefused)
{
    Enter("A1", "1");
    Enter("A2", "2");
    Enter("C1", "old");
    Cell("C1")->Format |= kFormatProtected;
    Cell("A2")->Format |= kFormatProtected;
    Enter("C2", "");
    FindOrCreateCell(e, 1, 2)->Format &= ~kFormatProtected;
    e.Settings().Protect = true;
    ASSERT_TRUE(Copy("A1..A2", "C1"));
    EXPECT_EQ(Contents("C1"), "'old");
    EXPECT_EQ(Value("C2"), 2);
    ASSERT_TRUE(Move("A2", "D9"));
    EXPECT_EQ(Value("A2"), 2);
}

TEST_F(CopyRangeTest, UndoRestoresTheCellsAndTheRememberedRanges)
{
    Enter("A1", "1");
    Enter("A2", "+A1*2");
    Enter("B5", "keep");
    ASSERT_TRUE(SetRangeName(e, "TOP", Range("A1..A2")));
    ASSERT_TRUE(Move("A1..A2", "B5"));
    EXPECT_EQ(RangeOfName(e, FindRangeName(e, "TOP")), Range("B5..B6"));
    Undo(e);
    EXPECT_EQ(Contents("A2"), "+A1*2");
    EXPECT_EQ(Value("A2"), 2);
    EXPECT_EQ(Contents("B5"), "'keep");
    EXPECT_EQ(RangeOfName(e, FindRangeName(e, "TOP")), Range("A1..A2"));
}

}  // namespace
}  // namespace zt
