#include <gtest/gtest.h>

#include <string>

#include "platform/codepage.h"

namespace zt {
namespace {

TEST(CodepageTest, EveryByteSurvivesARoundTrip)
{
    for (int b = 0; b < 256; ++b) {
        std::string in(1, static_cast<char>(b));
        std::string back;
        ASSERT_TRUE(Cp1252FromUtf8(Utf8FromCp1252(in), back)) << b;
        EXPECT_EQ(back, in) << b;
    }
}

TEST(CodepageTest, SpecialCharactersMapBothWays)
{
    EXPECT_EQ(Utf8FromCp1252("\x80"), "\xe2\x82\xac");    // euro sign
    EXPECT_EQ(Utf8FromCp1252("\xe9"), "\xc3\xa9");        // e acute
    EXPECT_EQ(Utf8FromCp1252("\x99"), "\xe2\x84\xa2");    // trade mark
    std::string out;
    ASSERT_TRUE(Cp1252FromUtf8("\xe2\x80\x9cq\xe2\x80\x9d", out));  // curly quotes
    EXPECT_EQ(out, "\x93q\x94");
}

TEST(CodepageTest, UnrepresentableCharactersAreRefused)
{
    std::string out;
    EXPECT_FALSE(Cp1252FromUtf8("\xe4\xb8\xad", out));          // a CJK character
    EXPECT_FALSE(Cp1252FromUtf8("ok \xf0\x9f\x98\x80", out));   // an emoji
}

TEST(CodepageTest, BytesThatAreNotUtf8AreTakenAsTheyStand)
{
    std::string out;
    for (const char* raw : {"caf\xe9", "\xc3", "\xed\xa0\x80", "\xc0\xaf", "a\xff"}) {
        ASSERT_TRUE(Cp1252FromUtf8(raw, out)) << raw;
        EXPECT_EQ(out, raw);
    }
}

}  // namespace
}  // namespace zt
