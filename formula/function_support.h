#pragma once
// What the @ function handlers share: reading arguments and writing the
// result into the first argument's slot.
//
// A handler of an n-argument function finds argument 1 at m.Arg(n - 1) and
// argument n at m.Arg(0) (the top). It reads what it needs, then leaves
// exactly one slot: the first argument's, holding the result. Setting
// m.E.Err.ErrorFlag makes the result ERR; a value that is not finite also
// ends as ERR.
#include <cmath>
#include <string>

#include "formula/eval_machine.h"

namespace zt {

// Number of arguments of the running list function (the byte after its opcode).
inline int ListCount(const EvalMachine& m) { return m.Code[m.Pc]; }

// Whether any of the top n slots carries ERR.
inline bool AnyError(EvalMachine& m, int n)
{
    for (int i = 0; i < n; ++i)
        if (m.Arg(i).Error)
            return true;
    return false;
}

// The text of an argument without taking it off the stack: its string, or a
// number by the edit line's number text.
inline std::string ArgText(EvalMachine& m, int i)
{
    EvalSlot& s = m.Arg(i);
    if (s.Type == stString)
        return std::string(m.SlotString(s));
    if (s.Type == stMissing)
        return {};
    EvalSlot copy = s;
    return m.ValueAsText(copy);
}

// Replaces the top n arguments by a number in the first one's slot; the
// result is ERR when any of them was (for the functions whose arguments
// all count).
inline void ResultNumber(EvalMachine& m, int n, double v, bool keepErrors = true)
{
    bool error = keepErrors && AnyError(m, n);
    m.Pop(n - 1);
    EvalSlot& top = m.Top();
    m.SetNumber(top, v);
    top.Error = error;
}

// The same with a string result.
inline void ResultString(EvalMachine& m, int n, const std::string& s, bool keepErrors = true)
{
    bool error = keepErrors && AnyError(m, n);
    m.Pop(n);
    m.Push();
    m.SetString(m.Top(), s);
    m.Top().Error = m.Top().Error || error;
}

// A small integer argument rounded as ToInt16 rounds; false beyond 16 bits,
// where ToInt16 would wrap around or give 1 and pick a wrong value.
inline bool SmallIntArg(double x, int& n)
{
    if (!(std::fabs(x) < 32767.5))
        return false;
    n = ToInt16(x);
    return true;
}

// Replaces the top n arguments by ERR.
inline void ResultError(EvalMachine& m, int n)
{
    ResultNumber(m, n, -1.0, false);
    m.Top().Error = true;
}

// A computed number, or ERR when it is not finite: an overflow must not end
// the whole formula, so that @ISERR can still see it. A negative zero is
// stored as 0.
inline void ResultFinite(EvalMachine& m, int n, double v, bool keepErrors = true)
{
    if (std::isfinite(v))
        ResultNumber(m, n, v + 0.0, keepErrors);
    else
        ResultError(m, n);
}

}  // namespace zt
