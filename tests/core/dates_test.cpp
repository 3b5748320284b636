#include "core/dates.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace zt {
namespace {

void ExpectDate(double serial, int year, int month, int day)
{
    CalendarDate d = DecodeDate(serial);
    EXPECT_EQ(d.Year, year) << "serial " << serial;
    EXPECT_EQ(d.Month, month) << "serial " << serial;
    EXPECT_EQ(d.Day, day) << "serial " << serial;
}

void ExpectTime(double serial, int hour, int minute, int second)
{
    TimeOfDay t = DecodeTime(serial);
    EXPECT_EQ(t.Hour, hour) << "serial " << serial;
    EXPECT_EQ(t.Minute, minute) << "serial " << serial;
    EXPECT_EQ(t.Second, second) << "serial " << serial;
}

TEST(DateSerialTest, KnownDays)
{
    EXPECT_EQ(DateSerial(1899, 12, 30), 0);
    EXPECT_EQ(DateSerial(1900, 1, 1), 2);
    EXPECT_EQ(DateSerial(1997, 12, 25), 35789);
    EXPECT_EQ(DateSerial(2000, 1, 1), 36526);
    EXPECT_EQ(DateSerial(2000, 3, 1) - DateSerial(2000, 2, 28), 2);  // 2000 is a leap year
    EXPECT_EQ(DateSerial(1900, 3, 1) - DateSerial(1900, 2, 28), 1);  // 1900 is not
}

TEST(DateSerialTest, YearsBelowHundredMeanTheNineteenHundreds)
{
    EXPECT_EQ(DateSerial(0, 1, 1), 2);
    EXPECT_EQ(DateSerial(97, 12, 25), 35789);
    EXPECT_EQ(DateSerial(99, 12, 31), DateSerial(1999, 12, 31));
    EXPECT_EQ(DecodeDate(DateSerial(100, 6, 1)).Year, 100);
}

TEST(DateSerialTest, DayAndMonthOverflowRollOver)
{
    EXPECT_EQ(DateSerial(1999, 2, 29), DateSerial(1999, 3, 1));
    EXPECT_EQ(DateSerial(2000, 3, 0), DateSerial(2000, 2, 29));
    EXPECT_EQ(DateSerial(2000, 1, 32), DateSerial(2000, 2, 1));
    EXPECT_EQ(DateSerial(1999, 13, 1), DateSerial(2000, 1, 1));
}

TEST(DateSerialTest, YearAndMonthAreRoundedButDayIsNot)
{
    EXPECT_EQ(DateSerial(1999.6, 12.4, 31), DateSerial(2000, 12, 31));
    EXPECT_EQ(DateSerial(2000, 1, 1.5), 36526.5);
}

TEST(DateSerialTest, CalendarSwitchesToGregorianAfterFourthOctober1582)
{
    EXPECT_EQ(DateSerial(1582, 10, 15), -115858);
    EXPECT_EQ(DateSerial(1582, 10, 4), -115859);
    ExpectDate(-115858, 1582, 10, 15);
    ExpectDate(-115859, 1582, 10, 4);
    // Julian leap years include every century year.
    EXPECT_EQ(DateSerial(1500, 3, 1) - DateSerial(1500, 2, 28), 2);
}

TEST(DecodeDateTest, KnownDays)
{
    ExpectDate(0, 1899, 12, 30);
    ExpectDate(2, 1900, 1, 1);
    ExpectDate(61, 1900, 3, 1);
    ExpectDate(35789, 1997, 12, 25);
    ExpectDate(36526, 2000, 1, 1);
    ExpectDate(36585, 2000, 2, 29);
    ExpectDate(2958465, 9999, 12, 31);
}

TEST(DecodeDateTest, TimeOfDayDoesNotChangeTheDate)
{
    ExpectDate(36526.75, 2000, 1, 1);
    ExpectDate(36526.999, 2000, 1, 1);
}

TEST(DecodeDateTest, RoundTripsAcrossTheCalendarSwitch)
{
    for (int serial = -116300; serial <= -115400; ++serial) {
        CalendarDate d = DecodeDate(serial);
        ASSERT_EQ(DateSerial(d.Year, d.Month, d.Day), serial) << d.Year << "-" << d.Month << "-" << d.Day;
    }
}

TEST(DecodeDateTest, RoundTripsFromYear100ToYear9999)
{
    int previousDay = 0;
    for (int serial = static_cast<int>(DateSerial(100, 1, 1)); serial <= 2958465; ++serial) {
        CalendarDate d = DecodeDate(serial);
        ASSERT_EQ(DateSerial(d.Year, d.Month, d.Day), serial) << d.Year << "-" << d.Month << "-" << d.Day;
        bool nextDay = d.Day == previousDay + 1 || d.Day == 1 || (serial == -115858 && d.Day == 15);
        ASSERT_TRUE(nextDay) << serial;
        previousDay = d.Day;
    }
}

TEST(DecodeDateTest, SerialsBeyondAnyCalendarStayInRange)
{
    EXPECT_EQ(DecodeDate(1e300).Year, INT_MAX);
    EXPECT_EQ(DecodeDate(-1e300).Year, INT_MIN);
    CalendarDate nan = DecodeDate(std::nan(""));
    EXPECT_EQ(nan.Year, 0);
    EXPECT_EQ(nan.Month, 0);
    EXPECT_EQ(nan.Day, 0);
}

TEST(DecodeTimeTest, DocumentedTimes)
{
    ExpectTime(0, 0, 0, 0);
    ExpectTime(0.5, 12, 0, 0);
    ExpectTime(0.75, 18, 0, 0);
    ExpectTime(35789.25, 6, 0, 0);
    ExpectTime((13 * 3600 + 5 * 60 + 9) / 86400.0, 13, 5, 9);
}

TEST(DecodeTimeTest, EverySecondOfTheDayDecodesExactly)
{
    for (int s = 0; s < 86400; ++s)
        ExpectTime(s / 86400.0, s / 3600, s / 60 % 60, s % 60);
}

TEST(DecodeTimeTest, NegativeSerialsCountFromTheirMidnight)
{
    ExpectTime(-0.25, 18, 0, 0);
    ExpectTime(-1.5, 12, 0, 0);
}

TEST(DateValueTest, MonthFirstAndDayFirstOrders)
{
    double serial = 0;
    ASSERT_TRUE(DateValue("12/25/97", true, serial));
    EXPECT_EQ(serial, 35789);
    ASSERT_TRUE(DateValue("25/12/97", false, serial));
    EXPECT_EQ(serial, 35789);
    ASSERT_TRUE(DateValue("1/2/2000", true, serial));
    EXPECT_EQ(serial, DateSerial(2000, 1, 2));
    ASSERT_TRUE(DateValue("1/2/2000", false, serial));
    EXPECT_EQ(serial, DateSerial(2000, 2, 1));
}

TEST(DateValueTest, AnythingButDigitsAndMinusSeparates)
{
    double serial = 0;
    ASSERT_TRUE(DateValue("12 . 25 x 1997 tail 4", true, serial));
    EXPECT_EQ(serial, 35789);
}

TEST(DateValueTest, MissingNumbersCountAsZero)
{
    double serial = 0;
    ASSERT_TRUE(DateValue("3/15", true, serial));
    EXPECT_EQ(serial, DateSerial(0, 3, 15));
    ASSERT_TRUE(DateValue("7", true, serial));
    EXPECT_EQ(serial, DateSerial(0, 7, 0));
}

TEST(DateValueTest, MinusSignsBelongToTheNumbers)
{
    double serial = 0;
    ASSERT_TRUE(DateValue("3/-1/2000", true, serial));
    EXPECT_EQ(serial, DateSerial(2000, 3, -1));
    ASSERT_TRUE(DateValue("1-2-2000", true, serial));
    EXPECT_EQ(serial, DateSerial(-2000, 1, -2));
}

TEST(DateValueTest, NoNumberIsNoDate)
{
    double serial = 123;
    EXPECT_FALSE(DateValue("", true, serial));
    EXPECT_FALSE(DateValue("//", true, serial));
    EXPECT_FALSE(DateValue("- / -", false, serial));
    EXPECT_EQ(serial, 123);
}

}  // namespace
}  // namespace zt
