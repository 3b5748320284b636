#include <gtest/gtest.h>

#include <charconv>
#include <random>
#include <string>

#include "formula/format_number.h"

namespace zt {
namespace {

TEST(FormatNumberTest, UsesFifteenDigitsOrTheExponentForm)
{
    EXPECT_EQ(FormatNumber(0), "0");
    EXPECT_EQ(FormatNumber(1234.5), "1234.5");
    EXPECT_EQ(FormatNumber(0.25), "0.25");
    EXPECT_EQ(FormatNumber(-7), "-7");
    EXPECT_EQ(FormatNumber(1000000), "1000000");
    EXPECT_EQ(FormatNumber(1234567), "1.234567E+06");
    EXPECT_EQ(FormatNumber(0.0000001), "1E-07");
    EXPECT_EQ(FormatNumber(1.5e7), "1.5E+07");
    EXPECT_EQ(FormatNumber(2e-8), "2E-08");
    EXPECT_EQ(FormatNumber(1.2345e100), "1.2345E+100");
    EXPECT_EQ(FormatNumber(0.00001), "0.00001");
    EXPECT_EQ(FormatNumber(-0.000002), "-2E-06");
}

TEST(FormatNumberTest, DigitsThatWouldBeLostAreKept)
{
    EXPECT_EQ(FormatNumber(12345678901234.0), "1.2345678901234E+13");
    EXPECT_EQ(FormatNumber(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(FormatNumber(1.0 / 3.0), "0.3333333333333333");
}

TEST(FormatNumberTest, TheDecimalPointSettingIsUsed)
{
    EXPECT_EQ(FormatNumber(1234.5, ','), "1234,5");
    EXPECT_EQ(FormatNumber(1.5e7, ','), "1,5E+07");
}

TEST(FormatNumberTest, EveryTextReadsBackToItsNumber)
{
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<int> exponent(-300, 300);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    for (int i = 0; i < 20000; ++i) {
        double x = mantissa(rng) * std::pow(10.0, exponent(rng));
        std::string text = FormatNumber(x);
        double back = 0;
        auto res = std::from_chars(text.data(), text.data() + text.size(), back);
        ASSERT_EQ(res.ec, std::errc()) << text;
        ASSERT_EQ(back, x) << text;
    }
}

}  // namespace
}  // namespace zt
