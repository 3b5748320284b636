#include "commands/speed_sum.h"

#include "core/undo.h"
#include "tests/commands/command_test_support.h"

namespace zt {
namespace {

class SpeedSumTest : public CommandTest {
protected:
    std::string Formula(std::string_view selection, std::string_view current)
    {
        TRange cur = Range(current);
        return SpeedSumFormula(e, Range(selection), cur.FirstRow, cur.FirstCol);
    }
    void Sum(std::string_view selection, std::string_view current)
    {
        TRange cur = Range(current);
        SpeedSum(e, Range(selection), cur.FirstRow, cur.FirstCol);
    }
};

TEST_F(SpeedSumTest, CurrentCellIsDroppedFromTheEndOfTheLongerSide)
{
    EXPECT_EQ(Formula("A1..A5", "A5"), "@sum(A1..A4)");
    EXPECT_EQ(Formula("A1..A5", "A1"), "@sum(A2..A5)");
    EXPECT_EQ(Formula("A1..E1", "E1"), "@sum(A1..D1)");
    EXPECT_EQ(Formula("A1..E1", "A1"), "@sum(B1..E1)");
    EXPECT_EQ(Formula("A1..C5", "C5"), "@sum(A1..C4)");  // taller: the bottom row goes
    EXPECT_EQ(Formula("A1..E2", "E2"), "@sum(A1..D2)");  // wider: the right column goes
    EXPECT_EQ(Formula("A5..A1", "A5"), "@sum(A1..A4)");
}

TEST_F(SpeedSumTest, SquareSelectionDropsARowBeforeAColumn)
{
    EXPECT_EQ(Formula("A1..C3", "C3"), "@sum(A1..C2)");
    EXPECT_EQ(Formula("A1..C3", "C2"), "@sum(A1..B3)");
    EXPECT_EQ(Formula("A1..C3", "B2"), "");
}

TEST_F(SpeedSumTest, CurrentCellOutsideTheSelectionSumsAllOfIt)
{
    EXPECT_EQ(Formula("A1..A5", "B5"), "@sum(A1..A5)");
    EXPECT_EQ(Formula("B2..C3", "A1"), "@sum(B2..C3)");
}

TEST_F(SpeedSumTest, NoFormulaForASingleCellOrACurrentCellInTheMiddle)
{
    EXPECT_EQ(Formula("A1", "A1"), "");
    EXPECT_EQ(Formula("A1", "B1"), "");
    EXPECT_EQ(Formula("A1..A5", "A3"), "");
    EXPECT_EQ(Formula("A1..C5", "B5"), "@sum(A1..C4)");
    EXPECT_EQ(Formula("A1..C5", "C3"), "");
}

TEST_F(SpeedSumTest, EntersTheSumAtTheBottomOfAColumn)
{
    Enter("A1", "1");
    Enter("A2", "2");
    Enter("A3", "3");
    Sum("A1..A4", "A4");
    EXPECT_EQ(Contents("A4"), "@SUM(A1..A3)");
    EXPECT_EQ(Value("A4"), 6);
    Enter("A2", "20");
    EXPECT_EQ(Value("A4"), 24);
    EXPECT_EQ(notify.Beeps(), 0);
}

TEST_F(SpeedSumTest, NothingToSumOnlyBeeps)
{
    Enter("A1", "1");
    Sum("A1", "A1");
    Sum("A1..A3", "A2");
    EXPECT_EQ(notify.Beeps(), 2);
    EXPECT_EQ(Value("A1"), 1);
    EXPECT_EQ(Cell("A2"), nullptr);
}

TEST_F(SpeedSumTest, UndoRemovesTheSum)
{
    Enter("B1", "4");
    Enter("B2", "5");
    Sum("B1..B3", "B3");
    ASSERT_EQ(Value("B3"), 9);
    Undo(e);
    EXPECT_EQ(Contents("B3"), "");
}

TEST_F(SpeedSumTest, ProtectedCurrentCellIsReported)
{
    Enter("A1", "1");
    e.Settings().Protect = true;
    Sum("A1..A2", "A2");
    EXPECT_EQ(notify.LastMessage(), "Error:Protected Cell");
    EXPECT_EQ(Cell("A2"), nullptr);
}

}  // namespace
}  // namespace zt
