#include "core/cell_text.h"

#include <gtest/gtest.h>

#include <string>

#include "core/cell_store.h"

namespace zt {
namespace {

// Every formula reads back as the same text.
class FixedFormulaText : public FormulaHooks {
public:
    std::string FormulaToText(Engine&, PCell) override { return "+A1*2"; }
};

constexpr std::string_view kCompiledFormula = "\x02\x01\x03";

class CellTextTest : public ::testing::Test {
protected:
    CellTextTest() : e(64)
    {
        e.Formula = std::make_unique<FixedFormulaText>();
        RestoreContext(e, OpenSheet(e, "T"));
        e.Cur->Layout.ColWidths.fill(48);  // 8 characters a column
    }

    PCell Label(int row, int col, std::string_view text)
    {
        PCell c = FindOrCreateCell(e, row, col);
        c->Kind = ckString;
        c->Text = SetText(e, c->Text, text);
        return c;
    }

    PCell Real(int row, int col, double v, std::uint8_t format = 0x71)
    {
        PCell c = FindOrCreateCell(e, row, col);
        c->Kind = ckReal;
        c->Format = format;
        WriteReal(*c, v);
        return c;
    }

    PCell Integer(int row, int col, std::int16_t v, std::uint8_t format = 0x71)
    {
        PCell c = FindOrCreateCell(e, row, col);
        c->Kind = ckInteger;
        c->Format = format;
        WriteInteger(*c, v);
        return c;
    }

    PCell Formula(int row, int col, double v, std::uint8_t format = 0x71)
    {
        PCell c = Real(row, col, v, format);
        c->Kind = ckFormula;
        c->Text = SetText(e, c->Text, kCompiledFormula);
        return c;
    }

    PCell StringFormula(int row, int col, std::string_view result)
    {
        PCell c = FindOrCreateCell(e, row, col);
        c->Kind = ckStrFormula;
        c->Text = SetText(e, c->Text, kCompiledFormula);
        WriteStrResult(*c, result.empty() ? 0 : SetText(e, 0, result));
        return c;
    }

    PCell ErrorFormula(int row, int col, std::uint8_t format = 0x71)
    {
        PCell c = Formula(row, col, -1.0, format);
        c->Kind |= kfError;
        return c;
    }

    std::string Row(int row, int first, int last) { return RenderRow(e, row, first, last); }

    Engine e;
};

TEST_F(CellTextTest, CellTextOfMissingAndBlankCellsIsEmpty)
{
    EXPECT_EQ(CellText(e, nullptr), "");
    EXPECT_EQ(CellText(e, FindOrCreateCell(e, 0, 0)), "");
}

TEST_F(CellTextTest, CellTextOfLabelsKeepsThePrefix)
{
    EXPECT_EQ(CellText(e, Label(0, 0, "^Title")), "^Title");
    EXPECT_EQ(CellText(e, Label(0, 1, "'")), "'");
}

TEST_F(CellTextTest, CellTextOfStringFormulasUsesTheDefaultPrefix)
{
    PCell c = StringFormula(0, 0, "xyz");
    EXPECT_EQ(CellText(e, c), "'xyz");
    e.Settings().Prefix = '"';
    EXPECT_EQ(CellText(e, c), "\"xyz");
    EXPECT_EQ(CellText(e, StringFormula(0, 1, "")), "\"");
}

TEST_F(CellTextTest, CellTextOfNumbersUsesTheStoredFormatAtWidthTwenty)
{
    e.Settings().DefaultFormat = 0x02;
    EXPECT_EQ(CellText(e, Integer(0, 0, 42, 0xFF)), "42 ");  // default format not substituted
    EXPECT_EQ(CellText(e, Real(0, 1, 1234.567, 0x82)), "1234.57 ");
    EXPECT_EQ(CellText(e, Formula(0, 2, 0.5, 0x31)), "50.0%");
    EXPECT_EQ(CellText(e, Real(0, 3, 0.0000123456789012345)), "0.00001234567890123 ");
}

TEST_F(CellTextTest, CellTextOfAnErrorIsErr)
{
    EXPECT_EQ(CellText(e, ErrorFormula(0, 0)), "ERR");
}

TEST_F(CellTextTest, LabelTextDropsThePrefix)
{
    EXPECT_EQ(LabelText(e, Label(0, 0, "'abc")), "abc");
    EXPECT_EQ(LabelText(e, Label(0, 1, "\"")), "");
    EXPECT_EQ(LabelText(e, StringFormula(0, 2, "xyz")), "xyz");
    EXPECT_EQ(LabelText(e, StringFormula(0, 3, "")), "");
}

TEST_F(CellTextTest, LabelTextOfOtherCellsIsEmpty)
{
    EXPECT_EQ(LabelText(e, nullptr), "");
    EXPECT_EQ(LabelText(e, Real(0, 0, 5)), "");
    EXPECT_EQ(LabelText(e, Formula(0, 1, 5)), "");
    EXPECT_EQ(LabelText(e, ErrorFormula(0, 2)), "");
}

TEST_F(CellTextTest, RenderNumbersRightAlignedInTheirColumn)
{
    Integer(0, 0, 42);
    Real(0, 1, -7, 0x02);
    Real(0, 2, 1234.5678);  // General is cut to the column
    EXPECT_EQ(Row(0, 0, 2), "     42 " "  -7.00 " "1234.56 ");
}

TEST_F(CellTextTest, RenderNumberTooWideAsStars)
{
    Real(0, 0, 123456789);
    Real(0, 1, 1234567.5, 0x42);
    Real(0, 2, 99999.5, 0x01);
    EXPECT_EQ(Row(0, 0, 2), "********" "********" "99999.5 ");
}

TEST_F(CellTextTest, RenderPlusMinusLeftAligned)
{
    Integer(0, 0, 3, 0x70);
    Integer(0, 1, -2, 0x70);
    Integer(0, 2, 20, 0x70);
    EXPECT_EQ(Row(0, 0, 2), "+++     " "--      " "********");
}

TEST_F(CellTextTest, RenderErrorCellsAsErr)
{
    ErrorFormula(0, 0);
    ErrorFormula(0, 1, 0x75);
    EXPECT_EQ(Row(0, 0, 1), "    ERR " "    ERR ");
}

TEST_F(CellTextTest, RenderDefaultFormatFromTheWorksheet)
{
    e.Settings().DefaultFormat = 0x02;
    Real(0, 0, 3.14159, 0xFF);
    Real(0, 1, 3.14159, 0x7F);
    EXPECT_EQ(Row(0, 0, 1), "   3.14 " "   3.14 ");
}

TEST_F(CellTextTest, RenderHiddenAndSuppressedZerosAsNothing)
{
    Real(0, 0, 12.5, 0x76);
    Label(0, 1, "'hidden")->Format = 0x76;
    Integer(0, 2, 0);
    EXPECT_EQ(Row(0, 0, 2), "        " "        " "      0 ");
    e.Settings().ZeroSuppress = true;
    EXPECT_EQ(Row(0, 0, 2), std::string(24, ' '));
}

TEST_F(CellTextTest, RenderLabelPlacementByPrefix)
{
    Label(0, 0, "'abc");
    Label(0, 1, "\"abc");
    Label(0, 2, "^abc");
    EXPECT_EQ(Row(0, 0, 2), "abc     " "    abc " "  abc   ");
}

TEST_F(CellTextTest, RenderRepeatingLabelsFillTheColumn)
{
    Label(0, 0, "\\-");
    Label(0, 1, "\\ab");
    Label(0, 2, "\\");
    EXPECT_EQ(Row(0, 0, 2), "--------" "aaaaaaaa" "        ");
}

TEST_F(CellTextTest, RenderDotLeadersAndTrailers)
{
    Label(0, 0, "\xAE" "abc");
    Label(0, 1, "\xAF" "abc");
    Label(0, 2, "\xAE" "abcdefghij");
    EXPECT_EQ(Row(0, 0, 2), "....abc " "abc.... " "abcdefgh");
}

TEST_F(CellTextTest, RenderRowMarkerLabelsAsNothing)
{
    Label(0, 0, "|abc");
    EXPECT_EQ(Row(0, 0, 0), "        ");
}

TEST_F(CellTextTest, RenderStringFormulaPlacedByTheDefaultPrefix)
{
    StringFormula(0, 0, "abc");
    EXPECT_EQ(Row(0, 0, 0), "abc     ");
    e.Settings().Prefix = '"';
    EXPECT_EQ(Row(0, 0, 0), "    abc ");
}

TEST_F(CellTextTest, RenderLongLabelRunsOnUntilACellShowsText)
{
    Label(0, 0, "'This is a long label");
    Integer(0, 2, 5);
    EXPECT_EQ(Row(0, 0, 3), "This is " "a long l" "      5 " "        ");
}

TEST_F(CellTextTest, RenderLongLabelRunsOverBlankHiddenAndEmptyCells)
{
    Label(0, 0, "'0123456789012345678901");
    FindOrCreateCell(e, 0, 1);
    Real(0, 2, 7, 0x76);
    EXPECT_EQ(Row(0, 0, 3), "01234567" "89012345" "678901  " "        ");
}

TEST_F(CellTextTest, RenderLabelOverwrittenByTheNextLabel)
{
    Label(0, 0, "'0123456789");
    Label(0, 1, "^ab");
    EXPECT_EQ(Row(0, 0, 1), "01234567" "   ab   ");
}

TEST_F(CellTextTest, RenderWideRightOrCentredLabelStartsAtItsColumn)
{
    Label(0, 1, "\"0123456789");
    Label(0, 3, "^abcdefghijk");
    EXPECT_EQ(Row(0, 0, 4), "        " "01234567" "89      " "abcdefgh" "ijk     ");
}

TEST_F(CellTextTest, RenderTextFormatShowsFormulasAsText)
{
    Formula(0, 0, 3, 0x75);
    StringFormula(0, 1, "abc")->Format = 0x75;
    Real(0, 2, 1234.5, 0x75);
    EXPECT_EQ(Row(0, 0, 2), "+A1*2   " "+A1*2   " " 1234.5 ");
}

TEST_F(CellTextTest, RenderLineCoversTheColumnsAsked)
{
    e.Cur->Layout.ColWidths[1] = 80;  // 12 characters
    Label(0, 0, "'left of the range");
    Label(0, 2, "'this text is cut at the end of the line");
    EXPECT_EQ(Row(0, 1, 2), "            " "this tex");
    EXPECT_EQ(Row(1, 0, 1), std::string(20, ' '));
}

TEST_F(CellTextTest, RenderEmptyWhenTheRangeIsEmpty)
{
    Integer(0, 0, 1);
    EXPECT_EQ(Row(0, 1, 0), "");
    EXPECT_EQ(Row(0, 256, 300), "");
    EXPECT_EQ(Row(-1, 0, 0), "        ");
    EXPECT_EQ(Row(0, 255, 400), "        ");
}

}  // namespace
}  // namespace zt
