#include <gtest/gtest.h>

#include <vector>

#include "platform/key_injector.h"

namespace zt {
namespace {

TEST(QueuedKeyInjector, DrainsKeysAndCharactersInPostingOrder)
{
    QueuedKeyInjector keys;
    EXPECT_FALSE(keys.Pending());
    keys.PostKey({vkShift}, true);
    keys.PostChar('x');
    keys.PostKey({vkDown, true, false, false}, false);
    EXPECT_TRUE(keys.Pending());
    std::vector<InjectedKey> got;
    EXPECT_EQ(keys.Drain([&](const InjectedKey& k) { got.push_back(k); }), 3);
    EXPECT_FALSE(keys.Pending());
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].What, InjectedKey::Kind::Press);
    EXPECT_EQ(got[0].Key.Key, vkShift);
    EXPECT_EQ(got[1].What, InjectedKey::Kind::Character);
    EXPECT_EQ(got[1].Char, 'x');
    EXPECT_EQ(got[2].What, InjectedKey::Kind::Release);
    EXPECT_EQ(got[2].Key.Key, vkDown);
    EXPECT_TRUE(got[2].Key.Shift);
}

TEST(QueuedKeyInjector, KeysPostedWhileDrainingWaitForTheNextDrain)
{
    QueuedKeyInjector keys;
    keys.PostChar('a');
    std::string typed;
    int first = keys.Drain([&](const InjectedKey& k) {
        typed += k.Char;
        if (k.Char == 'a')
            keys.PostChar('b');
    });
    EXPECT_EQ(first, 1);
    EXPECT_EQ(typed, "a");
    EXPECT_TRUE(keys.Pending());
    EXPECT_EQ(keys.Drain([&](const InjectedKey& k) { typed += k.Char; }), 1);
    EXPECT_EQ(typed, "ab");
}

}  // namespace
}  // namespace zt
