#include "commands/speed_fill.h"

#include <vector>

#include "core/undo.h"
#include "tests/commands/command_test_support.h"

namespace zt {
namespace {

class SpeedFillTest : public CommandTest {
protected:
    // The edit-line texts of a range, row by row.
    std::vector<std::string> Texts(std::string_view range)
    {
        TRange r = Range(range);
        std::vector<std::string> texts;
        for (int row = r.FirstRow; row <= r.LastRow; ++row)
            for (int col = r.FirstCol; col <= r.LastCol; ++col)
                texts.push_back(CellContentsText(e, FindCell(e, row, col)));
        return texts;
    }
};

TEST_F(SpeedFillTest, OneLetterContinuesInColumnLetterOrderRowByRow)
{
    Enter("B2", "A");
    SpeedFill(e, Range("B2..E4"));
    EXPECT_EQ(Texts("B2..E4"), (std::vector<std::string>{"'A", "'B", "'C", "'D", "'E", "'F", "'G", "'H", "'I",
                                                         "'J", "'K", "'L"}));
    EXPECT_EQ(Kind("E4"), ckString);
}

TEST_F(SpeedFillTest, LettersGoOnPastZAndKeepTheirCase)
{
    Enter("A1", "^Y");
    Enter("A2", "y");
    SpeedFill(e, Range("A1..D1"));
    SpeedFill(e, Range("A2..D2"));
    EXPECT_EQ(Texts("A1..D1"), (std::vector<std::string>{"^Y", "'Z", "'AA", "'AB"}));
    EXPECT_EQ(Texts("A2..D2"), (std::vector<std::string>{"'y", "'z", "'aa", "'ab"}));
}

TEST_F(SpeedFillTest, OtherLabelsAreCopied)
{
    Enter("A1", "ab");
    Enter("A2", "*");
    SpeedFill(e, Range("A1..C1"));
    SpeedFill(e, Range("A2..B2"));
    EXPECT_EQ(Texts("A1..C2"), (std::vector<std::string>{"'ab", "'ab", "'ab", "'*", "'*", ""}));
}

TEST_F(SpeedFillTest, FormulaCopiedDownAdjustsItsReference)
{
    for (int i = 1; i <= 4; ++i)
        Enter("A" + std::to_string(i), std::to_string(10 * i));
    Enter("B1", "+A1");
    SpeedFill(e, Range("B1..B4"));
    EXPECT_EQ(Texts("B1..B4"), (std::vector<std::string>{"+A1", "+A2", "+A3", "+A4"}));
    EXPECT_EQ(Value("B4"), 40);
    Enter("A3", "7");
    EXPECT_EQ(Value("B3"), 7);
}

TEST_F(SpeedFillTest, NumberCountsOnAlongAOneWideSelection)
{
    Enter("A1", "5");
    Enter("C1", "-2");
    SpeedFill(e, Range("A1..A4"));
    SpeedFill(e, Range("C1..E1"));
    EXPECT_EQ(Texts("A1..A4"), (std::vector<std::string>{"5", "6", "7", "8"}));
    EXPECT_EQ(Texts("C1..E1"), (std::vector<std::string>{"-2", "-1", "0"}));
    EXPECT_EQ(Kind("A4"), ckInteger);
}

TEST_F(SpeedFillTest, NumberSequenceRunsOnAlongTheLongerSide)
{
    Enter("A1", "1");
    SpeedFill(e, Range("A1..B3"));  // taller: down A, then on down B
    EXPECT_EQ(Texts("A1..B3"), (std::vector<std::string>{"1", "4", "2", "5", "3", "6"}));
    Enter("D1", "1");
    SpeedFill(e, Range("D1..F2"));  // wider: across row 1, then row 2
    EXPECT_EQ(Texts("D1..F2"), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
}

TEST_F(SpeedFillTest, FractionalStartKeepsItsFraction)
{
    Enter("A1", "0.25");
    SpeedFill(e, Range("A1..A3"));
    EXPECT_EQ(Value("A3"), 2.25);
    EXPECT_EQ(Kind("A3"), ckReal);
}

TEST_F(SpeedFillTest, FormulasReadingTheFilledCellsRecalculate)
{
    Enter("A1", "1");
    Enter("B1", "@SUM(A1..A4)");
    SpeedFill(e, Range("A1..A4"));
    EXPECT_EQ(Value("B1"), 10);
}

TEST_F(SpeedFillTest, ProtectedCellsAreSkipped)
{
    Enter("A1", "1");
    Enter("A2", "x");
    Enter("A3", "y");
    Enter("B1", "K");
    Enter("C1", "5");
    Enter("D1", "6");
    Cell("A1")->Format &= kFormatCodeMask;
    Cell("A3")->Format &= kFormatCodeMask;
    Cell("D1")->Format &= kFormatCodeMask;
    e.Settings().Protect = true;
    SpeedFill(e, Range("A1..A4"));
    SpeedFill(e, Range("B1..D1"));
    EXPECT_EQ(Texts("A1..A4"), (std::vector<std::string>{"1", "'x", "3", ""}));
    EXPECT_EQ(Texts("B1..D1"), (std::vector<std::string>{"'K", "5", "'M"}));
    EXPECT_EQ(notify.Messages(), 0);
}

TEST_F(SpeedFillTest, EmptyFirstCellOnlyBeeps)
{
    Enter("A2", "9");
    SpeedFill(e, Range("A1..A3"));
    EXPECT_EQ(notify.Beeps(), 1);
    EXPECT_EQ(Texts("A1..A3"), (std::vector<std::string>{"", "9", ""}));
}

TEST_F(SpeedFillTest, UndoGoesBackToBeforeTheFill)
{
    Enter("A1", "5");
    Enter("A3", "old");
    SpeedFill(e, Range("A1..A3"));
    ASSERT_EQ(Value("A3"), 7);
    Undo(e);
    EXPECT_EQ(Texts("A1..A3"), (std::vector<std::string>{"5", "", "'old"}));
}

}  // namespace
}  // namespace zt
