#include "macro/macro_translation.h"

#include <gtest/gtest.h>

#include <string>

#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "formula/formula_engine.h"
#include "macro/macro_codes.h"

namespace zt {
namespace {

const std::string kEnter(1, kMacroKeyEnter);
const std::string kSyntaxError{kMacroCommandMarker, kMacroSyntaxError};

std::string Cmd(std::string_view command) { return kMacroCommandMarker + std::string(command); }
std::string Keys(int n, char key) { return std::string(n, key); }

class MacroTranslation : public ::testing::Test {
protected:
    MacroTranslation() : e(256)
    {
        InstallFormulaEngine(e);
        RestoreContext(e, OpenSheet(e, "T"));
    }

    std::string Translate(std::string_view text, char separator = ',')
    {
        return TranslateMacroText(e, text, separator);
    }

    Engine e;
};

TEST_F(MacroTranslation, KeystrokesAndKeyNames)
{
    EXPECT_EQ(Translate("abc~"), "abc" + kEnter);
    EXPECT_EQ(Translate("{D}"), Keys(1, kMacroKeyDown));
    EXPECT_EQ(Translate("{down}x{UP}"), Keys(1, kMacroKeyDown) + "x" + Keys(1, kMacroKeyUp));
    EXPECT_EQ(Translate("{HOME}{CALC}"), (std::string{kMacroKeyHome, kMacroKeyCalc}));
    EXPECT_EQ(Translate("}x"), "}x");
    EXPECT_EQ(Translate(""), "");
}

TEST_F(MacroTranslation, RepeatCounts)
{
    EXPECT_EQ(Translate("{DOWN 3}"), Keys(3, kMacroKeyDown));
    EXPECT_EQ(Translate("{RIGHT 1+1}"), Keys(2, kMacroKeyRight));
    // Blanks end nothing in a count: they fall out of the expression.
    EXPECT_EQ(Translate("{DOWN 2 + 1}"), Keys(3, kMacroKeyDown));
    EXPECT_EQ(Translate("{DOWN 2.6}"), Keys(3, kMacroKeyDown));
    EXPECT_EQ(Translate("{DOWN 0}"), Keys(1, kMacroKeyDown));
    EXPECT_EQ(Translate("{DOWN -4}"), Keys(1, kMacroKeyDown));
    EXPECT_EQ(Translate("{DOWN 1/0}"), Keys(1, kMacroKeyDown));
    EXPECT_EQ(Translate("{DOWN -1E300}"), Keys(1, kMacroKeyDown));
    EXPECT_EQ(Translate("{DOWN 2^2000}"), Keys(1, kMacroKeyDown));
    EXPECT_EQ(Translate("{DOWN @SQRT(-1)}"), Keys(1, kMacroKeyDown));
    EXPECT_EQ(Translate("{DOWN nonsense(}"), Keys(1, kMacroKeyDown));
    EXPECT_EQ(Translate("{BEEP 2}"), Cmd("B") + Cmd("B"));
    // The count is evaluated on the worksheet.
    EnterCell(e, "4", 0, 0);
    EXPECT_EQ(Translate("{LEFT A1}"), Keys(4, kMacroKeyLeft));
    // A name of kind 0 does not repeat: its argument is typed.
    EXPECT_EQ(Translate("{ESC 3}"), Keys(3, kMacroKeyEscape));
    EXPECT_EQ(Translate("{ESCAPE 3}"), Keys(1, kMacroKeyEscape) + "3" + kEnter);
}

TEST_F(MacroTranslation, HugeCountsStopAtTheLineLimit)
{
    for (std::string_view count : {"1E9", "1E300", "2^60", "1E9*1E9"}) {
        std::string line = Translate("ab{DOWN " + std::string(count) + "}");
        EXPECT_EQ(line, "ab" + Keys(kMacroLineLength - 2, kMacroKeyDown)) << count;
    }
    // A two-character command is repeated whole or not at all.
    std::string beeps = Translate("x{BEEP 1E9}");
    ASSERT_EQ(beeps.size(), std::size_t(kMacroLineLength - 1));
    EXPECT_EQ(beeps.substr(beeps.size() - 2), Cmd("B"));
}

TEST_F(MacroTranslation, CommandArguments)
{
    EXPECT_EQ(Translate("{LET A1,5}"), Cmd("E") + "A1" + kEnter + "5" + kEnter);
    EXPECT_EQ(Translate("{LET A1 5}x"), Cmd("E") + "A1" + kEnter + "5" + kEnter + "x");
    EXPECT_EQ(Translate("{let A1;5}", ';'), Cmd("E") + "A1" + kEnter + "5" + kEnter);
    // With another separator the comma stays in the argument.
    EXPECT_EQ(Translate("{LET A1;@SUM(1,2)}", ';'), Cmd("E") + "A1" + kEnter + "@SUM(1,2)" + kEnter);
    // Inside parentheses the separator belongs to the formula.
    EXPECT_EQ(Translate("{LET A1,@SUM(B1,B2)}"), Cmd("E") + "A1" + kEnter + "@SUM(B1,B2)" + kEnter);
    EXPECT_EQ(Translate("{IF @ISERR(A1 + 1)}"), Cmd("I") + "@ISERR(A1 + 1)" + kEnter);
    EXPECT_EQ(Translate("{IF @ISERR(A1}+1)}x"), Cmd("I") + "@ISERR(A1}+1)" + kEnter + "x");
    EXPECT_EQ(Translate("{OPEN 1,2,\"F.TXT\"}"),
              Cmd("\x15O") + "1" + kEnter + "2" + kEnter + "\"F.TXT\"" + kEnter);
    EXPECT_EQ(Translate("{LET A1,a~b}"), Cmd("E") + "A1" + kEnter + "a" + kEnter + "b" + kEnter);
    // An argument left open at the end of the text is still ended.
    EXPECT_EQ(Translate("{LET A1,"), Cmd("E") + "A1" + kEnter);
    EXPECT_EQ(Translate("{QUIT}"), Cmd("Q"));
    EXPECT_EQ(Translate("{?}"), Cmd("?0"));
}

TEST_F(MacroTranslation, Quotes)
{
    EXPECT_EQ(Translate("{LET A1,\"a b}c\"}"), Cmd("E") + "A1" + kEnter + "\"a b}c\"" + kEnter);
    EXPECT_EQ(Translate("{LET A1,\"x,y~\"}"), Cmd("E") + "A1" + kEnter + "\"x,y~\"" + kEnter);
    // Outside braces a quote is a keystroke.
    EXPECT_EQ(Translate("\"ab"), "\"ab");
    EXPECT_EQ(Translate("ab{LET A1,\"x}"), kSyntaxError);
    // A closing quote that ends the text counts as missing.
    EXPECT_EQ(Translate("{LET A1,\"x\""), kSyntaxError);
    EXPECT_EQ(Translate("{DOWN \"3}"), kSyntaxError);
}

TEST_F(MacroTranslation, RangeNamesAndUnknownNames)
{
    ASSERT_TRUE(SetRangeName(e, "MYSUB", TRange{1, 4, 1, 4}));
    const std::string call = Cmd("C") + "MYSUB" + kEnter;
    EXPECT_EQ(Translate("{MYSUB}"), call);
    EXPECT_EQ(Translate("{mysub}~"), call + kEnter);
    EXPECT_EQ(Translate("{MYSUB a,b~}{D}"), call + "a,b" + kEnter + Keys(1, kMacroKeyDown));
    EXPECT_EQ(Translate("{FOO}"), "FOO" + kSyntaxError);
    EXPECT_EQ(Translate("x{foo 3}y"), "xFOO" + kSyntaxError + "3y");
    EXPECT_EQ(Translate("{}"), kSyntaxError);
    // Names are at most twelve characters: a longer one is no call of its first twelve.
    ASSERT_TRUE(SetRangeName(e, "ABCDEFGHIJKL", TRange{1, 4, 1, 4}));
    EXPECT_EQ(Translate("{ABCDEFGHIJKL}"), Cmd("C") + "ABCDEFGHIJKL" + kEnter);
    EXPECT_EQ(Translate("{ABCDEFGHIJKLM}"), "ABCDEFGHIJKLM" + kSyntaxError);
}

TEST_F(MacroTranslation, LookAlikeCharacters)
{
    EXPECT_EQ(Translate("\x88\x98\xA6\xB7"), "^" + kEnter + "|.");
    EXPECT_EQ(Translate("{LET A1\x82\x93" "a b\x94}"), Cmd("E") + "A1" + kEnter + "\"a b\"" + kEnter);
    EXPECT_EQ(Translate("{DOWN 1\xB7" "6}"), Keys(2, kMacroKeyDown));
}

TEST_F(MacroTranslation, LineIsCutAtItsLimit)
{
    std::string text(300, 'x');
    EXPECT_EQ(Translate(text), std::string(kMacroLineLength, 'x'));
    // A command whose code would cross the limit is left out whole.
    std::string line = Translate(std::string(kMacroLineLength - 1, 'x') + "{LET A1,5}");
    EXPECT_EQ(line, std::string(kMacroLineLength - 1, 'x'));
    line = Translate(std::string(kMacroLineLength - 2, 'x') + "{LET A1,5}");
    EXPECT_EQ(line, std::string(kMacroLineLength - 2, 'x') + Cmd("E"));
    // A quote error beyond the limit still spoils the whole line.
    EXPECT_EQ(Translate(text + "{LET A1,\"x}"), kSyntaxError);
}

TEST_F(MacroTranslation, KeyTextsAreNeverCutButCountsStayBounded)
{
    std::string text(300, 'x');
    EXPECT_EQ(TranslateKeyText(e, text + "{LET A1,5}~"), text + Cmd("E") + "A1" + kEnter + "5" + kEnter + kEnter);
    EXPECT_EQ(TranslateKeyText(e, text + "{DOWN 1E9}{UP 2}"),
              text + Keys(kMacroLineLength, kMacroKeyDown) + Keys(2, kMacroKeyUp));
}

TEST_F(MacroTranslation, ReservedBytesInTheTextAreLeftOut)
{
    // Typed into a cell, these bytes are no key codes, markers or stop sentinel.
    std::string text = "a\xFF" "b";
    for (int b = 0; b < 32; ++b)
        text += std::string(1, char(b)) + "c";
    EXPECT_EQ(Translate(text), "ab" + std::string(32, 'c'));
    EXPECT_EQ(Translate(std::string("{LET A1,\"x\x14y\xFF\"}")), Cmd("E") + "A1" + kEnter + "\"xy\"" + kEnter);
    EXPECT_EQ(Translate(std::string("{DO\x10WN 2}")), Keys(2, kMacroKeyDown));
    // What the translation makes of them is only ever what it generated itself.
    for (int b : {0, 2, 13, 16, 17, 20, 21, 29, 255}) {
        std::string line = Translate(std::string("x") + char(b) + "{MYSTERY}" + char(b));
        EXPECT_EQ(line, "xMYSTERY" + kSyntaxError) << b;
    }
}

}  // namespace
}  // namespace zt
