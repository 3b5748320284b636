#pragma once
#include <string>
#include <vector>

#include "core/range.h"

namespace zt {

class Clipboard;

// What the macro interpreter needs of whoever runs it: the window (or the
// headless controllers of batch mode and tests). Each call must return; a
// host that cannot provide something says so by its result.
class MacroHost {
public:
    virtual ~MacroHost() = default;
    // Plays a batch of keystrokes: printable characters and the key codes
    // of a macro line (Enter 13, Down 16, ...), in order, into whatever has
    // the keyboard, as typed keys.
    virtual void PlayKeys(const std::string& batch) = 0;
    // Lets pending events run (a typed Ctrl+Break reaches BreakMacro here).
    virtual void ProcessEvents() {}
    // Waits for one key press for the macro; false when none can come (the
    // macro then stops).
    virtual bool WaitForKey(char& key) = 0;
    // The input dialog: false when no answer can be had.
    virtual bool InputText(const std::string& prompt, std::string& answer) = 0;
    // The macro menu: items and their descriptions, a title; the 1-based
    // item chosen, or items.size() + 1 for Escape.
    virtual int MenuChoice(const std::vector<std::string>& items, const std::vector<std::string>& hints,
                           const std::string& title) = 0;
    // The cell pointer, for addresses written CURSOR or left empty.
    virtual TRange CursorCell() const = 0;
    // Moves the cell pointer, at once, so that the next command sees the
    // result: GOTO drops an anchor, XDN extends an anchored selection.
    // ANCHOR sets or drops the selection's anchor.
    virtual void GoToCell(int row, int col, bool extend) = 0;
    virtual void SetAnchor(bool on) = 0;
    // Single-step mode shows where the macro is: the mode indicator says
    // "Step" and the caption the cell and its text.
    virtual void ShowStep(const std::string& caption) = 0;
    // The grids ignore Ctrl in their movement keys while a macro runs.
    virtual void MacroStateChanged(bool running) = 0;
    // Milliseconds of a monotonic clock; DELAY waits on it.
    virtual unsigned long long TickCount() const = 0;
    // Whether the macro file commands may touch files and folders; a host
    // that runs untrusted macros (fuzzing) says no.
    virtual bool AllowFileAccess() const { return true; }
    // The clipboard of EDITCOPY, EDITCUT and EDITPASTE; none by default.
    virtual Clipboard* MacroClipboard() { return nullptr; }
    virtual void Sleep(unsigned milliseconds) = 0;
};

}  // namespace zt
