#include "formula/evaluator.h"

#include <array>
#include <cmath>
#include <cstring>

#include "core/cell_store.h"
#include "formula/compiled_formula.h"
#include "formula/compiler.h"
#include "formula/functions.h"
#include "formula/opcodes.h"
#include "formula/range_cache.h"
#include "formula/user_functions.h"

namespace zt {

namespace {

void Nothing(EvalMachine&) {}

HandlerTable BuildHandlers()
{
    HandlerTable t;
    t.fill(Nothing);
    RegisterOperandHandlers(t);
    RegisterOperatorHandlers(t);
    RegisterMathFunctions(t);
    RegisterHigherMathFunctions(t);
    RegisterFinanceFunctions(t);
    RegisterDateFunctions(t);
    RegisterAggregateFunctions(t);
    RegisterRangeStatistics(t);
    RegisterNumericMethods(t);
    RegisterDatabaseFunctions(t);
    RegisterLogicFunctions(t);
    RegisterTextFunctions(t);
    RegisterLookupFunctions(t);
    RegisterCellFunctions(t);
    RegisterSystemFunctions(t);
    RegisterUserFunctions(t);
    return t;
}

// Stack slots an opcode needs before it runs; -1 when it cannot run at all.
int SlotsNeeded(const Engine& e, const std::uint8_t* code, int offset)
{
    if (code[offset] == opRangeFunction)
        return RangeFunctionArity(e, code, offset);
    switch (std::uint8_t cls = OpClass(code[offset])) {
    case acPrefix:
    case acArgs1:
    case acPostfix: return 1;
    case acInfix: return 2;
    case acArgs2:
    case acArgs3:
    case acArgs4: return cls - acArgs0;
    case acList: return code[offset + 1] == 0 ? -1 : code[offset + 1];
    case acUser: return UserFunctionArity(e, code[offset + 1]);
    default: return 0;
    }
}

// Runs compiled code; the result is the top slot (slot 0 holds ERR when
// the code leaves nothing).
void Run(EvalMachine& m)
{
    const HandlerTable& handlers = OpHandlers();
    ErrorState& err = m.E.Err;
    const std::uint8_t* code = m.Code;
    int L = code[0];
    err.ErrorFlag = false;
    for (int pc = 2; pc < L;) {
        std::uint8_t op = code[pc];
        if (op == opEnd)
            break;
        // A range function's reference belongs to the call, not to the stack.
        int size = op == opRangeFunction ? RangeFunctionOperandSize(code, pc) : OperandSize(code, pc);
        int needed = size < 0 ? -1 : SlotsNeeded(m.E, code, pc);
        if (needed < 0 || m.Sp < needed) {
            m.Fault = true;
            break;
        }
        m.Op = op;
        m.OpOffset = pc;
        m.Pc = pc + 1;
        handlers[op](m);
        pc += 1 + size;
        if (m.Sp == 0 || m.Fault)
            break;
        EvalSlot& top = m.Top();
        if (op >= opNeg) {
            // A computed value is no longer the reference that was pushed.
            top.RangeOrigin = 0;
            top.PushedBy = static_cast<std::uint8_t>(m.OpOffset);
        }
        if (op >= opNot) {
            top.Error = top.Error || err.ErrorFlag;
        } else if (op >= opAdd) {
            top.Error = top.Error || m.Stack[m.Sp + 1].Error || err.ErrorFlag;
            top.Type = stNumber;
        }
        err.ErrorFlag = false;
        // The machine does not trap floating-point faults: an overflow or an
        // invalid operation shows up as a value that is not finite.
        if (!std::isfinite(top.Value)) {
            m.Fault = true;
            break;
        }
    }
    if (m.Fault || m.Sp == 0) {
        if (m.Sp == 0)
            m.Sp = 1;
        EvalSlot& top = m.Top();
        top.Error = true;
        top.Type = stNumber;
        top.Value = -1.0;
    }
    err.ErrorFlag = false;
}

}  // namespace

const HandlerTable& OpHandlers()
{
    static const HandlerTable table = BuildHandlers();
    return table;
}

void LoadCellValue(EvalMachine& m, const TCell* cell)
{
    if (!m.Push())
        return;
    EvalSlot& s = m.Top();
    if (!cell) {
        s.Type = stMissing;
        s.Error = true;
        return;
    }
    if ((cell->Kind & 0x0F) > ckBlank) {
        s.Error = true;
        return;
    }
    switch (cell->Kind & 7) {
    case ckFormula:
    case ckReal: s.Value = ReadReal(*cell); break;
    case ckInteger: s.Value = ReadInteger(*cell); break;
    case ckStrFormula: m.SetString(s, TextOf(m.E, ReadStrResult(*cell))); break;
    case ckString: {
        std::string_view label = TextOf(m.E, cell->Text);
        m.SetString(s, label.empty() ? label : label.substr(1));
        break;
    }
    default: m.SetString(s, {}); break;
    }
}

namespace {

void EvaluateFormula(Engine& e, PCell cell)
{
    // Code still in its relative form names no cells yet.
    if (cell->Kind & kfUnlinked)
        return;
    std::uint8_t kind = cell->Kind & 7;
    cell->Kind = kind;
    if (kind > ckFormula)
        return;
    const std::uint8_t* code = CodeOf(e, cell);
    if (!code || !IsWellFormed(code)) {
        if (kind == ckStrFormula) {
            HeapAddr old = ReadStrResult(*cell);
            FreeText(e, old);
        }
        cell->Kind = ckFormula | kfError;
        WriteReal(*cell, -1.0);
        return;
    }
    // Handlers may rewrite cells, this one included (a range function writes
    // its arguments into its parameter cells), so the run reads a copy of
    // the code and a cell that no longer holds this formula keeps what it
    // was given.
    std::array<std::uint8_t, kMaxCodeLength + 1> running;
    std::memcpy(running.data(), code, code[0] + 1u);
    EvalMachine m(e, running.data());
    Run(m);
    if (!IsFormulaKind(cell->Kind) || CodeOf(e, cell) != code)
        return;
    EvalSlot& top = m.Top();
    HeapAddr oldString = kind == ckStrFormula ? ReadStrResult(*cell) : 0;
    if (top.Type == stString && !top.Error) {
        std::string_view s = m.SlotString(top);
        HeapAddr stored = 0;
        if (!s.empty()) {
            stored = SetText(e, oldString, s);
            if (e.Err.ErrorFlag) {
                e.Err.Clear();
                FreeText(e, oldString);
                cell->Kind = ckFormula | kfError;
                WriteReal(*cell, -1.0);
                return;
            }
        } else {
            FreeText(e, oldString);
        }
        cell->Kind = ckStrFormula;
        WriteStrResult(*cell, stored);
        return;
    }
    FreeText(e, oldString);
    cell->Kind = ckFormula;
    if (top.Error) {
        cell->Kind |= kfError;
        WriteReal(*cell, -1.0);
    } else {
        WriteReal(*cell, top.Value);
    }
}

}  // namespace

void EvaluateCell(Engine& e, PCell cell)
{
    // The cell's kind changes as its evaluation starts, and its value as it ends.
    RangeCache* cache = e.Runtime.Cache;
    if (cache)
        cache->CellWritten(cell->Row, cell->Col);
    EvaluateFormula(e, cell);
    if (cache)
        cache->CellWritten(cell->Row, cell->Col);
}

TextValue EvaluateText(Engine& e, std::string_view formula, bool compiled)
{
    TextValue result;
    ErrorState saved = e.Err;
    std::string code(formula);
    if (!compiled)
        CompileFormula(e, code);
    if (e.Err.ErrorFlag || code.empty() || !IsWellFormed(reinterpret_cast<const std::uint8_t*>(code.data()))) {
        result.Error = true;
        result.CompileFailed = true;
        result.Number = -1.0;
        e.Err = saved;
        return result;
    }
    if (e.Runtime.EvalDepth >= kMaxEvalDepth) {
        result.Error = true;
        result.Number = -1.0;
        e.Err = saved;
        return result;
    }
    ++e.Runtime.EvalDepth;
    EvalMachine m(e, reinterpret_cast<const std::uint8_t*>(code.data()));
    Run(m);
    --e.Runtime.EvalDepth;
    const EvalSlot& top = m.Top();
    result.Error = top.Error;
    if (top.Error) {
        result.Number = -1.0;
    } else if (top.Type == stString) {
        result.IsString = true;
        result.Text = std::string(m.SlotString(top));
    } else {
        result.Number = top.Value;
    }
    e.Err = saved;
    return result;
}

TextValue EvaluateTypedExpression(Engine& e, std::string_view text)
{
    const bool formula = !text.empty() && (text[0] == '+' || text[0] == '-' || text[0] == '(' || text[0] == '@');
    return EvaluateText(e, formula ? std::string(text) : "+" + std::string(text));
}

}  // namespace zt
