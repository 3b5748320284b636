#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/cell_store.h"
#include "core/range_names.h"
#include "formula/compiled_formula.h"
#include "formula/compiler.h"

namespace zt {
namespace {

// Pieces formula text is made of, well-formed and not.
const std::vector<std::string> kPieces = {
    "A1", "$B$2", "c3", "C5..A1", "IV8192", "IW1", "SALES", "$SALES", "F", "RANGE", "CURSOR",
    "@SUM(", "@IF(", "@PI", "@F(", "@G(", "@NOT(", "@ABS(", "@", "@(", "(", ")", ")", ",", ";",
    "+", "-", "*", "/", "^", "&", "=", "<", ">", "<>", "=>", "#AND#", "#or#", "#X", "#", "?", "|",
    "\\", "_", "\x1c", "\x1e", "\x1f", "%", "!", "1", "2.5", "1E5", "1e", "32767", ".", "0",
    "\"ab\"", "\"", "\")\"", "[/x.wks]", "[rel.wks]", "[", "]", "..", "$", " ", std::string(1, '\0'),
    "\xff",
};

const std::vector<std::string> kSeeds = {
    "+A1+B1*2", "(A1+B1)*2", "@IF(A1>0,1,2)", "-2^2", "@SUM(B1..B3,7)*A1%", "\"abc\"&\"def\"",
    "@F(1,2)", "+[/x.wks]A1..B2", "@SUM([rel.wks]A1,@MAX(1,2,3))", "--A1#AND#@NOT(B2)",
    "@FIND(\")\",A1,0)", "((((1))))", "2*-3!", "@G(@PI)",
};

// Why compiled code breaks the container rules, or empty when it does not.
std::string Malformation(const std::string& code)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(code.data());
    if (code.empty() || code.size() != p[0] + 1u)
        return "length byte does not match the string";
    if (!IsWellFormed(p) || p[0] >= kMaxCodeLength || p[1] != 0)
        return "not well formed";
    int next = 2;
    bool inStep = true;
    WalkFormula(p, [&](int pos, std::uint8_t) {
        inStep = pos == next;
        next = pos + 1 + OperandSize(p, pos);
        return inStep;
    });
    if (!inStep || next != p[0])
        return "walk does not end at the end marker";
    return {};
}

std::string Escaped(const std::string& text)
{
    std::string s;
    for (unsigned char c : text)
        s += (c >= 32 && c < 127) ? std::string(1, static_cast<char>(c)) : "\\x" + std::to_string(c);
    return s;
}

class Generator {
public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    std::string Next()
    {
        switch (Pick(4)) {
        case 0: return Expression(0);
        case 1: return Mutated(Expression(0));
        case 2: return FromPieces();
        default: return Pick(4) == 0 ? RandomBytes() : Mutated(kSeeds[Pick(kSeeds.size())]);
        }
    }

private:
    std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }

    std::string Address()
    {
        std::string s = Pick(4) == 0 ? "$" : "";
        std::size_t col = Pick(4) == 0 ? Pick(260) : Pick(8);
        if (col >= 26)
            s += static_cast<char>('A' + col / 26 - 1);
        s += static_cast<char>('A' + col % 26);
        if (Pick(4) == 0)
            s += '$';
        return s + std::to_string(Pick(4) == 0 ? Pick(8200) : 1 + Pick(9));
    }

    std::string Operand()
    {
        switch (Pick(8)) {
        case 0: return Address() + ".." + Address();
        case 1: return std::to_string(Pick(40000));
        case 2: {
            std::string s = std::to_string(Pick(1000)) + "." + std::to_string(Pick(1000));
            return Pick(2) ? s + "E" + std::to_string(Pick(400)) : s;
        }
        case 3: return "\"" + std::string(Pick(20), 'x') + "\"";
        case 4: return Pick(2) ? "SALES" : "[/x.wks]" + Address();
        default: return Address() + (Pick(6) == 0 ? "%" : "");
        }
    }

    // A text that compiles unless it grows too long or refers outside the sheet.
    std::string Expression(int depth)
    {
        static const char* const kBinary[] = {"+", "-", "*", "/", "^", "&", "=", "<>", "<=", ">=", "<", ">",
                                              "#AND#", "#OR#"};
        if (depth > 3)
            return Operand();
        switch (Pick(10)) {
        case 0: return Expression(depth + 1) + kBinary[Pick(std::size(kBinary))] + Expression(depth + 1);
        case 1: return (Pick(2) ? "-" : "+") + Expression(depth + 1);
        case 2: return "(" + Expression(depth + 1) + ")";
        case 3: return "@IF(" + Arguments(depth, 3) + ")";
        case 4: return (Pick(2) ? "@SUM(" : "@MAX(") + Arguments(depth, 1 + Pick(4)) + ")";
        case 5: return Pick(2) ? "@F(" + Arguments(depth, 2) + ")" : "@ABS(" + Arguments(depth, 1) + ")";
        default: return Operand();
        }
    }

    std::string Arguments(int depth, std::size_t count)
    {
        std::string s = Expression(depth + 1);
        while (--count > 0)
            s += "," + Expression(depth + 1);
        return s;
    }

    std::string FromPieces()
    {
        std::string s;
        for (std::size_t n = 1 + Pick(12); n > 0; --n)
            s += kPieces[Pick(kPieces.size())];
        return s;
    }

    std::string Mutated(std::string s)
    {
        for (std::size_t n = 1 + Pick(3); n > 0; --n) {
            std::size_t at = Pick(s.size() + 1);
            const std::string& piece = kPieces[Pick(kPieces.size())];
            switch (Pick(3)) {
            case 0: s.insert(at, piece); break;
            case 1: s.erase(at, 1 + Pick(3)); break;
            default: s.insert(at, s.substr(Pick(s.size() + 1))); break;
            }
        }
        return s;
    }

    std::string RandomBytes()
    {
        std::string s(Pick(260), '\0');
        for (char& c : s)
            c = static_cast<char>(Pick(256));
        return s;
    }

    std::mt19937 rng_;
};

// Random and mutated texts must either fail or give code that keeps the
// container rules; neither may crash, and enough must compile for the
// check to mean something.
TEST(CompilerRobustnessTest, AnyTextFailsOrGivesWellFormedCode)
{
    Engine e(256);
    RestoreContext(e, OpenSheet(e, "T"));
    ASSERT_TRUE(SetRangeName(e, "SALES", TRange{1, 1, 1, 8}));
    ASSERT_TRUE(SetRangeName(e, "F", TRange{0, 0, 1, 2}));
    ASSERT_TRUE(SetRangeName(e, "G", TRange{4, 4, 4, 4}));

    Generator gen(20240601);
    constexpr int kTexts = 200000;
    int compiled = 0;
    for (int i = 0; i < kTexts; ++i) {
        if (i % 1000 == 0) {
            FreeAllCells(e);
            bool european = (i / 1000) % 2 == 1;
            e.Settings().Sep = european ? ';' : ',';
            e.Settings().Period = european ? ',' : '.';
        }
        std::string text = gen.Next();
        std::string code = text;
        CompileFormula(e, code);
        if (e.Err.ErrorFlag)
            continue;
        ++compiled;
        std::string fault = Malformation(code);
        ASSERT_TRUE(fault.empty()) << fault << " for: " << Escaped(text);
    }
    EXPECT_GT(compiled, kTexts / 10);
}

}  // namespace
}  // namespace zt
