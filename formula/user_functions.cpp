#include "formula/user_functions.h"

#include <utility>

#include "formula/evaluator.h"
#include "formula/file_links.h"
#include "formula/functions.h"
#include "formula/opcodes.h"

namespace zt {

namespace {

constexpr std::uint8_t opParameter = 179;  // @A(k)

// opUserFunction: the arguments become the parameter block of the body,
// which is compiled and evaluated as text; the caller's block comes back
// afterwards. The run loop has checked that the definition exists and
// that its arguments are on the stack.
void OpUserFunction(EvalMachine& m)
{
    Engine& e = m.E;
    int index = m.Code[m.Pc];
    int n = UserFunctionArity(e, index);
    // Compiling the body may add definitions to the table; keep a copy.
    std::string body = e.Cur->UserFunctions[index - 1].Body;

    decltype(FormulaRuntime::Params) params;
    for (int k = 1; k <= n; ++k) {
        const EvalSlot& s = m.Arg(n - k);
        UserParam& p = params[k - 1];
        p.Value = s.Value;
        p.Type = s.Type;
        p.Error = s.Error;
        p.Text = std::string(m.SlotString(s));
    }
    m.Pop(n);

    FormulaRuntime& rt = e.Runtime;
    auto callerParams = std::exchange(rt.Params, std::move(params));
    int callerCount = std::exchange(rt.ParamCount, n);
    TextValue v = EvaluateText(e, body);
    rt.Params = std::move(callerParams);
    rt.ParamCount = callerCount;

    if (v.IsString)
        m.PushString(v.Text);
    else
        m.PushNumber(v.Number);
    if (v.Error)
        e.Err.ErrorFlag = true;
}

// @A(k): parameter k of the running user function, with its type and its
// ERR mark; k outside the function's parameters is ERR with the value 1.
void OpParameter(EvalMachine& m)
{
    EvalSlot& s = m.Top();
    const FormulaRuntime& rt = m.E.Runtime;
    int k = ToInt16(s.Value);
    if (s.Error || k < 1 || k > rt.ParamCount) {
        m.SetNumber(s, 1.0);
        s.Error = true;
        return;
    }
    const UserParam& p = rt.Params[k - 1];
    m.SetNumber(s, p.Value);
    if (p.Type == stString)
        m.SetString(s, p.Text);
    s.Error = s.Error || p.Error;
}

}  // namespace

void RegisterUserFunctions(HandlerTable& t)
{
    t[opUserFunction] = OpUserFunction;
    t[opParameter] = OpParameter;
    RegisterRangeFunctions(t);
    RegisterFileLinks(t);
}

}  // namespace zt
