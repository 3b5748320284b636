#include "core/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/cell.h"
#include "core/dates.h"
#include "core/format_codes.h"

namespace zt {

namespace {

constexpr std::size_t kMaxShortString = 255;
constexpr std::size_t kEngineeringCut = 15;
constexpr int kMaxBars = 240;

constexpr std::string_view kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// Unit letters for 10^12 down to 10^-18 in steps of 10^3.
constexpr std::string_view kEngineeringUnits = "TGMk munpfa";

// The formatted text of a number: the body and the one-character suffix
// that keeps numbers off the right edge of their column.
struct Formatted {
    std::string Body;
    char Suffix = ' ';
};

// x rounded to a number of significant digits: the digits and the power
// of ten of the first one.
struct Decimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

Decimal ToDecimal(double x, int significant)
{
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, significant - 1);
    std::string_view t(buf, static_cast<std::size_t>(r.ptr - buf));
    Decimal d;
    std::size_t i = 0;
    if (t[i] == '-') {
        d.Negative = true;
        ++i;
    }
    for (; t[i] != 'e'; ++i)
        if (t[i] != '.')
            d.Digits += t[i];
    bool negativeExponent = t[i + 1] == '-';
    int exponent = 0;
    std::from_chars(t.data() + i + 2, t.data() + t.size(), exponent);
    d.Exponent = negativeExponent ? -exponent : exponent;
    return d;
}

void DropTrailingZeros(std::string& digits)
{
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
}

std::string ExponentText(int exponent, std::size_t minDigits)
{
    std::string digits = std::to_string(std::abs(exponent));
    if (digits.size() < minDigits)
        digits.insert(0, minDigits - digits.size(), '0');
    return std::string("E") + (exponent < 0 ? '-' : '+') + digits;
}

// "d.ddd" followed by the exponent; the point only when digits follow it.
std::string ExponentForm(const Decimal& d, std::size_t minExponentDigits)
{
    std::string s = d.Negative ? "-" : "";
    s += d.Digits[0];
    if (d.Digits.size() > 1) {
        s += '.';
        s.append(d.Digits, 1);
    }
    return s + ExponentText(d.Exponent, minExponentDigits);
}

// The digits written out without an exponent.
std::string PlainForm(const Decimal& d)
{
    std::string s = d.Negative ? "-" : "";
    if (d.Exponent < 0) {
        s += "0.";
        s.append(static_cast<std::size_t>(-d.Exponent - 1), '0');
        return s + d.Digits;
    }
    auto whole = static_cast<std::size_t>(d.Exponent) + 1;
    if (d.Digits.size() <= whole) {
        s += d.Digits;
        s.append(whole - d.Digits.size(), '0');
    } else {
        s.append(d.Digits, 0, whole);
        s += '.';
        s.append(d.Digits, whole);
    }
    return s;
}

// x with a fixed number of decimals, "." as the point.
std::string FixedText(double x, int places)
{
    char buf[400];  // the largest double has 309 digits before the point
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, places);
    return std::string(buf, r.ptr);
}

// Mantissa with `places` decimals and an exponent of at least three digits.
std::string ScientificText(double x, int places)
{
    Decimal d = ToDecimal(x, places + 1);
    return ExponentForm(d, 3);
}

std::string WithPoint(std::string text, char point)
{
    for (char& ch : text)
        if (ch == '.')
            ch = point;
    return text;
}

// A decimal number that is too long for its column loses the decimals
// past the column; whole numbers and exponent forms are left alone.
void CutToWidth(std::string& text, int width)
{
    if (width < 1)
        return;
    auto room = static_cast<std::size_t>(width - 1);
    if (text.size() <= room || text.find('E') != std::string::npos)
        return;
    std::size_t point = text.find('.');
    if (point != std::string::npos && point + 1 < room)
        text.resize(room);
}

std::string GeneralText(double x, int width)
{
    if (x == 0)
        return "0";
    double magnitude = std::fabs(x);
    std::string text;
    if (magnitude >= 1e-6 && magnitude <= 1e6) {
        Decimal d = ToDecimal(x, 15);
        DropTrailingZeros(d.Digits);
        text = magnitude >= 1e-5 ? PlainForm(d) : ExponentForm(d, 3);
    } else {
        Decimal d = ToDecimal(x, 11);
        DropTrailingZeros(d.Digits);
        text = ExponentForm(d, 2);
    }
    CutToWidth(text, width);
    return text;
}

// The digits of |x| with thousands separators and the settings' point.
std::string GroupedText(double magnitude, int places, const WorksheetSettings& s)
{
    std::string digits = FixedText(magnitude, places);
    std::size_t point = digits.find('.');
    std::string whole = digits.substr(0, point);
    std::string grouped;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            grouped += s.Comma;
        grouped += whole[i];
    }
    if (point != std::string::npos)
        grouped += s.Period + digits.substr(point + 1);
    return grouped;
}

Formatted Comma(double x, int places, const WorksheetSettings& s)
{
    std::string number = GroupedText(std::fabs(x), places, s);
    if (x < 0)
        return {"(" + number, ')'};
    return {number};
}

Formatted Currency(double x, int places, const WorksheetSettings& s)
{
    std::string number = GroupedText(std::fabs(x), places, s) + s.CurrSuffix;
    if (x < 0)
        return {"(" + s.CurrPrefix + number, ')'};
    return {s.CurrPrefix + number};
}

Formatted Fraction(double x, int n, int width, const WorksheetSettings& s)
{
    double whole = std::trunc(x);
    double scaled = std::round((x - whole) * (1 << n));
    long k = std::fabs(scaled) < 2147483648.0 ? static_cast<long>(scaled) : -1;
    while (k > 0 && k % 2 == 0) {
        k /= 2;
        --n;
    }
    if (k < 0)
        return {"?-?/??"};
    if (k == 0)
        return {WithPoint(GeneralText(whole, width), s.Period)};
    long denominator = 1L << n;
    if (k == denominator)
        return {WithPoint(GeneralText(whole + 1, width), s.Period)};
    std::string text = whole != 0 ? WithPoint(GeneralText(whole, width), s.Period) + "-" : "";
    return {text + std::to_string(k) + "/" + std::to_string(denominator)};
}

Formatted Engineering(double x, int places, const WorksheetSettings& s)
{
    if (x == 0)
        return {WithPoint(FixedText(0, places), s.Period) + ' '};
    int e = static_cast<int>(std::trunc(std::log10(std::fabs(x)) + 0.0001));
    int g = e / 3 - (e < 0 ? 1 : 0);
    if (g < -6 || g > 4)
        return {WithPoint(ScientificText(x, 10), s.Period)};
    std::string text = WithPoint(FixedText(x / std::pow(10.0, 3 * g), places), s.Period);
    text += kEngineeringUnits[static_cast<std::size_t>(4 - g)];
    if (text.size() > kEngineeringCut)
        text.resize(kEngineeringCut);
    return {text};
}

Formatted PlusMinus(double x)
{
    double n = std::round(x);
    if (n == 0)
        return {"."};
    if (std::fabs(n) >= kMaxBars)
        return {};
    return {std::string(static_cast<std::size_t>(std::fabs(n)), n > 0 ? '+' : '-')};
}

std::string_view MonthName(int month)
{
    return month >= 1 && month <= 12 ? kMonthNames[month - 1] : std::string_view("???");
}

std::string DateText(double x, std::uint8_t code)
{
    CalendarDate d = DecodeDate(x);
    std::string month(MonthName(d.Month));
    char buf[64];
    switch (code) {
    case kFormatD1: std::snprintf(buf, sizeof buf, "%02d-%s-%04d", d.Day, month.c_str(), d.Year); break;
    case kFormatD2: std::snprintf(buf, sizeof buf, "%02d-%s", d.Day, month.c_str()); break;
    case kFormatD3: std::snprintf(buf, sizeof buf, "%s %04d", month.c_str(), d.Year); break;
    case kFormatD4: std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.Month, d.Day, d.Year); break;
    default: std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.Day, d.Month, d.Year); break;  // D5
    }
    return buf;
}

std::string TimeText(double x, bool twelveHour, bool seconds)
{
    TimeOfDay t = DecodeTime(x);
    char buf[32];
    int n;
    if (twelveHour) {
        int hour = t.Hour > 12 ? t.Hour - 12 : t.Hour;
        n = std::snprintf(buf, sizeof buf, "%d:%02d", hour, t.Minute);
    } else {
        n = std::snprintf(buf, sizeof buf, "%02d:%02d", t.Hour, t.Minute);
    }
    std::string text(buf, static_cast<std::size_t>(n));
    if (seconds) {
        std::snprintf(buf, sizeof buf, ":%02d", t.Second);
        text += buf;
    }
    if (twelveHour)
        text += t.Hour < 12 ? " am" : " pm";
    return text;
}

// The special formats of type 7; the rest of the type shows General.
Formatted Special(std::uint8_t code, double x, int width, const WorksheetSettings& s)
{
    switch (code) {
    case kFormatPlusMinus: return PlusMinus(x);
    case kFormatD1:
    case kFormatD2:
    case kFormatD3:
    case kFormatD4:
    case kFormatD5: return {DateText(x, code)};
    case kFormatT1: return {TimeText(x, true, true)};
    case kFormatT2: return {TimeText(x, true, false)};
    case kFormatT3: return {TimeText(x, false, true)};
    case kFormatT4: return {TimeText(x, false, false)};
    default: return {WithPoint(GeneralText(x, width), s.Period)};
    }
}

Formatted Format(int width, std::uint8_t code, double x, const WorksheetSettings& s)
{
    int type = code >> 4;
    int p = code & 0x0F;
    switch (type) {
    case 0: return {WithPoint(FixedText(x, p), s.Period)};
    case 1: return {WithPoint(ScientificText(x, p), s.Period)};
    case 2: return (p & 8) ? Fraction(x, p & 7, width, s) : Currency(x, p, s);
    case 3: return {WithPoint(FixedText(100 * x, p), s.Period), '%'};
    case 4: return Comma(x, p, s);
    case 5: return Engineering(x, p, s);
    case 7: return Special(code, x, width, s);
    default: return {WithPoint(GeneralText(x, width), s.Period)};
    }
}

}  // namespace

std::string FormatValue(int width, std::uint8_t code, double x, const WorksheetSettings& s)
{
    code &= kFormatCodeMask;
    if (x == 0) {
        x = 0.0;  // no "-0"
        if (s.ZeroSuppress)
            code = kFormatHidden;
    }
    if (code == kFormatHidden)
        return {};
    // A value beyond the double range has no digits to show.
    if (!std::isfinite(x) || (code >> 4 == 3 && !std::isfinite(100 * x)))
        return "?";
    Formatted f = Format(width, code, x, s);
    std::string text = f.Body + f.Suffix;
    text.erase(0, text.find_first_not_of(' '));
    if (text.size() > kMaxShortString)
        text.resize(kMaxShortString);
    return text;
}

}  // namespace zt
