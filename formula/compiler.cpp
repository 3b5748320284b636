#include "formula/compiler.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "formula/compiler_operands.h"
#include "formula/compiler_operators.h"
#include "formula/compiler_state.h"
#include "formula/opcodes.h"

namespace zt {

namespace {

using namespace compile;

// Parentheses nested deeper than this fail, so that no text can exhaust
// the C++ stack through the recursion per group.
constexpr int kMaxNesting = 99;

// One expression level: the whole formula or the text inside one pair of
// parentheses. Operators wait on a stack until one that binds no more
// tightly arrives; operands are written as soon as they end.
struct Level {
    Level(CompilerState& st, std::string_view text, int& parentBalance)
        : St(st), ParentBalance(parentBalance), Sep(st.E.Settings().Sep), Period(st.E.Settings().Period)
    {
        // The closing blank flushes the operator stack at the end.
        Text.assign(text);
        Text += ' ';
        if (Text.front() == '+')
            Pos = 1;
    }

    CompilerState& St;
    int& ParentBalance;  // counts this level's separators: the owner of the argument list settles them
    char Sep;
    char Period;
    std::string Text;
    std::size_t Pos = 0;
    bool OperandExpected = true;
    bool Flushed = false;  // the closing blank went through the operator step
    std::string Stack = " ";
    int Balance = 0;

    bool IsOperator(char c) const { return IsOperatorChar(c, Sep); }
    bool IsNumberChar(char c) const { return (c >= '0' && c <= '9') || c == '!' || c == '%' || c == Period; }
    char At(std::size_t i) const { return i < Text.size() ? Text[i] : '\0'; }
};

void CompileExpression(CompilerState& st, std::string_view text, int& parentBalance);

void EmitOperator(Level& lv, char c)
{
    if (std::uint8_t op = OperatorOpcode(c, lv.Sep))
        lv.St.Emit(op);
}

void OperatorStep(Level& lv, char c)
{
    // A file name is followed directly by its range; an operator between
    // them, the closing blank included, means the range is missing.
    if (lv.St.PendingExternal) {
        lv.St.Fail();
        return;
    }
    if (c == lv.Sep)
        ++lv.ParentBalance;
    bool prefix = lv.OperandExpected;
    if (prefix) {
        if (c == '+') {
            c = kPlusCode;
        } else if (c == '-') {
            c = kNegCode;
        } else {
            lv.St.Fail();
            return;
        }
    }
    if (auto pair = LookUpPair(c, lv.At(lv.Pos + 1))) {
        c = pair->Code;
        lv.Pos += pair->Skip;
    }
    // A prefix operator has no left operand, so nothing on the stack is
    // complete yet. Any other operator first writes those that bind at
    // least as tightly: equal precedence associates to the left.
    int precedence = Precedence(c, lv.Sep);
    while (!prefix && !lv.Stack.empty() && precedence <= Precedence(lv.Stack.back(), lv.Sep)) {
        EmitOperator(lv, lv.Stack.back());
        lv.Stack.pop_back();
    }
    lv.Stack.push_back(c);
}

// The ')' that closes the '(' at `open`, or npos. Quoted strings and
// bracketed file names may hold parentheses of their own.
std::size_t MatchingParen(std::string_view text, std::size_t open)
{
    int depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"' || c == '[') {
            i = text.find(c == '"' ? '"' : ']', i + 1);
            if (i == std::string_view::npos)
                return i;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

// Compiles the group opened at the current position. A group at the
// operand start is a parenthesised expression, otherwise the text before
// it names the function it calls. False when compilation failed.
bool CompileGroup(Level& lv, std::size_t& start)
{
    CompilerState& st = lv.St;
    std::size_t open = lv.Pos;
    std::size_t close = MatchingParen(lv.Text, open);
    if (close == std::string_view::npos || st.Depth == kMaxNesting) {
        st.Fail();
        return false;
    }
    std::string_view text = lv.Text;
    ++st.Depth;
    CompileExpression(st, text.substr(open + 1, close - open - 1), lv.Balance);
    --st.Depth;
    if (st.Failed())
        return false;
    if (open == start)
        st.Emit(opParen);
    else
        EmitName(st, NameMode::Call, text.substr(start, open - start), lv.Balance);
    start = close + 1;
    lv.Pos = close;
    return !st.Failed();
}

// Skips the leading run of an operand: a reference or name up to the next
// operator, else the characters of a number, where an exponent letter
// after a digit also takes the sign or digit after it.
void ScanOperandStart(Level& lv)
{
    char c = lv.Text[lv.Pos];
    if ((c >= 'A' && c <= 'Z') || c == '$') {
        while (lv.Pos < lv.Text.size() && !lv.IsOperator(lv.Text[lv.Pos]))
            ++lv.Pos;
        return;
    }
    bool digitSeen = false;
    while (lv.Pos < lv.Text.size()) {
        c = lv.Text[lv.Pos];
        if (digitSeen && (c == 'E' || c == 'e')) {
            lv.Pos += 2;
        } else if (lv.IsNumberChar(c)) {
            digitSeen |= c >= '0' && c <= '9';
            ++lv.Pos;
        } else {
            return;
        }
    }
}

void OperandStep(Level& lv)
{
    std::string_view text = lv.Text;
    std::size_t start = lv.Pos;
    ScanOperandStart(lv);
    while (lv.Pos < text.size() && !lv.IsOperator(text[lv.Pos])) {
        char c = text[lv.Pos];
        if (c == '[') {
            // A file name ends the operand; its range is the next one.
            std::size_t close = text.find(']', lv.Pos);
            lv.Pos = (close == std::string_view::npos ? text.size() : close) + 1;
            break;
        }
        if (c == '"') {
            std::size_t close = text.find('"', lv.Pos + 1);
            lv.Pos = close == std::string_view::npos ? text.size() : close;
        } else if (c == '(' && !CompileGroup(lv, start)) {
            return;
        }
        ++lv.Pos;
    }
    std::size_t end = std::min(lv.Pos, text.size());
    if (start < end)
        EmitName(lv.St, NameMode::Plain, text.substr(start, end - start), lv.Balance);
}

void CompileExpression(CompilerState& st, std::string_view text, int& parentBalance)
{
    Level lv(st, text, parentBalance);
    std::size_t last = lv.Text.size() - 1;
    while (lv.Pos < lv.Text.size() && !st.Failed()) {
        char c = lv.Text[lv.Pos];
        if (lv.IsOperator(c)) {
            lv.Flushed = lv.Pos == last;
            OperatorStep(lv, c);
            ++lv.Pos;
            lv.OperandExpected = true;
        } else {
            OperandStep(lv);
            lv.OperandExpected = false;
        }
    }
    // A string, file name, exponent or operator pair can run over the
    // closing blank; its flush must still happen.
    if (!lv.Flushed && !st.Failed())
        OperatorStep(lv, ' ');
    if (!st.Failed())
        parentBalance += lv.Balance;
}

}  // namespace

void CompileFormula(Engine& e, std::string& text)
{
    e.Err.ErrorFlag = false;
    // A longer text is refused whole: cutting it would compile another formula.
    if (text.size() > std::size_t(kMaxCellText)) {
        e.Err.Set(kFormulaTooLong);
        return;
    }
    CompilerState st(e);
    int balance = 0;
    CompileExpression(st, text, balance);
    // Separators outside an argument list, or arguments that do not match
    // their function, leave the balance off zero.
    if (balance != 0)
        st.Fail();
    if (st.Failed())
        return;
    int end = st.Pos;
    st.Out[0] = static_cast<std::uint8_t>(end);
    st.Out[1] = 0;
    st.Out[end] = opEnd;
    text.assign(reinterpret_cast<const char*>(st.Out.data()), end + 1);
}

}  // namespace zt
