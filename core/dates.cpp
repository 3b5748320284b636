#include "core/dates.h"

#include <climits>
#include <cmath>

namespace zt {

namespace {

// Day numbers at the calendar switch: 15 October 1582 is the first
// Gregorian day. DateSerial compares its uncorrected sum, which is still
// ten days higher there.
constexpr double kFirstGregorianDay = -115858;
constexpr double kFirstGregorianSum = -115848;

constexpr double kJulianDayOfZero = 2415019;  // Julian day number of 30 December 1899

// Whole numbers from the calendar arithmetic, kept in range so that absurd
// day numbers decode to nonsense rather than to undefined behaviour.
int ToInt(double v)
{
    if (std::isnan(v))
        return 0;
    if (v <= INT_MIN)
        return INT_MIN;
    if (v >= INT_MAX)
        return INT_MAX;
    return static_cast<int>(v);
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

}  // namespace

double DateSerial(double year, double month, double day)
{
    double y = std::round(year);
    if (y >= 0 && y <= 99)
        y += 1900;
    double m = std::round(month);
    if (m < 3) {
        y -= 1;
        m += 12;
    }
    double s = day + std::trunc((m + 1) * 30.6001) + std::floor(std::fabs(y) * 365.25) - 694024;
    if (s >= kFirstGregorianSum) {
        double c = std::floor(y / 100);
        s = s - c + std::floor(c / 4) + 2;
    }
    return s;
}

CalendarDate DecodeDate(double serial)
{
    double j = std::trunc(serial + kJulianDayOfZero);
    if (serial >= kFirstGregorianDay) {
        double alpha = std::floor((j - 1867216.25) / 36524.25);
        j = j + 1 + alpha - std::floor(alpha / 4);
    }
    double b = j + 1524;
    double c = std::trunc((b - 122.1) / 365.25);
    double d = std::trunc(365.25 * c);
    double e = std::trunc((b - d) / 30.6001);
    double day = b - d - std::trunc(30.6001 * e);
    double month = e < 13.5 ? e - 1 : e - 13;
    double year = month > 2 ? c - 4716 : c - 4715;
    return {ToInt(year), ToInt(month), ToInt(day)};
}

TimeOfDay DecodeTime(double serial)
{
    // The time of day is the distance past midnight, also for days before 0.
    double f = std::isfinite(serial) ? serial - std::floor(serial) : 0.0;
    double hours = 24 * f;
    double hour = std::trunc(hours);
    // The small offset (a quarter second) keeps exact minutes from falling
    // one short through rounding.
    double minutes = (hours - hour + 0.0000694) * 60;
    double minute = std::trunc(minutes);
    double second = std::trunc((minutes - minute) * 60);
    return {ToInt(hour), ToInt(minute), ToInt(second)};
}

int ReadDateNumbers(std::string_view text, double (&numbers)[3])
{
    // A number is an optional "-" and digits; everything else separates.
    int count = 0;
    std::size_t i = 0;
    while (i < text.size() && count < 3) {
        bool negative = text[i] == '-' && i + 1 < text.size() && IsDigit(text[i + 1]);
        if (!negative && !IsDigit(text[i])) {
            ++i;
            continue;
        }
        if (negative)
            ++i;
        double v = 0;
        while (i < text.size() && IsDigit(text[i]))
            v = v * 10 + (text[i++] - '0');
        numbers[count++] = negative ? -v : v;
    }
    return count;
}

bool DateValue(std::string_view text, bool monthFirst, double& serial)
{
    double numbers[3] = {0, 0, 0};
    if (ReadDateNumbers(text, numbers) == 0)
        return false;
    double first = numbers[0], second = numbers[1], year = numbers[2];
    serial = monthFirst ? DateSerial(year, first, second) : DateSerial(year, second, first);
    return true;
}

}  // namespace zt
