#pragma once
// The main window's commands as data: the menus, the grid's context menu,
// the quick-button bar and the status bar. The dispatcher and the Qt main
// window are both built by walking these tables, so a command is named in
// one place only.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zt {

enum MenuItemFlags : std::uint8_t {
    kItemHidden = 1,
    kItemChecked = 2,            // checked when the window opens
    kItemRadio = 4,              // one of the exclusive choices of its submenu
    kItemNeedsClipboardText = 8, // enabled only while the clipboard holds text
    kItemKeyShownOnly = 16,      // the shortcut is shown; the worksheet window handles the key
};

// One entry of a menu: a command (Handler set), a submenu (Items set) or a
// separator (caption "-"). A top-level entry may be a command itself.
struct MenuItem {
    std::string_view Caption{};   // with "&" and any "\t" shortcut text
    std::string_view Handler{};
    int Tag = 0;
    std::uint8_t Flags = 0;
    std::string_view Shortcut{};  // a key that runs the item, e.g. "Shift+F10"
    std::string_view Name{};      // the component name, where others refer to it
    std::span<const MenuItem> Items{};

    bool IsSeparator() const { return Caption == "-"; }
    bool IsSubmenu() const { return !Items.empty(); }
};

std::span<const MenuItem> MainMenu();    // MainMenu1, top-level entries in order
std::span<const MenuItem> PopupMenu();   // PopupMenu1, the grid's context menu

// The hidden items standing for the recent files: tags 0..9, the first
// five at the end of the File menu, the rest in the submenu "Mhist".
inline constexpr int kRecentFileItems = 10;

enum BarControlFlags : std::uint8_t {
    kControlHidden = 1,
    kControlWhileTyping = 2,  // enabled only while an entry is being typed
};

// A button, panel or box of a bar. A two-way button runs Handler from its
// up half and DownHandler from its down half.
struct BarControl {
    std::string_view Name{};
    std::string_view Caption{};
    std::string_view Hint{};
    std::string_view Handler{};
    int Tag = 0;
    std::uint8_t Flags = 0;
    std::string_view DownHandler{};

    bool IsTwoWay() const { return !DownHandler.empty(); }
};

struct ControlGroup {
    std::string_view Name{};
    std::span<const BarControl> Controls{};
};

std::span<const ControlGroup> QuickButtonGroups();  // Panel4: pnbar1, pnbar2, pnbar3, pnbar8
std::span<const ControlGroup> StatusBarGroups();    // Panel1: key-state panels, format tools

// The item of the menus or the context menu that runs handler with tag;
// nullptr when there is none.
const MenuItem* FindMenuItem(std::string_view handler, int tag);

// Every handler name the tables use (menus, context menu, both halves of
// the bar buttons, the status bar), each once, sorted.
std::vector<std::string_view> HandlerNames();

// Zoom items of the View menu: the tag indexes the percentage.
inline constexpr std::array<int, 8> kZoomPercents{200, 150, 125, 100, 87, 75, 65, 50};
// The zoom of a zoom item's tag; 0 for a tag that is none.
int ZoomPercent(int tag);

// The view option a "Show ..." item of the View menu toggles: Q, M or S;
// '\0' for a tag that is none.
char ViewOptionLetter(int tag);

}  // namespace zt
