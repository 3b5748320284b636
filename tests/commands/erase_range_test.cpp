#include "commands/erase_range.h"

#include "core/undo.h"
#include "tests/commands/command_test_support.h"

namespace zt {
namespace {

class EraseRangeTest : public CommandTest {};

TEST_F(EraseRangeTest, ClearsContentsAndKeepsFormatsAndAttributes)
{
    Enter("A1", "5");
    Enter("B1", "label");
    Enter("C1", "+A1*2");
    Enter("D1", "7");
    PCell a1 = Cell("A1");
    a1->Format = 0x02;
    a1->Style = 0x21;
    a1->Colors = 0x00FF00;
    e.Cur->Modified = false;

    EraseRange(e, Range("C1..A1"));  // corners in either order

    for (const char* addr : {"A1", "B1", "C1"}) {
        ASSERT_NE(Cell(addr), nullptr) << addr;
        EXPECT_EQ(Kind(addr), ckBlank) << addr;
        EXPECT_EQ(Cell(addr)->Text, 0u) << addr;
        EXPECT_EQ(Contents(addr), "") << addr;
    }
    EXPECT_EQ(Cell("A1")->Format, 0x02);
    EXPECT_EQ(Cell("A1")->Style, 0x21);
    EXPECT_EQ(Cell("A1")->Colors, 0x00FF00u);
    EXPECT_EQ(Value("D1"), 7);
    EXPECT_TRUE(e.Cur->Modified);
}

TEST_F(EraseRangeTest, ProtectedCellsStayOnlyWhileProtectionIsOn)
{
    Enter("A1", "1");
    Enter("A2", "2");
    Enter("A3", "3");
    Cell("A1")->Format &= kFormatCodeMask;  // unprotected
    ASSERT_TRUE(Cell("A2")->Format & kFormatProtected);

    e.Settings().Protect = true;
    EraseRange(e, Range("A1..A2"));
    EXPECT_EQ(Kind("A1"), ckBlank);
    EXPECT_EQ(Value("A2"), 2);
    EXPECT_EQ(notify.Messages(), 0);

    e.Settings().Protect = false;
    EraseRange(e, Range("A2..A3"));
    EXPECT_EQ(Kind("A2"), ckBlank);
    EXPECT_EQ(Kind("A3"), ckBlank);
}

TEST_F(EraseRangeTest, FormulasReadingTheRangeRecalculate)
{
    Enter("A1", "5");
    Enter("A2", "6");
    Enter("B1", "+A1*2");
    Enter("B2", "@SUM(A1..A2)");
    Enter("B3", "+B1+1");
    EraseRange(e, Range("A1..A1"));
    EXPECT_EQ(Value("B1"), 0);
    EXPECT_EQ(Value("B2"), 6);
    EXPECT_EQ(Value("B3"), 1);
}

TEST_F(EraseRangeTest, ManualRecalculationLeavesDependentsAlone)
{
    Enter("A1", "5");
    Enter("B1", "+A1*2");
    e.Settings().ManualCalc = true;
    EraseRange(e, Range("A1"));
    EXPECT_EQ(Kind("A1"), ckBlank);
    EXPECT_EQ(Value("B1"), 10);
}

TEST_F(EraseRangeTest, ErasedFormulaLeavesTheDependentsOfItsCells)
{
    Enter("A1", "5");
    Enter("B1", "+A1*2");
    ASSERT_NE(Cell("A1")->Dependents, 0u);
    EraseRange(e, Range("B1"));
    EXPECT_EQ(Cell("A1")->Dependents, 0u);
}

TEST_F(EraseRangeTest, UndoBringsTheCellsBack)
{
    Enter("A1", "5");
    Enter("A2", "text");
    Enter("B1", "+A1*2");
    EraseRange(e, Range("A1..B2"));
    ASSERT_EQ(Kind("A1"), ckBlank);
    Undo(e);
    EXPECT_EQ(Value("A1"), 5);
    EXPECT_EQ(Contents("A2"), "'text");
    EXPECT_EQ(Contents("B1"), "+A1*2");
    EXPECT_EQ(Value("B1"), 10);
    Enter("A1", "7");
    EXPECT_EQ(Value("B1"), 14);  // the restored formula is linked again
}

}  // namespace
}  // namespace zt
