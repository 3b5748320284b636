// The keys of the main window, the worksheet windows and the edit line.
#include <algorithm>

#include "commands/erase_range.h"
#include "core/address.h"
#include "core/cell_store.h"
#include "core/dependencies.h"
#include "core/range_names.h"
#include "formula/evaluator.h"
#include "formula/format_number.h"
#include "formula/recalc.h"
#include "platform/keyboard_state.h"
#include "shell/control/shell.h"

namespace zt {

namespace {

bool IsArrowOrHome(int key)
{
    return key == vkHome || key == vkLeft || key == vkRight || key == vkUp || key == vkDown;
}

bool IsToggleKey(int key)
{
    return key == vkInsert || key == vkCapital || key == vkNumLock || key == vkScroll;
}

bool Filled(Engine& e, int row, int col)
{
    PCell c = FindCell(e, row, col);
    return c && BaseKind(c->Kind) != ckBlank;
}

}  // namespace

void Shell::KeyDown(const KeyEvent& key)
{
    if (key.Key == vkCancel) {
        if (BreakMacro)
            BreakMacro();
        return;
    }
    if (IsToggleKey(key.Key)) {
        if (platform_.Keys)
            platform_.Keys->Flip(key.Key);
        Refresh();
        return;
    }
    if (key.Key == vkMenu) {
        view_->OpenMainMenu();
        return;
    }
    if (key.Key == vkF7) {
        Beep();
        if (windows_.size() > 1 && active_) {
            auto it = std::find_if(windows_.begin(), windows_.end(), [this](const auto& w) { return w.get() == active_; });
            ++it;
            Activate(it == windows_.end() ? *windows_.front() : **it);
        }
        return;
    }
    if (key.Key == vkF1 && edit_.Active && !edit_.Pointing) {
        if (!edit_.Text.empty() && (edit_.Text.back() == '@' || edit_.Text.back() == '{'))
            PickFunction(edit_.Text.back() == '{');
        return;
    }
    if (!active_)
        return;
    if (edit_.Active && !edit_.Pointing)
        EditKeyDown(*active_, key);
    else
        GridKeyDown(*active_, key);
}

void Shell::KeyUp(const KeyEvent& key)
{
    SheetWindow* w = active_;
    if (!w)
        return;
    if (key.Key == vkControl) {
        w->CtrlHeld = false;
        std::string name = std::move(w->CtrlMacroName);
        w->CtrlMacroName.clear();
        if (name.empty())
            return;
        int entry = FindRangeName(e_, name);
        if (entry <= 0)
            return;
        TRange r = RangeOfName(e_, entry);
        if (RunMacroAt && !MacroRunning)
            RunMacroAt(r.FirstRow, r.FirstCol);
        return;
    }
    bool letter = (key.Key >= 'A' && key.Key <= 'Z') || (key.Key >= '0' && key.Key <= '9');
    if (w->CtrlHeld && letter)
        w->CtrlMacroName = std::string("\\") + char(key.Key);
}

void Shell::KeyPress(char ch)
{
    if (!active_)
        return;
    if (edit_.Active && !edit_.Pointing) {
        if (static_cast<unsigned char>(ch) < 32)
            return;
        edit_.Insert(ch);
        edit_.Rejected = false;
        UpdateTypedMode();
        Refresh();
        return;
    }
    GridChar(*active_, ch);
}

void Shell::GridKeyDown(SheetWindow& w, const KeyEvent& key)
{
    GridState& g = w.Pane();
    switch (key.Key) {
    case vkReturn:
        if (edit_.Pointing) {
            g.ReleaseAnchor();
            StopPointing(w, true);
        } else if (prompt_.Open) {
            PromptAccept();
        }
        return;
    case vkEscape:
        if (edit_.Pointing)
            StopPointing(w, false);
        else if (prompt_.Open)
            PromptCancel();
        return;
    case vkControl:
        w.CtrlHeld = true;
        return;
    case vkEnd:
        endMode_ = !endMode_;
        Refresh();
        return;
    case vkHome:
    case vkLeft:
    case vkRight:
    case vkUp:
    case vkDown:
        if (endMode_) {
            EndMove(w, key.Key);
            endMode_ = false;
            Refresh();
            return;
        }
        break;
    case vkF1:
        Beep();
        NotAvailable("Help");
        return;
    case vkF2:
        // While pointing, F2 goes back to the formula being typed, ready
        // for editing, rather than dropping it for the pointed cell.
        if (edit_.Pointing) {
            StopPointing(w, true);
            edit_.EditMode = true;
            SetMode(ShellMode::Edit);
        } else if (!prompt_.Open) {
            StartEdit(w);
        }
        return;
    case vkF3:
        if (key.Shift)
            Command("Macro1Click");
        else
            AskMacroCell();
        return;
    case vkF4:
        CycleAbsMode(w);
        return;
    case vkF5: {
        SpecifyRange("GOTO: Specify Cell", [this](const std::string& t) { GoToAnswer(t); },
                     g.CursorRange(),
                     true);
        return;
    }
    case vkF6:
        if (key.Shift) {
            Beep();
            w.AltBackground = !w.AltBackground;
            for (GridState& p : w.Panes)
                p.PointerClick = !p.PointerClick;
            view_->RepaintWindow(w);
        } else {
            SwitchPane(w);
        }
        return;
    case vkF8:
        g.SetTitles(g.HasTitles() ? 0 : 3);
        view_->RepaintWindow(w);
        return;
    case vkF9:
        RecalcAll(e_);
        Repaint();
        return;
    case vkF11: {
        std::vector<std::string> links;
        for (PCell f : DependentsAt(e_, g.Row(), g.Col()))
            links.push_back(FormatAddress(e_, f->Row, f->Col));
        SpecifyRange("LINKS: Specify Cell", [this](const std::string& t) { GoToAnswer(t); },
                     g.CursorRange());
        prompt_.Choices = std::move(links);
        Refresh();
        return;
    }
    case vkF12:
        NotAvailable("Graph View");
        return;
    case vkDelete:
        if (edit_.Pointing || prompt_.Open)
            return;
        Beep();
        EraseRange(e_, g.Selection());
        Repaint();
        return;
    default:
        break;
    }
    if ((w.CtrlHeld || key.Ctrl) && !g.IgCtrl && key.Key >= 'A' && key.Key <= 'Z') {
        if (options_.CtrlShortcuts && !edit_.Pointing && !prompt_.Open)
            CtrlShortcut(key.Key);
        return;
    }
    g.MovementKey(key);
}

void Shell::EditKeyDown(SheetWindow& w, const KeyEvent& key)
{
    switch (key.Key) {
    case vkEscape:
        CancelEntry(w);
        return;
    case vkReturn:
        FinishEntry(w);
        return;
    case vkF2:
        edit_.EditMode = true;
        SetMode(ShellMode::Edit);
        return;
    case vkF9: {
        TextValue v = EvaluateText(e_, edit_.Text);
        if (v.Error || v.CompileFailed) {
            Beep();
            return;
        }
        edit_.SetText(v.IsString ? v.Text : FormatNumber(v.Number, e_.Settings().Period));
        Refresh();
        return;
    }
    case vkBack:
        edit_.Backspace();
        Refresh();
        return;
    case vkDelete:
        edit_.DeleteAtCaret();
        Refresh();
        return;
    case vkEnd:
        edit_.Caret = int(edit_.Text.size());
        Refresh();
        return;
    default:
        break;
    }
    if (!IsArrowOrHome(key.Key))
        return;
    if (edit_.EditMode) {
        if (key.Key == vkLeft)
            edit_.Caret = std::max(0, edit_.Caret - 1);
        else if (key.Key == vkRight)
            edit_.Caret = std::min(int(edit_.Text.size()), edit_.Caret + 1);
        else if (key.Key == vkHome)
            edit_.Caret = 0;
        Refresh();
        return;
    }
    if (edit_.EndsWithOperator()) {
        StartPointing(w);
        w.Pane().MovementKey(key);
        return;
    }
    if (FinishEntry(w))
        w.Pane().MovementKey(KeyEvent{key.Key});
}

void Shell::GridChar(SheetWindow& w, char ch)
{
    unsigned char u = static_cast<unsigned char>(ch);
    if (MacroWaitingKey) {
        MacroWaitingKey = false;
        MacroKeyArrived = true;
        MacroKey = ch;
        return;
    }
    if (ch == '\t' || u == 27)
        return;
    if (edit_.Pointing && ch == '.') {
        w.Pane().SetAnchor();
        PointerMoved(w, w.ActivePane);
        return;
    }
    if (!edit_.Pointing && ch == '/') {
        view_->OpenMainMenu();
        return;
    }
    if (prompt_.Open) {
        if (ch == '\b') {
            if (!prompt_.Text.empty())
                prompt_.Text.pop_back();
            prompt_.Typed = true;
        } else if (u >= 32) {
            if (!prompt_.Typed)
                prompt_.Text.clear();
            prompt_.Typed = true;
            if (prompt_.Text.size() < 80)
                prompt_.Text += ch;
        }
        Refresh();
        return;
    }
    if (u < 32)
        return;
    if (edit_.Pointing) {
        StopPointing(w, true);
        edit_.Insert(ch);
        Refresh();
        return;
    }
    StartEntry(w, ch);
}

void Shell::EndMove(SheetWindow& w, int key)
{
    GridState& g = w.Pane();
    RestoreContext(e_, w.Slot);
    if (key == vkHome) {
        g.ReleaseAnchor();
        g.GoToCell(e_.Cur->MaxRow, e_.Cur->MaxCol);
        return;
    }
    int dr = key == vkDown ? 1 : key == vkUp ? -1 : 0;
    int dc = key == vkRight ? 1 : key == vkLeft ? -1 : 0;
    int row = g.Row(), col = g.Col();
    auto inside = [](int r, int c) { return r >= 0 && r <= kLastRow && c >= 0 && c <= kLastCol; };
    if (!inside(row + dr, col + dc)) {
        g.GoToCell(row, col);
        return;
    }
    bool fromFilled = Filled(e_, row, col) && Filled(e_, row + dr, col + dc);
    row += dr;
    col += dc;
    while (inside(row + dr, col + dc)) {
        bool next = Filled(e_, row + dr, col + dc);
        if (fromFilled ? !next : Filled(e_, row, col))
            break;
        row += dr;
        col += dc;
    }
    g.GoToCell(row, col);
}

void Shell::CtrlShortcut(int key)
{
    switch (key) {
    case 'B': ToggleStyle(1); return;
    case 'I': ToggleStyle(2); return;
    case 'U': ToggleStyle(4); return;
    case 'C': Command("Clip1Click"); return;
    case 'X': Command("Cut1Click"); return;
    case 'V': Command("Paste1Click"); return;
    case 'D': Command("Delete1Click"); return;
    case 'Z': Command("UndoRedo1Click"); return;
    default: return;
    }
}


}  // namespace zt
