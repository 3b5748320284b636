// Accuracy of the special functions against independent references: the
// standard library's special functions, closed forms, and values computed
// to 30 digits with arbitrary-precision arithmetic (for orders where the
// standard library gives up). The series and fractions stop at a relative
// accuracy of 3E-7, so the comparisons allow 1E-6.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "core/cell_store.h"
#include "formula/bessel.h"
#include "formula/evaluator.h"
#include "formula/formula_engine.h"
#include "formula/gamma_beta.h"

namespace zt {
namespace {

constexpr double kTolerance = 1e-6;

// x from `from` to `to` in `steps` geometric steps.
template <class F>
void Geometric(double from, double to, int steps, F f)
{
    for (int i = 0; i <= steps; ++i)
        f(from * std::pow(to / from, double(i) / steps));
}

TEST(LogGamma, MatchesTheLibraryAndRejectsNonPositiveArguments)
{
    Geometric(0.01, 1000, 200, [](double x) {
        double want = std::lgamma(x);
        EXPECT_NEAR(*LogGamma(x), want, 1e-9 * std::max(1.0, std::fabs(want))) << x;
    });
    EXPECT_FALSE(LogGamma(0));
    EXPECT_FALSE(LogGamma(-2.5));
}

// Q(a, x) for whole a: e^-x (1 + x + x²/2! + ... + x^(a-1)/(a-1)!).
double PoissonTail(int a, double x)
{
    double term = 1, sum = 1;
    for (int k = 1; k < a; ++k) {
        term *= x / k;
        sum += term;
    }
    return std::exp(-x) * sum;
}

// P(a, x) for whole a: the rest of the Poisson sum, e^-x Σ x^k / k! for
// k >= a, summed directly so that it stays accurate where P is tiny.
double PoissonHead(int a, double x)
{
    double sum = 0;
    for (int k = a; k < a + 400; ++k)
        sum += std::exp(k * std::log(x) - x - std::lgamma(k + 1.0));
    return sum;
}

TEST(IncompleteGamma, MatchesClosedFormsOnBothSidesOfTheSwitch)
{
    Geometric(0.01, 60, 120, [](double x) {
        std::optional<GammaPair> half = IncompleteGamma(0.5, x);
        ASSERT_TRUE(half) << x;
        double p = std::erf(std::sqrt(x)), q = std::erfc(std::sqrt(x));
        EXPECT_NEAR(half->P, p, kTolerance * p) << x;
        EXPECT_NEAR(half->Q, q, kTolerance * q) << x;
        for (int a : {1, 2, 3, 7}) {
            std::optional<GammaPair> g = IncompleteGamma(a, x);
            ASSERT_TRUE(g) << a << " " << x;
            double q = PoissonTail(a, x), p = PoissonHead(a, x);
            EXPECT_NEAR(g->Q, q, kTolerance * q) << a << " " << x;
            EXPECT_NEAR(g->P, p, kTolerance * p) << a << " " << x;
        }
    });
}

TEST(IncompleteGamma, DomainAndConvergence)
{
    EXPECT_FALSE(IncompleteGamma(0, 1));
    EXPECT_FALSE(IncompleteGamma(-1, 1));
    EXPECT_FALSE(IncompleteGamma(1, -0.5));
    std::optional<GammaPair> atZero = IncompleteGamma(2, 0);
    ASSERT_TRUE(atZero);
    EXPECT_EQ(atZero->P, 0);
    EXPECT_EQ(atZero->Q, 1);
    // The series needs far more than 100 terms when a and x are both large.
    EXPECT_FALSE(IncompleteGamma(1000, 1000));
}

// Σ C(n, j) x^j (1 - x)^(n - j) for j = k..n, which is I_x(k, n - k + 1).
double BinomialTail(int n, int k, double x)
{
    double sum = 0;
    for (int j = k; j <= n; ++j) {
        double c = 1;
        for (int i = 1; i <= j; ++i)
            c = c * (n - j + i) / i;
        sum += c * std::pow(x, j) * std::pow(1 - x, n - j);
    }
    return sum;
}

void ExpectBeta(double a, double b, double x, double want)
{
    std::optional<double> got = IncompleteBeta(a, b, x);
    ASSERT_TRUE(got) << a << " " << b << " " << x;
    // Each side of the symmetry is accurate relative to its own tail.
    EXPECT_NEAR(*got, want, kTolerance * std::min(want, 1 - want) + 1e-15) << a << " " << b << " " << x;
}

TEST(IncompleteBeta, MatchesClosedForms)
{
    for (int i = 1; i < 40; ++i) {
        double x = i / 40.0;
        ExpectBeta(1, 3.5, x, 1 - std::pow(1 - x, 3.5));
        ExpectBeta(2.5, 1, x, std::pow(x, 2.5));
        ExpectBeta(2, 2, x, 3 * x * x - 2 * x * x * x);
        ExpectBeta(3, 8, x, BinomialTail(10, 3, x));
        ExpectBeta(9, 2, x, BinomialTail(10, 9, x));
        ExpectBeta(20, 25, x, BinomialTail(44, 20, x));
    }
    ExpectBeta(0.7, 0.7, 0.5, 0.5);
    ExpectBeta(4.5, 4.5, 0.5, 0.5);
}

TEST(IncompleteBeta, EndsAndDomain)
{
    // Also for a <= 1, where x = 0 must take the side that answers 0.
    for (double a : {0.5, 1.0, 3.0}) {
        EXPECT_EQ(IncompleteBeta(a, 2, 0), 0.0) << a;
        EXPECT_EQ(IncompleteBeta(a, 2, 1), 1.0) << a;
    }
    EXPECT_FALSE(IncompleteBeta(2, 3, -0.01));
    EXPECT_FALSE(IncompleteBeta(2, 3, 1.01));
    EXPECT_FALSE(IncompleteBeta(0, 3, 0.5));
    EXPECT_FALSE(IncompleteBeta(2, -1, 0.5));
}

// J and Y oscillate with amplitude √(2/(πx)) once x passes the order; there
// the error is measured against a tenth of the amplitude, so that it stays
// meaningful near the zeros. Below the order, and for I and K, it is relative.
double WaveScale(double x, int n, double want)
{
    if (x < n)
        return std::fabs(want);
    return std::max(std::fabs(want), 0.1 * std::sqrt(2 / (std::numbers::pi * x)));
}

TEST(Bessel, MatchesTheLibraryForLowOrders)
{
    for (int n = 0; n <= 10; ++n) {
        Geometric(0.05, 60, 300, [n](double x) {
            double j = std::cyl_bessel_j(n, x), y = std::cyl_neumann(n, x);
            double i = std::cyl_bessel_i(n, x), k = std::cyl_bessel_k(n, x);
            EXPECT_NEAR(*BesselJ(x, n), j, kTolerance * WaveScale(x, n, j)) << "J" << n << "(" << x << ")";
            EXPECT_NEAR(*BesselY(x, n), y, kTolerance * WaveScale(x, n, y)) << "Y" << n << "(" << x << ")";
            EXPECT_NEAR(*BesselI(x, n), i, kTolerance * i) << "I" << n << "(" << x << ")";
            EXPECT_NEAR(*BesselK(x, n), k, kTolerance * k) << "K" << n << "(" << x << ")";
        });
    }
}

TEST(Bessel, HighOrdersMatchArbitraryPrecisionValues)
{
    auto expectRelative = [](std::optional<double> got, double want) {
        ASSERT_TRUE(got) << want;
        EXPECT_NEAR(*got, want, 1e-9 * std::fabs(want));
    };
    expectRelative(BesselJ(30, 50), 2.0581656631564178102e-8);
    expectRelative(BesselJ(1500, 1000), 0.022929733509152397528);
    expectRelative(BesselY(1500, 1000), -0.0066058189102262599617);
    expectRelative(BesselY(5, 30), -4028568418554087571.6);
    expectRelative(BesselI(900, 1000), 2.2517090734605277677e+166);
    expectRelative(BesselK(900, 1000), 1.6505109708029707758e-170);
}

TEST(Bessel, TinyArgumentsFollowTheLeadingTerm)
{
    // (x/2)^n / n! to within x², far below the double's precision here.
    for (double x : {1e-6, 1e-50, 1e-200}) {
        for (int n : {2, 5, 40}) {
            double want = std::exp(n * std::log(x / 2) - std::lgamma(n + 1.0));
            EXPECT_NEAR(*BesselJ(x, n), want, 1e-12 * want) << n << " " << x;
            EXPECT_NEAR(*BesselI(x, n), want, 1e-12 * want) << n << " " << x;
        }
    }
    // K1 behaves like 1/x.
    EXPECT_NEAR(*BesselK(1e-300, 1), 1e300, 1e288);
}

class SpecialFormulas : public ::testing::Test {
protected:
    SpecialFormulas() : e(256)
    {
        InstallFormulaEngine(e);
        RestoreContext(e, OpenSheet(e, "T"));
    }

    double Eval(const std::string& name, double a, double b = NAN)
    {
        char text[120];
        if (std::isnan(b))
            std::snprintf(text, sizeof text, "@%s(%.17g)", name.c_str(), a);
        else
            std::snprintf(text, sizeof text, "@%s(%.17g,%.17g)", name.c_str(), a, b);
        TextValue v = EvaluateText(e, text);
        EXPECT_FALSE(v.Error) << text;
        return v.Number;
    }

    Engine e;
};

TEST_F(SpecialFormulas, ErfIsTheErrorFunction)
{
    for (double x = -4; x <= 4; x += 0.05) {
        double want = std::erf(x);
        EXPECT_NEAR(Eval("ERF", x), want, kTolerance * std::fabs(want)) << x;
    }
    EXPECT_EQ(Eval("ERF", 7), 1);
    EXPECT_EQ(Eval("ERF", -7), -1);
}

TEST_F(SpecialFormulas, BetaIsTheRatioOfGammas)
{
    for (double a : {0.3, 1.0, 2.5, 10.0})
        for (double b : {0.7, 3.0, 40.0}) {
            double want = std::tgamma(a) * std::tgamma(b) / std::tgamma(a + b);
            EXPECT_NEAR(Eval("BETA", a, b), want, 1e-8 * want) << a << " " << b;
        }
}

TEST_F(SpecialFormulas, BesselOrderIsRoundedToAWholeNumber)
{
    EXPECT_NEAR(Eval("BESSELJ", 3, 2.4), std::cyl_bessel_j(2, 3.0), 1e-9);
    EXPECT_NEAR(Eval("BESSELK", 3, 2.6), std::cyl_bessel_k(3, 3.0), 1e-9);
    // 65538 keeps its low 16 bits: order 2.
    EXPECT_NEAR(Eval("BESSELI", 3, 65538), std::cyl_bessel_i(2, 3.0), 1e-9);
}

}  // namespace
}  // namespace zt
