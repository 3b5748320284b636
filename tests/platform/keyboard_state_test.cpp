#include <gtest/gtest.h>

#include "platform/keyboard_state.h"
#include "platform/key_event.h"

namespace zt {
namespace {

TEST(KeyboardState, EachToggleKeyFlipsOnItsOwn)
{
    PlainKeyboardState keys;
    for (int vk : {vkInsert, vkCapital, vkNumLock, vkScroll})
        EXPECT_FALSE(keys.IsToggled(vk));
    keys.Flip(vkNumLock);
    EXPECT_TRUE(keys.IsToggled(vkNumLock));
    EXPECT_FALSE(keys.IsToggled(vkCapital));
    EXPECT_FALSE(keys.IsToggled(vkScroll));
    EXPECT_FALSE(keys.IsToggled(vkInsert));
    keys.Flip(vkNumLock);
    EXPECT_FALSE(keys.IsToggled(vkNumLock));
    keys.SetToggled(vkInsert, true);
    keys.SetToggled(vkInsert, true);
    EXPECT_TRUE(keys.IsToggled(vkInsert));
}

TEST(KeyboardState, OtherKeysNeverToggle)
{
    PlainKeyboardState keys;
    keys.Flip(vkShift);
    keys.SetToggled('A', true);
    keys.SetToggled(-1, true);
    EXPECT_FALSE(keys.IsToggled(vkShift));
    EXPECT_FALSE(keys.IsToggled('A'));
    EXPECT_FALSE(keys.IsToggled(-1));
    for (int vk : {vkInsert, vkCapital, vkNumLock, vkScroll})
        EXPECT_FALSE(keys.IsToggled(vk));
}

}  // namespace
}  // namespace zt
