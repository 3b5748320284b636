#include "core/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace zt {
namespace {

class FormatValueTest : public ::testing::Test {
protected:
    std::string Show(std::uint8_t code, double x, int width = 9) { return FormatValue(width, code, x, s); }

    WorksheetSettings s;
};

TEST_F(FormatValueTest, FixedRoundsWithoutSeparators)
{
    EXPECT_EQ(Show(0x02, 1234.567), "1234.57 ");
    EXPECT_EQ(Show(0x02, -1234.567), "-1234.57 ");
    EXPECT_EQ(Show(0x00, 1234.567), "1235 ");
    EXPECT_EQ(Show(0x04, 0.5), "0.5000 ");
    EXPECT_EQ(Show(0x0F, 0.25), "0.250000000000000 ");
    EXPECT_EQ(Show(0x02, 1e20), "100000000000000000000.00 ");
}

TEST_F(FormatValueTest, ZeroNeverShowsAMinusSign)
{
    EXPECT_EQ(Show(0x02, -0.0), "0.00 ");
    EXPECT_EQ(Show(0x71, -0.0), "0 ");
}

TEST_F(FormatValueTest, ScientificHasThreeExponentDigits)
{
    EXPECT_EQ(Show(0x12, 12345.678), "1.23E+004 ");
    EXPECT_EQ(Show(0x11, -0.00012), "-1.2E-004 ");
    EXPECT_EQ(Show(0x10, 5), "5E+000 ");
    EXPECT_EQ(Show(0x12, 1e300), "1.00E+300 ");
    EXPECT_EQ(Show(0x13, 9.9996), "1.000E+001 ");
}

TEST_F(FormatValueTest, CommaGroupsThousandsAndBracketsNegatives)
{
    EXPECT_EQ(Show(0x42, 1234.567), "1,234.57 ");
    EXPECT_EQ(Show(0x42, 1234.5), "1,234.50 ");
    EXPECT_EQ(Show(0x42, -1234.5), "(1,234.50)");
    EXPECT_EQ(Show(0x42, 123), "123.00 ");
    EXPECT_EQ(Show(0x42, 1234567.891), "1,234,567.89 ");
    EXPECT_EQ(Show(0x40, 123456), "123,456 ");
    EXPECT_EQ(Show(0x40, 999.5), "1,000 ");
}

TEST_F(FormatValueTest, CurrencyWrapsTheCommaFormWithPrefixAndSuffix)
{
    EXPECT_EQ(Show(0x22, 1234.567), "$1,234.57  ");
    EXPECT_EQ(Show(0x22, -1234.567), "($1,234.57 )");
    EXPECT_EQ(Show(0x20, 5), "$5  ");
    s.CurrPrefix = "DM";
    s.CurrSuffix = "";
    EXPECT_EQ(Show(0x22, -3), "(DM3.00)");
    s.CurrPrefix = " ";
    EXPECT_EQ(Show(0x22, 3), "3.00 ");
}

TEST_F(FormatValueTest, PercentScalesAndEndsInPercentSign)
{
    EXPECT_EQ(Show(0x31, 0.1234), "12.3%");
    EXPECT_EQ(Show(0x30, -0.5), "-50%");
    EXPECT_EQ(Show(0x32, 1), "100.00%");
}

TEST_F(FormatValueTest, FractionsInLowestTerms)
{
    EXPECT_EQ(Show(0x29, 1.5), "1-1/2 ");
    EXPECT_EQ(Show(0x2B, 0.375), "3/8 ");
    EXPECT_EQ(Show(0x2A, 2.99), "3 ");
    EXPECT_EQ(Show(0x2B, 2.5), "2-1/2 ");
    EXPECT_EQ(Show(0x2F, 0.01), "1/128 ");
    EXPECT_EQ(Show(0x2B, 3), "3 ");
    EXPECT_EQ(Show(0x28, 0.2), "0 ");
    EXPECT_EQ(Show(0x2A, 7.1), "7 ");
}

TEST_F(FormatValueTest, NegativeFractionsCannotBeShown)
{
    EXPECT_EQ(Show(0x29, -1.5), "?-?/?? ");
    EXPECT_EQ(Show(0x29, -0.5), "?-?/?? ");
    EXPECT_EQ(Show(0x29, -3), "-3 ");
}

TEST_F(FormatValueTest, EngineeringUsesUnitLetters)
{
    EXPECT_EQ(Show(0x52, 12346), "12.35k ");
    EXPECT_EQ(Show(0x51, 0.005), "5.0m ");
    EXPECT_EQ(Show(0x53, 0.5), "0.500  ");
    EXPECT_EQ(Show(0x52, 0), "0.00  ");
    EXPECT_EQ(Show(0x52, -12346), "-12.35k ");
    EXPECT_EQ(Show(0x50, 0.001), "1m ");
    EXPECT_EQ(Show(0x50, 0.0001), "100u ");
    EXPECT_EQ(Show(0x50, 9e-7), "900n ");
    EXPECT_EQ(Show(0x52, 999e12), "999.00T ");
    EXPECT_EQ(Show(0x50, 1e-18), "1a ");
    EXPECT_EQ(Show(0x52, 999.9996), "1.00k ");
}

TEST_F(FormatValueTest, EngineeringOutsideTheUnitsUsesExponentForm)
{
    EXPECT_EQ(Show(0x52, 1e15), "1.0000000000E+015 ");
    EXPECT_EQ(Show(0x52, -2.5e-20), "-2.5000000000E-020 ");
}

TEST_F(FormatValueTest, EngineeringTextIsCutToFifteenCharacters)
{
    EXPECT_EQ(Show(0x5F, 123456), "123.45600000000 ");
}

TEST_F(FormatValueTest, PlusMinusDrawsABar)
{
    EXPECT_EQ(Show(0x70, 3), "+++ ");
    EXPECT_EQ(Show(0x70, -2), "-- ");
    EXPECT_EQ(Show(0x70, 0), ". ");
    EXPECT_EQ(Show(0x70, 0.4), ". ");
    EXPECT_EQ(Show(0x70, 2.6), "+++ ");
    EXPECT_EQ(Show(0x70, 239), std::string(239, '+') + " ");
    EXPECT_EQ(Show(0x70, 240), "");
    EXPECT_EQ(Show(0x70, -1e300), "");
}

TEST_F(FormatValueTest, GeneralDocumentedCases)
{
    EXPECT_EQ(Show(0x71, 0), "0 ");
    EXPECT_EQ(Show(0x71, 1e7), "1E+07 ");
    EXPECT_EQ(Show(0x71, 1.5e7), "1.5E+07 ");
    EXPECT_EQ(Show(0x71, 1234.5678, 8), "1234.56 ");
    EXPECT_EQ(Show(0x71, 1234.5678, 6), "1234.5678 ");
}

TEST_F(FormatValueTest, GeneralKeepsFifteenDigitsInsideTheFixedRange)
{
    EXPECT_EQ(Show(0x71, 1e6, 20), "1000000 ");
    EXPECT_EQ(Show(0x71, 0.1 + 0.2, 20), "0.3 ");
    EXPECT_EQ(Show(0x71, 1.0 / 3, 20), "0.333333333333333 ");
    EXPECT_EQ(Show(0x71, -42, 20), "-42 ");
    EXPECT_EQ(Show(0x71, 0.00001, 20), "0.00001 ");
    EXPECT_EQ(Show(0x71, 0.000012345, 20), "0.000012345 ");
}

TEST_F(FormatValueTest, GeneralExponentForms)
{
    // Below 10^-5 but inside the %g range: three exponent digits.
    EXPECT_EQ(Show(0x71, 1e-6, 20), "1E-006 ");
    EXPECT_EQ(Show(0x71, 5.5e-6, 20), "5.5E-006 ");
    // Outside 10^-6..10^6: eleven digits at most, a leading exponent 0 dropped.
    EXPECT_EQ(Show(0x71, 5e-7, 20), "5E-07 ");
    EXPECT_EQ(Show(0x71, 1000000.5, 20), "1.0000005E+06 ");
    EXPECT_EQ(Show(0x71, 123456789012.0, 20), "1.2345678901E+11 ");
    EXPECT_EQ(Show(0x71, -1.5e-10, 20), "-1.5E-10 ");
    EXPECT_EQ(Show(0x71, 1e100, 20), "1E+100 ");
    EXPECT_EQ(Show(0x71, 2.5e-300, 20), "2.5E-300 ");
}

TEST_F(FormatValueTest, GeneralCutDropsDecimalsWithoutRounding)
{
    EXPECT_EQ(Show(0x71, 1.0 / 3, 9), "0.333333 ");
    EXPECT_EQ(Show(0x71, 2.0 / 3, 9), "0.666666 ");
    EXPECT_EQ(Show(0x71, -1234.5678, 8), "-1234.5 ");
    EXPECT_EQ(Show(0x71, 123456.5, 7), "123456.5 ");  // point too far right to cut
    EXPECT_EQ(Show(0x71, 1.5e7, 3), "1.5E+07 ");      // exponent forms are never cut
    EXPECT_EQ(Show(0x71, 1.25, 1), "1.25 ");
}

TEST_F(FormatValueTest, UnusedAndTextCodesShowGeneral)
{
    for (std::uint8_t code : {0x60, 0x6A, 0x75, 0x7D, 0x7E, 0x7F})
        EXPECT_EQ(Show(code, 1234.5678, 8), "1234.56 ") << int(code);
}

TEST_F(FormatValueTest, ProtectionBitIsIgnored)
{
    EXPECT_EQ(Show(0x82, 1.5), "1.50 ");
    EXPECT_EQ(Show(0xF1, 1.5), "1.5 ");
}

TEST_F(FormatValueTest, Dates)
{
    EXPECT_EQ(Show(0x72, 35789), "25-Dec-1997 ");
    EXPECT_EQ(Show(0x73, 35789), "25-Dec ");
    EXPECT_EQ(Show(0x74, 35789), "Dec 1997 ");
    EXPECT_EQ(Show(0x79, 35789), "12/25/1997 ");
    EXPECT_EQ(Show(0x7A, 35789), "25/12/1997 ");
    EXPECT_EQ(Show(0x72, 36526.75), "01-Jan-2000 ");
    EXPECT_EQ(Show(0x79, 2), "01/01/1900 ");
    EXPECT_EQ(Show(0x72, -115859), "04-Oct-1582 ");
}

TEST_F(FormatValueTest, Times)
{
    double t130509 = (13 * 3600 + 5 * 60 + 9) / 86400.0;
    EXPECT_EQ(Show(0x77, 0.5), "12:00:00 pm ");
    EXPECT_EQ(Show(0x7B, 0.5), "12:00:00 ");
    EXPECT_EQ(Show(0x78, 0.75), "6:00 pm ");
    EXPECT_EQ(Show(0x77, t130509), "1:05:09 pm ");
    EXPECT_EQ(Show(0x7B, t130509), "13:05:09 ");
    EXPECT_EQ(Show(0x7C, t130509), "13:05 ");
    EXPECT_EQ(Show(0x77, 15 / 1440.0), "0:15:00 am ");
    EXPECT_EQ(Show(0x78, 11.5 / 24), "11:30 am ");
    EXPECT_EQ(Show(0x7B, 35789 + t130509), "13:05:09 ");
}

TEST_F(FormatValueTest, HiddenAndZeroSuppression)
{
    EXPECT_EQ(Show(0x76, 12.5), "");
    EXPECT_EQ(Show(0x02, 0), "0.00 ");
    s.ZeroSuppress = true;
    EXPECT_EQ(Show(0x02, 0), "");
    EXPECT_EQ(Show(0x72, 0), "");
    EXPECT_EQ(Show(0x02, 0.001), "0.00 ");
}

TEST_F(FormatValueTest, SeparatorSettings)
{
    s.Period = ',';
    s.Comma = '.';
    EXPECT_EQ(Show(0x42, 1234.567), "1.234,57 ");
    EXPECT_EQ(Show(0x22, -1234.567), "($1.234,57 )");
    EXPECT_EQ(Show(0x02, 1234.567), "1234,57 ");
    EXPECT_EQ(Show(0x71, 1234.5678, 8), "1234,56 ");
    EXPECT_EQ(Show(0x71, 1.5e7), "1,5E+07 ");
    EXPECT_EQ(Show(0x12, 12345.678), "1,23E+004 ");
    EXPECT_EQ(Show(0x31, 0.1234), "12,3%");
    EXPECT_EQ(Show(0x51, 0.005), "5,0m ");
    s.Comma = ' ';
    EXPECT_EQ(Show(0x40, 1234567), "1 234 567 ");
}

TEST_F(FormatValueTest, ValuesBeyondRangeNeverShowInfinityOrNaN)
{
    const double extremes[] = {std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::max(),
                               -std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::denorm_min(),
                               -1e-300,
                               1e20};
    for (int code = 0; code < 256; ++code) {
        for (double x : extremes) {
            std::string text = Show(static_cast<std::uint8_t>(code), x);
            EXPECT_LE(text.size(), 255u) << code << " " << x;
            EXPECT_EQ(text.find("inf"), std::string::npos) << code << " " << x;
            EXPECT_EQ(text.find("nan"), std::string::npos) << code << " " << x;
        }
    }
    EXPECT_EQ(Show(0x02, std::numeric_limits<double>::infinity()), "?");
    EXPECT_EQ(Show(0x32, std::numeric_limits<double>::max()), "?");
}

TEST(FormatCodeTextTest, NumericTypes)
{
    EXPECT_EQ(FormatCodeText(0x0A, false), "F10");
    EXPECT_EQ(FormatCodeText(0x12, false), "S2");
    EXPECT_EQ(FormatCodeText(0x27, false), "C7");
    EXPECT_EQ(FormatCodeText(0x2B, false), "Fr3");
    EXPECT_EQ(FormatCodeText(0x28, false), "Fr0");
    EXPECT_EQ(FormatCodeText(0x31, false), "%1");
    EXPECT_EQ(FormatCodeText(0x42, false), ",2");
    EXPECT_EQ(FormatCodeText(0x5F, false), "E15");
}

TEST(FormatCodeTextTest, SpecialFormats)
{
    const char* texts[16] = {"+", "G", "D1", "D2", "D3", "T", "H", "T1", "T2", "D4", "D5", "T3", "T4", "", "Lb", ""};
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(FormatCodeText(static_cast<std::uint8_t>(0x70 + p), false), texts[p]) << p;
}

TEST(FormatCodeTextTest, ProtectionPrefixOnlyUnderGlobalProtection)
{
    EXPECT_EQ(FormatCodeText(0xF2, true), "Pr D1");
    EXPECT_EQ(FormatCodeText(0x71, true), "Un G");
    EXPECT_EQ(FormatCodeText(0xF2, false), "D1");
    EXPECT_EQ(FormatCodeText(0xFF, true), "Pr ");
}

TEST(ParseFormatSpecTest, DocumentedCases)
{
    EXPECT_EQ(ParseFormatSpec("F2"), 0x02);
    EXPECT_EQ(ParseFormatSpec("c0"), 0x20);
    EXPECT_EQ(ParseFormatSpec("G"), 0x71);
    EXPECT_EQ(ParseFormatSpec("X"), 0x75);
    EXPECT_EQ(ParseFormatSpec("D0"), 0x72);
    EXPECT_EQ(ParseFormatSpec("T3"), 0x7C);
    EXPECT_EQ(ParseFormatSpec("Z"), 0x7F);
}

TEST(ParseFormatSpecTest, NumericLettersTakeUpToTwoDigits)
{
    EXPECT_EQ(ParseFormatSpec("F"), 0x00);
    EXPECT_EQ(ParseFormatSpec("f15"), 0x0F);
    EXPECT_EQ(ParseFormatSpec("S2"), 0x12);
    EXPECT_EQ(ParseFormatSpec("E3"), 0x53);
    EXPECT_EQ(ParseFormatSpec("A3"), 0x2B);
    EXPECT_EQ(ParseFormatSpec("M2"), 0x42);
    EXPECT_EQ(ParseFormatSpec("P1"), 0x31);
    EXPECT_EQ(ParseFormatSpec("C7"), 0x27);
    EXPECT_EQ(ParseFormatSpec("F2,Fixed"), 0x02);
    EXPECT_EQ(ParseFormatSpec("F123"), 0x0C);  // the third digit is not read
}

TEST(ParseFormatSpecTest, ParametersBeyondTheTypeGiveNoFormat)
{
    EXPECT_EQ(ParseFormatSpec("F16"), 0x7F);
    EXPECT_EQ(ParseFormatSpec("A8"), 0x7F);
    EXPECT_EQ(ParseFormatSpec("D5"), 0x7F);
    EXPECT_EQ(ParseFormatSpec("T4"), 0x7F);
}

TEST(ParseFormatSpecTest, DatesTimesAndOtherLetters)
{
    EXPECT_EQ(ParseFormatSpec("D"), 0x72);
    EXPECT_EQ(ParseFormatSpec("D1"), 0x73);
    EXPECT_EQ(ParseFormatSpec("D2"), 0x74);
    EXPECT_EQ(ParseFormatSpec("D3"), 0x79);
    EXPECT_EQ(ParseFormatSpec("D4"), 0x7A);
    EXPECT_EQ(ParseFormatSpec("T"), 0x75);
    EXPECT_EQ(ParseFormatSpec("Tx"), 0x75);
    EXPECT_EQ(ParseFormatSpec("T0"), 0x77);
    EXPECT_EQ(ParseFormatSpec("T1"), 0x78);
    EXPECT_EQ(ParseFormatSpec("t2"), 0x7B);
    EXPECT_EQ(ParseFormatSpec("+"), 0x70);
    EXPECT_EQ(ParseFormatSpec("h"), 0x76);
    EXPECT_EQ(ParseFormatSpec("L"), 0x7E);
    EXPECT_EQ(ParseFormatSpec("R"), 0x7F);
    EXPECT_EQ(ParseFormatSpec(""), 0x7F);
    EXPECT_EQ(ParseFormatSpec(" F2"), 0x7F);
}

}  // namespace
}  // namespace zt
