#include "formula/compiler.h"

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <string>
#include <vector>

#include "core/address.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "formula/compiled_formula.h"
#include "formula/opcodes.h"

namespace zt {
namespace {

using Bytes = std::vector<int>;

// Expected code, built operand by operand and framed by Framed() with the
// length bytes in front and the end marker behind.
class Code {
public:
    Code& Op(int op)
    {
        bytes_.push_back(op);
        return *this;
    }
    Code& Int(std::int16_t v)
    {
        Op(opInteger);
        return Le(static_cast<std::uint16_t>(v), 2);
    }
    Code& Num(double v)
    {
        Op(opNumber);
        return Le(std::bit_cast<std::uint64_t>(v), 8);
    }
    Code& Cell(TCellLink l)
    {
        Op(opCellRef);
        return Le(l, 4);
    }
    Code& Range(TCellLink afterDots, TCellLink beforeDots)
    {
        Op(opRangeRef);
        Le(afterDots, 4);
        return Le(beforeDots, 4);
    }
    Code& Str(std::string_view s)
    {
        Op(opString);
        for (char c : s)
            bytes_.push_back(static_cast<std::uint8_t>(c));
        return Op(0);
    }
    Code& External(std::string_view path, int firstCol, int firstRow, int lastCol, int lastRow)
    {
        Op(opExternalRef);
        for (int v : {firstCol, firstRow, lastCol, lastRow})
            Le(static_cast<std::uint16_t>(v), 2);
        for (char c : path)
            bytes_.push_back(static_cast<std::uint8_t>(c));
        return Op(0);
    }
    Bytes Framed() const
    {
        Bytes b{static_cast<int>(bytes_.size()) + 2, 0};
        b.insert(b.end(), bytes_.begin(), bytes_.end());
        b.push_back(opEnd);
        return b;
    }

private:
    Code& Le(std::uint64_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            bytes_.push_back(static_cast<int>((v >> (8 * i)) & 0xFF));
        return *this;
    }

    Bytes bytes_;
};

class CompilerTest : public ::testing::Test {
protected:
    CompilerTest() : e(256) { RestoreContext(e, OpenSheet(e, "T")); }

    // The code of a text that must compile.
    Bytes Compile(std::string text)
    {
        std::string typed = text;
        CompileFormula(e, text);
        if (e.Err.ErrorFlag) {
            ADD_FAILURE() << "does not compile: " << typed;
            return {};
        }
        return Bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                     reinterpret_cast<const std::uint8_t*>(text.data()) + text.size());
    }

    bool Fails(std::string text)
    {
        CompileFormula(e, text);
        return e.Err.ErrorFlag;
    }

    // The link a reference written as `address` must carry; the cell is
    // the one compiling the reference creates.
    TCellLink Link(std::string_view address)
    {
        AbsFlags abs;
        TRange r = ParseRange(e, address, &abs);
        return MakeLink(e, FindOrCreateCell(e, r.FirstRow, r.FirstCol), abs.FirstCol, abs.FirstRow);
    }

    Engine e;
};

TEST_F(CompilerTest, DocumentedExamplesCompileToTheirCode)
{
    EXPECT_EQ(Compile("+A1+B1*2"),
              Code().Cell(Link("A1")).Cell(Link("B1")).Int(2).Op(opMul).Op(opAdd).Framed());
    EXPECT_EQ(Compile("(A1+B1)*2"),
              Code().Cell(Link("A1")).Cell(Link("B1")).Op(opAdd).Op(opParen).Int(2).Op(opMul).Framed());
    EXPECT_EQ(Compile("@IF(A1>0,1,2)"),
              Code().Cell(Link("A1")).Int(0).Op(opGt).Int(1).Int(2).Op(59).Framed());
    EXPECT_EQ(Compile("-2^2"), Code().Int(2).Op(opNeg).Int(2).Op(opPower).Framed());

    Bytes sum = Compile("+A1*2+@SUM(B1..B3,7)");
    EXPECT_EQ(sum, Code()
                       .Cell(Link("A1"))
                       .Int(2)
                       .Op(opMul)
                       .Range(Link("B3"), Link("B1"))
                       .Int(7)
                       .Op(80)
                       .Op(2)
                       .Op(opAdd)
                       .Framed());
    EXPECT_EQ(sum.front(), 26);
}

TEST_F(CompilerTest, NumbersTakeTheSmallestExactForm)
{
    EXPECT_EQ(Compile("+5"), (Bytes{5, 0, opInteger, 5, 0, opEnd}));
    EXPECT_EQ(Compile("+32766"), Code().Int(32766).Framed());
    EXPECT_EQ(Compile("+32767"), Code().Num(32767).Framed());
    EXPECT_EQ(Compile("+0.5"), Code().Num(0.5).Framed());
    EXPECT_EQ(Compile("+.5"), Code().Num(0.5).Framed());
    EXPECT_EQ(Compile("+1E10"), Code().Num(1e10).Framed());
    EXPECT_EQ(Compile("+1E2"), Code().Int(100).Framed());
    EXPECT_EQ(Compile("+2.5e-3*4E+1"), Code().Num(0.0025).Int(40).Op(opMul).Framed());
    EXPECT_EQ(Compile("2*-32766"), Code().Int(2).Int(32766).Op(opNeg).Op(opMul).Framed());

    EXPECT_TRUE(Fails("+1E400"));
    EXPECT_TRUE(Fails("+1.2.3"));
    EXPECT_TRUE(Fails("+12abc"));
}

TEST_F(CompilerTest, ALeadingPlusIsSkippedAtEveryLevel)
{
    EXPECT_EQ(Compile("+A1"), Compile("A1"));
    EXPECT_EQ(Compile("(+A1)"), Compile("(A1)"));
    EXPECT_EQ(Compile("++A1"), Code().Cell(Link("A1")).Op(opPlus).Framed());
}

TEST_F(CompilerTest, MalformedTextFails)
{
    for (const char* text : {"", "+", "1 + 2", "1+", "1+2 ", "*2", "1+*2", "()", "(1", "1)", "(1))",
                             "1,2", "(1,2)", "1#AND", "1<", "A1.B7", "A0", "$", "%"})
        EXPECT_TRUE(Fails(text)) << text;
    EXPECT_FALSE(Fails("1+2"));
}

TEST_F(CompilerTest, OperatorsBindByPrecedenceAndAssociateLeft)
{
    EXPECT_EQ(Compile("2^3^2"), Code().Int(2).Int(3).Op(opPower).Int(2).Op(opPower).Framed());
    EXPECT_EQ(Compile("1-2-3"), Code().Int(1).Int(2).Op(opSub).Int(3).Op(opSub).Framed());
    EXPECT_EQ(Compile("1*2+3/4"),
              Code().Int(1).Int(2).Op(opMul).Int(3).Int(4).Op(opDiv).Op(opAdd).Framed());
    // The comparisons have six different levels.
    TCellLink a = Link("A1"), b = Link("B1"), c = Link("C1");
    EXPECT_EQ(Compile("A1=B1<C1"), Code().Cell(a).Cell(b).Cell(c).Op(opLt).Op(opEq).Framed());
    EXPECT_EQ(Compile("A1<B1=C1"), Code().Cell(a).Cell(b).Op(opLt).Cell(c).Op(opEq).Framed());
    EXPECT_EQ(Compile("A1#OR#B1#AND#C1"), Code().Cell(a).Cell(b).Cell(c).Op(opAnd).Op(opOr).Framed());
    // '&' binds more tightly than anything, unary minus included.
    EXPECT_EQ(Compile("-A1&B1"), Code().Cell(a).Cell(b).Op(opConcat).Op(opNeg).Framed());
}

TEST_F(CompilerTest, PrefixOperatorsApplyToTheOperandAfterThem)
{
    EXPECT_EQ(Compile("2*-3"), Code().Int(2).Int(3).Op(opNeg).Op(opMul).Framed());
    EXPECT_EQ(Compile("--2"), Code().Int(2).Op(opNeg).Op(opNeg).Framed());
    EXPECT_EQ(Compile("-+-2"), Code().Int(2).Op(opNeg).Op(opPlus).Op(opNeg).Framed());
    EXPECT_EQ(Compile("2&-3"), Code().Int(2).Int(3).Op(opNeg).Op(opConcat).Framed());
}

TEST_F(CompilerTest, EverySpellingOfAnOperatorGivesTheSameCode)
{
    TCellLink a = Link("A1"), b = Link("B1");
    auto binary = [&](int op) { return Code().Cell(a).Cell(b).Op(op).Framed(); };
    for (const char* text : {"A1<>B1", "A1><B1", "A1?B1"})
        EXPECT_EQ(Compile(text), binary(opNe)) << text;
    for (const char* text : {"A1>=B1", "A1=>B1", "A1|B1"})
        EXPECT_EQ(Compile(text), binary(opGe)) << text;
    for (const char* text : {"A1<=B1", "A1=<B1"})
        EXPECT_EQ(Compile(text), binary(opLe)) << text;
    for (const char* text : {"A1#AND#B1", "A1#and#B1", "a1#And#b1"})
        EXPECT_EQ(Compile(text), binary(opAnd)) << text;
    for (const char* text : {"A1#OR#B1", "A1#or#B1"})
        EXPECT_EQ(Compile(text), binary(opOr)) << text;
}

TEST_F(CompilerTest, PostfixOperatorsFollowTheirOperand)
{
    EXPECT_EQ(Compile("+5%"), Code().Int(5).Op(opPercent).Framed());
    EXPECT_EQ(Compile("+A1!"), Code().Cell(Link("A1")).Op(opFactorial).Framed());
    EXPECT_EQ(Compile("+A1%*2"), Code().Cell(Link("A1")).Op(opPercent).Int(2).Op(opMul).Framed());
    EXPECT_TRUE(Fails("+5%%"));
}

TEST_F(CompilerTest, StringsAreWrittenWithoutTheirQuotes)
{
    EXPECT_EQ(Compile("\"abc\"&\"def\""), Code().Str("abc").Str("def").Op(opConcat).Framed());
    EXPECT_EQ(Compile("+\"\""), (Bytes{4, 0, opString, 0, opEnd}));
    // Operators, separators and parentheses inside quotes are text.
    EXPECT_EQ(Compile("@LENGTH(\"a,b+c\")"), Code().Str("a,b+c").Op(70).Framed());
    EXPECT_EQ(Compile("@FIND(\")\",A1,0)"), Code().Str(")").Cell(Link("A1")).Int(0).Op(76).Framed());
    EXPECT_TRUE(Fails(std::string("+\"a\0b\"", 6)));
}

TEST_F(CompilerTest, FunctionCallsSettleTheirArguments)
{
    EXPECT_EQ(Compile("@SUM(1,2,3)"), Code().Int(1).Int(2).Int(3).Op(80).Op(3).Framed());
    EXPECT_EQ(Compile("@SUM(@MAX(1,2),3)"),
              Code().Int(1).Int(2).Op(84).Op(2).Int(3).Op(80).Op(2).Framed());
    EXPECT_EQ(Compile("@PI"), Code().Op(38).Framed());
    EXPECT_EQ(Compile("@pi*2"), Code().Op(38).Int(2).Op(opMul).Framed());
    EXPECT_EQ(Compile("@NOT(A1)"), Code().Cell(Link("A1")).Op(opNot).Framed());

    for (const char* text : {"@SUM", "@ABS", "@ABS(1,2)", "@IF(1,2)", "@PI()", "@NOSUCH(1)", "@", "@(5)",
                             "@-(1)", "@SUM(1,,2)"})
        EXPECT_TRUE(Fails(text)) << text;
    // Arguments missing in one call cannot be made up by a list elsewhere:
    // a count byte holds 1..255.
    EXPECT_TRUE(Fails("@IF(1)+@SUM(2)"));
}

TEST_F(CompilerTest, ReferencesKeepTheirAbsoluteMarkers)
{
    PCell a1 = FindOrCreateCell(e, 0, 0);
    EXPECT_EQ(Compile("+A$1"), Code().Cell(MakeLink(e, a1, false, true)).Framed());
    EXPECT_EQ(Compile("+$A1"), Code().Cell(MakeLink(e, a1, true, false)).Framed());
    EXPECT_EQ(Compile("+$A$1"), Code().Cell(MakeLink(e, a1, true, true)).Framed());
    EXPECT_EQ(Compile("+a1"), Code().Cell(MakeLink(e, a1, false, false)).Framed());

    // The corner written after ".." comes first.
    EXPECT_EQ(Compile("+C5..A1"), Code().Range(Link("A1"), Link("C5")).Framed());
    EXPECT_EQ(Compile("+$C$5..A1"), Code().Range(Link("A1"), Link("$C$5")).Framed());
    EXPECT_EQ(Compile("+A1..A1"), Code().Cell(Link("A1")).Framed());

    EXPECT_TRUE(Fails("+IW1"));
    EXPECT_TRUE(Fails("+A1..IW1"));
}

TEST_F(CompilerTest, CompilingAReferenceCreatesItsCells)
{
    ASSERT_EQ(FindCell(e, 8, 25), nullptr);
    ASSERT_FALSE(Fails("+Z9"));
    PCell z9 = FindCell(e, 8, 25);
    ASSERT_NE(z9, nullptr);
    EXPECT_EQ(z9->Kind, ckBlank);

    ASSERT_FALSE(Fails("+D1..E3"));
    EXPECT_NE(FindCell(e, 0, 3), nullptr);
    EXPECT_NE(FindCell(e, 2, 4), nullptr);
    EXPECT_EQ(FindCell(e, 1, 3), nullptr);
}

TEST_F(CompilerTest, SeparatorAndDecimalPointFollowTheSettings)
{
    Bytes withCommas = Compile("@IF(A1,1,2)");
    e.Settings().Sep = ';';
    EXPECT_EQ(Compile("@IF(A1;1;2)"), withCommas);
    EXPECT_TRUE(Fails("@SUM(1,2)"));

    e.Settings().Period = ',';
    EXPECT_EQ(Compile("@SUM(1,5;2)"), Code().Num(1.5).Int(2).Op(80).Op(2).Framed());
    EXPECT_TRUE(Fails("+1.5"));
}

TEST_F(CompilerTest, RangeNamesCompileToTheirRange)
{
    ASSERT_TRUE(SetRangeName(e, "SALES", TRange{1, 1, 1, 8}));
    ASSERT_TRUE(SetRangeName(e, "RATE", TRange{0, 0, 0, 0}));
    Bytes sum = Code().Range(Link("B9"), Link("B2")).Op(80).Op(1).Framed();
    EXPECT_EQ(Compile("@SUM(SALES)"), sum);
    EXPECT_EQ(Compile("@SUM(sales)"), sum);
    EXPECT_EQ(Compile("@SUM($SALES)"), Code().Range(Link("$B$9"), Link("$B$2")).Op(80).Op(1).Framed());
    EXPECT_EQ(Compile("+RATE*2"), Code().Cell(Link("A1")).Int(2).Op(opMul).Framed());
}

TEST_F(CompilerTest, RangeFunctionsTakeOneArgumentPerColumn)
{
    ASSERT_TRUE(SetRangeName(e, "F", TRange{1, 0, 2, 2}));  // B1..C3
    ASSERT_TRUE(SetRangeName(e, "G", TRange{3, 3, 3, 5}));  // D4..D6
    ASSERT_TRUE(SetRangeName(e, "H", TRange{4, 0, 4, 0}));  // E1

    Bytes f = Code().Int(1).Int(2).Op(opRangeFunction).Range(Link("$C$3"), Link("$B$1")).Framed();
    EXPECT_EQ(Compile("@F(1,2)"), f);
    EXPECT_EQ(Compile("@$F(1,2)"), f);
    EXPECT_EQ(Compile("@f(1,2)"), f);
    EXPECT_EQ(Compile("@G(A1)"),
              Code().Cell(Link("A1")).Op(opRangeFunction).Range(Link("$D$6"), Link("$D$4")).Framed());
    EXPECT_EQ(Compile("@H(5)*2"),
              Code().Int(5).Op(opRangeFunction).Cell(Link("$E$1")).Int(2).Op(opMul).Framed());

    for (const char* text : {"@F(1)", "@F(1,2,3)", "@F", "@G", "@G(1,2)"})
        EXPECT_TRUE(Fails(text)) << text;
}

TEST_F(CompilerTest, ExternalReferencesCarryTheirPathAndRange)
{
    EXPECT_EQ(Compile("+[/data/Book.WKS]A1..B2"), Code().External("/data/Book.WKS", 0, 0, 1, 1).Framed());
    std::string relative = (std::filesystem::current_path() / "sub/Book.wks").string();
    EXPECT_EQ(Compile("+[sub/Book.wks]c3*2"), Code().External(relative, 2, 2, 2, 2).Int(2).Op(opMul).Framed());
    EXPECT_EQ(Compile("@SUM([/a.wks]B1..A3,1)"),
              Code().External("/a.wks", 1, 0, 0, 2).Int(1).Op(80).Op(2).Framed());
    // The range belongs to the other file: no cell of this worksheet appears.
    EXPECT_EQ(FindCell(e, 2, 2), nullptr);

    // The range must follow the file name directly.
    for (const char* text : {"+[/a.wks]", "+[/a.wks]+A1", "+[/a.wks]5", "+[/a.wks]@PI",
                             "+[/a.wks][/b.wks]A1", "+[/a.wks]IW1", "+[/a.wks"})
        EXPECT_TRUE(Fails(text)) << text;
}

TEST_F(CompilerTest, TextOf240CharactersIsFlushedAndLongerTextIsRefused)
{
    // 240 characters: the operator at the very end is still written.
    std::string text = std::string(237, '0') + "1+2";
    ASSERT_EQ(text.size(), 240u);
    EXPECT_EQ(Compile(text), Code().Int(1).Int(2).Op(opAdd).Framed());
    // One more character is refused, never cut back to the formula above.
    EXPECT_TRUE(Fails(text + "3"));
    EXPECT_EQ(e.Err.ErrorText, kFormulaTooLong);
}

TEST_F(CompilerTest, CodeThatDoesNotFitTheContainerFails)
{
    std::string terms = "A1";
    for (int i = 1; i < 39; ++i)
        terms += "+A1";
    // 39 references and 38 additions, then 4 or 5 more bytes.
    Bytes fits = Compile(terms + "+1");
    ASSERT_FALSE(fits.empty());
    EXPECT_EQ(fits.front(), 239);
    EXPECT_TRUE(Fails(terms + "+1!"));
    EXPECT_EQ(e.Err.ErrorText, kFormulaTooLong);

    std::string list = "@SUM(A1";
    for (int i = 0; i < 70; ++i)
        list += ",A1";
    EXPECT_TRUE(Fails(list + ")"));
}

TEST_F(CompilerTest, NestingOfParenthesesIsBounded)
{
    auto nested = [](int depth) { return std::string(depth, '(') + "1" + std::string(depth, ')'); };
    Code deep;
    deep.Int(1);
    for (int i = 0; i < 99; ++i)
        deep.Op(opParen);
    EXPECT_EQ(Compile(nested(99)), deep.Framed());
    EXPECT_TRUE(Fails(nested(100)));
}

}  // namespace
}  // namespace zt
