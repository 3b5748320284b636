#include "formula/formula_argument.h"

#include "formula/compiler.h"
#include "formula/evaluator.h"
#include "formula/function_support.h"

namespace zt {

bool CompileFormulaArgument(EvalMachine& m, int i, std::string& code)
{
    code = ArgText(m, i);
    ErrorState saved = m.E.Err;
    m.E.Err.ErrorFlag = false;
    CompileFormula(m.E, code);
    bool ok = !m.E.Err.ErrorFlag && !code.empty();
    m.E.Err = saved;
    return ok;
}

bool EvaluateAtX(Engine& e, const std::string& code, double x, double& value)
{
    e.Runtime.XValue = x;
    TextValue v = EvaluateText(e, code, true);
    value = v.IsString ? 0 : v.Number;
    return !v.Error;
}

}  // namespace zt
