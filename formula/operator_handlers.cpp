#include <cmath>
#include <string>

#include "formula/evaluator.h"
#include "formula/opcodes.h"

namespace zt {

namespace {

// Integral exponents by repeated squaring; 0 to any power is 0.
double Power(EvalMachine& m, double b, double e)
{
    if (b == 0)
        return 0;
    if (e == 0)
        return 1;
    if (e == std::trunc(e)) {
        double n = std::fabs(e);
        double p;
        if (n < 9007199254740992.0) {
            auto k = static_cast<std::uint64_t>(n);
            p = 1;
            double x = b;
            while (k) {
                if (k & 1)
                    p *= x;
                x *= x;
                k >>= 1;
            }
        } else {
            p = std::pow(b, n);
        }
        if (e > 0)
            return p;
        if (p == 0) {
            m.E.Err.ErrorFlag = true;
            return 1;
        }
        return 1 / p;
    }
    if (b < 0) {
        m.E.Err.ErrorFlag = true;
        return 1;
    }
    return std::exp(e * std::log(b));
}

// opNeg: replace the top value with its negation.
void OpNeg(EvalMachine& m)
{
    EvalSlot& x = m.Top();
    m.SetNumber(x, -x.Value);
}

// opPlus: the top value stays as it is.
void OpPlus(EvalMachine&) {}

// opAdd .. opPower: pop the right operand, combine it into the left one.
void OpArithmetic(EvalMachine& m)
{
    EvalSlot& r = m.Arg(0);
    EvalSlot& l = m.Arg(1);
    double a = l.Value, b = r.Value, v = 0;
    switch (m.Op) {
    case opAdd: v = a + b; break;
    case opSub: v = a - b; break;
    case opMul: v = a * b; break;
    case opDiv:
        if (b == 0) {
            m.E.Err.ErrorFlag = true;
            v = 1;
        } else {
            v = a / b;
        }
        break;
    default: v = Power(m, a, b); break;
    }
    m.Pop(1);
    m.SetNumber(l, v);
}

// opEq .. opGt: 1 or 0. Two strings compare byte for byte; anything else
// compares as numbers.
void OpCompare(EvalMachine& m)
{
    EvalSlot& r = m.Arg(0);
    EvalSlot& l = m.Arg(1);
    int order;
    if (l.Type == stString && r.Type == stString) {
        order = m.SlotString(l).compare(m.SlotString(r));
    } else {
        order = l.Value < r.Value ? -1 : (l.Value > r.Value ? 1 : 0);
    }
    bool v = false;
    switch (m.Op) {
    case opEq: v = order == 0; break;
    case opNe: v = order != 0; break;
    case opLe: v = order <= 0; break;
    case opGe: v = order >= 0; break;
    case opLt: v = order < 0; break;
    default: v = order > 0; break;
    }
    m.Pop(1);
    m.SetNumber(l, v ? 1 : 0);
}

// opAnd, opOr: bitwise on both operands rounded to 16-bit integers.
void OpLogical(EvalMachine& m)
{
    EvalSlot& r = m.Arg(0);
    EvalSlot& l = m.Arg(1);
    std::int16_t a = ToInt16(l.Value), b = ToInt16(r.Value);
    int v = m.Op == opAnd ? (a & b) : (a | b);
    m.Pop(1);
    m.SetNumber(l, v);
}

// opNot: 1 when the top value is 0, else 0.
void OpNot(EvalMachine& m)
{
    EvalSlot& x = m.Top();
    m.SetNumber(x, x.Value == 0 ? 1 : 0);
}

// opConcat: the text of the left operand followed by that of the right.
void OpConcat(EvalMachine& m)
{
    EvalSlot& r = m.Arg(0);
    EvalSlot& l = m.Arg(1);
    bool error = l.Error || r.Error;
    std::string right = m.ValueAsText(r);
    std::string left = m.ValueAsText(l);
    m.Pop(1);
    EvalSlot& result = m.Top();
    m.SetString(result, left + right);
    result.Error = result.Error || error;
}

// opPercent: the top value divided by 100.
void OpPercent(EvalMachine& m)
{
    EvalSlot& x = m.Top();
    m.SetNumber(x, x.Value * 0.01);
}

// opFactorial: n! for n from 0 to 170; anything else is ERR.
void OpFactorial(EvalMachine& m)
{
    EvalSlot& x = m.Top();
    int n = ToInt16(x.Value);
    if (n < 0 || n > 170) {
        m.E.Err.ErrorFlag = true;
        return;
    }
    double f = 1;
    for (int i = 2; i <= n; ++i)
        f *= i;
    m.SetNumber(x, f);
}

}  // namespace

void RegisterOperatorHandlers(HandlerTable& t)
{
    t[opNeg] = OpNeg;
    t[opPlus] = OpPlus;
    for (std::uint8_t op : {opAdd, opSub, opMul, opDiv, opPower})
        t[op] = OpArithmetic;
    for (std::uint8_t op : {opEq, opNe, opLe, opGe, opLt, opGt})
        t[op] = OpCompare;
    t[opAnd] = OpLogical;
    t[opOr] = OpLogical;
    t[opNot] = OpNot;
    t[opConcat] = OpConcat;
    t[opPercent] = OpPercent;
    t[opFactorial] = OpFactorial;
}

}  // namespace zt
