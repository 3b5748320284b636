#include "formula/gamma_beta.h"

#include <cmath>

namespace zt {

namespace {

constexpr int kMaxTerms = 100;
constexpr double kAccuracy = 3e-7;

// Stands in for a zero denominator of a continued fraction, which Lentz's
// method cannot divide by.
constexpr double kTiny = 1e-300;

double AwayFromZero(double v) { return std::fabs(v) < kTiny ? kTiny : v; }

// P(a, x) as the series Σ x^n / (a (a+1) ... (a+n)), times the prefactor
// e^-x x^a / Γ(a); converges quickly for x < a + 1.
std::optional<double> GammaSeries(double a, double x, double prefactor)
{
    double denominator = a;
    double term = 1 / a;
    double sum = term;
    for (int n = 1; n <= kMaxTerms; ++n) {
        denominator += 1;
        term *= x / denominator;
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * kAccuracy)
            return sum * prefactor;
    }
    return {};
}

// Q(a, x) as the continued fraction
//   1 / (x+1-a - 1(1-a) / (x+3-a - 2(2-a) / (x+5-a - ...)))
// times the prefactor, evaluated front to back by Lentz's method; converges
// quickly for x >= a + 1.
std::optional<double> GammaFraction(double a, double x, double prefactor)
{
    double b = x + 1 - a;
    double c = 1 / kTiny;
    double d = 1 / AwayFromZero(b);
    double h = d;
    for (int n = 1; n <= kMaxTerms; ++n) {
        double an = -n * (n - a);
        b += 2;
        d = 1 / AwayFromZero(an * d + b);
        c = AwayFromZero(b + an / c);
        double step = d * c;
        h *= step;
        if (std::fabs(step - 1) < kAccuracy)
            return h * prefactor;
    }
    return {};
}

// The continued fraction of the incomplete beta function,
//   1 / (1 + d1 / (1 + d2 / (1 + ...))) with
//   d(2m+1) = -(a+m)(a+b+m) x / ((a+2m)(a+2m+1)),
//   d(2m)   = m(b-m) x / ((a+2m-1)(a+2m)),
// by Lentz's method, one even and one odd term per step; converges quickly
// for x < (a+1)/(a+b+2).
std::optional<double> BetaFraction(double a, double b, double x)
{
    double c = 1;
    double d = 1 / AwayFromZero(1 - (a + b) * x / (a + 1));
    double h = d;
    for (int m = 1; m <= kMaxTerms; ++m) {
        double even = m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m));
        d = 1 / AwayFromZero(1 + even * d);
        c = AwayFromZero(1 + even / c);
        h *= d * c;
        double odd = -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 2 * m + 1));
        d = 1 / AwayFromZero(1 + odd * d);
        c = AwayFromZero(1 + odd / c);
        double step = d * c;
        h *= step;
        if (std::fabs(step - 1) < kAccuracy)
            return h;
    }
    return {};
}

}  // namespace

std::optional<double> LogGamma(double x)
{
    if (x <= 0)
        return {};
    static constexpr double kCoefficients[] = {76.18009173,    -86.50532033,    24.01409822,
                                               -1.231739516,   0.00120858003,   -0.00000536382};
    double a = x - 1;
    double t = a + 5.5;
    double s = 1;
    for (int i = 0; i < 6; ++i)
        s += kCoefficients[i] / (a + i + 1);
    return (a + 0.5) * std::log(t) - t + std::log(2.50662827465 * s);
}

std::optional<GammaPair> IncompleteGamma(double a, double x)
{
    if (x < 0 || a <= 0)
        return {};
    if (x == 0)
        return GammaPair{0, 1};
    std::optional<double> lnGammaA = LogGamma(a);
    double prefactor = std::exp(a * std::log(x) - x - *lnGammaA);
    if (x < a + 1) {
        std::optional<double> p = GammaSeries(a, x, prefactor);
        if (!p)
            return {};
        return GammaPair{*p, 1 - *p};
    }
    std::optional<double> q = GammaFraction(a, x, prefactor);
    if (!q)
        return {};
    return GammaPair{1 - *q, *q};
}

std::optional<double> IncompleteBeta(double a, double b, double x)
{
    if (a <= 0 || b <= 0 || x < 0 || x > 1)
        return {};
    double f = 0;
    if (x > 0 && x < 1)
        f = std::exp(*LogGamma(a + b) - *LogGamma(a) - *LogGamma(b) + a * std::log(x) + b * std::log(1 - x));
    // Each side of the symmetry I_x(a, b) = 1 - I_(1-x)(b, a) is summed where
    // its fraction converges fast; this also puts x = 0 on the side that
    // answers 0.
    if (x < (a + 1) / (a + b + 2)) {
        std::optional<double> cf = BetaFraction(a, b, x);
        if (!cf)
            return {};
        return f * *cf / a;
    }
    std::optional<double> cf = BetaFraction(b, a, 1 - x);
    if (!cf)
        return {};
    return 1 - f * *cf / b;
}

}  // namespace zt
