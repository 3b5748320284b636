// Truth values, ERR and NA, and the functions that choose or inspect values.
#include <string>

#include "formula/compiled_formula.h"
#include "formula/function_support.h"
#include "formula/functions.h"
#include "formula/opcodes.h"

namespace zt {

namespace {

constexpr std::uint8_t opNa = 31, opErr = 32, opCase = 48, opIsNa = 49, opIsErr = 50, opFalse = 51,
                       opTrue = 52, opIf = 59, opIsNum = 68, opIsStr = 69;

// Replaces the top n arguments by a copy of argument `from` (0 is the top):
// a string stays a string. ERR exactly when `error` says so.
void ResultFromArg(EvalMachine& m, int n, int from, bool error)
{
    EvalSlot chosen = m.Arg(from);
    if (chosen.Type == stString) {
        ResultString(m, n, std::string(m.SlotString(chosen)), false);
    } else {
        ResultNumber(m, n, chosen.Value, false);
    }
    m.Top().Error = m.Top().Error || error;
}

void True(EvalMachine& m) { m.PushNumber(1); }
void False(EvalMachine& m) { m.PushNumber(0); }
void Na(EvalMachine& m) { m.PushNumber(-1.0); }

void Err(EvalMachine& m)
{
    m.PushNumber(-1.0);
    if (m.Sp > 0)
        m.Top().Error = true;
}

// @ISNA(x): NA is the number -1, so a computed -1 counts as NA too.
void IsNa(EvalMachine& m) { ResultNumber(m, 1, m.Top().Value == -1.0 ? 1 : 0); }

// @ISERR(x): the one function that looks at ERR instead of passing it on.
void IsErr(EvalMachine& m) { ResultNumber(m, 1, m.Top().Error ? 1 : 0, false); }

// @IF(c, a, b): a only when c is exactly 1. An ERR in the argument not
// chosen does not matter.
void If(EvalMachine& m)
{
    const EvalSlot& c = m.Arg(2);
    int from = c.Value == 1.0 ? 1 : 0;
    ResultFromArg(m, 3, from, c.Error || m.Arg(from).Error);
}

// @CASE(n, v0, v1, ...): the value numbered n, counting from 0.
void Case(EvalMachine& m)
{
    int count = ListCount(m);
    const EvalSlot& selector = m.Arg(count - 1);
    int n = 0;
    if (selector.Error || !SmallIntArg(selector.Value, n) || n < 0 || n >= count - 1) {
        ResultError(m, count);
        return;
    }
    int from = count - 2 - n;
    ResultFromArg(m, count, from, m.Arg(from).Error);
}

// Whether the argument was pushed by a reference operand; if so, `cell` is
// the cell whose value it holds (a range pushes its first link's cell).
bool ReferencedCell(EvalMachine& m, const EvalSlot& slot, const TCell*& cell)
{
    int at = slot.PushedBy;
    int L = m.Code[0];
    if (at < 2 || at + 5 > L || (m.Code[at] != opCellRef && m.Code[at] != opRangeRef))
        return false;
    cell = ReadLink(m.E, ReadLinkWord(m.Code + at + 1)).Cell;
    return true;
}

// @ISNUM(x), @ISSTR(x): a reference is judged by its cell's kind (so a
// blank cell is neither); any other argument by the type of its value.
void IsNumOrStr(EvalMachine& m)
{
    const EvalSlot& x = m.Top();
    const TCell* cell = nullptr;
    bool number, string;
    if (ReferencedCell(m, x, cell)) {
        number = IsNumericKind(KindOf(cell));
        string = IsLabelOrStrFormula(KindOf(cell));
    } else {
        number = x.Type == stNumber;
        string = x.Type == stString;
    }
    ResultNumber(m, 1, (m.Op == opIsNum ? number : string) ? 1 : 0);
}

}  // namespace

void RegisterLogicFunctions(HandlerTable& t)
{
    t[opTrue] = True;
    t[opFalse] = False;
    t[opNa] = Na;
    t[opErr] = Err;
    t[opIsNa] = IsNa;
    t[opIsErr] = IsErr;
    t[opIf] = If;
    t[opCase] = Case;
    t[opIsNum] = IsNumOrStr;
    t[opIsStr] = IsNumOrStr;
}

}  // namespace zt
