#include "formula/cell_contents.h"

#include <gtest/gtest.h>

#include <string>

#include "core/cell_store.h"
#include "formula/compiled_formula.h"
#include "formula/opcodes.h"

namespace zt {
namespace {

class CellContentsTest : public ::testing::Test {
protected:
    CellContentsTest() : e(64) { RestoreContext(e, OpenSheet(e, "T")); }

    // A formula cell at (row, col) holding the code of +target*2.
    PCell TimesTwo(int row, int col, PCell target, CellKind kind)
    {
        std::uint8_t code[12] = {11, 0, opCellRef, 0, 0, 0, 0, opInteger, 2, 0, opMul, opEnd};
        WriteLinkWord(code + 3, MakeLink(e, target, false, true));
        PCell c = FindOrCreateCell(e, row, col);
        c->Kind = kind;
        // Stored as a short string: its length byte is L.
        c->Text = SetText(e, c->Text, std::string_view(reinterpret_cast<const char*>(code) + 1, 11));
        return c;
    }

    Engine e;
};

TEST_F(CellContentsTest, FormulasShowTheirText)
{
    PCell b3 = FindOrCreateCell(e, 2, 1);
    EXPECT_EQ(CellContentsText(e, TimesTwo(0, 0, b3, ckFormula)), "+B$3*2");
    EXPECT_EQ(CellContentsText(e, TimesTwo(0, 1, b3, ckStrFormula)), "+B$3*2");
}

TEST_F(CellContentsTest, ValuesAndLabelsShowWhatWasTyped)
{
    PCell real = FindOrCreateCell(e, 0, 0);
    real->Kind = ckReal;
    WriteReal(*real, 1234567.0);
    EXPECT_EQ(CellContentsText(e, real), "1.234567E+06");
    WriteReal(*real, 0.5);
    e.Settings().Period = ',';
    EXPECT_EQ(CellContentsText(e, real), "0,5");

    PCell integer = FindOrCreateCell(e, 0, 1);
    integer->Kind = ckInteger;
    WriteInteger(*integer, -42);
    EXPECT_EQ(CellContentsText(e, integer), "-42");

    PCell label = FindOrCreateCell(e, 0, 2);
    label->Kind = ckString;
    label->Text = SetText(e, label->Text, "^Title");
    EXPECT_EQ(CellContentsText(e, label), "^Title");

    EXPECT_EQ(CellContentsText(e, FindOrCreateCell(e, 0, 3)), "");
    EXPECT_EQ(CellContentsText(e, nullptr), "");
}

}  // namespace
}  // namespace zt
