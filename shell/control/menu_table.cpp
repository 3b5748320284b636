#include "shell/control/menu_table.h"

#include <algorithm>

namespace zt {
namespace {

constexpr MenuItem Cmd(std::string_view caption, std::string_view handler, int tag = 0, std::uint8_t flags = 0)
{
    return MenuItem{.Caption = caption, .Handler = handler, .Tag = tag, .Flags = flags};
}

constexpr MenuItem Sub(std::string_view caption, std::span<const MenuItem> items, std::uint8_t flags = 0,
                       std::string_view name = {})
{
    return MenuItem{.Caption = caption, .Flags = flags, .Name = name, .Items = items};
}

// A recent-file item: caption and visibility come with the list of files.
constexpr MenuItem Recent(int tag) { return Cmd("", "N51Click", tag, kItemHidden); }

constexpr MenuItem kSep{.Caption = "-"};

constexpr MenuItem kMoreRecent[] = {Recent(5), Recent(6), Recent(7), Recent(8), Recent(9)};

constexpr MenuItem kFile[] = {
    Cmd("&New", "NewClick"),
    Cmd("&Open ...", "Retr1Click"),
    Cmd("&Save", "Save2Click"),
    Cmd("Save &As ...", "SaveAs1Click"),
    Cmd("&Uplink", "Uplink1Click"),
    Cmd("&Close", "Close1Click"),
    kSep,
    Cmd("&Print...", "PrintClick"),
    kSep,
    Cmd("&Merge...", "Merge1Click"),
    Cmd("&Import...", "Import1Click"),
    Cmd("&Export ...", "Transfer1Click"),
    kSep,
    Cmd("&Doc Info...", "Comments1Click"),
    Cmd("&Get Info ...", "Status1Click"),
    kSep,
    Cmd("E&xit", "Exit1Click"),
    Recent(0), Recent(1), Recent(2), Recent(3), Recent(4),
    Sub("More", kMoreRecent, kItemHidden, "Mhist"),
};

constexpr MenuItem kEdit[] = {
    Cmd("&Undo\tCtrl+Z", "UndoRedo1Click"),
    kSep,
    Cmd("Cu&t\tCtrl+X", "Cut1Click"),
    Cmd("&Copy\tCtrl+C", "Clip1Click"),
    Cmd("&Paste\tCtrl+V", "Paste1Click"),
    Cmd("&Delete\tCtrl+D", "Delete1Click"),
    kSep,
    Cmd("&Find/Replace...", "FindReplace1Click"),
    Cmd("&Word...", "SpwordClick"),
};

constexpr MenuItem kSplit[] = {
    Cmd("&Horizontal", "Horizontal1Click"),
    Cmd("&Vertical", "Vertical1Click"),
    kSep,
    Cmd("&Synch", "Synch2Click"),
    Cmd("&Unsynch", "Unsynch1Click"),
    kSep,
    Cmd("&Clear", "Clear3Click"),
};

// The tag is the title mode of the current pane.
constexpr MenuItem kBorders[] = {
    Cmd("&Horizontal", "Horizontal4Click", 1),
    Cmd("&Vertical", "Horizontal4Click", 2),
    Cmd("&Both", "Horizontal4Click", 3),
    Cmd("&Clear", "Horizontal4Click", 0),
};

// The tag indexes kZoomPercents.
constexpr MenuItem kZoom[] = {
    Cmd("&200%", "N251Click", 0, kItemRadio),
    Cmd("15&0%", "N251Click", 1, kItemRadio),
    Cmd("1&30%", "N251Click", 2, kItemRadio),
    Cmd("&100%", "N251Click", 3, kItemRadio | kItemChecked),
    Cmd("&87%", "N251Click", 4, kItemRadio),
    Cmd("&75%", "N251Click", 5, kItemRadio),
    Cmd("&65%", "N251Click", 6, kItemRadio),
    Cmd("&50%", "N251Click", 7, kItemRadio),
};

constexpr MenuItem kView[] = {
    Cmd("Show &Quick Buttons", "Statusbar1Click", 1),
    Cmd("Show &Macro Buttons", "Statusbar1Click", 2),
    Cmd("Show &Status Bar", "Statusbar1Click", 3),
    kSep,
    Sub("Split Current &Window", kSplit),
    Sub("Set Window &Borders", kBorders),
    Sub("&Zoom", kZoom),
};

// The tag is the page of the general-settings dialog.
constexpr MenuItem kGeneral[] = {
    Cmd("&Format...", "Color1Click", 0),
    Cmd("&Option...", "Color1Click", 1),
    Cmd("&Typeface...", "Color1Click", 2),
    Cmd("&Color...", "Color1Click", 3),
    Cmd("F&iles", "Color1Click", 4),
    Cmd("&Advanced", "Color1Click", 5),
};

constexpr MenuItem kInsert[] = {
    Cmd("&Page Break", "InsPageClick"),
    kSep,
    Cmd("&Row", "InsRowClick"),
    Cmd("&Column", "InsColClick"),
    Cmd("&Across Row", "Across1Click"),
};

constexpr MenuItem kDelete[] = {
    Cmd("&Row", "DelRowClick"),
    Cmd("&Column", "DelColClick"),
    Cmd("&Across Row", "Across2Click"),
};

constexpr MenuItem kExternal[] = {
    Cmd("&Table", "Table2Click"),
    Cmd("&Reset", "Reset1Click"),
};

constexpr MenuItem kSheet[] = {
    Sub("&General...", kGeneral),
    kSep,
    Sub("&Insert", kInsert),
    Sub("&Delete", kDelete),
    kSep,
    Cmd("&Macro Step", "Macro1Click"),
    kSep,
    Cmd("&Colwidth...", "Rowheight1Click", 1),
    Cmd("&Rowheight...", "Rowheight1Click", 2),
    kSep,
    Cmd("&Audit...", "Audit1Click"),
    Sub("&External @", kExternal),
};

// The tag picks the special copy: value, transpose, scale, invert, formula.
constexpr MenuItem kSpecialCopy[] = {
    Cmd("&Value", "Value1Click", 0),
    Cmd("&Transpose", "Value1Click", 1),
    Cmd("&Scale", "Value1Click", 2),
    Cmd("&Invert", "Value1Click", 3),
    Cmd("&Formula", "Value1Click", 4),
};

// Format2Click: the tag is the one cell property the dialog opens on.
constexpr MenuItem kRange[] = {
    Cmd("&Copy...", "Copy1Click"),
    Cmd("&Erase", "Erase1Click"),
    Cmd("&Name ...", "Name1Click"),
    Cmd("&Justify ...", "Justify2Click"),
    kSep,
    Cmd("&Format", "Format2Click", 0),
    Cmd("&Shade", "Format2Click", 1),
    Cmd("&Typeface", "Format2Click", 2),
    Cmd("&Prefix", "Format2Click", 3),
    Cmd("&Lock", "Format2Click", 4),
    Cmd("&Border", "Format2Click", 5),
    Sub("&Copy", kSpecialCopy, kItemHidden),
};

// The tag is the page of the data dialog.
constexpr MenuItem kData[] = {
    Cmd("&Fill", "Fill1Click", 0),
    Cmd("&Sort", "Fill1Click", 1),
    Cmd("&Query", "Fill1Click", 2),
    Cmd("&Bin", "Fill1Click", 3),
    Cmd("&Parse", "Fill1Click", 4),
    Cmd("&GoalSeek", "Fill1Click", 5),
    Cmd("&Regress", "Fill1Click", 6),
    Cmd("&MultiRegress", "Fill1Click", 7),
    Cmd("&Table", "Fill1Click", 8),
    Cmd("F&orm", "Fill1Click", 9),
};

// The tag is the page of the array dialog.
constexpr MenuItem kArray[] = {
    Cmd("&Add", "Add1Click", 0),
    Cmd("&Subtract", "Add1Click", 1),
    Cmd("&Multiply", "Add1Click", 2),
    Cmd("&Transpose", "Add1Click", 3),
    Cmd("&Invert", "Add1Click", 4),
    Cmd("&E-Solve", "Add1Click", 5),
    Cmd("&Determinate", "Add1Click", 6),
    Cmd("&Linear", "Add1Click", 7),
};

// Graph1Click: the tag is the page of the graph dialog.
constexpr MenuItem kGraph[] = {
    Cmd("&Type...", "Graph1Click", 0),
    Cmd("&Ranges...", "Graph1Click", 1),
    Cmd("&Legends...", "Graph1Click", 2),
    Cmd("&Scale...", "Graph1Click", 3),
    Cmd("&Options...", "Graph1Click", 4),
    Cmd("&Names...", "Graph1Click", 5),
    Cmd("&Headings...", "Graph1Click", 6),
    Cmd("&Fonts...", "Graph1Click", 7),
    kSep,
    Cmd("&Clear...", "Clear1Click"),
    MenuItem{.Caption = "&View...", .Handler = "View1Click", .Shortcut = "Shift+F10"},
};

constexpr MenuItem kWindow[] = {
    Cmd("&New View", "NewView1Click"),
    kSep,
    Cmd("&Tile", "Tile1Click"),
    Cmd("&Cascade", "Cascade1Click"),
    Cmd("&Arrange Icons", "ArrangeIcons1Click"),
    kSep,
    Cmd("C&lose All", "CloseAll1Click"),
};

constexpr MenuItem kHelp[] = {
    Cmd("&Contents", "Contents1Click"),
    kSep,
    Cmd("&About ...", "About1Click"),
    Cmd("&Tips...", "Tips1Click"),
};

constexpr MenuItem kMainMenu[] = {
    Sub("&File", kFile),
    Sub("&Edit", kEdit),
    Sub("&View", kView),
    Sub("&Sheet", kSheet),
    Sub("&Range", kRange),
    Cmd("&Copy", "Copy2Click"),
    Cmd("&Move", "Move2Click"),
    Sub("&Data", kData),
    Sub("&Array", kArray),
    Sub("&Graph", kGraph),
    Sub("&Window", kWindow),
    Sub("&Help", kHelp),
};

constexpr MenuItem Keyed(std::string_view caption, std::string_view handler, std::string_view key,
                         std::uint8_t flags = 0)
{
    return MenuItem{.Caption = caption, .Handler = handler, .Flags = std::uint8_t(flags | kItemKeyShownOnly),
                    .Shortcut = key};
}

constexpr MenuItem kPopup[] = {
    Cmd("&Properties", "Properties1Click"),
    kSep,
    Keyed("Cu&t", "Cut1Click", "Ctrl+X"),
    Keyed("&Copy", "Clip1Click", "Ctrl+C"),
    Keyed("&Paste", "Paste1Click", "Ctrl+V", kItemNeedsClipboardText),
    Keyed("&Delete", "Delete1Click", "Ctrl+D"),
    Cmd("&Move", "Move2Click", 0, kItemHidden),
    Cmd("&Copy", "Copy2Click", 0, kItemHidden),
};

// Buttons doing what a menu item does share its handler. spcut (tag 1)
// cuts and sppaste (tag 2) copies through one handler; spcopyo pastes.
constexpr BarControl kBar1[] = {
    {.Name = "spsave", .Hint = "Save Worksheet", .Handler = "Save2Click"},
    {.Name = "spcut", .Hint = "Cut Text", .Handler = "spcutClick", .Tag = 1},
    {.Name = "spcopyo", .Hint = "Paste Text", .Handler = "Paste1Click"},
    {.Name = "sppaste", .Hint = "Copy Text", .Handler = "spcutClick", .Tag = 2},
    {.Name = "SpERASE", .Hint = "Erase Range", .Handler = "Delete1Click"},
    {.Name = "SpFill", .Hint = "Speed Fill", .Handler = "SpFillClick"},
    {.Name = "SpSum", .Hint = "Speed @SUM", .Handler = "SpSumClick"},
    {.Name = "spPrt", .Hint = "Print Worksheet", .Handler = "spPrtClick"},
    {.Name = "spdbtn2", .Hint = "Ins/Del Rows", .Handler = "spdbtn2UpClick", .DownHandler = "spdbtn2DownClick"},
    {.Name = "spdbtn3", .Hint = "INS/DEL COL", .Handler = "spdbtn3UpClick", .DownHandler = "spdbtn3DownClick"},
    {.Name = "spdbtn4", .Hint = "Ascend/Descend Sort", .Handler = "spdbtn4UpClick",
     .DownHandler = "spdbtn4DownClick"},
};

// The function picker (tag 0) and the macro picker (tag 1).
constexpr BarControl kBar2[] = {
    {.Name = "spAT", .Hint = "Function Pick", .Handler = "spATClick", .Tag = 0, .Flags = kControlWhileTyping},
    {.Name = "SpMc", .Caption = "{", .Hint = "Macro Pick", .Handler = "spATClick", .Tag = 1,
     .Flags = kControlWhileTyping},
};

// The alignment buttons' tags are the alignment they set.
constexpr BarControl kBar3[] = {
    {.Name = "SpLeft", .Handler = "SpLeftClick", .Tag = 1},
    {.Name = "SpCenter", .Handler = "SpLeftClick", .Tag = 3},
    {.Name = "SpRight", .Handler = "SpLeftClick", .Tag = 2},
    {.Name = "Spword", .Hint = "Text Processor", .Handler = "SpwordClick"},
    {.Name = "spbtok", .Hint = "User Button", .Handler = "spbtokClick", .Flags = kControlHidden},
    {.Name = "sPsTEP", .Hint = "Macro Single Step", .Handler = "sPsTEPClick"},
    {.Name = "spFind", .Hint = "Find & Replace Text", .Handler = "FindReplace1Click"},
    {.Name = "SpLock", .Hint = "Protect/Unprotect Sheet", .Handler = "SpLockClick"},
    {.Name = "SpMacroDo", .Hint = "Execute Macro", .Handler = "SpMacroDoClick"},
    {.Name = "SpQgr", .Hint = "Quick Graph", .Handler = "SpQgrClick"},
    {.Name = "spProper", .Hint = "Upper/Proper", .Handler = "spProperUpClick", .DownHandler = "spProperDownClick"},
};

constexpr BarControl kBar8[] = {
    {.Name = "spopen", .Hint = "Open Worksheet", .Handler = "Retr1Click"},
};

constexpr ControlGroup kQuickButtons[] = {
    {"pnbar1", kBar1},
    {"pnbar2", kBar2},
    {"pnbar3", kBar3},
    {"pnbar8", kBar8},
};

// The key-state panels' tags are the virtual keys whose toggle they show
// (END shows End mode); the recalculation panel flips automatic recalc.
constexpr BarControl kPanel6[] = {
    {.Name = "PNINS", .Caption = "INS", .Handler = "PNINSClick", .Tag = 45},
    {.Name = "PnEnd", .Caption = "END", .Handler = "PNINSClick", .Tag = 23},
    {.Name = "PnNum", .Caption = "NUM", .Handler = "PNINSClick", .Tag = 144},
    {.Name = "PnScr", .Caption = "SCR", .Handler = "PNINSClick", .Tag = 145},
    {.Name = "PnCap", .Caption = "CAP", .Handler = "PNINSClick", .Tag = 20},
    {.Name = "Panel7", .Caption = "Auto", .Handler = "Panel7Click"},
};

// The style buttons' tags are style bits; the colour boxes' tags say
// background (1) or foreground (2).
constexpr BarControl kPanel9[] = {
    {.Name = "Bold", .Handler = "BoldClick", .Tag = 1},
    {.Name = "Italic", .Handler = "BoldClick", .Tag = 2},
    {.Name = "Under", .Handler = "BoldClick", .Tag = 4},
    {.Name = "fontbox", .Hint = "Font Type", .Handler = "fontboxChange"},
    {.Name = "Sizebox", .Hint = "Font Size", .Handler = "SizeboxChange"},
    {.Name = "Formatbox", .Hint = "Speed Format", .Handler = "FormatboxChange"},
    {.Name = "clrcombo1", .Hint = "Background", .Handler = "clrcombo1Change", .Tag = 1},
    {.Name = "clrcombo2", .Hint = "Foreground", .Handler = "clrcombo1Change", .Tag = 2},
};

constexpr ControlGroup kStatusBar[] = {
    {"Panel6", kPanel6},
    {"Panel9", kPanel9},
};

const MenuItem* FindIn(std::span<const MenuItem> items, std::string_view handler, int tag)
{
    for (const MenuItem& item : items) {
        if (item.Handler == handler && item.Tag == tag)
            return &item;
        if (const MenuItem* found = FindIn(item.Items, handler, tag))
            return found;
    }
    return nullptr;
}

void CollectHandlers(std::span<const MenuItem> items, std::vector<std::string_view>& out)
{
    for (const MenuItem& item : items) {
        if (!item.Handler.empty())
            out.push_back(item.Handler);
        CollectHandlers(item.Items, out);
    }
}

void CollectHandlers(std::span<const ControlGroup> groups, std::vector<std::string_view>& out)
{
    for (const ControlGroup& group : groups)
        for (const BarControl& control : group.Controls) {
            out.push_back(control.Handler);
            if (control.IsTwoWay())
                out.push_back(control.DownHandler);
        }
}

}  // namespace

std::span<const MenuItem> MainMenu() { return kMainMenu; }
std::span<const MenuItem> PopupMenu() { return kPopup; }
std::span<const ControlGroup> QuickButtonGroups() { return kQuickButtons; }
std::span<const ControlGroup> StatusBarGroups() { return kStatusBar; }

const MenuItem* FindMenuItem(std::string_view handler, int tag)
{
    if (const MenuItem* found = FindIn(kMainMenu, handler, tag))
        return found;
    return FindIn(kPopup, handler, tag);
}

std::vector<std::string_view> HandlerNames()
{
    std::vector<std::string_view> names;
    CollectHandlers(kMainMenu, names);
    CollectHandlers(kPopup, names);
    CollectHandlers(kQuickButtons, names);
    CollectHandlers(kStatusBar, names);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

int ZoomPercent(int tag)
{
    return tag >= 0 && tag < int(kZoomPercents.size()) ? kZoomPercents[std::size_t(tag)] : 0;
}

char ViewOptionLetter(int tag)
{
    switch (tag) {
    case 1: return 'Q';
    case 2: return 'M';
    case 3: return 'S';
    default: return '\0';
    }
}

}  // namespace zt
