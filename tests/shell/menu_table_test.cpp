#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/key_event.h"
#include "shell/control/menu_table.h"

namespace zt {
namespace {

// The letter after a single "&", upper-cased; '\0' when there is none.
char Accelerator(std::string_view caption)
{
    caption = caption.substr(0, caption.find('\t'));
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] != '&')
            return char(std::toupper(static_cast<unsigned char>(caption[i + 1])));
        ++i;
    }
    return '\0';
}

// Every command of the menus, submenus included.
void Commands(std::span<const MenuItem> items, std::vector<const MenuItem*>& out)
{
    for (const MenuItem& item : items) {
        if (!item.Handler.empty())
            out.push_back(&item);
        Commands(item.Items, out);
    }
}

std::vector<const MenuItem*> Commands(std::span<const MenuItem> items)
{
    std::vector<const MenuItem*> out;
    Commands(items, out);
    return out;
}

// The item list of every menu: the menu bar, each submenu, the context menu.
void Menus(std::string_view name, std::span<const MenuItem> items,
           std::map<std::string, std::span<const MenuItem>>& out)
{
    out[std::string(name)] = items;
    for (const MenuItem& item : items)
        if (item.IsSubmenu())
            Menus(std::string(name) + ">" + std::string(item.Caption), item.Items, out);
}

std::map<std::string, std::span<const MenuItem>> AllMenus()
{
    std::map<std::string, std::span<const MenuItem>> out;
    Menus("MainMenu1", MainMenu(), out);
    Menus("PopupMenu1", PopupMenu(), out);
    return out;
}

std::multiset<int> TagsOf(std::string_view handler)
{
    std::multiset<int> tags;
    for (const MenuItem* item : Commands(MainMenu()))
        if (item->Handler == handler)
            tags.insert(item->Tag);
    return tags;
}

std::multiset<int> Range(int first, int last)
{
    std::multiset<int> tags;
    for (int t = first; t <= last; ++t)
        tags.insert(t);
    return tags;
}

std::vector<const BarControl*> BarControls(std::span<const ControlGroup> groups)
{
    std::vector<const BarControl*> out;
    for (const ControlGroup& group : groups)
        for (const BarControl& control : group.Controls)
            out.push_back(&control);
    return out;
}

TEST(MenuTable, TheDispatcherFindsEveryCommandItNeeds)
{
    const std::vector<std::string_view> names = HandlerNames();
    const std::set<std::string_view> known(names.begin(), names.end());
    for (std::string_view handler :
         {"NewClick", "Retr1Click", "Save2Click", "SaveAs1Click", "Uplink1Click", "Close1Click", "PrintClick",
          "Merge1Click", "Import1Click", "Transfer1Click", "Comments1Click", "Status1Click", "Exit1Click",
          "UndoRedo1Click", "Cut1Click", "Clip1Click", "Paste1Click", "Delete1Click", "FindReplace1Click",
          "SpwordClick", "Statusbar1Click", "Horizontal1Click", "Vertical1Click", "Synch2Click", "Unsynch1Click",
          "Clear3Click", "Horizontal4Click", "N251Click", "Color1Click", "InsPageClick", "InsRowClick",
          "InsColClick", "Across1Click", "DelRowClick", "DelColClick", "Across2Click", "Macro1Click",
          "Rowheight1Click", "Audit1Click", "Table2Click", "Reset1Click", "Copy1Click", "Erase1Click",
          "Name1Click", "Justify2Click", "Format2Click", "Copy2Click", "Move2Click", "Fill1Click", "Add1Click",
          "Graph1Click", "Clear1Click", "View1Click", "NewView1Click", "Tile1Click", "Cascade1Click",
          "ArrangeIcons1Click", "CloseAll1Click", "Contents1Click", "About1Click", "Tips1Click",
          "Properties1Click", "N51Click"}) {
        EXPECT_TRUE(known.contains(handler)) << handler;
    }
}

TEST(MenuTable, HandlerNamesAreSortedDistinctIdentifiers)
{
    const std::vector<std::string_view> names = HandlerNames();
    ASSERT_FALSE(names.empty());
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            EXPECT_LT(names[i - 1], names[i]);
        }
        ASSERT_FALSE(names[i].empty());
        EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(names[i][0]))) << names[i];
        for (char c : names[i])
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << names[i];
    }
}

TEST(MenuTable, ItemsSharingAHandlerAreToldApartByTag)
{
    EXPECT_EQ(TagsOf("Fill1Click"), Range(0, 9));
    EXPECT_EQ(TagsOf("Add1Click"), Range(0, 7));
    EXPECT_EQ(TagsOf("Format2Click"), Range(0, 5));
    EXPECT_EQ(TagsOf("Color1Click"), Range(0, 5));
    EXPECT_EQ(TagsOf("Graph1Click"), Range(0, 7));
    EXPECT_EQ(TagsOf("N251Click"), Range(0, 7));
    EXPECT_EQ(TagsOf("Horizontal4Click"), Range(0, 3));
    EXPECT_EQ(TagsOf("Statusbar1Click"), Range(1, 3));
    EXPECT_EQ(TagsOf("Rowheight1Click"), Range(1, 2));
    EXPECT_EQ(TagsOf("N51Click"), Range(0, kRecentFileItems - 1));
    EXPECT_EQ(TagsOf("Value1Click"), Range(0, 4));

    // So handler and tag lead back to the very item of the menu bar.
    for (const MenuItem* item : Commands(MainMenu()))
        EXPECT_EQ(FindMenuItem(item->Handler, item->Tag), item) << item->Handler << " " << item->Tag;
    EXPECT_EQ(FindMenuItem("Fill1Click", 10), nullptr);
    EXPECT_EQ(FindMenuItem("NoSuchClick", 0), nullptr);
}

TEST(MenuTable, AcceleratorsAreUniqueWithinEachMenu)
{
    // The given captions force these: the Range menu's "&Copy..." and its
    // hidden "&Copy" submenu; the context menu's "&Properties" and "&Paste",
    // and its visible and hidden "&Copy".
    const std::map<std::string, std::set<char>> forced{
        {"MainMenu1>&Range", {'C'}},
        {"PopupMenu1", {'C', 'P'}},
    };
    for (const auto& [name, items] : AllMenus()) {
        std::map<char, int> uses;
        for (const MenuItem& item : items) {
            if (item.IsSeparator() || item.Caption.empty() || item.Name == "Mhist")
                continue;  // separators, recent files and their overflow carry no accelerator
            char key = Accelerator(item.Caption);
            EXPECT_NE(key, '\0') << name << ": " << item.Caption;
            ++uses[key];
        }
        std::set<char> duplicates;
        for (const auto& [key, count] : uses)
            if (count > 1)
                duplicates.insert(key);
        auto expected = forced.find(name);
        EXPECT_EQ(duplicates, expected == forced.end() ? std::set<char>{} : expected->second) << name;
    }
}

TEST(MenuTable, SeparatorsOnlyStandBetweenItems)
{
    for (const auto& [name, items] : AllMenus()) {
        ASSERT_FALSE(items.empty()) << name;
        EXPECT_FALSE(items.front().IsSeparator()) << name;
        EXPECT_FALSE(items.back().IsSeparator()) << name;
        for (std::size_t i = 1; i < items.size(); ++i)
            EXPECT_FALSE(items[i - 1].IsSeparator() && items[i].IsSeparator()) << name;
        for (const MenuItem& item : items) {
            if (item.IsSeparator()) {
                EXPECT_TRUE(item.Handler.empty() && !item.IsSubmenu()) << name;
            }
        }
    }
}

TEST(MenuTable, ZoomItemsSetTheirPercentage)
{
    int checked = 0;
    for (const MenuItem* item : Commands(MainMenu())) {
        if (item->Handler != "N251Click")
            continue;
        EXPECT_TRUE(item->Flags & kItemRadio) << item->Caption;
        std::string digits;
        for (char c : item->Caption)
            if (std::isdigit(static_cast<unsigned char>(c)))
                digits += c;
        // "1&30%" is the one item that sets another zoom than it reads.
        int expected = item->Caption == "1&30%" ? 125 : std::stoi(digits);
        EXPECT_EQ(ZoomPercent(item->Tag), expected) << item->Caption;
        if (item->Flags & kItemChecked) {
            ++checked;
            EXPECT_EQ(ZoomPercent(item->Tag), 100);
        }
    }
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(ZoomPercent(-1), 0);
    EXPECT_EQ(ZoomPercent(int(kZoomPercents.size())), 0);
}

TEST(MenuTable, ViewItemsToggleTheOptionTheirAcceleratorNames)
{
    int items = 0;
    for (const MenuItem* item : Commands(MainMenu()))
        if (item->Handler == "Statusbar1Click") {
            ++items;
            EXPECT_EQ(ViewOptionLetter(item->Tag), Accelerator(item->Caption)) << item->Caption;
        }
    EXPECT_EQ(items, 3);
    EXPECT_EQ(ViewOptionLetter(0), '\0');
    EXPECT_EQ(ViewOptionLetter(4), '\0');
}

TEST(MenuTable, OnlyTheGraphViewHasAKeyOfItsOwn)
{
    for (const MenuItem* item : Commands(MainMenu())) {
        if (item->Handler == "View1Click")
            EXPECT_EQ(item->Shortcut, "Shift+F10");
        else
            EXPECT_TRUE(item->Shortcut.empty()) << item->Caption;
    }
}

TEST(MenuTable, ContextMenuRunsCommandsOfTheMenuBar)
{
    for (const MenuItem* item : Commands(PopupMenu())) {
        if (item->Handler == "Properties1Click")
            continue;  // the whole cell-properties dialog is reached from here only
        const MenuItem* same = FindMenuItem(item->Handler, item->Tag);
        ASSERT_NE(same, nullptr) << item->Caption;
        EXPECT_NE(same, item) << "found in the menu bar first: " << item->Caption;
        // A key shown here is the one the Edit menu shows for the same command.
        if (!item->Shortcut.empty()) {
            EXPECT_TRUE(item->Flags & kItemKeyShownOnly) << item->Caption;
            std::string_view caption = same->Caption;
            std::size_t tab = caption.find('\t');
            ASSERT_NE(tab, std::string_view::npos) << same->Caption;
            EXPECT_EQ(caption.substr(tab + 1), item->Shortcut);
            EXPECT_EQ(caption.substr(0, tab), item->Caption);
        }
    }
    EXPECT_NE(FindMenuItem("Paste1Click", 0), nullptr);
}

TEST(MenuTable, RecentFilesFillTheFileMenuThenOverflowIntoMore)
{
    const MenuItem& file = MainMenu().front();
    const MenuItem* more = nullptr;
    std::vector<int> direct;
    for (const MenuItem& item : file.Items) {
        if (item.Handler == "N51Click")
            direct.push_back(item.Tag);
        if (item.Name == "Mhist")
            more = &item;
    }
    EXPECT_EQ(direct, (std::vector<int>{0, 1, 2, 3, 4}));
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->Caption, "More");
    EXPECT_TRUE(more->Flags & kItemHidden);
    std::vector<int> overflow;
    for (const MenuItem& item : more->Items) {
        EXPECT_EQ(item.Handler, "N51Click");
        overflow.push_back(item.Tag);
    }
    EXPECT_EQ(overflow, (std::vector<int>{5, 6, 7, 8, 9}));
    for (const MenuItem* item : Commands(MainMenu())) {
        if (item->Handler == "N51Click") {
            EXPECT_TRUE(item->Flags & kItemHidden);
        }
    }
}

TEST(MenuTable, BarControlsHaveDistinctNamesAndDispatchableHandlers)
{
    std::set<std::string_view> names;
    std::map<std::string_view, std::set<int>> tagsByHandler;
    std::vector<const BarControl*> controls = BarControls(QuickButtonGroups());
    for (const BarControl* c : BarControls(StatusBarGroups()))
        controls.push_back(c);
    for (const BarControl* c : controls) {
        EXPECT_TRUE(names.insert(c->Name).second) << c->Name;
        EXPECT_TRUE(tagsByHandler[c->Handler].insert(c->Tag).second) << "same handler and tag: " << c->Name;
        if (c->IsTwoWay()) {
            EXPECT_NE(c->Handler, c->DownHandler) << c->Name;
        }
    }
    // A button that reuses a menu command must name an item that exists.
    const std::vector<const MenuItem*> commands = Commands(MainMenu());
    for (const BarControl* c : controls) {
        for (const MenuItem* item : commands) {
            if (item->Handler == c->Handler) {
                EXPECT_NE(FindMenuItem(c->Handler, c->Tag), nullptr) << c->Name;
            }
        }
    }
}

TEST(MenuTable, QuickButtonsAreEnabledWhileTypingOnlyInTheirGroup)
{
    int twoWay = 0;
    for (const ControlGroup& group : QuickButtonGroups())
        for (const BarControl& c : group.Controls) {
            EXPECT_EQ(bool(c.Flags & kControlWhileTyping), group.Name == "pnbar2") << c.Name;
            twoWay += c.IsTwoWay();
        }
    EXPECT_EQ(twoWay, 4);
}

TEST(MenuTable, KeyStatePanelsShowTheKeyOfTheirTag)
{
    const std::map<std::string_view, int> keys{
        {"INS", vkInsert}, {"NUM", vkNumLock}, {"SCR", vkScroll}, {"CAP", vkCapital}};
    int found = 0;
    for (const BarControl* c : BarControls(StatusBarGroups())) {
        auto key = keys.find(c->Caption);
        if (key == keys.end())
            continue;
        ++found;
        EXPECT_EQ(c->Tag, key->second) << c->Caption;
    }
    EXPECT_EQ(found, int(keys.size()));
}

}  // namespace
}  // namespace zt
