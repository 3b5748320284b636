#include <gtest/gtest.h>

#include "platform/single_instance.h"

namespace zt {
namespace {

TEST(InstanceMessage, RoundTripsThroughItsLine)
{
    InstanceMessage macro;
    macro.What = InstanceMessage::Kind::RunMacro;
    macro.Column = 255;
    macro.Row = 8191;
    InstanceMessage read;
    ASSERT_TRUE(ParseInstanceMessage(FormatInstanceMessage(macro), read));
    EXPECT_EQ(read.What, InstanceMessage::Kind::RunMacro);
    EXPECT_EQ(read.Column, 255);
    EXPECT_EQ(read.Row, 8191);

    ASSERT_TRUE(ParseInstanceMessage(FormatInstanceMessage({}), read));
    EXPECT_EQ(read.What, InstanceMessage::Kind::Activate);
}

TEST(InstanceMessage, CellsOutsideTheWorksheetAndGarbageAreRefused)
{
    InstanceMessage read;
    for (const char* line : {"MACRO 256,0", "MACRO 0,8192", "MACRO -1,5", "MACRO 3", "MACRO 3,", "MACRO ,7",
                             "MACRO 3,7x", "MACRO 3 ,7", "MACRO 99999999999,1", "macro 3,7", "ACTIVATE now", ""})
        EXPECT_FALSE(ParseInstanceMessage(line, read)) << line;
    EXPECT_TRUE(ParseInstanceMessage("MACRO 0,0", read));
}

}  // namespace
}  // namespace zt
