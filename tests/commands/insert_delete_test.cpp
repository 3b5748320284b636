#include "commands/insert_delete.h"

#include <array>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/cell_text.h"
#include "core/range_names.h"
#include "core/remembered_ranges.h"
#include "core/undo.h"
#include "formula/recalc.h"
#include "tests/commands/command_test_support.h"

namespace zt {
namespace {

TRange Rect(int firstRow, int firstCol, int lastRow, int lastCol)
{
    return TRange{static_cast<std::int16_t>(firstCol), static_cast<std::int16_t>(firstRow),
                  static_cast<std::int16_t>(lastCol), static_cast<std::int16_t>(lastRow)};
}

// Everything that an insertion followed by the deletion of the same rows or
// columns must give back.
struct SheetImage {
    std::vector<std::string> Cells;  // row, column, kind, contents, shown value
    std::vector<std::string> Names;
    std::vector<TRange> Remembered;
    std::array<std::uint16_t, kCols> Widths{};
    std::array<std::uint16_t, kRows> Heights{};
    int MaxRow = 0;
    int MaxCol = 0;
};

class InsertDeleteTest : public CommandTest {
protected:
    void Name(std::string_view name, std::string_view range) { ASSERT_TRUE(SetRangeName(e, name, Range(range))); }
    TRange NamedRange(std::string_view name)
    {
        int i = FindRangeName(e, name);
        return i > 0 ? RangeOfName(e, i) : kUndefinedRange;
    }
    std::string NamedText(std::string_view name) { return FormatRange(e, NamedRange(name)); }
    PCell At(int row, int col) { return FindCell(e, row, col); }
    void EnterAt(int row, int col, std::string_view text)
    {
        EnterCell(e, text, row, col);
        ASSERT_FALSE(e.Err.ErrorFlag) << row << "," << col << " " << text;
    }

    SheetImage Image()
    {
        SheetImage im;
        const Worksheet& ws = *e.Cur;
        for (int row = 0; row <= ws.MaxRow; ++row) {
            for (PCell c = CellAt(e, ws.RowHeads[row]); c; c = NextCell(e, c)) {
                im.Cells.push_back(std::to_string(row) + "," + std::to_string(c->Col) + " k" +
                                   std::to_string(c->Kind & (7 | kfError)) + " [" + CellContentsText(e, c) + "] [" +
                                   CellText(e, c) + "]");
            }
        }
        for (int i = 1; i <= ws.Names.Count; ++i)
            im.Names.push_back(RangeNameAt(e, i) + "=" + FormatRange(e, RangeOfName(e, i)));
        im.Remembered = RememberedRanges(e);
        im.Widths = ws.Layout.ColWidths;
        im.Heights = ws.Layout.RowHeights;
        im.MaxRow = ws.MaxRow;
        im.MaxCol = ws.MaxCol;
        return im;
    }

    static void ExpectSame(const SheetImage& want, const SheetImage& got)
    {
        EXPECT_EQ(want.Cells, got.Cells);
        EXPECT_EQ(want.Names, got.Names);
        EXPECT_TRUE(want.Remembered == got.Remembered);
        EXPECT_TRUE(want.Widths == got.Widths);
        EXPECT_TRUE(want.Heights == got.Heights);
        EXPECT_EQ(want.MaxRow, got.MaxRow);
        EXPECT_EQ(want.MaxCol, got.MaxCol);
    }

    // Every row list holds cells numbered with its row, in rising column
    // order, within the worksheet's extents.
    void ExpectWellFormed()
    {
        const Worksheet& ws = *e.Cur;
        for (int row = 0; row < kRows; ++row) {
            int prevCol = -1;
            for (PCell c = CellAt(e, ws.RowHeads[row]); c; c = NextCell(e, c)) {
                ASSERT_LE(row, ws.MaxRow) << "cell beyond the highest row";
                ASSERT_EQ(c->Row, row);
                ASSERT_GT(c->Col, prevCol) << "row " << row;
                ASSERT_LE(c->Col, ws.MaxCol) << "cell beyond the highest column";
                prevCol = c->Col;
            }
        }
    }

    // What every formula shows, as recalculation along the dependency links
    // left it, must be what a full recalculation gives.
    void ExpectLinksComplete()
    {
        std::vector<std::string> before = Image().Cells;
        RecalcAll(e);
        EXPECT_EQ(before, Image().Cells);
    }
};

// ---- Rows -------------------------------------------------------------

class InsertDeleteRows : public InsertDeleteTest {};

TEST_F(InsertDeleteRows, ReferenceFollowsInsertedAndDeletedRow)
{
    Enter("A3", "7");
    Enter("C1", "+A3");
    InsertRows(e, 1, 1);
    EXPECT_EQ(Contents("C1"), "+A4");
    EXPECT_EQ(Value("A4"), 7);
    EXPECT_EQ(Cell("A3"), nullptr);
    EXPECT_TRUE(e.Cur->Modified);
    DeleteRows(e, 1, 1);
    EXPECT_EQ(Contents("C1"), "+A3");
    EXPECT_EQ(Value("C1"), 7);
    ExpectWellFormed();
}

class InsertDeleteSumRows : public InsertDeleteTest {
protected:
    void SetUp() override
    {
        for (int i = 1; i <= 5; ++i)
            Enter("A" + std::to_string(i), std::to_string(i));
        Enter("B1", "@SUM(A1..A5)");
        ASSERT_EQ(Value("B1"), 15);
    }
};

TEST_F(InsertDeleteSumRows, InsertedRowsInsideTheRangeAreRead)
{
    InsertRows(e, 2, 2);
    EXPECT_EQ(Contents("B1"), "@SUM(A1..A7)");
    EXPECT_EQ(Value("A5"), 3);
    EXPECT_EQ(Value("A7"), 5);
    EXPECT_EQ(Value("B1"), 15);
    // A number typed into a new empty row recalculates the sum at once.
    Enter("A3", "100");
    EXPECT_EQ(Value("B1"), 115);
    Enter("A4", "1000");
    EXPECT_EQ(Value("B1"), 1115);
    ExpectWellFormed();
    ExpectLinksComplete();
}

TEST_F(InsertDeleteSumRows, DeletedRowsShrinkTheRange)
{
    DeleteRows(e, 1, 2);
    EXPECT_EQ(Contents("B1"), "@SUM(A1..A3)");
    EXPECT_EQ(Value("B1"), 1 + 4 + 5);
    EXPECT_EQ(Value("A2"), 4);
    EXPECT_EQ(e.Cur->MaxRow, 2);
    ExpectWellFormed();
    Enter("A3", "50");  // the old A5 is still read
    EXPECT_EQ(Value("B1"), 55);
}

TEST_F(InsertDeleteSumRows, DeletingACornerRowGivesErr)
{
    Enter("C7", "@SUM(A1..A5)");
    DeleteRows(e, 0, 1);
    EXPECT_TRUE(HasError(Cell("C6")));
    EXPECT_NE(Contents("C6").find("ERR"), std::string::npos) << Contents("C6");
    EXPECT_EQ(Cell("B1"), nullptr);  // the sum went with its row
    EXPECT_EQ(Value("A1"), 2);
    ExpectWellFormed();
}

// Under manual recalculation only the formulas that read deleted cells are
// recalculated, as losing a cell always does; the rest wait for the user.
TEST_F(InsertDeleteSumRows, ManualRecalculationLeavesOtherFormulasAlone)
{
    Enter("C1", "+A1");
    Enter("C5", "+A3*2");
    e.Settings().ManualCalc = true;
    Enter("A1", "100");
    ASSERT_EQ(Value("C1"), 1);
    DeleteRows(e, 1, 2);
    EXPECT_EQ(Contents("B1"), "@SUM(A1..A3)");
    EXPECT_EQ(Value("B1"), 100 + 4 + 5);
    EXPECT_TRUE(HasError(Cell("C3")));  // the old C5 lost A3
    EXPECT_EQ(Value("C1"), 1);
    RecalcAll(e);
    EXPECT_EQ(Value("C1"), 100);
}

TEST_F(InsertDeleteRows, RowHeightsAndRangesMoveWithTheirRows)
{
    Enter("A5", "x");
    Enter("A12", "y");
    e.Cur->Layout.RowHeights[2] = 30;
    e.Cur->Layout.RowHeights[5] = 40;
    Name("BLOCK", "A5..A9");
    Name("ABOVE", "A1..B2");
    e.Cur->DataRanges[4] = Rect(1, 0, 5, 1);  // sort data range A2..B6, across the insertion point

    InsertRows(e, 2, 1);
    EXPECT_EQ(NamedText("BLOCK"), "A6..A10");
    EXPECT_EQ(NamedText("ABOVE"), "A1..B2");
    EXPECT_EQ(e.Cur->DataRanges[4], Rect(1, 0, 6, 1));
    EXPECT_EQ(e.Cur->Layout.RowHeights[2], SheetLayout::kDefaultRowHeight);
    EXPECT_EQ(e.Cur->Layout.RowHeights[3], 30);
    EXPECT_EQ(e.Cur->Layout.RowHeights[6], 40);
    DeleteRows(e, 2, 1);
    EXPECT_EQ(NamedText("BLOCK"), "A5..A9");

    DeleteRows(e, 2, 1);
    EXPECT_EQ(NamedText("BLOCK"), "A4..A8");
    EXPECT_EQ(e.Cur->Layout.RowHeights[2], SheetLayout::kDefaultRowHeight);
    EXPECT_EQ(e.Cur->Layout.RowHeights[4], 40);
    EXPECT_EQ(Contents("A11"), "'y");
}

TEST_F(InsertDeleteRows, RangeCornersStayOnTheWorksheet)
{
    Enter("A5", "1");
    Name("TOP", "A1..B2");  // empty positions, deleted below
    Name("BOTTOM", "C8190..C8192");
    InsertRows(e, 0, 2);
    EXPECT_EQ(NamedRange("BOTTOM"), Rect(8191, 2, 8191, 2));
    DeleteRows(e, 0, 4);
    // Pulled before the deletion point, but not before row 1.
    EXPECT_EQ(NamedRange("TOP"), Rect(0, 0, 0, 1));
    EXPECT_EQ(Value("A3"), 1);
}

TEST_F(InsertDeleteRows, FormulasInDeletedRowsGoWithoutDisturbingTheRest)
{
    Enter("B1", "1");
    Enter("B2", "+B1+1");
    Enter("B3", "+B2+1");
    Enter("C5", "+B3*10");
    Enter("D5", "+B1*10");
    DeleteRows(e, 1, 2);
    // Only D5 still reads B1: the deleted B2 left its list.
    HeapAddr link = Cell("B1")->Dependents;
    ASSERT_NE(link, 0u);
    EXPECT_EQ(e.Heap.At<TDepLink>(link)->Next, 0u);
    EXPECT_TRUE(HasError(Cell("C3")));
    EXPECT_EQ(Value("D3"), 10);
    Enter("B1", "2");
    EXPECT_EQ(Value("D3"), 20);
    ExpectWellFormed();
    ExpectLinksComplete();
}

// A formula that reads deleted cells both through a range and directly
// loses the direct reference; relinking its range must not bring back cells
// that then drop out of their rows.
TEST_F(InsertDeleteRows, DeletionLeavesNothingBehindInTheHeap)
{
    e.Settings().Undo = false;
    std::int64_t empty = e.Heap.BytesInUse();
    for (int i = 1; i <= 10; ++i)
        Enter("A" + std::to_string(i), std::to_string(i));
    Enter("B1", "@SUM(A1..A10)+A3");
    DeleteRows(e, 1, 2);
    EXPECT_TRUE(HasError(Cell("B1")));
    ExpectWellFormed();
    FreeAllCells(e);
    EXPECT_EQ(e.Heap.BytesInUse(), empty);
}

TEST_F(InsertDeleteRows, CountBeyondTheLastCellDeletesToTheEnd)
{
    for (int i = 1; i <= 5; ++i)
        Enter("A" + std::to_string(i), std::to_string(i));
    DeleteRows(e, 3, 100);
    EXPECT_EQ(Value("A3"), 3);
    EXPECT_EQ(Cell("A4"), nullptr);
    EXPECT_EQ(e.Cur->MaxRow, 2);
    ExpectWellFormed();
    DeleteRows(e, 0, kRows);
    EXPECT_EQ(e.Cur->RowHeads[0], 0u);
    ExpectWellFormed();
}

TEST_F(InsertDeleteRows, InsertionPushingCellsOffTheBottomIsRefused)
{
    Enter("A8192", "1");
    Enter("B1", "+A8192");
    SheetImage before = Image();
    InsertRows(e, 0, 1);
    EXPECT_EQ(notify.LastMessage(), "Error:CELLS in bottom row");
    EXPECT_EQ(notify.Beeps(), 1);
    ExpectSame(before, Image());
    InsertRows(e, 8191, 1);
    EXPECT_EQ(notify.Messages(), 2);
    ExpectSame(before, Image());
}

TEST_F(InsertDeleteRows, InsertingIntoAnEmptyWorksheetDoesNothing)
{
    e.Cur->Modified = false;
    SheetImage before = Image();
    InsertRows(e, 2, 3);
    InsertRows(e, 0, 1);
    InsertColumns(e, 0, 2);
    ExpectSame(before, Image());
    EXPECT_TRUE(before.Cells.empty());
    EXPECT_FALSE(e.Cur->Modified);
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(InsertDeleteRows, PageBreakIsEnteredAndMovesNothing)
{
    Enter("A3", "5");
    Enter("A4", "6");
    InsertPageBreak(e, 2, 0);
    EXPECT_EQ(Contents("A3"), "|::");
    EXPECT_EQ(Kind("A3"), ckString);
    EXPECT_EQ(Value("A4"), 6);
    Undo(e);
    EXPECT_EQ(Value("A3"), 5);
}

// ---- Columns ----------------------------------------------------------

class InsertDeleteColumns : public InsertDeleteTest {};

TEST_F(InsertDeleteColumns, DeletingAReferencedColumnGivesErr)
{
    Enter("B1", "3");
    Enter("C1", "4");
    Enter("A5", "+B1");
    Enter("A6", "+C1*2");
    DeleteColumns(e, 1, 1);
    EXPECT_TRUE(HasError(Cell("A5")));
    EXPECT_NE(Contents("A5").find("ERR"), std::string::npos) << Contents("A5");
    EXPECT_EQ(Contents("A6"), "+B1*2");
    EXPECT_EQ(Value("A6"), 8);
    EXPECT_EQ(e.Cur->MaxCol, 1);
    ExpectWellFormed();
}

TEST_F(InsertDeleteColumns, ReferencesWidthsAndNamesFollowTheirColumns)
{
    Enter("C1", "4");
    Enter("A1", "+C1*2");
    Enter("A2", "+$C$1+A1");
    e.Cur->Layout.ColWidths[1] = 100;
    e.Cur->Layout.ColWidths[2] = 50;
    Name("PAIR", "B1..C3");
    e.Cur->Graphs.Current.XRange.Set(Rect(0, 2, 4, 2));

    InsertColumns(e, 1, 2);
    EXPECT_EQ(Contents("A1"), "+E1*2");
    EXPECT_EQ(Contents("A2"), "+$E$1+A1");
    EXPECT_EQ(Value("E1"), 4);
    EXPECT_EQ(e.Cur->Layout.ColWidths[1], SheetLayout::kDefaultColumnWidth);
    EXPECT_EQ(e.Cur->Layout.ColWidths[2], SheetLayout::kDefaultColumnWidth);
    EXPECT_EQ(e.Cur->Layout.ColWidths[3], 100);
    EXPECT_EQ(e.Cur->Layout.ColWidths[4], 50);
    EXPECT_EQ(NamedText("PAIR"), "D1..E3");
    EXPECT_EQ(e.Cur->Graphs.Current.XRange.Get(), Rect(0, 4, 4, 4));
    EXPECT_EQ(e.Cur->MaxCol, 4);

    DeleteColumns(e, 1, 3);
    EXPECT_EQ(Contents("A1"), "+B1*2");
    EXPECT_EQ(Value("A2"), 12);
    EXPECT_EQ(e.Cur->Layout.ColWidths[1], 50);
    EXPECT_EQ(e.Cur->Layout.ColWidths[255], SheetLayout::kDefaultColumnWidth);
    ExpectWellFormed();
}

TEST_F(InsertDeleteColumns, RangeAcrossInsertedColumnsReadsTheNewCells)
{
    Enter("A1", "1");
    Enter("C1", "2");
    Enter("A2", "10");
    Enter("D1", "@SUM(A1..C2)");
    InsertColumns(e, 1, 1);
    EXPECT_EQ(Contents("E1"), "@SUM(A1..D2)");
    Enter("B2", "100");
    EXPECT_EQ(Value("E1"), 113);
    ExpectLinksComplete();
}

TEST_F(InsertDeleteColumns, InsertionPushingCellsOffTheRightIsRefused)
{
    Enter("IV1", "1");
    Enter("A1", "+IV1");
    SheetImage before = Image();
    InsertColumns(e, 0, 1);
    EXPECT_EQ(notify.LastMessage(), "Error:Cells in last Column");
    ExpectSame(before, Image());
}

TEST_F(InsertDeleteColumns, CornersPulledBeforeColumnAStopThere)
{
    Enter("E1", "1");
    Name("LEFT", "A1..B1");
    DeleteColumns(e, 0, 3);
    EXPECT_EQ(NamedRange("LEFT"), Rect(0, 0, 0, 0));
    EXPECT_EQ(Value("B1"), 1);
}

TEST_F(InsertDeleteColumns, DeletionLeavesNothingBehindInTheHeap)
{
    e.Settings().Undo = false;
    std::int64_t empty = e.Heap.BytesInUse();
    for (int col = 0; col < 10; ++col)
        EnterAt(0, col, std::to_string(col + 1));
    Enter("A3", "@SUM(A1..J1)+C1");
    DeleteColumns(e, 1, 2);
    EXPECT_TRUE(HasError(Cell("A3")));
    ExpectWellFormed();
    FreeAllCells(e);
    EXPECT_EQ(e.Heap.BytesInUse(), empty);
}

TEST_F(InsertDeleteColumns, CountBeyondTheLastColumnDeletesToTheEnd)
{
    Enter("A1", "1");
    Enter("D1", "4");
    Enter("B3", "+A1");
    DeleteColumns(e, 1, 1000);
    EXPECT_EQ(Value("A1"), 1);
    EXPECT_EQ(e.Cur->RowHeads[2], 0u);
    EXPECT_EQ(e.Cur->MaxCol, 0);
    ExpectWellFormed();
}

// ---- Arguments out of range ---------------------------------------------

TEST_F(InsertDeleteTest, ArgumentsOutOfRangeDoNothing)
{
    Enter("A1", "1");
    Enter("B2", "+A1");
    Enter("IU8191", "2");
    SheetImage before = Image();
    for (int bad : {-1, -100, 100000}) {
        InsertRows(e, bad, 1);
        DeleteRows(e, bad, 1);
        InsertRowsAcross(e, bad, 1);
        DeleteRowsAcross(e, bad, 1);
        InsertColumns(e, bad, 1);
        DeleteColumns(e, bad, 1);
        InsertPageBreak(e, bad, 0);
        InsertPageBreak(e, 0, bad);
    }
    for (int badCount : {0, -1}) {
        InsertRows(e, 0, badCount);
        DeleteRows(e, 0, badCount);
        InsertRowsAcross(e, 0, badCount);
        DeleteRowsAcross(e, 0, badCount);
        InsertColumns(e, 0, badCount);
        DeleteColumns(e, 0, badCount);
    }
    InsertColumns(e, 256, 1);
    DeleteColumns(e, 256, 1);
    InsertRows(e, 8192, 1);
    DeleteRows(e, 8192, 1);
    ExpectSame(before, Image());
    EXPECT_EQ(notify.Messages(), 0);
    // Counts far too large are refused or bounded, never wrapped.
    InsertRows(e, 0, std::numeric_limits<int>::max());
    InsertColumns(e, 0, std::numeric_limits<int>::max());
    DeleteRows(e, 8191, std::numeric_limits<int>::max());
    ExpectSame(before, Image());
    EXPECT_EQ(notify.Messages(), 2);
}

// ---- Sheets -------------------------------------------------------------

class InsertDeleteSheets : public InsertDeleteTest {
protected:
    static constexpr int kSheetB = 4096;
    void SetUp() override { e.Settings().RowsPerSheet = kSheetB; }
};

TEST_F(InsertDeleteSheets, AcrossInsertionRepeatsInEverySheet)
{
    EnterAt(9, 0, "10");
    EnterAt(10, 0, "11");
    EnterAt(kSheetB + 10, 0, "4107");
    EnterAt(kSheetB + 11, 0, "4108");
    SheetImage before = Image();

    InsertRowsAcross(e, kSheetB + 10, 1);  // a row of sheet B names the same row of A
    EXPECT_EQ(NumericValue(*At(9, 0)), 10);
    EXPECT_EQ(At(10, 0), nullptr);
    EXPECT_EQ(NumericValue(*At(11, 0)), 11);
    EXPECT_EQ(At(kSheetB + 10, 0), nullptr);
    EXPECT_EQ(NumericValue(*At(kSheetB + 11, 0)), 4107);
    EXPECT_EQ(NumericValue(*At(kSheetB + 12, 0)), 4108);
    ExpectWellFormed();

    DeleteRowsAcross(e, 10, 1);
    ExpectSame(before, Image());
}

TEST_F(InsertDeleteSheets, OneUndoRestoresEverySheet)
{
    EnterAt(10, 0, "1");
    EnterAt(kSheetB + 10, 0, "2");
    SheetImage before = Image();
    DeleteRowsAcross(e, 10, 1);
    ASSERT_EQ(At(10, 0), nullptr);
    ASSERT_EQ(At(kSheetB + 10, 0), nullptr);
    Undo(e);
    ExpectSame(before, Image());
}

TEST_F(InsertDeleteSheets, CellsInTheLastRowOfASheetRefuseTheInsertion)
{
    EnterAt(5, 0, "1");
    EnterAt(kSheetB - 1, 0, "last of A");
    EnterAt(kSheetB, 0, "first of B");
    SheetImage before = Image();
    InsertRows(e, 3, 1);
    EXPECT_EQ(notify.LastMessage(), "Error:CELLS in bottom row");
    ExpectSame(before, Image());
    // Across, one refusing sheet refuses them all.
    InsertRowsAcross(e, 3, 1);
    EXPECT_EQ(notify.Messages(), 2);
    ExpectSame(before, Image());
    // Sheet B has room.
    InsertRows(e, kSheetB, 1);
    EXPECT_EQ(notify.Messages(), 2);
    EXPECT_EQ(LabelText(e, At(kSheetB + 1, 0)), "first of B");
    EXPECT_EQ(LabelText(e, At(kSheetB - 1, 0)), "last of A");
}

TEST_F(InsertDeleteSheets, OtherSheetsKeepTheirCellsHeightsAndRanges)
{
    EnterAt(20, 0, "a");
    EnterAt(kSheetB - 10, 0, "low in A");
    EnterAt(kSheetB + 5, 0, "b");
    ASSERT_TRUE(SetRangeName(e, "INB", Rect(kSheetB + 100, 0, kSheetB + 110, 1)));
    ASSERT_TRUE(SetRangeName(e, "INA", Rect(20, 0, 30, 0)));
    ASSERT_TRUE(SetRangeName(e, "ENDA", Rect(kSheetB - 6, 0, kSheetB - 1, 0)));
    e.Cur->Layout.RowHeights[30] = 25;
    e.Cur->Layout.RowHeights[kSheetB] = 33;

    InsertRows(e, 10, 3);
    EXPECT_EQ(LabelText(e, At(23, 0)), "a");
    EXPECT_EQ(LabelText(e, At(kSheetB - 7, 0)), "low in A");
    EXPECT_EQ(LabelText(e, At(kSheetB + 5, 0)), "b");
    EXPECT_EQ(NamedRange("INB"), Rect(kSheetB + 100, 0, kSheetB + 110, 1));
    EXPECT_EQ(NamedRange("INA"), Rect(23, 0, 33, 0));
    EXPECT_EQ(NamedRange("ENDA"), Rect(kSheetB - 3, 0, kSheetB - 1, 0));
    EXPECT_EQ(e.Cur->Layout.RowHeights[33], 25);
    EXPECT_EQ(e.Cur->Layout.RowHeights[kSheetB], 33);
    ExpectWellFormed();

    DeleteRows(e, 10, 5);
    EXPECT_EQ(LabelText(e, At(18, 0)), "a");
    EXPECT_EQ(LabelText(e, At(kSheetB + 5, 0)), "b");
    EXPECT_EQ(NamedRange("INB"), Rect(kSheetB + 100, 0, kSheetB + 110, 1));
    EXPECT_EQ(NamedRange("INA"), Rect(18, 0, 28, 0));
    EXPECT_EQ(e.Cur->Layout.RowHeights[kSheetB - 1], SheetLayout::kDefaultRowHeight);
    EXPECT_EQ(e.Cur->Layout.RowHeights[kSheetB], 33);
    ExpectWellFormed();
}

TEST_F(InsertDeleteSheets, SizesThatDoNotDivideTheWorksheetMeanOneSheet)
{
    for (int rows : {0, 8192, 5000, -4096, 100000}) {
        e.Settings().RowsPerSheet = rows;
        EXPECT_EQ(SheetRowCount(e), kRows) << rows;
    }
    e.Settings().RowsPerSheet = 2048;
    EXPECT_EQ(SheetRowCount(e), 2048);

    e.Settings().RowsPerSheet = 5000;
    EnterAt(4999, 0, "1");
    InsertRows(e, 10, 1);
    ASSERT_NE(At(5000, 0), nullptr);  // moved past the 5000th row
    InsertRowsAcross(e, 10, 1);
    EXPECT_NE(At(5001, 0), nullptr);
}

// ---- Round trips and undo -------------------------------------------------

class InsertDeleteRoundTrip : public InsertDeleteTest {
protected:
    void SetUp() override
    {
        Enter("A1", "label");
        Enter("B1", "2");
        Enter("C1", "3.5");
        Enter("A2", "+B1*C1");
        Enter("B2", "+$B$1+C$1");
        Enter("C2", "@SUM(B1..C1)");
        Enter("A3", "@SUM($A$2..C2)");
        Enter("D4", "+A3-B2");
        Enter("E5", "@MAX(B1..D4)");
        Enter("B6", "^centred");
        Enter("C7", "+E5*$B$1");
        Name("TOTAL", "A3");
        Name("TABLE", "B1..D4");
        e.Cur->DataRanges[0] = Rect(0, 1, 6, 1);
        e.Cur->Graphs.Current.XRange.Set(Rect(1, 0, 4, 2));
        e.Cur->Layout.ColWidths[2] = 120;
        e.Cur->Layout.ColWidths[4] = 30;
        e.Cur->Layout.RowHeights[1] = 24;
        e.Cur->Layout.RowHeights[5] = 12;
    }
};

TEST_F(InsertDeleteRoundTrip, InsertThenDeleteRestoresTheWorksheet)
{
    SheetImage original = Image();
    for (int at = 0; at <= 7; ++at) {
        for (int count : {1, 3}) {
            InsertRows(e, at, count);
            ExpectWellFormed();
            DeleteRows(e, at, count);
            ExpectSame(original, Image());
            InsertColumns(e, at, count);
            ExpectWellFormed();
            DeleteColumns(e, at, count);
            ExpectSame(original, Image());
            if (HasFailure())
                FAIL() << "at " << at << " count " << count;
        }
    }
}

TEST_F(InsertDeleteRoundTrip, UndoAfterADeletionRestoresTheWorksheet)
{
    SheetImage original = Image();
    DeleteRows(e, 1, 2);
    ASSERT_NE(Image().Cells, original.Cells);
    Undo(e);
    ExpectSame(original, Image());

    DeleteColumns(e, 1, 1);
    ASSERT_NE(NamedText("TABLE"), "B1..D4");
    Undo(e);
    ExpectSame(original, Image());
    Enter("B1", "10");  // the restored formulas read their cells again
    EXPECT_EQ(Contents("A2"), "+B1*C1");
    EXPECT_EQ(Value("A2"), 35);
}

// Random small worksheets: inserting rows or columns and deleting the same
// ones gives back exactly what was there, and the heap holds exactly as
// much as before.
TEST_F(InsertDeleteTest, RandomInsertThenDeleteRestoresTheWorksheet)
{
    std::mt19937 rng(20240611);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto ref = [&](int row, int col) {
        std::string s;
        if (pick(4) == 0)
            s += '$';
        s += ColumnLetters(col);
        if (pick(4) == 0)
            s += '$';
        return s + std::to_string(row + 1);
    };

    e.Settings().Undo = false;
    for (int round = 0; round < 40; ++round) {
        FreeAllCells(e);
        FreeRangeNames(e);
        e.Cur->Layout = SheetLayout();
        e.Cur->DataRanges.fill(kUndefinedRange);

        int rows = 2 + pick(10);
        int cols = 1 + pick(6);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                int roll = pick(10);
                if (roll < 4)
                    EnterAt(r, c, std::to_string(pick(200) - 100));
                else if (roll == 4)
                    EnterAt(r, c, "t" + std::to_string(r));
                else if (roll < 7 && r > 0) {
                    int r1 = pick(r), r2 = pick(r), c1 = pick(cols), c2 = pick(cols);
                    std::string f = pick(2) ? "@SUM(" + ref(r1, c1) + ".." + ref(r2, c2) + ")+" + ref(r1, c2)
                                            : "+" + ref(r1, c1) + "*2-" + ref(r2, c2);
                    EnterAt(r, c, f);
                }
            }
            e.Cur->Layout.RowHeights[r] = static_cast<std::uint16_t>(10 + pick(30));
        }
        for (int c = 0; c < cols; ++c)
            e.Cur->Layout.ColWidths[c] = static_cast<std::uint16_t>(20 + pick(100));
        ASSERT_TRUE(SetRangeName(e, "N", Rect(pick(rows), pick(cols), pick(rows + 3), pick(cols + 3))));
        e.Cur->DataRanges[pick(kDataRangeCount)] = Rect(pick(rows), pick(cols), pick(rows), pick(cols));
        SheetImage original = Image();
        std::int64_t bytes = e.Heap.BytesInUse();

        bool byRows = pick(2);
        int at = pick(byRows ? rows + 1 : cols + 1);
        int count = 1 + pick(3);
        SCOPED_TRACE(std::string(byRows ? "rows" : "columns") + " at " + std::to_string(at) + " count " +
                     std::to_string(count) + " round " + std::to_string(round));
        bool moves = byRows ? at <= original.MaxRow : at <= original.MaxCol;
        if (byRows)
            InsertRows(e, at, count);
        else
            InsertColumns(e, at, count);
        ExpectWellFormed();
        if (moves) {
            // A number typed into the new rows or columns reaches every range over them.
            int inside = at + pick(count);
            if (byRows)
                EnterAt(inside, pick(cols), "1000");
            else
                EnterAt(pick(rows), inside, "1000");
            ExpectLinksComplete();
        }
        if (byRows)
            DeleteRows(e, at, count);
        else
            DeleteColumns(e, at, count);
        ExpectWellFormed();
        ExpectSame(original, Image());
        EXPECT_EQ(e.Heap.BytesInUse(), bytes);
        // The formulas still read every cell they name.
        EnterAt(pick(rows), pick(cols), "7");
        ExpectLinksComplete();
        if (HasFailure())
            return;
    }
}

}  // namespace
}  // namespace zt
