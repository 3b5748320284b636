#pragma once
// A shell with one worksheet window on the headless platform, driven by
// keys as the window sends them, with the cells read back through the engine.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "files/external_sheets.h"
#include "formula/cell_contents.h"
#include "formula/formula_engine.h"
#include "platform/clipboard.h"
#include "platform/file_dialogs.h"
#include "platform/keyboard_state.h"
#include "platform/notify_headless.h"
#include "shell/control/shell.h"

namespace zt {

class ShellTest : public ::testing::Test {
protected:
    ShellTest() : e(1024)
    {
        InstallFormulaEngine(e);
        InstallFileHooks(e);
        e.Notifier = &notify;
        shell.InstallEngineView();
        w = shell.NewWindow();
        Viewports(*w);
    }

    // The shown pane gets its size from its widget; a split copies it.
    static void Viewports(SheetWindow& win) { win.Panes[0].SetViewport(800, 400); }

    // A key going down, as the window reports it.
    void Key(int vk, bool shift = false, bool ctrl = false) { shell.KeyDown(KeyEvent{vk, shift, ctrl}); }
    void Enter() { Key(vkReturn); }
    void Escape() { Key(vkEscape); }
    // Typed text: letters and digits go down as their key before their
    // character arrives; other characters arrive as characters only.
    void Type(std::string_view text)
    {
        for (char ch : text) {
            unsigned char u = static_cast<unsigned char>(ch);
            if (std::isalnum(u))
                shell.KeyDown(KeyEvent{std::toupper(u)});
            shell.KeyPress(ch);
        }
    }

    GridState& Grid() { return shell.Active()->Pane(); }
    TRange Range(std::string_view text)
    {
        e.Err.Clear();
        TRange r = ParseRange(e, text);
        EXPECT_FALSE(e.Err.ErrorFlag) << text;
        return r;
    }
    void GoTo(std::string_view addr)
    {
        TRange r = Range(addr);
        Grid().ReleaseAnchor();
        Grid().GoToCell(r.FirstRow, r.FirstCol);
    }
    // Where the cell pointer of the active pane is, as an address.
    std::string Here() { return FormatAddress(e, Grid().Row(), Grid().Col()); }
    std::string Selected() { return FormatRange(e, Grid().Selection()); }

    void Put(std::string_view addr, std::string_view text)
    {
        TRange r = Range(addr);
        EnterCell(e, text, r.FirstRow, r.FirstCol);
        ASSERT_FALSE(e.Err.ErrorFlag) << addr << " " << text;
    }
    PCell Cell(std::string_view addr)
    {
        TRange r = Range(addr);
        return FindCell(e, r.FirstRow, r.FirstCol);
    }
    // The cell as the edit line shows it; empty for a blank or missing cell.
    std::string Contents(std::string_view addr) { return CellContentsText(e, Cell(addr)); }
    double Value(std::string_view addr)
    {
        PCell c = Cell(addr);
        return c ? NumericValue(*c) : 0.0;
    }
    std::string_view ModeText() const { return LookOf(shell.Mode()).Text; }
    const EditLine& Edit() const { return shell.Edit(); }

    Engine e;
    HeadlessNotify notify;
    ScriptedFileDialogs dialogs;
    MemoryClipboard clip;
    PlainKeyboardState keys;
    Shell shell{e, ShellPlatform{&dialogs, &clip, &keys}};
    SheetWindow* w = nullptr;
};

}  // namespace zt
