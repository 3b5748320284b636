#include "commands/copy_cell.h"

#include "formula/recalc.h"
#include "tests/commands/command_test_support.h"

namespace zt {
namespace {

class CopyCellTest : public CommandTest {
protected:
    bool Copy(std::string_view from, std::string_view to)
    {
        TRange f = Range(from), t = Range(to);
        bool ok = CopyCell(e, f.FirstRow, f.FirstCol, t.FirstRow, t.FirstCol);
        RecalcRange(e, t);
        return ok;
    }
};

TEST_F(CopyCellTest, RelativeReferencesKeepOffsetsAbsoluteOnesTargets)
{
    Enter("A1", "+B1+$C$1+B$1+$C1");
    ASSERT_TRUE(Copy("A1", "B4"));
    EXPECT_EQ(Contents("B4"), "+C4+$C$1+C$1+$C4");
    EXPECT_EQ(Contents("A1"), "+B1+$C$1+B$1+$C1");
}

TEST_F(CopyCellTest, RangesInFunctionsAreRebased)
{
    Enter("A4", "@SUM(A1..A3)");
    ASSERT_TRUE(Copy("A4", "C4"));
    EXPECT_EQ(Contents("C4"), "@SUM(C1..C3)");
}

TEST_F(CopyCellTest, CopiedFormulaFollowsItsNewCells)
{
    Enter("A1", "+B1*2");
    Enter("B1", "3");
    Enter("B5", "4");
    ASSERT_TRUE(Copy("A1", "A5"));
    EXPECT_EQ(Value("A5"), 8);
    Enter("B5", "10");
    EXPECT_EQ(Value("A5"), 20);
    Enter("B1", "1");
    EXPECT_EQ(Value("A1"), 2);
    EXPECT_EQ(Value("A5"), 20);
}

TEST_F(CopyCellTest, AReferenceAboveRowOneWrapsToTheLastRow)
{
    Enter("A2", "+A1");
    ASSERT_TRUE(Copy("A2", "A1"));
    EXPECT_EQ(Contents("A1"), "+A8192");
}

TEST_F(CopyCellTest, ValuesLabelsAndAttributesAreCopied)
{
    Enter("A1", "\"right");
    Enter("A2", "2.5");
    PCell a1 = Cell("A1");
    a1->Format = 0x12;
    a1->Typeface = 3;
    a1->FontSize = 14;
    a1->Style = 0x21;
    a1->Borders = 0x55;
    a1->Colors = 0x0300FF00;
    ASSERT_TRUE(Copy("A1", "C1"));
    ASSERT_TRUE(Copy("A2", "C2"));

    PCell c1 = Cell("C1");
    EXPECT_EQ(Contents("C1"), "\"right");
    EXPECT_NE(c1->Text, a1->Text);  // a text of its own
    EXPECT_EQ(c1->Format, 0x12);
    EXPECT_EQ(c1->Typeface, 3);
    EXPECT_EQ(c1->FontSize, 14);
    EXPECT_EQ(c1->Style, 0x21);
    EXPECT_EQ(c1->Borders, 0x55);
    EXPECT_EQ(c1->Colors, 0x0300FF00u);
    EXPECT_EQ(Kind("C2"), ckReal);
    EXPECT_EQ(Value("C2"), 2.5);
}

TEST_F(CopyCellTest, StringFormulaCopyHasItsOwnResult)
{
    Enter("B1", "abc");
    Enter("A1", "+B1&\"!\"");
    Enter("B2", "xyz");
    ASSERT_TRUE(Copy("A1", "A2"));
    ASSERT_EQ(Kind("A2"), ckStrFormula);
    EXPECT_EQ(TextOf(e, ReadStrResult(*Cell("A2"))), "xyz!");
    EXPECT_EQ(TextOf(e, ReadStrResult(*Cell("A1"))), "abc!");
    Enter("A1", "");
    EXPECT_EQ(TextOf(e, ReadStrResult(*Cell("A2"))), "xyz!");
}

TEST_F(CopyCellTest, StringFormulaCopyOwnsItsResultBeforeAnyRecalculation)
{
    Enter("B1", "abc");
    Enter("A1", "+B1&\"!\"");
    ASSERT_TRUE(CopyCell(e, 0, 0, 4, 0));
    HeapAddr copy = ReadStrResult(*Cell("A5"));
    ASSERT_NE(copy, 0u);
    EXPECT_NE(copy, ReadStrResult(*Cell("A1")));
    EXPECT_EQ(TextOf(e, copy), "abc!");
    Enter("A1", "1");
    EXPECT_EQ(TextOf(e, ReadStrResult(*Cell("A5"))), "abc!");
}

TEST_F(CopyCellTest, AMissingSourceClearsTheDestination)
{
    Enter("B1", "5");
    Cell("B1")->Format = 0x02;
    ASSERT_TRUE(Copy("A1", "B1"));
    EXPECT_EQ(Kind("B1"), ckBlank);
    EXPECT_EQ(Cell("B1")->Format, 0x02);
    ASSERT_TRUE(Copy("A1", "C1"));
    EXPECT_EQ(Cell("C1"), nullptr);
}

TEST_F(CopyCellTest, ProtectedDestinationsAreLeftAlone)
{
    Enter("A1", "1");
    Enter("B1", "2");
    Enter("B2", "3");
    Cell("B2")->Format &= kFormatCodeMask;
    e.Settings().Protect = true;
    EXPECT_TRUE(Copy("A1", "B1"));
    EXPECT_TRUE(Copy("A1", "B2"));
    EXPECT_TRUE(Copy("A1", "B3"));
    EXPECT_EQ(Value("B1"), 2);
    EXPECT_EQ(Value("B2"), 1);
    EXPECT_EQ(Cell("B3"), nullptr);  // no cell: protected under protection
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(CopyCellTest, ADestinationOffTheWorksheetIsACopyError)
{
    Enter("A1", "1");
    EXPECT_FALSE(CopyCell(e, 0, 0, 0, kCols));
    EXPECT_EQ(notify.LastMessage(), "Error:Copy Error");
    EXPECT_TRUE(e.Err.ErrorFlag);
}

}  // namespace
}  // namespace zt

namespace zt {
namespace {

// Freeing a run of cells relinks the formulas that read them; a formula
// that reads a freed cell directly and its neighbours through a range puts
// a new cell into the run, which must be freed too, not lost from the row.
TEST_F(CopyCellTest, FreeingARunFreesTheCellsItsReadersRecreate)
{
    e.Settings().Undo = false;
    std::int64_t empty = e.Heap.BytesInUse();
    for (const char* a : {"A1", "B1", "C1", "D1", "E1"})
        Enter(a, "1");
    Enter("F1", "+C1+@SUM(A1..E1)");
    FreeRun(e, 0, 1, 3);
    std::vector<int> cols;
    for (PCell c = FindFirstAtOrAfter(e, 0, 0); c; c = NextCell(e, c))
        cols.push_back(c->Col);
    EXPECT_EQ(cols, (std::vector<int>{0, 4, 5}));
    EXPECT_TRUE(HasError(Cell("F1")));
    FreeAllCells(e);
    EXPECT_EQ(e.Heap.BytesInUse(), empty);
}

}  // namespace
}  // namespace zt
