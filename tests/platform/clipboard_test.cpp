#include <gtest/gtest.h>

#include "platform/clipboard.h"

namespace zt {
namespace {

TEST(MemoryClipboard, HoldsBothRenderingsUntilReplaced)
{
    MemoryClipboard clip;
    EXPECT_FALSE(clip.HasText());
    std::string cells("A1\0'Caf\xE9", 9);  // private data may hold any byte
    clip.SetData(cells, "Caf\xE9\t12");
    EXPECT_TRUE(clip.HasText());
    EXPECT_EQ(clip.PrivateText(), cells);
    EXPECT_EQ(clip.PlainText(), "Caf\xE9\t12");
    clip.SetData("", "only text");
    EXPECT_TRUE(clip.HasText());
    EXPECT_EQ(clip.PrivateText(), "");
    EXPECT_EQ(clip.PlainText(), "only text");
}

}  // namespace
}  // namespace zt
