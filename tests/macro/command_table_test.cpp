#include "macro/command_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "macro/macro_codes.h"

namespace zt {
namespace {

std::string Cmd(std::string_view command) { return kMacroCommandMarker + std::string(command); }

TEST(MacroCommandTable, TwoSortedListsOfDistinctNames)
{
    std::span<const MacroCommand> all = MacroCommands();
    ASSERT_EQ(all.size(), std::size_t(kMacroCommandCount));
    auto strictlySorted = [](std::span<const MacroCommand> list) {
        for (std::size_t i = 1; i < list.size(); ++i)
            if (!(list[i - 1].Name < list[i].Name))
                return testing::AssertionFailure() << list[i - 1].Name << " before " << list[i].Name;
        return testing::AssertionSuccess();
    };
    EXPECT_TRUE(strictlySorted(all.first(kMacroFirstListCount)));
    EXPECT_TRUE(strictlySorted(all.subspan(kMacroFirstListCount)));
    EXPECT_EQ(all.size() - kMacroFirstListCount, 19u);
    EXPECT_EQ(all.front().Name, "?");
    EXPECT_EQ(all[kMacroFirstListCount - 1].Name, "WRITELN");
    EXPECT_EQ(all[kMacroFirstListCount].Name, "BACKSPACE");
    EXPECT_EQ(all.back().Name, "XDN");

    std::set<std::string_view> names;
    for (const MacroCommand& c : all)
        EXPECT_TRUE(names.insert(c.Name).second) << c.Name << " twice";
}

TEST(MacroCommandTable, EntryShapes)
{
    for (const MacroCommand& c : MacroCommands()) {
        SCOPED_TRACE(std::string(c.Name));
        EXPECT_GE(c.Name.size(), 1u);
        EXPECT_LE(c.Name.size(), std::size_t(kMacroNameLength));
        for (char ch : c.Name)
            EXPECT_FALSE(ch >= 'a' && ch <= 'z');
        EXPECT_GE(c.Kind, kMacroRepeatKind);
        EXPECT_LE(c.Kind, 5);
        std::string_view code = c.Code();
        ASSERT_GE(code.size(), 1u);
        EXPECT_LE(code.size(), std::size_t(kMacroCodeLength));
        if (code.size() == 1) {
            // A bare key code: a control character other than the reserved ones.
            EXPECT_GE(code[0], 2);
            EXPECT_LE(code[0], 29);
            EXPECT_NE(code[0], kMacroCommandMarker);
            EXPECT_NE(code[0], kMacroFilePrefix);
            EXPECT_LE(c.Kind, 0);
        } else {
            EXPECT_EQ(code[0], kMacroCommandMarker);
            EXPECT_LE(code.size(), 3u);
            if (code[1] == kMacroFilePrefix) {
                ASSERT_EQ(code.size(), 3u);
                EXPECT_NE(std::string_view("ACDFHMOW").find(code[2]), std::string_view::npos);
            }
        }
    }
}

TEST(MacroCommandTable, FindsEveryNameInItsList)
{
    for (const MacroCommand& c : MacroCommands())
        EXPECT_EQ(FindMacroCommand(c.Name), &c) << c.Name;
    for (std::string_view absent : {"", "down", "DOWNX", "A", "ZZZ", "@", "WRITELNX", "GRAPHOPTIONSX"})
        EXPECT_EQ(FindMacroCommand(absent), nullptr) << absent;
}

TEST(MacroCommandTable, KeyNamesGiveTheirKeyCodes)
{
    const std::pair<std::string_view, char> keys[] = {
        {"BS", kMacroKeyBackspace},   {"BACKSPACE", kMacroKeyBackspace}, {"DEL", kMacroKeyDelete},
        {"DN", kMacroKeyDown},        {"D", kMacroKeyDown},              {"DOWN", kMacroKeyDown},
        {"UP", kMacroKeyUp},          {"U", kMacroKeyUp},                {"LT", kMacroKeyLeft},
        {"L", kMacroKeyLeft},         {"LEFT", kMacroKeyLeft},           {"RT", kMacroKeyRight},
        {"R", kMacroKeyRight},        {"RIGHT", kMacroKeyRight},         {"PGUP", kMacroKeyPageUp},
        {"PGDN", kMacroKeyPageDown},  {"PGLT", kMacroKeyBigLeft},        {"BIGLEFT", kMacroKeyBigLeft},
        {"PGRT", kMacroKeyBigRight},  {"BIGRIGHT", kMacroKeyBigRight},   {"ESC", kMacroKeyEscape},
        {"ESCAPE", kMacroKeyEscape},  {"HOME", kMacroKeyHome},           {"END", kMacroKeyEnd},
        {"INS", kMacroKeyInsert},     {"EDIT", kMacroKeyEdit},           {"CALC", kMacroKeyCalc},
        {"HELP", kMacroKeyHelp},      {"WINDOW", kMacroKeyWindow},       {"ABS", kMacroKeyAbs},
        {"NAME", kMacroKeyAbs},       {"ALT", kMacroKeyAlt},
    };
    int keyEntries = 0;
    for (const MacroCommand& c : MacroCommands())
        keyEntries += c.Code().size() == 1;
    EXPECT_EQ(keyEntries, int(std::size(keys)));
    for (auto [name, key] : keys) {
        const MacroCommand* c = FindMacroCommand(name);
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->Code(), std::string(1, key)) << name;
    }
}

TEST(MacroCommandTable, SpotChecks)
{
    struct Expected {
        std::string_view Name;
        int Kind;
        std::string Code;
    };
    const Expected cases[] = {
        {"LET", 2, Cmd("E")},
        {"?", 0, Cmd("?0")},
        {"GET", 1, Cmd("?1")},
        {"FOR", 4, Cmd("\x16")},
        {"NEXT", 0, Cmd("\x17")},
        {"DELAY", 1, Cmd("\x01")},
        {"XDN", -1, Cmd("\x02")},
        {"OPEN", 2, Cmd("\x15O")},
        {"RMDIR", 2, Cmd("\x15" "D")},
        {"MENUCALL", 1, Cmd("Z")},
        {"BRANCH", 1, Cmd("G")},
        {"DATASORT", 5, Cmd("ds")},
        {"GRAPHOPTIONS", 1, Cmd("go")},
        {"BREAKOFF", -1, Cmd("]")},
        {"ESC", -1, "\x1b"},
        {"ESCAPE", 0, "\x1b"},
    };
    for (const Expected& x : cases) {
        const MacroCommand* c = FindMacroCommand(x.Name);
        ASSERT_NE(c, nullptr) << x.Name;
        EXPECT_EQ(c->Kind, x.Kind) << x.Name;
        EXPECT_EQ(c->Code(), x.Code) << x.Name;
    }
    EXPECT_EQ(FindMacroCommand("BREAKON")->Code(), FindMacroCommand("PLAYWAVE")->Code());
    EXPECT_EQ(FindMacroCommand("JUMP")->Code(), FindMacroCommand("BRANCH")->Code());
}

TEST(MacroCommandTable, PickerListsTheFirstListAndBackspace)
{
    std::span<const MacroCommand> picker = MacroPickerCommands();
    ASSERT_EQ(picker.size(), std::size_t(kMacroPickerCount));
    EXPECT_EQ(picker.data(), MacroCommands().data());
    EXPECT_EQ(picker.back().Name, "BACKSPACE");
}

}  // namespace
}  // namespace zt
