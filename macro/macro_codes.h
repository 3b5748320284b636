#pragma once

namespace zt {

// The characters of a translated macro line that are not keystrokes of
// themselves.
inline constexpr char kMacroFiller = 0;          // skipped when read
inline constexpr char kMacroCommandMarker = 20;  // a command character follows
inline constexpr char kMacroFilePrefix = 21;     // after the marker: a file command follows
inline constexpr char kMacroSyntaxError = 17;    // after the marker: the command without a handler
inline constexpr char kMacroStop = static_cast<char>(255);  // read again by every later read

// The longest translated line, without its filler.
inline constexpr int kMacroLineLength = 240;

// Key codes: one character of the line standing for a special key.
inline constexpr char kMacroKeyBigLeft = 2;  // the grid's private key 147
inline constexpr char kMacroKeyCalc = 3;     // F9
inline constexpr char kMacroKeyRight = 4;
inline constexpr char kMacroKeyEdit = 5;     // F2
inline constexpr char kMacroKeyGoto = 6;     // F5
inline constexpr char kMacroKeyHome = 7;
inline constexpr char kMacroKeyBackspace = 8;
inline constexpr char kMacroKeyBigRight = 9;  // the grid's private key 146
inline constexpr char kMacroKeyAlt = 10;      // Alt alone: the menu bar
inline constexpr char kMacroKeyLeft = 11;
inline constexpr char kMacroKeyEnter = 13;    // also written "~"
inline constexpr char kMacroKeyPageUp = 14;
inline constexpr char kMacroKeyEnd = 15;
inline constexpr char kMacroKeyDown = 16;
inline constexpr char kMacroKeyPageDown = 17;
inline constexpr char kMacroKeyInsert = 18;
inline constexpr char kMacroKeyDelete = 19;
inline constexpr char kMacroKeyAbs = 24;      // F4
inline constexpr char kMacroKeyUp = 25;
inline constexpr char kMacroKeyWindow = 26;   // F6
inline constexpr char kMacroKeyEscape = 27;
inline constexpr char kMacroKeyHelp = 28;     // F1
inline constexpr char kMacroKeyMenu = 29;     // F10

// Command characters after the marker that are not printable.
inline constexpr char kMacroCmdDelay = 1;
inline constexpr char kMacroCmdCursorDown = 2;
inline constexpr char kMacroCmdFor = 22;
inline constexpr char kMacroCmdNext = 23;

}  // namespace zt
