#include "formula/formula_display.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "core/address.h"
#include "core/range_names.h"
#include "formula/compiled_formula.h"
#include "formula/format_number.h"
#include "formula/opcodes.h"
#include "formula/text_stack.h"

namespace zt {

namespace {

// An argument list of this many characters no longer fits a formula text.
constexpr std::size_t kListLimit = 240;

// A cell or range operand: the corner written first and the one written
// after ".."; both are the same cell for a single reference.
struct RefOperand {
    LinkTarget Before;
    LinkTarget After;
    bool IsRange = false;
};

// A link of the code: linked, or in the relative form seen from the origin.
LinkTarget ReadCorner(const Engine& e, const std::uint8_t* at, const std::optional<CodeOrigin>& origin)
{
    if (!origin)
        return ReadLink(e, ReadLinkWord(at));
    LinkTarget t = ReadRelativeLink(at, origin->Row, origin->Col);
    return ValidCoord(t.Row, t.Col) ? t : LinkTarget{};
}

// The operand of opCellRef or opRangeRef starting at its opcode. A range
// holds the corner written after ".." first.
RefOperand ReadRefOperand(const Engine& e, const std::uint8_t* at, const std::optional<CodeOrigin>& origin)
{
    RefOperand r;
    if (at[0] == opRangeRef) {
        r.After = ReadCorner(e, at + 1, origin);
        r.Before = ReadCorner(e, at + 5, origin);
        r.IsRange = true;
    } else {
        r.Before = r.After = ReadCorner(e, at + 1, origin);
    }
    return r;
}

bool NamesCell(const LinkTarget& t) { return t.Row >= 0; }

std::string CornerText(const Engine& e, const LinkTarget& t)
{
    return NamesCell(t) ? FormatAddress(e, t.Row, t.Col, t.AbsCol, t.AbsRow) : "ERR";
}

std::string AddressText(const Engine& e, const RefOperand& r)
{
    std::string s = CornerText(e, r.Before);
    if (r.IsRange)
        s += ".." + CornerText(e, r.After);
    return s;
}

// The cells an operand covers, in the order written; none when a corner
// names no cell.
std::optional<TRange> Extent(const RefOperand& r)
{
    if (!NamesCell(r.Before) || !NamesCell(r.After))
        return std::nullopt;
    return TRange{static_cast<std::int16_t>(r.Before.Col), static_cast<std::int16_t>(r.Before.Row),
                  static_cast<std::int16_t>(r.After.Col), static_cast<std::int16_t>(r.After.Row)};
}

// The first range name, in table order, whose range is the operand's.
std::string RangeNameOf(const Engine& e, const RefOperand& r)
{
    std::optional<TRange> extent = Extent(r);
    if (!extent || !e.Cur)
        return {};
    for (int i = 1; i <= e.Cur->Names.Count; ++i)
        if (RangeOfName(e, i) == *extent)
            return RangeNameAt(e, i);
    return {};
}

bool AnyAbsolute(const RefOperand& r)
{
    return r.Before.AbsCol || r.Before.AbsRow || r.After.AbsCol || r.After.AbsRow;
}

// A reference as typed, or the range name that covers the same cells.
std::string ReferenceText(const Engine& e, const RefOperand& r)
{
    std::string name = RangeNameOf(e, r);
    if (name.empty())
        return AddressText(e, r);
    return AnyAbsolute(r) ? "$" + name : name;
}

// An external reference: "[path]" and the corners, "ERR" for a corner
// outside the worksheet. The operand is the TRange, then the path with its
// 0 byte when there is one.
std::string ExternalText(const Engine& e, const std::uint8_t* operand, int size)
{
    TRange r;
    std::memcpy(&r, operand, sizeof r);
    std::string_view path(reinterpret_cast<const char*>(operand + sizeof r), size - sizeof r);
    path = path.substr(0, path.find('\0'));
    auto corner = [&](int row, int col) { return ValidCoord(row, col) ? FormatAddress(e, row, col) : "ERR"; };
    std::string s = "[" + std::string(path) + "]";
    if (r.FirstCol != r.LastCol || r.FirstRow != r.LastRow)
        s += corner(r.FirstRow, r.FirstCol) + "..";
    return s + corner(r.LastRow, r.LastCol);
}

// How an opcode is written: an operator's sign, or "@" and a function name.
std::string OpText(std::uint8_t op)
{
    std::string name = op > kHighestFunction ? "UKW" : std::string(OpName(op));
    return (op > opFactorial || op == opNot) ? "@" + name : name;
}

// The number of user functions the worksheet holds.
int UserFunctionCount(const Engine& e) { return e.Cur ? static_cast<int>(e.Cur->UserFunctions.size()) : 0; }

// The postfix-to-infix conversion of one formula.
class Printer {
public:
    Printer(const Engine& e, const std::uint8_t* code, std::optional<CodeOrigin> origin)
        : e_(e), code_(code), origin_(origin), sep_(e.Cur ? e.Settings().Sep : e.Defaults.Sep),
          period_(e.Cur ? e.Settings().Period : e.Defaults.Period)
    {
    }

    std::string Run()
    {
        int L = code_[0];
        for (int pos = 2; pos < L && !overflow_;) {
            std::uint8_t op = code_[pos];
            if (op == opEnd)
                break;
            int size = op == opRangeFunction ? RangeFunctionOperandSize(code_, pos) : OperandSize(code_, pos);
            if (size < 0)
                break;
            Step(op, code_ + pos + 1, size);
            pos += 1 + size;
        }
        if (overflow_)
            return "OVERFLOW";
        return stack_.Empty() ? "@ERR" : stack_.Pop();
    }

private:
    void Step(std::uint8_t op, const std::uint8_t* operand, int size)
    {
        if (op == opRangeFunction) {
            RangeFunction(operand);
            return;
        }
        std::uint8_t cls = OpClass(op);
        switch (cls) {
        case opNumber: {
            double x;
            std::memcpy(&x, operand, sizeof x);
            stack_.Push(FormatNumber(x, period_));
            break;
        }
        case opInteger: {
            std::int16_t n;
            std::memcpy(&n, operand, sizeof n);
            stack_.Push(std::to_string(n));
            break;
        }
        case opCellRef:
        case opRangeRef: stack_.Push(ReferenceText(e_, ReadRefOperand(e_, operand - 1, origin_))); break;
        case opString: {
            std::string_view chars(reinterpret_cast<const char*>(operand), size);
            stack_.Push("\"" + std::string(chars.substr(0, chars.find('\0'))) + "\"");
            break;
        }
        case opExternalRef: stack_.Push(ExternalText(e_, operand, size)); break;
        case opParen: stack_.Push("(" + stack_.Pop() + ")"); break;
        case acPrefix: stack_.Push(OpText(op) + stack_.Pop()); break;
        case acInfix: {
            std::string right = stack_.Pop();
            std::string left = stack_.Pop();
            stack_.Push(left + OpText(op) + right);
            break;
        }
        case acPostfix: stack_.Push(stack_.Pop() + OpText(op)); break;
        case acArgs0: stack_.Push(OpText(op)); break;
        case acArgs1:
        case acArgs2:
        case acArgs3:
        case acArgs4: Call(OpText(op), cls - acArgs0); break;
        case acList: Call(OpText(op), operand[0]); break;
        case acUser: UserFunction(operand[0]); break;
        default: break;
        }
    }

    // Pops n arguments and pushes name(a1,a2,...); an argument list that
    // reaches kListLimit characters sets the overflow instead.
    void Call(const std::string& name, int n)
    {
        std::string list;
        for (int i = 0; i < n; ++i) {
            std::string arg = stack_.Pop();
            if (i == 0) {
                list = std::move(arg);
            } else {
                arg += sep_;
                list.insert(0, arg);
            }
            if (list.size() >= kListLimit) {
                overflow_ = true;
                return;
            }
        }
        list.insert(0, name + "(");
        list += ')';
        stack_.Push(std::move(list));
    }

    // A call of a text-defined function by its index in the worksheet's
    // table; an index outside the table prints @NOFUN, leaving the
    // arguments, whose count only the definition knows, where they are.
    // Without parameters the name stands alone, as it is typed.
    void UserFunction(int index)
    {
        if (index < 1 || index > UserFunctionCount(e_)) {
            stack_.Push("@NOFUN");
            return;
        }
        const TUserFunction& f = e_.Cur->UserFunctions[index - 1];
        if (f.ParamCount > 0)
            Call("@" + f.Name, f.ParamCount);
        else
            stack_.Push("@" + f.Name);
    }

    // A function defined by a named range: "@" and the name (or the
    // reference when no name covers it), one argument per column.
    void RangeFunction(const std::uint8_t* reference)
    {
        RefOperand r = ReadRefOperand(e_, reference, origin_);
        std::string name = RangeNameOf(e_, r);
        if (name.empty())
            name = AddressText(e_, r);
        std::optional<TRange> extent = Extent(r);
        int columns = extent ? std::abs(extent->LastCol - extent->FirstCol) + 1 : 1;
        Call("@" + name, columns);
    }

    const Engine& e_;
    const std::uint8_t* code_;
    std::optional<CodeOrigin> origin_;
    char sep_;
    char period_;
    TextStack stack_;
    bool overflow_ = false;
};

// A text that starts like a label gets a "+" so that it reads back as a formula.
bool StartsLikeLabel(const std::string& s)
{
    if (s.empty())
        return false;
    char c = s[0];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '$' || c == '"' || c == '[';
}

}  // namespace

std::string FormulaToText(const Engine& e, const std::uint8_t* code, std::optional<CodeOrigin> origin)
{
    if (!code || code[0] >= kMaxCodeLength || code[code[0]] != opEnd)
        return "NOEND";
    std::string text = Printer(e, code, origin).Run();
    return StartsLikeLabel(text) ? "+" + text : text;
}

}  // namespace zt
