#include <gtest/gtest.h>

#include "core/settings_keys.h"

namespace zt {
namespace {

TEST(SettingsKeysTest, ValuesAreReadAsFlagsIntegersAndCharacters)
{
    WorksheetSettings s;
    EXPECT_TRUE(ApplyWorksheetSetting(s, "PRO=TRUE"));
    EXPECT_TRUE(s.Protect);
    EXPECT_TRUE(ApplyWorksheetSetting(s, "PRO=xTRUEx"));
    EXPECT_TRUE(s.Protect);
    EXPECT_TRUE(ApplyWorksheetSetting(s, "PRO=true"));
    EXPECT_FALSE(s.Protect);
    EXPECT_TRUE(ApplyWorksheetSetting(s, "BKCLR=$00C0C0C0"));
    EXPECT_EQ(s.BackColor, 0x00C0C0C0u);
    EXPECT_TRUE(ApplyWorksheetSetting(s, "BKCLR=12632256"));
    EXPECT_EQ(s.BackColor, 0x00C0C0C0u);
    EXPECT_TRUE(ApplyWorksheetSetting(s, "CURR=EUR"));
    EXPECT_EQ(s.CurrPrefix, "EU");
    EXPECT_TRUE(ApplyWorksheetSetting(s, "CURS="));
    EXPECT_EQ(s.CurrSuffix, "");
    EXPECT_TRUE(ApplyWorksheetSetting(s, "PERIOD=,"));
    EXPECT_EQ(s.Period, ',');
}

TEST(SettingsKeysTest, EmptySeparatorsKeepTheirCharacter)
{
    WorksheetSettings s;
    EXPECT_TRUE(ApplyWorksheetSetting(s, "SEP="));
    EXPECT_EQ(s.Sep, ',');
    EXPECT_TRUE(ApplyWorksheetSetting(s, "COMMA="));
    EXPECT_EQ(s.Comma, ',');
}

TEST(SettingsKeysTest, KeysAreCaseSensitiveAndUnknownKeysAreRefused)
{
    WorksheetSettings s;
    EXPECT_FALSE(ApplyWorksheetSetting(s, "pro=TRUE"));
    EXPECT_FALSE(s.Protect);
    EXPECT_FALSE(ApplyWorksheetSetting(s, "NOSUCH=1"));
    EXPECT_FALSE(ApplyWorksheetSetting(s, "PRO"));
}

TEST(SettingsKeysTest, IntegerReadingsNeverOverflow)
{
    EXPECT_EQ(SettingInteger("$FFFFFFFF"), 0xFFFFFFFFll);
    EXPECT_EQ(SettingInteger("$1FFFFFFFF"), 0);
    EXPECT_EQ(SettingInteger("1e300"), 0);
    EXPECT_EQ(SettingInteger("2.5"), 3);
    EXPECT_EQ(SettingInteger("junk"), 0);
    EXPECT_EQ(SettingInteger("$"), 0);
    EXPECT_DOUBLE_EQ(SettingReal(" 0.75 "), 0.75);
}

}  // namespace
}  // namespace zt
