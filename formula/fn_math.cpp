// The mathematical @ functions: elementary functions, rounding, factorials
// and their relatives, random numbers and colour values.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <utility>

#include "formula/functions.h"
#include "formula/numeric_handler.h"

namespace zt {

namespace {

// Beyond this magnitude the processor's argument reduction gives up and the
// trigonometric functions answer 0.
constexpr double kLargestAngle = 9223372036854775808.0;  // 2^63

// The guarded exponential of the hyperbolic functions stops here.
constexpr double kLargestHyperbolic = 700;

// A double this large has no binary fraction left to round away.
constexpr double kNoFraction = 4503599627370496.0;  // 2^52

NumberResult Abs(double x) { return std::fabs(x); }
NumberResult Int(double x) { return std::trunc(x); }

NumberResult Sqrt(double x)
{
    if (x < 0)
        return {};
    return std::sqrt(x);
}

NumberResult Ln(double x)
{
    if (x <= 0)
        return {};
    return std::log(x);
}

// The library's base-10 logarithm gives powers of ten exactly, which ln x
// times a rounded 1/ln 10 does not.
NumberResult Log(double x)
{
    if (x <= 0)
        return {};
    return std::log10(x);
}

NumberResult LogB(double x, double base)
{
    if (x <= 0 || base <= 1)
        return {};
    return std::log(x) / std::log(base);
}

NumberResult Exp(double x) { return std::exp(x); }
NumberResult Pi() { return std::numbers::pi; }

double Sine(double x) { return std::fabs(x) < kLargestAngle ? std::sin(x) : 0.0; }
double Cosine(double x) { return std::fabs(x) < kLargestAngle ? std::cos(x) : 0.0; }

NumberResult Sin(double x) { return Sine(x); }
NumberResult Cos(double x) { return Cosine(x); }
NumberResult Tan(double x) { return Quotient(Sine(x), Cosine(x)); }
NumberResult Csc(double x) { return Quotient(1, Sine(x)); }
NumberResult Sec(double x) { return Quotient(1, Cosine(x)); }
NumberResult Ctn(double x) { return Quotient(Cosine(x), Sine(x)); }
NumberResult Atan(double x) { return std::atan(x); }

NumberResult Asin(double x)
{
    if (std::fabs(x) > 1)
        return {};
    return std::asin(x);
}

NumberResult Acos(double x)
{
    if (std::fabs(x) > 1)
        return {};
    return std::acos(x);
}

NumberResult Sinh(double x)
{
    if (std::fabs(x) >= kLargestHyperbolic)
        return {};
    return std::sinh(x);
}

NumberResult Cosh(double x)
{
    if (std::fabs(x) >= kLargestHyperbolic)
        return {};
    return std::cosh(x);
}

NumberResult Tanh(double x)
{
    if (std::fabs(x) >= kLargestHyperbolic)
        return {};
    return std::tanh(x);
}

// The library's inverse hyperbolic functions keep their precision where the
// logarithm formulas cancel (large negative x, x near 0).
NumberResult Asinh(double x) { return std::asinh(x); }

NumberResult Acosh(double x)
{
    if (x < 1)
        return {};
    return std::acosh(x);
}

NumberResult Atanh(double x)
{
    if (std::fabs(x) >= 1)
        return {};
    return std::atanh(x);
}

// The remainder takes the sign of x; fmod computes x - trunc(x / y) * y exactly.
NumberResult Mod(double x, double y)
{
    if (y == 0)
        return {};
    return std::fmod(x, y);
}

// |x| scaled to n decimals (tens for negative n), raised by `lift`, cut to a
// whole number and scaled back, keeping the sign of x: the common core of
// @ROUND (lift 0.5), @CEIL (just below 1) and @FLOOR (0). The scale is
// 10^|n| made whole, so a fractional n counts as its power of ten.
double ScaleCut(double x, double n, double lift)
{
    double f = std::trunc(std::pow(10.0, std::fabs(n)) + 0.5);
    double sign = x < 0 ? -1.0 : 1.0;
    double a = std::fabs(x);
    if (n >= 0) {
        // Also the way out for scales beyond the double range.
        if (!(a * f < kNoFraction))
            return x;
        return sign * std::trunc(a * f + lift) / f;
    }
    double k = std::trunc(a / f + lift);
    return k == 0 ? 0.0 : sign * k * f;
}

NumberResult Round(double x, double n) { return ScaleCut(x, n, 0.5); }
NumberResult Ceil(double x, double n) { return ScaleCut(x, n, 0.9999999999); }
NumberResult Floor(double x, double n) { return ScaleCut(x, n, 0); }

NumberResult Fact(double x)
{
    int n = ToInt16(x);
    if (n < 0 || n > 170)
        return {};
    double f = 1;
    for (int i = 2; i <= n; ++i)
        f *= i;
    return f;
}

// n! / (n - r)! as the product n (n - 1) ... (n - r + 1), so that it stays
// finite wherever the quotient is; n and r count as whole numbers. Every
// factor but the last is at least 2, so an enormous r overflows (and stops)
// after about a thousand steps.
NumberResult Perm(double n, double r)
{
    n = std::trunc(n);
    r = std::trunc(r);
    if (n < 0 || r < 0 || r > n)
        return {};
    double p = 1;
    for (double i = 0; i < r && std::isfinite(p); i += 1)
        p *= n - i;
    return p;
}

// n! / (r! (n - r)!) built up one factor at a time, each partial result a
// binomial coefficient itself; the shorter side of the symmetry is walked,
// whose factors are each at least 2.
NumberResult Comb(double n, double r)
{
    n = std::trunc(n);
    r = std::trunc(r);
    if (n < 0 || r < 0 || r > n)
        return {};
    double k = std::min(r, n - r);
    double c = 1;
    for (double i = 1; i <= k && std::isfinite(c); i += 1)
        c = c * (n - k + i) / i;
    return c;
}

NumberResult Rand()
{
    static std::mt19937_64 generator{std::random_device{}()};
    // The top 53 bits as a fraction: uniform in [0, 1), never 1.
    return static_cast<double>(generator() >> 11) * 0x1.0p-53;
}

NumberResult Rgb(double r, double g, double b) { return r + 256 * g + 65536 * b; }

}  // namespace

void RegisterMathFunctions(HandlerTable& t)
{
    constexpr std::pair<std::uint8_t, OpHandler> kHandlers[] = {
        {33, NumericHandler<Abs>},     {34, NumericHandler<Int>},    {35, NumericHandler<Sqrt>},
        {36, NumericHandler<Log>},     {37, NumericHandler<Ln>},     {38, NumericHandler<Pi>},
        {39, NumericHandler<Sin>},     {40, NumericHandler<Cos>},    {41, NumericHandler<Tan>},
        {43, NumericHandler<Atan>},    {44, NumericHandler<Asin>},   {45, NumericHandler<Acos>},
        {46, NumericHandler<Exp>},     {47, NumericHandler<Mod>},    {53, NumericHandler<Rand>},
        {63, NumericHandler<Round>},   {122, NumericHandler<Fact>},  {126, NumericHandler<Csc>},
        {127, NumericHandler<Ctn>},    {128, NumericHandler<Sec>},   {129, NumericHandler<Cosh>},
        {130, NumericHandler<Sinh>},   {131, NumericHandler<Tanh>},  {132, NumericHandler<Asinh>},
        {133, NumericHandler<Acosh>},  {134, NumericHandler<Atanh>}, {135, NumericHandler<Comb>},
        {136, NumericHandler<Perm>},   {174, NumericHandler<LogB>},  {175, NumericHandler<Ceil>},
        {176, NumericHandler<Floor>},  {185, NumericHandler<Rgb>},
    };
    for (auto [op, handler] : kHandlers)
        t[op] = handler;
}

}  // namespace zt
