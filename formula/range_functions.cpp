// Functions defined by a named range: the first row holds the parameters,
// one per column, and the bottom-left cell the formula that computes the
// result from them.
#include "core/cell_store.h"
#include "formula/compiled_formula.h"
#include "formula/evaluator.h"
#include "formula/function_support.h"
#include "formula/opcodes.h"
#include "formula/range_cache.h"
#include "formula/user_functions.h"

namespace zt {

namespace {

// The ordered range named by the reference after opRangeFunction at
// `offset`; undefined when the reference is incomplete or a corner names
// no cell.
TRange CalledRange(const Engine& e, const std::uint8_t* code, int offset)
{
    if (RangeFunctionOperandSize(code, offset) < 0)
        return kUndefinedRange;
    const std::uint8_t* ref = code + offset + 1;
    LinkTarget after = ReadLink(e, ReadLinkWord(ref + 1));
    LinkTarget before = ref[0] == opRangeRef ? ReadLink(e, ReadLinkWord(ref + 5)) : after;
    if (!after.Cell || !before.Cell)
        return kUndefinedRange;
    return OrderedRange(TRange{std::int16_t(before.Col), std::int16_t(before.Row), std::int16_t(after.Col),
                               std::int16_t(after.Row)});
}

// Makes a parameter cell hold the number alone: whatever it held before
// (formula code and its dependency links, a label, a string result) is
// freed first. Nothing is recalculated.
bool WriteParameter(Engine& e, int row, int col, double value)
{
    PCell c = FindOrCreateCell(e, row, col);
    if (!c)
        return false;
    ClearCell(e, c);
    c->Kind = ckReal;
    WriteReal(*c, value);
    if (e.Runtime.Cache)
        e.Runtime.Cache->CellWritten(row, col);
    return true;
}

// The value of the bottom-left cell's formula, evaluated from a copy of its
// code; 0 when the cell holds no formula.
TextValue EvaluateBody(Engine& e, int row, int col)
{
    TextValue v;
    PCell c = FindCell(e, row, col);
    if (!c || !IsFormulaKind(c->Kind))
        return v;
    const std::uint8_t* code = CodeOf(e, c);
    // Code still in its relative form names no cells yet.
    if (!code || (c->Kind & kfUnlinked)) {
        v.Number = -1.0;
        v.Error = true;
        return v;
    }
    return EvaluateText(e, std::string(reinterpret_cast<const char*>(code), code[0] + 1u), true);
}

// opRangeFunction: the arguments go into the parameter cells from the last
// (rightmost) to the first, then the body is evaluated. The run loop has
// checked that the range exists and that its arguments are on the stack.
void OpRangeFunction(EvalMachine& m)
{
    Engine& e = m.E;
    TRange r = CalledRange(e, m.Code, m.OpOffset);
    int n = r.LastCol - r.FirstCol + 1;
    bool argumentError = AnyError(m, n);
    bool written = true;
    for (int i = n - 1; i >= 0 && written; --i)
        written = WriteParameter(e, r.FirstRow, r.FirstCol + i, m.Arg(n - 1 - i).Value);
    m.Pop(n);
    if (!written) {
        m.PushNumber(-1.0);
        e.Err.ErrorFlag = true;
        return;
    }
    TextValue v = EvaluateBody(e, r.LastRow, r.FirstCol);
    if (v.IsString)
        m.PushString(v.Text);
    else
        m.PushNumber(v.Number);
    if (v.Error || argumentError)
        e.Err.ErrorFlag = true;
}

}  // namespace

int RangeFunctionArity(const Engine& e, const std::uint8_t* code, int offset)
{
    TRange r = CalledRange(e, code, offset);
    return RangeIsDefined(r) ? r.LastCol - r.FirstCol + 1 : -1;
}

void RegisterRangeFunctions(HandlerTable& t) { t[opRangeFunction] = OpRangeFunction; }

}  // namespace zt
