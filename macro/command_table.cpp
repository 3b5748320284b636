#include "macro/command_table.h"

#include <algorithm>

#include "macro/macro_codes.h"

namespace zt {
namespace {

constexpr MacroCode Key(char key)
{
    MacroCode c;
    c.Bytes[0] = key;
    c.Size = 1;
    return c;
}

constexpr MacroCode Cmd(std::string_view command)
{
    MacroCode c;
    c.Bytes[0] = kMacroCommandMarker;
    for (char ch : command)
        c.Bytes[++c.Size] = ch;
    ++c.Size;
    return c;
}

constexpr MacroCode Cmd(char command) { return Cmd(std::string_view(&command, 1)); }

constexpr MacroCode FileCmd(char command)
{
    const char pair[] = {kMacroFilePrefix, command};
    return Cmd(std::string_view(pair, 2));
}

constexpr std::array<MacroCommand, kMacroCommandCount> kTable{{
    {"?", 0, Cmd("?0")},
    {"ABS", 0, Key(kMacroKeyAbs)},
    {"ALT", 0, Key(kMacroKeyAlt)},
    {"ANCHOR", 0, Cmd("x")},
    {"APPEND", 2, FileCmd('A')},
    {"BEEP", -1, Cmd("B")},
    {"BLANK", 1, Cmd("3")},
    {"BLOCKCASE", 2, Cmd("be")},
    {"BORDER", 2, Cmd("w")},
    {"BS", -1, Key(kMacroKeyBackspace)},
    {"CALC", 0, Key(kMacroKeyCalc)},
    {"CALL", 1, Cmd("C")},
    {"CHDIR", 1, FileCmd('H')},
    {"CLOSE", 1, FileCmd('C')},
    {"CLRSCR", 0, Cmd("S")},
    {"COLWIDTH", 2, Cmd("a")},
    {"COPY", 2, Cmd("1")},
    {"COPYFORM", 2, Cmd("cf")},
    {"COPYINV", 2, Cmd("ci")},
    {"COPYSCALE", 3, Cmd("cs")},
    {"COPYTRANS", 2, Cmd("ct")},
    {"COPYVAL", 2, Cmd("cv")},
    {"DATABIN", 2, Cmd("db")},
    {"DATAFILL", 5, Cmd("df")},
    {"DATAFORM", 1, Cmd("do")},
    {"DATAGOAL", 4, Cmd("dg")},
    {"DATAMULREG", 4, Cmd("dm")},
    {"DATAPARSE", 1, Cmd("dp")},
    {"DATAQUERY", 3, Cmd("dq")},
    {"DATAREGRESS", 3, Cmd("dr")},
    {"DATASORT", 5, Cmd("ds")},
    {"DATATABLE", 3, Cmd("dt")},
    {"DEL", -1, Key(kMacroKeyDelete)},
    {"DELAY", 1, Cmd(kMacroCmdDelay)},
    {"DELETECOL", 1, Cmd("5")},
    {"DELETEROW", 1, Cmd("7")},
    {"DN", -1, Key(kMacroKeyDown)},
    {"EDIT", 0, Key(kMacroKeyEdit)},
    {"EDITCOPY", 1, Cmd("ec")},
    {"EDITCUT", 1, Cmd("et")},
    {"EDITPASTE", 1, Cmd("ep")},
    {"END", 0, Key(kMacroKeyEnd)},
    {"ESC", -1, Key(kMacroKeyEscape)},
    {"EXIT", -1, Cmd("J")},
    {"FILECLOSE", 1, Cmd("fc")},
    {"FILEDOC", 2, Cmd("fd")},
    {"FILEEXIT", 1, Cmd("fe")},
    {"FILEEXPORT", 3, Cmd("fx")},
    {"FILEFOCUS", 1, Cmd("ff")},
    {"FILEIMPORT", 2, Cmd("fi")},
    {"FILEMERGE", 3, Cmd("fm")},
    {"FILENEW", 0, Cmd("fn")},
    {"FILEOPEN", 1, Cmd("fo")},
    {"FILEPICK", 3, Cmd("fp")},
    {"FILESAVE", 0, Cmd("fs")},
    {"FILESAVEAS", 2, Cmd("fa")},
    {"FOR", 4, Cmd(kMacroCmdFor)},
    {"GENADV", 1, Cmd("ha")},
    {"GENCOLOR", 4, Cmd("hc")},
    {"GENFONT", 1, Cmd("ht")},
    {"GENFORMAT", 1, Cmd("hf")},
    {"GENOPTION", 1, Cmd("ho")},
    {"GET", 1, Cmd("?1")},
    {"GOTO", 1, Cmd("@")},
    {"GOTOXY", 2, Cmd("X")},
    {"GRAPH", 0, Cmd("gw")},
    {"GRAPHFONT", 2, Cmd("gf")},
    {"GRAPHHEADING", 2, Cmd("gh")},
    {"GRAPHLABEL", 3, Cmd("gl")},
    {"GRAPHLEGEND", 3, Cmd("gg")},
    {"GRAPHNAME", 2, Cmd("gn")},
    {"GRAPHOPTIONS", 1, Cmd("go")},
    {"GRAPHSCALE", 1, Cmd("gc")},
    {"GRAPHSERIES", 2, Cmd("gs")},
    {"GRAPHTYPE", 1, Cmd("gt")},
    {"GRAPHVIEW", 2, Cmd("gv")},
    {"HELP", 0, Key(kMacroKeyHelp)},
    {"HOME", 0, Key(kMacroKeyHome)},
    {"IF", 1, Cmd("I")},
    {"INKEY", 1, Cmd("?1")},
    {"INLABEL", 2, Cmd("L")},
    {"INRANGE", 2, Cmd(".")},
    {"INS", 0, Key(kMacroKeyInsert)},
    {"INSERTCOL", 1, Cmd("4")},
    {"INSERTROW", 1, Cmd("6")},
    {"INVALUE", 2, Cmd("N")},
    {"JUMP", 1, Cmd("G")},
    {"LET", 2, Cmd("E")},
    {"LT", -1, Key(kMacroKeyLeft)},
    {"MATADD", 3, Cmd("ma")},
    {"MATDET", 2, Cmd("md")},
    {"MATINV", 2, Cmd("mi")},
    {"MATLIN", 2, Cmd("ml")},
    {"MATMLT", 3, Cmd("mm")},
    {"MATSLV", 2, Cmd("me")},
    {"MATSUB", 3, Cmd("ms")},
    {"MENUCALL", 1, Cmd("Z")},
    {"MENUJUMP", 1, Cmd("M")},
    {"MKDIR", 1, FileCmd('M')},
    {"MOVE", 2, Cmd("2")},
    {"NAME", 0, Key(kMacroKeyAbs)},
    {"NEXT", 0, Cmd(kMacroCmdNext)},
    {"ONERROR", 1, Cmd("9")},
    {"OPEN", 2, FileCmd('O')},
    {"PGDN", -1, Key(kMacroKeyPageDown)},
    {"PGLT", -1, Key(kMacroKeyBigLeft)},
    {"PGRT", -1, Key(kMacroKeyBigRight)},
    {"PGUP", -1, Key(kMacroKeyPageUp)},
    {"PLAYWAVE", 2, Cmd("[")},
    {"PRINTALL", 0, Cmd("pa")},
    {"PRINTBORDER", 2, Cmd("pb")},
    {"PRINTFILE", 2, Cmd("pn")},
    {"PRINTFOOT", 2, Cmd("pf")},
    {"PRINTGRAPH", 1, Cmd("pg")},
    {"PRINTHEAD", 2, Cmd("ph")},
    {"PRINTMARGIN", 1, Cmd("pm")},
    {"PRINTOPTION", 1, Cmd("po")},
    {"PRINTRANGE", 1, Cmd("pr")},
    {"QUIT", 0, Cmd("Q")},
    {"RANGEBUILD", 1, Cmd("bb")},
    {"RANGECOLOR", 3, Cmd("bc")},
    {"RANGECREATE", 3, Cmd("bn")},
    {"RANGEDELETE", 1, Cmd("bd")},
    {"RANGEFORMAT", 2, Cmd("bf")},
    {"RANGEJUSTIFY", 2, Cmd("bj")},
    {"RANGELOCK", 2, Cmd("bl")},
    {"RANGEPREFIX", 2, Cmd("bp")},
    {"RANGERESET", 0, Cmd("br")},
    {"RANGETABLE", 1, Cmd("bt")},
    {"RECALC", 1, Cmd("K")},
    {"RESTART", 0, Cmd("H")},
    {"RET", -1, Cmd("R")},
    {"RMDIR", 2, FileCmd('D')},
    {"ROWHEIGHT", 2, Cmd("r")},
    {"RT", -1, Key(kMacroKeyRight)},
    {"TONE", 2, Cmd("T")},
    {"UNDO", 0, Cmd("u")},
    {"UP", -1, Key(kMacroKeyUp)},
    {"UPDATE", -1, Cmd("U")},
    {"VIEW", 1, Cmd("vv")},
    {"VIEWZOOM", 1, Cmd("vz")},
    {"WHILE", 2, Cmd("W")},
    {"WINDOW", 0, Key(kMacroKeyWindow)},
    {"WRITE", 1, FileCmd('W')},
    {"WRITELN", 1, FileCmd('F')},
    // The second list: key names and synonyms.
    {"BACKSPACE", -1, Key(kMacroKeyBackspace)},
    {"BIGLEFT", -1, Key(kMacroKeyBigLeft)},
    {"BIGRIGHT", -1, Key(kMacroKeyBigRight)},
    {"BRANCH", 1, Cmd("G")},
    {"BREAKOFF", -1, Cmd("]")},
    {"BREAKON", -1, Cmd("[")},
    {"D", -1, Key(kMacroKeyDown)},
    {"DOWN", -1, Key(kMacroKeyDown)},
    {"ESCAPE", 0, Key(kMacroKeyEscape)},
    {"GETLABEL", 2, Cmd("L")},
    {"GETNUMBER", 2, Cmd("N")},
    {"L", -1, Key(kMacroKeyLeft)},
    {"LEFT", -1, Key(kMacroKeyLeft)},
    {"MENUBRANCH", 1, Cmd("M")},
    {"R", -1, Key(kMacroKeyRight)},
    {"RETURN", -1, Cmd("R")},
    {"RIGHT", -1, Key(kMacroKeyRight)},
    {"U", -1, Key(kMacroKeyUp)},
    {"XDN", -1, Cmd(kMacroCmdCursorDown)},
}};

const MacroCommand* SearchList(std::span<const MacroCommand> list, std::string_view name)
{
    auto it = std::lower_bound(list.begin(), list.end(), name,
                               [](const MacroCommand& c, std::string_view n) { return c.Name < n; });
    return it != list.end() && it->Name == name ? &*it : nullptr;
}

}  // namespace

std::span<const MacroCommand> MacroCommands() { return kTable; }

std::span<const MacroCommand> MacroPickerCommands() { return MacroCommands().first(kMacroPickerCount); }

const MacroCommand* FindMacroCommand(std::string_view upperName)
{
    std::span<const MacroCommand> all = MacroCommands();
    if (const MacroCommand* c = SearchList(all.first(kMacroFirstListCount), upperName))
        return c;
    return SearchList(all.subspan(kMacroFirstListCount), upperName);
}

}  // namespace zt
