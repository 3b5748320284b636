// Formula text shown again compiles to the same code, over a generated
// corpus of formulas using every operator, most functions and every kind
// of operand.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/address.h"
#include "core/cell_store.h"
#include "formula/compiled_formula.h"
#include "formula/compiler.h"
#include "formula/formula_display.h"
#include "formula/opcodes.h"

namespace zt {
namespace {

class FormulaGenerator {
public:
    explicit FormulaGenerator(unsigned seed) : rng_(seed) {}

    std::string Expression(int depth)
    {
        if (depth <= 0 || Below(4) == 0)
            return Operand();
        switch (Below(6)) {
        case 0: return Expression(depth - 1) + Pick(kInfix) + Expression(depth - 1);
        case 1: return "(" + Expression(depth - 1) + ")";
        // A unary plus is left out: at the start of a group the compiler
        // skips it, so it cannot survive a round trip (it changes no value).
        case 2: return "-" + Expression(depth - 1);
        case 3: return Function(depth - 1);
        case 4: return (Below(2) ? Number() : Cell()) + Pick({"%", "!"});
        default: return Expression(depth - 1) + Pick(kInfix) + Operand();
        }
    }

private:
    static constexpr std::initializer_list<const char*> kInfix = {
        "+", "-", "*", "/", "^", "=", "<>", "<=", ">=", "<", ">", "#AND#", "#OR#", "&"};

    int Below(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    std::string Pick(std::initializer_list<const char*> list) { return *(list.begin() + Below(int(list.size()))); }

    std::string Cell()
    {
        std::string a = Below(3) == 0 ? "$" : "";
        a += ColumnLetters(Below(3) == 0 ? Below(256) : Below(6));
        if (Below(3) == 0)
            a += "$";
        return a + std::to_string(1 + (Below(3) == 0 ? Below(8192) : Below(20)));
    }

    std::string Number()
    {
        switch (Below(5)) {
        case 0: return std::to_string(Below(40000));
        case 1: return std::to_string(Below(1000)) + "." + std::to_string(Below(1000));
        case 2: return std::to_string(1 + Below(9)) + "E" + std::to_string(Below(60) - 30);
        case 3: return "." + std::to_string(Below(100));
        default: return std::to_string(Below(10));
        }
    }

    std::string Operand()
    {
        switch (Below(5)) {
        case 0: return Number();
        case 1: return "\"" + std::string(Below(4), static_cast<char>('a' + Below(26))) + "\"";
        case 2: return Cell() + ".." + Cell();
        default: return Cell();
        }
    }

    std::string Function(int depth)
    {
        for (;;) {
            int op = 31 + Below(kHighestFunction - 30);
            std::string_view name = OpName(static_cast<std::uint8_t>(op));
            if (name.empty())
                continue;
            int cls = OpClass(static_cast<std::uint8_t>(op));
            int args = cls == acList ? 1 + Below(4) : cls - acArgs0;
            std::string text = "@" + std::string(name);
            if (args == 0)
                return text;
            text += "(";
            for (int i = 0; i < args; ++i)
                text += (i ? "," : "") + Expression(depth);
            return text + ")";
        }
    }

    std::mt19937 rng_;
};

TEST(FormulaRoundTripTest, ShownTextCompilesBackToTheSameCode)
{
    Engine e(1024);
    RestoreContext(e, OpenSheet(e, "T"));
    FormulaGenerator g(8128);
    int compiled = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string text = g.Expression(4);
        if (text.size() > 200)
            continue;
        std::string code = text;
        CompileFormula(e, code);
        if (e.Err.ErrorFlag) {
            // Only code that outgrows the container may fail.
            ASSERT_GT(text.size(), 40u) << text;
            continue;
        }
        ++compiled;
        std::string shown = FormulaToText(e, reinterpret_cast<const std::uint8_t*>(code.data()));
        std::string again = shown;
        CompileFormula(e, again);
        ASSERT_FALSE(e.Err.ErrorFlag) << text << " was shown as " << shown;
        ASSERT_EQ(again, code) << text << " was shown as " << shown;
        if (i % 2000 == 0)
            FreeAllCells(e);
    }
    EXPECT_GT(compiled, 15000);
}

}  // namespace
}  // namespace zt
