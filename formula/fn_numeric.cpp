// @X and the numerical methods that take a formula as text: @RECUR finds a
// fixed point, @INTG integrates over X.
#include <array>
#include <cmath>
#include <string>

#include "formula/formula_argument.h"
#include "formula/function_support.h"
#include "formula/functions.h"

namespace zt {

namespace {

enum : std::uint8_t {
    opX = 138,
    opIntg = 182,
    opRecur = 184,
};

// @RECUR evaluates once from x0, then refines at most this many times.
constexpr int kMaxRefinements = 20;

// @INTG's trapezoid sums use 16, 32, 64 and 128 intervals; the finest
// grid holds the points of all four.
constexpr int kRombergLevels = 4;
constexpr int kCoarsestIntervals = 16;
constexpr int kFinestIntervals = kCoarsestIntervals << (kRombergLevels - 1);

// A method whose formula calls a method multiplies the work: three levels
// of @INTG already evaluate two million formulas. Deeper nesting gives ERR
// instead of hanging; a formula text read from a label can even name itself.
constexpr int kMaxMethodNesting = 3;

class NestingGuard {
public:
    explicit NestingGuard(Engine& e) : depth_(e.Runtime.MethodNesting) { ++depth_; }
    ~NestingGuard() { --depth_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
    bool Allowed() const { return depth_ <= kMaxMethodNesting; }

private:
    int& depth_;
};

void XFunction(EvalMachine& m) { m.PushNumber(m.E.Runtime.XValue); }

// x := f(x) from x0 until two successive values differ by less than the
// tolerance.
bool Recur(Engine& e, const std::string& code, double x, double tolerance, double& result)
{
    for (int step = 0; step <= kMaxRefinements; ++step) {
        double next;
        if (!EvaluateAtX(e, code, x, next))
            return false;
        bool converged = std::fabs(next - x) < tolerance;
        x = next;
        if (converged) {
            result = x;
            return true;
        }
    }
    return false;
}

void RecurFunction(EvalMachine& m)
{
    NestingGuard nesting(m.E);
    XValueScope keepX(m.E);
    std::string code;
    double result = 0;
    bool ok = nesting.Allowed() && !AnyError(m, 3) && CompileFormulaArgument(m, 2, code) &&
              Recur(m.E, code, m.Arg(1).Value, m.Arg(0).Value, result);
    ResultNumber(m, 3, ok ? result : 0, false);
    if (!ok)
        m.E.Err.ErrorFlag = true;
}

// Romberg integration: trapezoid sums on four halving grids, then three
// rounds of Richardson extrapolation. A formula that never mentions @X is
// evaluated with X held at 0.
bool Integrate(Engine& e, const std::string& code, bool usesX, double a, double b, double& result)
{
    std::array<double, kFinestIntervals + 1> f;
    const double width = b - a;
    for (int j = 0; j <= kFinestIntervals; ++j) {
        double x = usesX ? a + j * (width / kFinestIntervals) : 0;
        if (!EvaluateAtX(e, code, x, f[j]))
            return false;
    }
    std::array<double, kRombergLevels> t;
    for (int level = 0; level < kRombergLevels; ++level) {
        int n = kCoarsestIntervals << level;
        int stride = kFinestIntervals / n;
        double sum = (f[0] + f[kFinestIntervals]) / 2;
        for (int i = 1; i < n; ++i)
            sum += f[i * stride];
        t[level] = sum * (width / n);
    }
    double k = 1;
    for (int round = 1; round < kRombergLevels; ++round) {
        k *= 4;
        for (int i = 0; i + round < kRombergLevels; ++i)
            t[i] = (k * t[i + 1] - t[i]) / (k - 1);
    }
    result = t[0];
    return std::isfinite(result);
}

bool MentionsX(const std::string& text)
{
    return text.find("@X") != std::string::npos || text.find("@x") != std::string::npos;
}

void IntgFunction(EvalMachine& m)
{
    NestingGuard nesting(m.E);
    XValueScope keepX(m.E);
    std::string code;
    double result = 0;
    bool ok = nesting.Allowed() && !AnyError(m, 3) && CompileFormulaArgument(m, 2, code) &&
              Integrate(m.E, code, MentionsX(ArgText(m, 2)), m.Arg(1).Value, m.Arg(0).Value, result);
    ResultNumber(m, 3, ok ? result : 0, false);
    if (!ok)
        m.E.Err.ErrorFlag = true;
}

}  // namespace

void RegisterNumericMethods(HandlerTable& t)
{
    t[opX] = XFunction;
    t[opRecur] = RecurFunction;
    t[opIntg] = IntgFunction;
}

}  // namespace zt
