#include "formula/formula_display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/address.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "formula/compiled_formula.h"
#include "formula/compiler.h"
#include "formula/opcodes.h"
#include "formula/text_stack.h"

namespace zt {
namespace {

// Writes compiled code by hand: opcodes, operands and links to real cells.
class CodeBuilder {
public:
    explicit CodeBuilder(Engine& e) : e_(e) {}

    CodeBuilder& Op(std::uint8_t op) { return Byte(op); }
    CodeBuilder& Byte(std::uint8_t b)
    {
        body_.push_back(b);
        return *this;
    }
    CodeBuilder& Int(std::int16_t v) { return Op(opInteger).Raw(&v, sizeof v); }
    CodeBuilder& Num(double v) { return Op(opNumber).Raw(&v, sizeof v); }
    CodeBuilder& Str(std::string_view s)
    {
        Op(opString).Raw(s.data(), s.size());
        return Byte(0);
    }
    CodeBuilder& Ref(std::string_view address) { return Op(opCellRef).Link(address); }
    // A range as typed: the corner after ".." is stored first.
    CodeBuilder& Range(std::string_view before, std::string_view after)
    {
        return Op(opRangeRef).Link(after).Link(before);
    }
    CodeBuilder& List(std::uint8_t op, std::uint8_t count) { return Op(op).Byte(count); }
    CodeBuilder& External(TRange r, std::string_view path)
    {
        Op(opExternalRef).Raw(&r, sizeof r).Raw(path.data(), path.size());
        return Byte(0);
    }
    // A link to the cell at an upper-case address, created when missing.
    CodeBuilder& Link(std::string_view address)
    {
        ParsedAddress a = ParseAddress(e_, address);
        return Word(MakeLink(e_, FindOrCreateCell(e_, a.Row, a.Col), a.AbsCol, a.AbsRow));
    }
    CodeBuilder& Word(TCellLink link) { return Raw(&link, sizeof link); }

    // The finished code: L, 0, the body, the end marker at L.
    std::vector<std::uint8_t> Code() const
    {
        std::vector<std::uint8_t> code(body_.size() + 3, 0);
        code[0] = static_cast<std::uint8_t>(body_.size() + 2);
        std::copy(body_.begin(), body_.end(), code.begin() + 2);
        code.back() = opEnd;
        return code;
    }

private:
    CodeBuilder& Raw(const void* p, std::size_t n)
    {
        auto* b = static_cast<const std::uint8_t*>(p);
        body_.insert(body_.end(), b, b + n);
        return *this;
    }

    Engine& e_;
    std::vector<std::uint8_t> body_;
};

class FormulaDisplayTest : public ::testing::Test {
protected:
    FormulaDisplayTest() : e(64) { RestoreContext(e, OpenSheet(e, "T")); }

    CodeBuilder Code() { return CodeBuilder(e); }
    std::string Show(const CodeBuilder& b) { return FormulaToText(e, b.Code().data()); }
    std::string Show(std::vector<std::uint8_t> code) { return FormulaToText(e, code.data()); }

    // Name := range written like "B2..B9".
    void Name(std::string_view name, std::string_view range)
    {
        ASSERT_TRUE(SetRangeName(e, name, ParseRange(e, range)));
    }

    Engine e;
};

TEST_F(FormulaDisplayTest, ArithmeticReadsBackInTheOrderTyped)
{
    EXPECT_EQ(Show(Code().Ref("A1").Int(2).Op(opMul)), "+A1*2");
    EXPECT_EQ(Show(Code().Ref("A1").Ref("B1").Op(opAdd).Op(opParen).Int(2).Op(opMul)), "(A1+B1)*2");
    EXPECT_EQ(Show(Code().Ref("A1").Ref("B1").Int(2).Op(opMul).Op(opAdd)), "+A1+B1*2");
    // The unary minus goes before its operand and no parentheses are added.
    EXPECT_EQ(Show(Code().Int(2).Op(opNeg).Int(2).Op(opPower)), "-2^2");
    EXPECT_EQ(Show(Code().Ref("A1").Op(opPlus)), "+A1");
    EXPECT_EQ(Show(Code().Int(5).Op(opPercent)), "5%");
    EXPECT_EQ(Show(Code().Ref("A1").Op(opFactorial)), "+A1!");
    EXPECT_EQ(Show(Code().Int(-5)), "-5");
}

TEST_F(FormulaDisplayTest, EveryInfixOperatorIsWrittenWithoutBlanks)
{
    const std::pair<std::uint8_t, std::string> ops[] = {
        {opAdd, "+"},  {opSub, "-"},  {opMul, "*"},      {opDiv, "/"},     {opPower, "^"},
        {opEq, "="},   {opNe, "<>"},  {opLe, "<="},      {opGe, ">="},     {opLt, "<"},
        {opGt, ">"},   {opAnd, "#AND#"}, {opOr, "#OR#"}, {opConcat, "&"},
    };
    for (const auto& [op, sign] : ops)
        EXPECT_EQ(Show(Code().Ref("A1").Ref("B1").Op(op)), "+A1" + sign + "B1") << int(op);
}

TEST_F(FormulaDisplayTest, FunctionsTakeTheirArgumentsInTheOrderWritten)
{
    EXPECT_EQ(Show(Code().Op(38)), "@PI");
    EXPECT_EQ(Show(Code().Ref("A1").Op(33)), "@ABS(A1)");
    EXPECT_EQ(Show(Code().Ref("A1").Op(opNot)), "@NOT(A1)");
    EXPECT_EQ(Show(Code().Int(7).Int(2).Op(47)), "@MOD(7,2)");
    EXPECT_EQ(Show(Code().Ref("A1").Int(1).Int(2).Op(59)), "@IF(A1,1,2)");
    EXPECT_EQ(Show(Code().Int(1).Int(2).Int(3).Int(4).Op(120)), "@SYD(1,2,3,4)");
    EXPECT_EQ(Show(Code().Range("A1", "A5").Int(7).List(80, 2)), "@SUM(A1..A5,7)");
    EXPECT_EQ(Show(Code().Ref("A1").Int(2).Op(opMul).Int(1).Int(2).Int(3).List(80, 3).Op(opAdd)),
              "+A1*2+@SUM(1,2,3)");
    // The function named "@" and opcodes without a name keep their "@".
    EXPECT_EQ(Show(Code().Ref("A1").Op(115)), "@@(A1)");
    EXPECT_EQ(Show(Code().Ref("A1").Op(27)), "@(A1)");
}

TEST_F(FormulaDisplayTest, ArgumentsAreJoinedWithTheCurrentSeparator)
{
    e.Settings().Sep = ';';
    EXPECT_EQ(Show(Code().Ref("A1").Int(1).Int(2).Op(59)), "@IF(A1;1;2)");
    EXPECT_EQ(Show(Code().Range("A1", "A5").Int(7).List(80, 2)), "@SUM(A1..A5;7)");
}

TEST_F(FormulaDisplayTest, ReferencesKeepTheirCornersAndAbsoluteMarkers)
{
    EXPECT_EQ(Show(Code().Range("C5", "A1")), "+C5..A1");
    EXPECT_EQ(Show(Code().Range("A1", "C5")), "+A1..C5");
    EXPECT_EQ(Show(Code().Range("$A$1", "B$2").List(82, 1)), "@COUNT($A$1..B$2)");
    EXPECT_EQ(Show(Code().Ref("$IV$8192")), "+$IV$8192");
    EXPECT_EQ(Show(Code().Ref("$A1")), "+$A1");
}

TEST_F(FormulaDisplayTest, SheetPrefixesFollowTheRowsPerSheet)
{
    e.Settings().RowsPerSheet = 2048;
    EXPECT_EQ(Show(Code().Ref("B:A1").Int(2).Op(opMul)), "+B:A1*2");
    EXPECT_EQ(Show(Code().Range("A:$A$1", "D:C2048")), "+A:$A$1..D:C2048");
    e.Settings().RowsPerSheet = 8192;
    EXPECT_EQ(Show(Code().Ref("A2049")), "+A2049");
}

TEST_F(FormulaDisplayTest, AReferenceToNoCellShowsErr)
{
    EXPECT_EQ(Show(Code().Op(opCellRef).Word(0).Int(2).Op(opMul)), "+ERR*2");
    EXPECT_EQ(Show(Code().Op(opRangeRef).Word(0).Link("A1")), "+A1..ERR");
    // A link outside the worksheet heap reads as no cell.
    EXPECT_EQ(Show(Code().Op(opCellRef).Word(0x3FFFFFF0)), "+ERR");
}

TEST_F(FormulaDisplayTest, StringsAreQuotedAndStartWithAPlus)
{
    EXPECT_EQ(Show(Code().Str("abc").Str("def").Op(opConcat)), "+\"abc\"&\"def\"");
    EXPECT_EQ(Show(Code().Str("")), "+\"\"");
    EXPECT_EQ(Show(Code().Int(1).Str("a,b").Op(opConcat)), "1&\"a,b\"");
}

TEST_F(FormulaDisplayTest, NumbersUseTheNumberText)
{
    EXPECT_EQ(Show(Code().Num(1234567)), "1.234567E+06");
    EXPECT_EQ(Show(Code().Num(0.0000001)), "1E-07");
    EXPECT_EQ(Show(Code().Num(1000000)), "1000000");
    EXPECT_EQ(Show(Code().Num(32767)), "32767");
    EXPECT_EQ(Show(Code().Ref("A1").Num(0.5).Op(opMul)), "+A1*0.5");
    e.Settings().Period = ',';
    e.Settings().Sep = ';';
    EXPECT_EQ(Show(Code().Num(0.25).Int(2).Op(63)), "@ROUND(0,25;2)");
}

TEST_F(FormulaDisplayTest, RangeNamesReplaceTheReferencesTheyCover)
{
    Name("SALES", "B2..B9");
    Name("TAX", "C1");
    EXPECT_EQ(Show(Code().Range("B2", "B9").List(80, 1)), "@SUM(SALES)");
    EXPECT_EQ(Show(Code().Range("B2", "B8").List(80, 1)), "@SUM(B2..B8)");
    // The corners must be in the name's order.
    EXPECT_EQ(Show(Code().Range("B9", "B2").List(80, 1)), "@SUM(B9..B2)");
    EXPECT_EQ(Show(Code().Range("$B$2", "B9").List(80, 1)), "@SUM($SALES)");
    EXPECT_EQ(Show(Code().Range("B2", "B$9").List(80, 1)), "@SUM($SALES)");
    EXPECT_EQ(Show(Code().Ref("C1").Int(2).Op(opMul)), "+TAX*2");
    EXPECT_EQ(Show(Code().Ref("$C$1")), "+$TAX");
    // A one-cell range reference is covered by a one-cell name too.
    EXPECT_EQ(Show(Code().Range("C1", "C1")), "+TAX");
}

TEST_F(FormulaDisplayTest, TheFirstNameInTableOrderWins)
{
    Name("ZED", "B2..B9");
    Name("ALPHA", "B2..B9");
    EXPECT_EQ(Show(Code().Range("B2", "B9")), "+ALPHA");
}

TEST_F(FormulaDisplayTest, ExternalReferencesShowPathAndCorners)
{
    EXPECT_EQ(Show(Code().External(TRange{0, 0, 1, 1}, "/data/SALES.WKS")), "+[/data/SALES.WKS]A1..B2");
    EXPECT_EQ(Show(Code().External(TRange{2, 2, 2, 2}, "c:\\x.wks")), "+[c:\\x.wks]C3");
    EXPECT_EQ(Show(Code().External(TRange{256, 0, 1, 1}, "X.WKS")), "+[X.WKS]ERR..B2");
    EXPECT_EQ(Show(Code().External(TRange{0, 0, 1, 8192}, "X.WKS")), "+[X.WKS]A1..ERR");
    // The placeholder of a reference that never followed its file name.
    constexpr std::int16_t xx = 0x5858;
    TRange placeholder{xx, xx, xx, xx};
    EXPECT_EQ(Show(Code().External(placeholder, "X.WKS")), "+[X.WKS]ERR");
    EXPECT_EQ(Show(Code().External(TRange{0, 0, 0, 0}, "X.WKS").Int(2).Op(opMul)), "+[X.WKS]A1*2");
}

TEST_F(FormulaDisplayTest, UnknownOpcodesAndUserFunctions)
{
    EXPECT_EQ(Show(Code().Ref("A1").Op(200)), "@UKW(A1)");
    EXPECT_EQ(Show(Code().Ref("A1").Op(187)), "@UKW(A1)");
    // The worksheet holds no user functions, so every index lies beyond its table.
    EXPECT_EQ(Show(Code().List(opUserFunction, 1)), "@NOFUN");
    EXPECT_EQ(Show(Code().List(opUserFunction, 255)), "@NOFUN");
    EXPECT_EQ(Show(Code().Ref("A1").List(opUserFunction, 3).Op(opAdd)), "+A1+@NOFUN");
}

TEST_F(FormulaDisplayTest, RangeFunctionsTakeOneArgumentPerColumn)
{
    Name("MYFN", "D1..F3");
    Name("ONE", "H1");
    EXPECT_EQ(Show(Code().Int(1).Int(2).Int(3).Op(opRangeFunction).Range("$D$1", "$F$3")), "@MYFN(1,2,3)");
    EXPECT_EQ(Show(Code().Ref("A1").Int(7).Op(opRangeFunction).Ref("$H$1").Op(opMul)), "+A1*@ONE(7)");
    // Without a name covering the range the reference stands in for it.
    EXPECT_EQ(Show(Code().Int(1).Int(2).Op(opRangeFunction).Range("$D$1", "$E$1")), "@$D$1..$E$1(1,2)");
    // The range belongs to the call and is not shown as an operand of its own.
    EXPECT_EQ(Show(Code().Int(4).Op(opRangeFunction).Ref("$H$1").Int(1).Op(opAdd)), "@ONE(4)+1");
}

TEST_F(FormulaDisplayTest, MalformedCodeShowsNoend)
{
    std::vector<std::uint8_t> code = Code().Ref("A1").Code();
    EXPECT_EQ(Show(code), "+A1");
    code.back() = 4;
    EXPECT_EQ(Show(code), "NOEND");
    EXPECT_EQ(FormulaToText(e, nullptr), "NOEND");

    std::vector<std::uint8_t> full(256, opEnd);
    full[0] = 240;
    EXPECT_EQ(Show(full), "NOEND");
    full[0] = 239;
    EXPECT_EQ(Show(full), "@ERR");  // an embedded end marker stops at once

    EXPECT_EQ(Show(std::vector<std::uint8_t>{2, 0, opEnd}), "@ERR");
    EXPECT_EQ(Show(std::vector<std::uint8_t>{1, opEnd}), "@ERR");
}

TEST_F(FormulaDisplayTest, TruncatedOperandsEndTheText)
{
    // An operand running into the end marker is not read.
    EXPECT_EQ(Show(std::vector<std::uint8_t>{4, 0, opInteger, 1, opEnd}), "@ERR");
    EXPECT_EQ(Show(std::vector<std::uint8_t>{8, 0, opInteger, 1, 0, opNumber, 0, 0, opEnd}), "1");
    // A string without its 0 byte ends at the end marker.
    EXPECT_EQ(Show(std::vector<std::uint8_t>{5, 0, opString, 'a', 'b', opEnd}), "+\"ab\"");
    // A range function needs a whole reference after it.
    EXPECT_EQ(Show(Code().Int(1).Op(opRangeFunction)), "1");
    EXPECT_EQ(Show(Code().Int(1).Op(opRangeFunction).Int(2)), "1");
}

TEST_F(FormulaDisplayTest, ArgumentListsOfTwoHundredFortyCharactersOverflow)
{
    // 26 times @VERSION and one more argument, joined: 26 * 8 + 26 + 5 = 239.
    auto list = [&](std::uint8_t last) {
        CodeBuilder b = Code();
        for (int i = 0; i < 26; ++i)
            b.Op(142);
        return b.Op(last).List(80, 27);
    };
    // @SUM(...) of 245 characters is too long to come off the stack.
    EXPECT_EQ(Show(list(52)), "");        // @TRUE: 239 characters
    EXPECT_EQ(Show(list(51)), "+OVERFLOW");  // @FALSE: 240 characters
    // The text stops at the overflow; later operators change nothing.
    EXPECT_EQ(Show(list(51).Int(1).Op(opAdd)), "+OVERFLOW");
}

TEST_F(FormulaDisplayTest, TheResultIsAtMostTwoHundredFortyCharacters)
{
    // A quoted string of k characters and five "&@VERSION": k + 2 + 45.
    auto text = [&](std::size_t k) {
        CodeBuilder b = Code().Str(std::string(k, 'x'));
        for (int i = 0; i < 5; ++i)
            b.Op(142).Op(opConcat);
        return Show(b);
    };
    std::string longest = text(192);
    EXPECT_EQ(longest.size(), 240u);
    EXPECT_EQ(longest.substr(0, 3), "+\"x");
    EXPECT_EQ(longest.substr(longest.size() - 9), "&@VERSION");
    EXPECT_EQ(text(193), "");
}

TEST_F(FormulaDisplayTest, TheFragmentStackDropsWhatDoesNotFit)
{
    // Popping an empty stack gives nothing to write.
    EXPECT_EQ(Show(Code().Int(1).Op(opMul)), "*1");
    EXPECT_EQ(Show(Code().Op(opParen)), "()");
    EXPECT_EQ(Show(Code().Int(1).List(80, 1).Op(opAdd)), "+@SUM(1)");
    // 111 "@VERSION" fill the 999 bytes exactly; the 5 pushed then is lost.
    CodeBuilder full = Code();
    for (int i = 0; i < 111; ++i)
        full.Op(142);
    EXPECT_EQ(Show(CodeBuilder(full).Int(5).Op(opAdd)), "@VERSION+@VERSION");
    CodeBuilder room = Code();
    for (int i = 0; i < 110; ++i)
        room.Op(142);
    EXPECT_EQ(Show(CodeBuilder(room).Int(5).Op(opAdd)), "@VERSION+5");
}

TEST(FormulaDisplayStackTest, CountsEachFragmentWithItsLengthByte)
{
    TextStack s;
    EXPECT_EQ(s.Pop(), "");
    s.Push(std::string(254, 'a'));
    s.Push(std::string(300, 'b'));  // kept as a short string of 255
    s.Push(std::string(254, 'c'));
    EXPECT_EQ(s.BytesUsed(), 255u + 256u + 255u);
    s.Push(std::string(232, 'd'));  // 233 more bytes: 999 in all
    EXPECT_EQ(s.BytesUsed(), 999u);
    s.Push("");
    EXPECT_EQ(s.Size(), 4u);
    EXPECT_EQ(s.Pop(), std::string(232, 'd'));
    EXPECT_EQ(s.Pop(), "");  // 254 characters: too long to come off
    EXPECT_EQ(s.Pop(), "");
    EXPECT_EQ(s.Pop(), "");
    EXPECT_TRUE(s.Empty());
    EXPECT_EQ(s.BytesUsed(), 0u);
    s.Push(std::string(239, 'e'));
    s.Push(std::string(240, 'f'));
    EXPECT_EQ(s.Pop(), "");
    EXPECT_EQ(s.Pop(), std::string(239, 'e'));
}

// Compiling the text of compiled code gives the same code again.
TEST_F(FormulaDisplayTest, ShownTextCompilesBackToTheSameCode)
{
    Name("SALES", "B2..B9");
    Name("MYFN", "D1..E3");
    auto compile = [&](std::string text) {
        std::string typed = text;
        CompileFormula(e, text);
        EXPECT_FALSE(e.Err.ErrorFlag) << typed;
        return text;
    };
    const char* formulas[] = {
        "+A1*2",
        "(A1+B1)*2",
        "@SUM(A1..A5,7)",
        "+C5..A1",
        "\"abc\"&\"def\"",
        "-2^2",
        "@IF(A1>0,1,2)",
        "+$A$1+A$1-$B2/IV8192",
        "1.5E+07*A1+0.0000001",
        "@NOT(A1)#OR#B1<=3#AND#C1<>4",
        "5%+A1!",
        "@PI*@ROUND(B3,2)-@MOD(7,@ABS(-2))",
        "@SUM(B2..B9)+@SUM($B$2..$B$9)",
        "@MYFN(1,A1)",
        "+[C:\\DATA\\X.WKS]A1..B2",
    };
    for (const char* f : formulas) {
        std::string code = compile(f);
        std::string shown = FormulaToText(e, reinterpret_cast<const std::uint8_t*>(code.data()));
        EXPECT_EQ(compile(shown), code) << f << " shown as " << shown;
    }
}

// Random code, some of it shaped like formulas, never crashes the display
// nor gives more than 240 characters.
TEST_F(FormulaDisplayTest, DamagedCodeNeverBreaksTheDisplay)
{
    std::mt19937 rng(20240611);
    std::vector<TCellLink> links;
    for (int i = 0; i < 8; ++i)
        links.push_back(MakeLink(e, FindOrCreateCell(e, i * 3, i), i & 1, i & 2));
    links.push_back(0);
    ASSERT_TRUE(SetRangeName(e, "R", TRange{0, 0, 1, 3}));

    std::vector<std::uint8_t> buf(262);
    std::size_t longest = 0;
    for (int round = 0; round < 300000; ++round) {
        std::size_t n = rng() % 261;
        std::fill(buf.begin(), buf.end(), 0);
        for (std::size_t i = 0; i < n; i += 4) {
            std::uint32_t r = rng();
            std::memcpy(&buf[i], &r, std::min<std::size_t>(4, n - i));
        }
        if (round % 10 == 0 && n >= 3 && n <= kMaxCodeLength) {
            // Well formed around random content, with live links sprinkled in.
            buf[0] = static_cast<std::uint8_t>(n - 1);
            buf[1] = 0;
            buf[n - 1] = opEnd;
            for (std::size_t i = 2; i + 5 < n - 1; i += 1 + rng() % 12)
                if (rng() % 3 == 0) {
                    buf[i] = static_cast<std::uint8_t>(rng() % 3);
                    WriteLinkWord(&buf[i + 1], links[rng() % links.size()]);
                }
        }
        // Exactly the bytes a short string of length L holds, so that a
        // sanitizer build catches any read past them.
        std::vector<std::uint8_t> code(buf.begin(), buf.begin() + buf[0] + 1);
        std::string text = FormulaToText(e, code.data());
        ASSERT_LE(text.size(), 240u) << "round " << round;
        longest = std::max(longest, text.size());
    }
    EXPECT_GT(longest, 100u);  // the loop reached long texts, not only NOEND
}

}  // namespace
}  // namespace zt
