#include "commands/copy_values.h"

#include "core/undo.h"
#include "tests/commands/command_test_support.h"

namespace zt {
namespace {

class CopyValuesTest : public CommandTest {
protected:
    bool CopyAs(int type, std::string_view from, std::string_view to, double factor = 1)
    {
        return CopyValues(e, type, Range(from), Range(to), factor);
    }
};

TEST_F(CopyValuesTest, ValuesReplaceFormulasAndLabelsStayLabels)
{
    Enter("A1", "2");
    Enter("A2", "+A1*3");
    Enter("A3", "^mid");
    Enter("A4", "+\"12\"");
    Enter("A5", "+\"word\"&\"s\"");
    ASSERT_TRUE(CopyAs(kCopyValue, "A1..A5", "C1"));
    EXPECT_EQ(Contents("C2"), "6");
    EXPECT_EQ(Kind("C2"), ckInteger);
    EXPECT_EQ(Contents("C3"), "^mid");
    // A string result is entered as typed: digits become a number.
    EXPECT_EQ(Kind("C4"), ckInteger);
    EXPECT_EQ(Contents("C5"), "'words");
    Enter("A1", "5");
    EXPECT_EQ(Value("C2"), 6);
}

TEST_F(CopyValuesTest, ScaleInvertAndTranspose)
{
    Enter("A1", "4");
    Enter("B1", "0");
    Enter("A2", "-8");
    ASSERT_TRUE(CopyAs(kCopyScale, "A1..B2", "D1", 2.5));
    EXPECT_EQ(Value("D1"), 10);
    EXPECT_EQ(Value("D2"), -20);
    ASSERT_TRUE(CopyAs(kCopyInvert, "A1..B2", "G1"));
    EXPECT_EQ(Value("G1"), 0.25);
    EXPECT_EQ(Contents("H1"), "@ERR");
    EXPECT_TRUE(HasError(Cell("H1")));
    EXPECT_EQ(Value("G2"), -0.125);
    ASSERT_TRUE(CopyAs(kCopyTranspose, "A1..B2", "J1"));
    EXPECT_EQ(Value("J1"), 4);
    EXPECT_EQ(Value("K1"), -8);
    EXPECT_EQ(Value("J2"), 0);
    EXPECT_EQ(Cell("K2"), nullptr);
}

TEST_F(CopyValuesTest, FormulaCopyKeepsTheTextAndTakesTheAttributes)
{
    Enter("A1", "+B1");
    Enter("B1", "3");
    Cell("A1")->Format = 0x22;
    Cell("A1")->Colors = 0x01020304;
    Cell("A1")->Style = 1;
    ASSERT_TRUE(CopyAs(kCopyFormula, "A1", "A5"));
    EXPECT_EQ(Contents("A5"), "+B1");
    EXPECT_EQ(Value("A5"), 3);
    EXPECT_EQ(Cell("A5")->Format, 0x22);
    EXPECT_EQ(Cell("A5")->Colors, 0x01020304u);
    EXPECT_EQ(Cell("A5")->Style, 1);
}

TEST_F(CopyValuesTest, ASingleCellFillsTheWholeDestination)
{
    Enter("A1", "7");
    ASSERT_TRUE(CopyAs(kCopyValue, "A1", "C1..D3"));
    EXPECT_EQ(Value("C1"), 7);
    EXPECT_EQ(Value("D3"), 7);
    ASSERT_TRUE(CopyAs(kCopyValue, "Z9", "C1..D3"));
    EXPECT_EQ(Value("D3"), 7);
}

TEST_F(CopyValuesTest, ABlockThatDoesNotFitCopiesNothing)
{
    Enter("A1", "1");
    Enter("A3", "3");
    EXPECT_FALSE(CopyAs(kCopyValue, "A1..A3", "B8191"));
    EXPECT_EQ(notify.LastMessage(), "Error:Copy Error");
    EXPECT_EQ(Cell("B8191"), nullptr);
    EXPECT_FALSE(CopyAs(kCopyTranspose, "A1..A3", "IU1"));
    EXPECT_EQ(Cell("IU1"), nullptr);
    EXPECT_TRUE(CopyAs(kCopyTranspose, "A1..A3", "IT1"));
    EXPECT_EQ(Value("IV1"), 3);
}

TEST_F(CopyValuesTest, OverlappingRangesCopyWhatWasThere)
{
    Enter("A1", "1");
    Enter("B1", "2");
    Enter("A2", "3");
    Enter("B2", "4");
    ASSERT_TRUE(CopyAs(kCopyTranspose, "A1..B2", "A1"));
    EXPECT_EQ(Value("B1"), 3);
    EXPECT_EQ(Value("A2"), 2);
    ASSERT_TRUE(CopyAs(kCopyValue, "A1..B2", "B2"));
    EXPECT_EQ(Value("B2"), 1);
    EXPECT_EQ(Value("C3"), 4);
    EXPECT_EQ(Value("B3"), 2);
}

TEST_F(CopyValuesTest, ProtectedDestinationsAreSkippedAndUndoRestores)
{
    Enter("A1", "1");
    Enter("A2", "2");
    Enter("C1", "9");
    Cell("C1")->Format |= kFormatProtected;
    FindOrCreateCell(e, 1, 2)->Format &= ~kFormatProtected;
    e.Settings().Protect = true;
    ASSERT_TRUE(CopyAs(kCopyScale, "A1..A2", "C1", 10));
    EXPECT_EQ(Value("C1"), 9);
    EXPECT_EQ(Value("C2"), 20);
    e.Settings().Protect = false;
    Undo(e);
    EXPECT_EQ(Cell("C2")->Kind & 7, ckBlank);
}

}  // namespace
}  // namespace zt
