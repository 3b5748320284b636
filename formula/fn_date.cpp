// The date and time @ functions. Dates are day numbers (0 = 30 December
// 1899) and times the fraction of a day.
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <utility>

#include "core/dates.h"
#include "formula/functions.h"
#include "formula/numeric_handler.h"

namespace zt {

namespace {

constexpr double kSecondsPerDay = 86400;

// Day numbers beyond this magnitude lie about a billion years away;
// their years no longer fit the calendar arithmetic.
constexpr double kFarthestDay = 3.6e11;

NumberResult Date(double year, double month, double day) { return DateSerial(year, month, day); }

std::optional<CalendarDate> Decode(double serial)
{
    if (std::fabs(serial) > kFarthestDay)
        return {};
    return DecodeDate(serial);
}

NumberResult Day(double serial)
{
    std::optional<CalendarDate> d = Decode(serial);
    if (!d)
        return {};
    return d->Day;
}

NumberResult Month(double serial)
{
    std::optional<CalendarDate> d = Decode(serial);
    if (!d)
        return {};
    return d->Month;
}

NumberResult Year(double serial)
{
    std::optional<CalendarDate> d = Decode(serial);
    if (!d)
        return {};
    return d->Year;
}

double TimeFraction(double hours, double minutes, double seconds)
{
    return (hours * 3600 + minutes * 60 + seconds) / kSecondsPerDay;
}

NumberResult Time(double hours, double minutes, double seconds) { return TimeFraction(hours, minutes, seconds); }
NumberResult Hour(double t) { return DecodeTime(t).Hour; }
NumberResult Minute(double t) { return DecodeTime(t).Minute; }
NumberResult Second(double t) { return DecodeTime(t).Second; }

NumberResult Today()
{
    std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    if (!localtime_r(&now, &local))
        return {};
    double day = DateSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return day + TimeFraction(local.tm_hour, local.tm_min, local.tm_sec);
}

// @DATEVAL(text): the numbers of the text in the order the U.S. date
// setting says; a text without a number is ERR.
void DateVal(EvalMachine& m)
{
    std::string text = ArgText(m, 0);
    double serial = 0;
    NumberResult v;
    if (DateValue(text, m.E.Settings().UsDate, serial))
        v = serial;
    ResultOrError(m, 1, v);
}

// @TIMEVAL(text): hour, minute and second from the text; a "P" anywhere
// moves an hour below 12 into the afternoon. A text without a number is ERR.
void TimeVal(EvalMachine& m)
{
    std::string text = ArgText(m, 0);
    double numbers[3] = {0, 0, 0};
    NumberResult v;
    if (ReadDateNumbers(text, numbers) > 0) {
        double hour = numbers[0];
        bool afternoon = false;
        for (char ch : text)
            afternoon = afternoon || std::toupper(static_cast<unsigned char>(ch)) == 'P';
        if (hour < 12 && afternoon)
            hour += 12;
        v = TimeFraction(hour, numbers[1], numbers[2]);
    }
    ResultOrError(m, 1, v);
}

}  // namespace

void RegisterDateFunctions(HandlerTable& t)
{
    constexpr std::pair<std::uint8_t, OpHandler> kHandlers[] = {
        {54, NumericHandler<Date>},   {55, NumericHandler<Today>},  {60, NumericHandler<Day>},
        {61, NumericHandler<Month>},  {62, NumericHandler<Year>},   {64, NumericHandler<Time>},
        {65, NumericHandler<Hour>},   {66, NumericHandler<Minute>}, {67, NumericHandler<Second>},
        {77, DateVal},                {78, TimeVal},
    };
    for (auto [op, handler] : kHandlers)
        t[op] = handler;
}

}  // namespace zt
