#pragma once
#include <string_view>

namespace zt {

// Day numbers: 0 = 30 December 1899; Julian calendar before 15 October 1582.
double DateSerial(double year, double month, double day);

struct CalendarDate {
    int Year;
    int Month;
    int Day;
};
CalendarDate DecodeDate(double serial);

struct TimeOfDay {
    int Hour;
    int Minute;
    int Second;
};
// Hours, minutes and seconds of the fraction of a day number.
TimeOfDay DecodeTime(double serial);

// Up to three numbers of a text, each an optional "-" and digits, anything
// else separating them; returns how many were found (missing ones stay 0).
int ReadDateNumbers(std::string_view text, double (&numbers)[3]);

// Reads up to three numbers separated by anything but digits and "-":
// month, day, year when monthFirst, else day, month, year. False when the
// text holds no number.
bool DateValue(std::string_view text, bool monthFirst, double& serial);

}  // namespace zt
