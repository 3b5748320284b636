#include "formula/format_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zt {

namespace {

void StripTrailingZeros(std::string& mantissa)
{
    if (mantissa.find('.') == std::string::npos)
        return;
    while (mantissa.back() == '0')
        mantissa.pop_back();
    if (mantissa.back() == '.')
        mantissa.pop_back();
}

// "d.dddde+XXX" from printf or to_chars into mantissa + "E" + sign + at
// least two exponent digits.
std::string ExponentForm(const std::string& raw)
{
    std::size_t e = raw.find_first_of("eE");
    std::string mantissa = raw.substr(0, e);
    StripTrailingZeros(mantissa);
    int exponent = std::atoi(raw.c_str() + e + 1);
    char buf[16];
    std::snprintf(buf, sizeof buf, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return mantissa + buf;
}

std::string Specified(double x)
{
    double a = std::fabs(x);
    char buf[64];
    if (a >= 1e-5 && a <= 1e6) {
        // Fixed notation with 15 significant digits.
        int intDigits = static_cast<int>(std::floor(std::log10(a))) + 1;
        std::snprintf(buf, sizeof buf, "%.*f", std::max(0, 15 - intDigits), x);
        std::string text = buf;
        StripTrailingZeros(text);
        return text;
    }
    if (a >= 1e-6 && a < 1e-5)
        std::snprintf(buf, sizeof buf, "%.14e", x);
    else
        std::snprintf(buf, sizeof buf, "%.10e", x);
    return ExponentForm(buf);
}

std::string Shortest(double x)
{
    double a = std::fabs(x);
    char buf[64];
    bool fixed = a >= 1e-5 && a <= 1e6;
    auto res = std::to_chars(buf, buf + sizeof buf, x,
                             fixed ? std::chars_format::fixed : std::chars_format::scientific);
    std::string raw(buf, res.ptr);
    return fixed ? raw : ExponentForm(raw);
}

bool ReadsBack(const std::string& text, double x)
{
    double v = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    return res.ec == std::errc() && v == x;
}

}  // namespace

std::string FormatNumber(double x, char period)
{
    if (x == 0)
        return "0";
    if (!std::isfinite(x))
        return "ERR";
    std::string text = Specified(x);
    if (!ReadsBack(text, x))
        text = Shortest(x);
    if (period != '.')
        for (char& ch : text)
            if (ch == '.')
                ch = period;
    return text;
}

}  // namespace zt
