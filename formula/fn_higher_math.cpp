// The special @ functions: gamma, error and beta functions, Bessel
// functions, the normal density and the Poisson distribution.
#include <cmath>
#include <cstdint>
#include <utility>

#include "formula/bessel.h"
#include "formula/functions.h"
#include "formula/numeric_handler.h"
#include "formula/gamma_beta.h"

namespace zt {

namespace {

// √(2π), the normal density's divisor.
constexpr double kRootTwoPi = 2.506628274631;

// erf(6) is 1 - 2E-17, which a double holds as 1; beyond it x² could
// overflow on its way into P(1/2, x²).
constexpr double kErfIsOne = 6;

NumberResult GammaLn(double x) { return LogGamma(x); }

NumberResult GammaP(double a, double x)
{
    std::optional<GammaPair> g = IncompleteGamma(a, x);
    if (!g)
        return {};
    return g->P;
}

NumberResult GammaQ(double a, double x)
{
    std::optional<GammaPair> g = IncompleteGamma(a, x);
    if (!g)
        return {};
    return g->Q;
}

NumberResult Erf(double x)
{
    double sign = x < 0 ? -1.0 : 1.0;
    if (std::fabs(x) >= kErfIsOne)
        return sign;
    std::optional<GammaPair> g = IncompleteGamma(0.5, x * x);
    if (!g)
        return {};
    return sign * g->P;
}

NumberResult Beta(double a, double b)
{
    std::optional<double> la = LogGamma(a), lb = LogGamma(b), lab = LogGamma(a + b);
    if (!la || !lb || !lab)
        return {};
    return std::exp(*la + *lb - *lab);
}

NumberResult BetaI(double a, double b, double x) { return IncompleteBeta(a, b, x); }

// The order of a Bessel function is its second argument made a 16-bit whole number.
NumberResult BesselJn(double x, double n) { return BesselJ(x, ToInt16(n)); }
NumberResult BesselYn(double x, double n) { return BesselY(x, ToInt16(n)); }
NumberResult BesselIn(double x, double n) { return BesselI(x, ToInt16(n)); }
NumberResult BesselKn(double x, double n) { return BesselK(x, ToInt16(n)); }

NumberResult Gauss(double x, double mean, double deviation)
{
    if (deviation <= 0)
        return {};
    double z = (x - mean) / deviation;
    return std::exp(-z * z / 2) / (deviation * kRootTwoPi);
}

// λ^k e^-λ / k! with λ = a b, for a count k (taken whole) and λ >= 0;
// computed through logarithms so that neither λ^k nor k! overflows.
NumberResult Poisson(double k, double a, double b)
{
    double lambda = a * b;
    k = std::trunc(k);
    if (k < 0 || lambda < 0)
        return {};
    if (lambda == 0)
        return k == 0 ? 1.0 : 0.0;
    return std::exp(k * std::log(lambda) - lambda - std::lgamma(k + 1));
}

}  // namespace

void RegisterHigherMathFunctions(HandlerTable& t)
{
    constexpr std::pair<std::uint8_t, OpHandler> kHandlers[] = {
        {137, NumericHandler<GammaLn>},  {157, NumericHandler<Erf>},      {158, NumericHandler<BesselJn>},
        {159, NumericHandler<BesselYn>}, {160, NumericHandler<BesselIn>}, {161, NumericHandler<BesselKn>},
        {166, NumericHandler<Beta>},     {167, NumericHandler<BetaI>},    {168, NumericHandler<GammaP>},
        {169, NumericHandler<GammaQ>},   {177, NumericHandler<Gauss>},    {178, NumericHandler<Poisson>},
    };
    for (auto [op, handler] : kHandlers)
        t[op] = handler;
}

}  // namespace zt
