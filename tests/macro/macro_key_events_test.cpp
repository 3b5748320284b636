#include <gtest/gtest.h>

#include "macro/macro_codes.h"
#include "macro/macro_key_events.h"

namespace zt {
namespace {

// The events as a readable trace: "v" key down, "^" key up, 'c' a character.
std::string Trace(std::string_view batch)
{
    std::string t;
    for (const InjectedKey& k : KeyEventsOfBatch(batch)) {
        switch (k.What) {
        case InjectedKey::Kind::Press: t += "v" + std::to_string(k.Key.Key) + " "; break;
        case InjectedKey::Kind::Release: t += "^" + std::to_string(k.Key.Key) + " "; break;
        case InjectedKey::Kind::Character: t += std::string("'") + k.Char + "' "; break;
        }
    }
    return t;
}

TEST(MacroKeyEvents, KeysAndCharactersComeInOrder)
{
    EXPECT_EQ(Trace("a+1"), "v65 ^65 '+' v49 ^49 ");
    EXPECT_EQ(Trace("~"), "v13 ^13 ");
    EXPECT_EQ(Trace(std::string(1, kMacroKeyDown) + kMacroKeyEnter), "v40 ^40 v13 ^13 ");
}

TEST(MacroKeyEvents, EveryKeyCodePlaysItsKey)
{
    const std::pair<char, int> codes[] = {
        {kMacroKeyBigLeft, vkBigLeft}, {kMacroKeyCalc, vkF9}, {kMacroKeyRight, vkRight}, {kMacroKeyEdit, vkF2},
        {kMacroKeyGoto, vkF5}, {kMacroKeyHome, vkHome}, {kMacroKeyBackspace, vkBack},
        {kMacroKeyBigRight, vkBigRight}, {kMacroKeyAlt, vkMenu}, {kMacroKeyLeft, vkLeft},
        {kMacroKeyPageUp, vkPrior}, {kMacroKeyEnd, vkEnd}, {kMacroKeyDown, vkDown}, {kMacroKeyPageDown, vkNext},
        {kMacroKeyInsert, vkInsert}, {kMacroKeyDelete, vkDelete}, {kMacroKeyAbs, vkF4}, {kMacroKeyUp, vkUp},
        {kMacroKeyWindow, vkF6}, {kMacroKeyEscape, vkEscape}, {kMacroKeyHelp, vkF1}, {kMacroKeyMenu, vkF10},
    };
    for (auto [code, key] : codes)
        EXPECT_EQ(Trace(std::string(1, code)), "v" + std::to_string(key) + " ^" + std::to_string(key) + " ")
            << int(code);
}

TEST(MacroKeyEvents, CapitalsGoDownWithShift)
{
    std::vector<InjectedKey> events = KeyEventsOfBatch("Ab");
    ASSERT_EQ(events.size(), 4u);
    EXPECT_TRUE(events[0].Key.Shift);
    EXPECT_FALSE(events[2].Key.Shift);
    EXPECT_EQ(events[2].Key.Key, 'B');
}

TEST(MacroKeyEvents, MarkersFillersAndUnknownCodesPlayNothing)
{
    std::string batch{kMacroFiller, kMacroCommandMarker, kMacroStop, 1, 12, 30, 31};
    EXPECT_EQ(Trace(batch), "");
}

TEST(MacroKeyEvents, QueuedInjectorReceivesThemInOrder)
{
    QueuedKeyInjector injector;
    PlayKeyBatch(injector, "x~");
    std::string t;
    injector.Drain([&t](const InjectedKey& k) { t += k.What == InjectedKey::Kind::Character ? 'c' : 'k'; });
    EXPECT_EQ(t, "kkkk");
}

}  // namespace
}  // namespace zt
