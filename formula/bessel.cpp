#include "formula/bessel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace zt {

namespace {

using std::numbers::egamma;
using std::numbers::pi;

// Below these magnitudes orders 0 and 1 come from their power series in x²,
// above from Hankel's asymptotic expansion. For J and Y the series loses
// about 1E-14 to cancellation at 8, where the expansion is good to a few
// 1E-8 and improves like e^-2x; for I the series has no cancellation and
// runs further. For K the series cancels like e^2x: the two are both near
// 1E-8 at 9.
constexpr double kSeriesBelowJY = 8;
constexpr double kSeriesBelowI = 15;
constexpr double kSeriesBelowK = 9;

// Terms of the series in x²: at the limits above, the last one is below
// 1E-17 of the sum.
constexpr int kSeriesTerms = 32;
constexpr int kMaxAsymptoticTerms = 64;

// Below this magnitude the higher orders of J and I come from the first two
// terms of their series, exact to about x⁴; the downward recurrences, whose
// factor 2k/x would outgrow their rescaling, need x above it.
constexpr double kLeadingTermsBelow = 1e-5;

// Beyond this magnitude I_n(x) exceeds the double range for every order a
// formula can give; the downward recurrence, which starts above x, would
// only take long to find that out.
constexpr double kLargestI = 1e5;

// The upward recurrence of K shifts its values beyond this size.
constexpr double kShiftAbove = 1e200;
constexpr double kShift = 1e-200;

// The downward recurrences rescale their values beyond this size.
constexpr double kRescaleAbove = 1e10;
constexpr double kRescale = 1e-10;

// The four sums of the power series of orders 0 and 1, with s = -1 for J
// and Y, +1 for I and K, and y = x²/4:
//   Even   = Σ (sy)^k / (k!)²
//   Odd    = Σ (sy)^k / (k! (k+1)!)
//   EvenH  = Σ H_k (sy)^k / (k!)²                      (from k = 1)
//   OddPsi = Σ (H_k + H_(k+1) - 2γ) (sy)^k / (k! (k+1)!)
// where H_k is the k-th harmonic number, so that H_k - γ is ψ(k+1).
struct PowerSums {
    double Even = 0;
    double Odd = 0;
    double EvenH = 0;
    double OddPsi = 0;
};

PowerSums SumPowerSeries(double x, double s)
{
    double sy = s * x * x / 4;
    PowerSums r;
    double even = 1;  // (sy)^k / (k!)²
    double odd = 1;   // (sy)^k / (k! (k+1)!)
    double h = 0;     // H_k
    for (int k = 0; k < kSeriesTerms; ++k) {
        if (k > 0) {
            even *= sy / (double(k) * k);
            odd *= sy / (double(k) * (k + 1));
            h += 1.0 / k;
        }
        double hNext = h + 1.0 / (k + 1);
        r.Even += even;
        r.Odd += odd;
        r.EvenH += h * even;
        r.OddPsi += (h + hNext - 2 * egamma) * odd;
    }
    return r;
}

// Hankel's expansion for order nu (0 or 1): the terms a_k(nu) / x^k, with
// a_k = (4nu² - 1²)(4nu² - 3²) ... (4nu² - (2k-1)²) / (k! 8^k), up to the
// smallest; the expansion diverges beyond it.
struct AsymptoticTerms {
    std::array<double, kMaxAsymptoticTerms> T;
    int Count = 0;
};

AsymptoticTerms HankelTerms(int nu, double x)
{
    AsymptoticTerms r;
    double mu = 4.0 * nu * nu;
    double t = 1;
    r.T[r.Count++] = t;
    while (r.Count < kMaxAsymptoticTerms) {
        int k = r.Count;
        double odd = 2.0 * k - 1;
        double next = t * (mu - odd * odd) / (8.0 * k * x);
        if (std::fabs(next) >= std::fabs(t) || next == 0)
            break;
        t = next;
        r.T[r.Count++] = t;
    }
    return r;
}

struct WavePair {
    double J;
    double Y;
};

// Values of orders 0 and 1 of one function.
struct OrdersZeroOne {
    double Zero;
    double One;
};

// J and Y of order nu (0 or 1) for x >= 8 from the amplitude factors
//   P = a_0 - a_2/x² + a_4/x⁴ - ...,  Q = a_1/x - a_3/x³ + ...
// as √(2/(πx)) (P cos z - Q sin z) and √(2/(πx)) (P sin z + Q cos z) with
// z = x - (2nu + 1)π/4.
WavePair AsymptoticJY(int nu, double x)
{
    AsymptoticTerms terms = HankelTerms(nu, x);
    double p = 0, q = 0;
    for (int k = 0; k < terms.Count; ++k) {
        double signedTerm = (k / 2) % 2 == 0 ? terms.T[k] : -terms.T[k];
        (k % 2 == 0 ? p : q) += signedTerm;
    }
    double z = x - (2 * nu + 1) * pi / 4;
    double amplitude = std::sqrt(2 / (pi * x));
    return {amplitude * (p * std::cos(z) - q * std::sin(z)), amplitude * (p * std::sin(z) + q * std::cos(z))};
}

// J0 and J1 of x >= 0.
OrdersZeroOne OrdersZeroOneJ(double x)
{
    if (x >= kSeriesBelowJY)
        return {AsymptoticJY(0, x).J, AsymptoticJY(1, x).J};
    PowerSums s = SumPowerSeries(x, -1);
    return {s.Even, x / 2 * s.Odd};
}

// Y0 and Y1 of x > 0.
OrdersZeroOne OrdersZeroOneY(double x)
{
    if (x >= kSeriesBelowJY)
        return {AsymptoticJY(0, x).Y, AsymptoticJY(1, x).Y};
    PowerSums s = SumPowerSeries(x, -1);
    double j0 = s.Even, j1 = x / 2 * s.Odd;
    double lnHalf = std::log(x / 2);
    double y0 = 2 / pi * ((lnHalf + egamma) * j0 - s.EvenH);
    double y1 = 2 / pi * lnHalf * j1 - 2 / (pi * x) - x / (2 * pi) * s.OddPsi;
    return {y0, y1};
}

// I and K are carried scaled by e^-x and e^x, so that neither overflows or
// underflows on the way to a value that the double range holds.

// e^-x I0(x) or e^-x I1(x) for x >= 0.
double ScaledOrderZeroOneI(int nu, double x)
{
    if (x < kSeriesBelowI) {
        PowerSums s = SumPowerSeries(x, 1);
        return std::exp(-x) * (nu == 0 ? s.Even : x / 2 * s.Odd);
    }
    // (a_0 - a_1/x + a_2/x² - ...) / √(2πx).
    AsymptoticTerms terms = HankelTerms(nu, x);
    double sum = 0;
    for (int k = 0; k < terms.Count; ++k)
        sum += k % 2 == 0 ? terms.T[k] : -terms.T[k];
    return sum / std::sqrt(2 * pi * x);
}

// e^x K0(x) and e^x K1(x) for x > 0.
OrdersZeroOne ScaledOrdersZeroOneK(double x)
{
    if (x < kSeriesBelowK) {
        PowerSums s = SumPowerSeries(x, 1);
        double i0 = s.Even, i1 = x / 2 * s.Odd;
        double lnHalf = std::log(x / 2);
        double e = std::exp(x);
        return {e * (-(lnHalf + egamma) * i0 + s.EvenH), e * (1 / x + lnHalf * i1 - x / 4 * s.OddPsi)};
    }
    // √(π/(2x)) (a_0 + a_1/x + a_2/x² + ...).
    double factor = std::sqrt(pi / (2 * x));
    double k[2];
    for (int nu = 0; nu < 2; ++nu) {
        AsymptoticTerms terms = HankelTerms(nu, x);
        double sum = 0;
        for (int i = 0; i < terms.Count; ++i)
            sum += terms.T[i];
        k[nu] = factor * sum;
    }
    return {k[0], k[1]};
}

// v e^shift, through logarithms so that neither factor overflows alone.
double Unscaled(double v, double shift)
{
    if (v == 0)
        return 0;
    return std::copysign(std::exp(std::log(std::fabs(v)) + shift), v);
}

// (x/2)^n / n! (1 + s (x/2)² / (n+1)) for n >= 1, the start of the series
// of J (s = -1) or I (s = +1); the power is built one factor at a time so
// that it underflows gracefully instead of overflowing.
double LeadingTerms(double x, int n, double s)
{
    double v = 1;
    for (int k = 1; k <= n; ++k)
        v *= x / 2 / k;
    return v * (1 + s * (x / 2) * (x / 2) / (n + 1));
}

// The start of the downward recurrences: an even order far enough above
// n (and, for I, above x) that the values there no longer matter.
int DownwardStart(double reach)
{
    int n = static_cast<int>(reach);
    return 2 * ((n + static_cast<int>(std::sqrt(40.0 * n))) / 2);
}

// J_n(x) for x > 0 and n >= 2.
double HigherOrderJ(double x, int n)
{
    if (x > n) {
        // Upward J_(k+1) = (2k/x) J_k - J_(k-1) is stable while k < x.
        OrdersZeroOne j = OrdersZeroOneJ(x);
        double below = j.Zero, at = j.One;
        for (int k = 1; k < n; ++k) {
            double above = 2 * k / x * at - below;
            below = at;
            at = above;
        }
        return at;
    }
    // Downward from a start of arbitrary scale, normalised by the identity
    // J_0 + 2 (J_2 + J_4 + ...) = 1.
    int m = DownwardStart(n);
    double above = 0, at = 1;
    double norm = 0, result = 0;
    for (int k = m; k >= 1; --k) {
        double below = 2 * k / x * at - above;
        above = at;
        at = below;
        int order = k - 1;
        if (order == n)
            result = at;
        if (order % 2 == 0)
            norm += order == 0 ? at : 2 * at;
        if (std::fabs(at) > kRescaleAbove) {
            at *= kRescale;
            above *= kRescale;
            norm *= kRescale;
            result *= kRescale;
        }
    }
    return result / norm;
}

// e^-x I_n(x) for x > 0 and n >= 2: the downward recurrence
// I_(k-1) = (2k/x) I_k + I_(k+1), normalised by I_0.
double ScaledHigherOrderI(double x, int n)
{
    int m = DownwardStart(std::max<double>(n, x));
    double above = 0, at = 1, result = 0;
    for (int k = m; k >= 1; --k) {
        double below = 2 * k / x * at + above;
        above = at;
        at = below;
        if (k - 1 == n)
            result = at;
        if (std::fabs(at) > kRescaleAbove) {
            at *= kRescale;
            above *= kRescale;
            result *= kRescale;
        }
    }
    return ScaledOrderZeroOneI(0, x) * (result / at);
}

// (-1)^n.
double ParitySign(int n) { return n % 2 == 0 ? 1.0 : -1.0; }

std::optional<double> Finite(double v)
{
    if (!std::isfinite(v))
        return {};
    return v;
}

}  // namespace

std::optional<double> BesselJ(double x, int n)
{
    // J_-n = (-1)^n J_n and J_n(-x) = (-1)^n J_n(x).
    double sign = 1;
    if (n < 0) {
        n = -n;
        sign *= ParitySign(n);
    }
    if (x < 0) {
        x = -x;
        sign *= ParitySign(n);
    }
    if (x == 0)
        return n == 0 ? 1.0 : 0.0;
    if (n <= 1) {
        OrdersZeroOne j = OrdersZeroOneJ(x);
        return sign * (n == 0 ? j.Zero : j.One);
    }
    if (x < kLeadingTermsBelow)
        return sign * LeadingTerms(x, n, -1);
    return sign * HigherOrderJ(x, n);
}

std::optional<double> BesselY(double x, int n)
{
    if (x <= 0)
        return {};
    // Y_-n = (-1)^n Y_n.
    double sign = 1;
    if (n < 0) {
        n = -n;
        sign = ParitySign(n);
    }
    OrdersZeroOne y = OrdersZeroOneY(x);
    if (n == 0)
        return sign * y.Zero;
    // Upward Y_(k+1) = (2k/x) Y_k - Y_(k-1) is stable; it stops once the
    // values leave the double range.
    double below = y.Zero, at = y.One;
    for (int k = 1; k < n && std::isfinite(at); ++k) {
        double above = 2 * k / x * at - below;
        below = at;
        at = above;
    }
    return Finite(sign * at);
}

std::optional<double> BesselI(double x, int n)
{
    // I_-n = I_n and I_n(-x) = (-1)^n I_n(x).
    n = std::abs(n);
    double sign = 1;
    if (x < 0) {
        x = -x;
        sign = ParitySign(n);
    }
    if (x == 0)
        return n == 0 ? 1.0 : 0.0;
    if (x > kLargestI)
        return {};
    if (n >= 2 && x < kLeadingTermsBelow)
        return sign * LeadingTerms(x, n, 1);
    double scaled = n <= 1 ? ScaledOrderZeroOneI(n, x) : ScaledHigherOrderI(x, n);
    return Finite(sign * Unscaled(scaled, x));
}

std::optional<double> BesselK(double x, int n)
{
    if (x <= 0)
        return {};
    // K_-n = K_n; upward K_(k+1) = K_(k-1) + (2k/x) K_k is stable. Large
    // values are carried as a mantissa and a logarithmic shift, so that a
    // result beyond the double range in either direction is decided only at
    // the end: too large is no answer, too small is 0.
    n = std::abs(n);
    OrdersZeroOne k01 = ScaledOrdersZeroOneK(x);
    double below = k01.Zero, at = n == 0 ? k01.Zero : k01.One;
    double shift = -x;
    for (int k = 1; k < n; ++k) {
        double above = below + 2 * k / x * at;
        below = at;
        at = above;
        if (at > kShiftAbove) {
            at *= kShift;
            below *= kShift;
            shift -= std::log(kShift);
        }
    }
    return Finite(Unscaled(at, shift));
}

}  // namespace zt
