// The keys of the main window, the worksheet windows and the edit line,
// pointing while a formula is typed, and the mouse in the panes.
#include <algorithm>
#include <cctype>

#include "commands/erase_range.h"
#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "core/undo.h"
#include "formula/cell_contents.h"
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
    if (key.Key == vkCancel)
        return;  // breaks a running macro; nothing runs yet
    if (IsToggleKey(key.Key)) {
        if (platform_.Keys)
            platform_.Keys->Flip(key.Key);
        Refresh();
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
            NotAvailable("Function List");
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
        Command("Macro1Click", key.Shift ? 1 : 0);
        return;
    case vkF4:
        CycleAbsMode(w);
        return;
    case vkF5: {
        SpecifyRange("GOTO: Specify Cell", [this](const std::string& t) { GoToAnswer(t); },
                     TRange{std::int16_t(g.Col()), std::int16_t(g.Row()), std::int16_t(g.Col()), std::int16_t(g.Row())},
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
        if (PCell c = FindCell(e_, g.Row(), g.Col())) {
            for (HeapAddr a = c->Dependents; a && e_.Heap.Contains(a);) {
                const TDepLink* link = e_.Heap.At<TDepLink>(a);
                if (PCell f = CellAt(e_, link->Cell))
                    links.push_back(FormatAddress(e_, f->Row, f->Col));
                a = link->Next;
            }
        }
        SpecifyRange("LINKS: Specify Cell", [this](const std::string& t) { GoToAnswer(t); },
                     TRange{std::int16_t(g.Col()), std::int16_t(g.Row()), std::int16_t(g.Col()), std::int16_t(g.Row())});
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
            CtrlShortcut(w, key.Key);
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

void Shell::StartEntry(SheetWindow& w, char first)
{
    (void)w;
    edit_.Reset();
    edit_.Active = true;
    edit_.Insert(first);
    UpdateTypedMode();
}

void Shell::StartEdit(SheetWindow& w)
{
    edit_.Reset();
    edit_.Active = true;
    edit_.EditMode = true;
    edit_.SetText(CellContentsText(e_, FindCell(e_, w.Pane().Row(), w.Pane().Col())));
    SetMode(ShellMode::Edit);
}

void Shell::UpdateTypedMode()
{
    if (edit_.EditMode) {
        SetMode(ShellMode::Edit);
        return;
    }
    char first = edit_.Text.empty() ? ' ' : edit_.Text.front();
    if (IsValueStart(first, e_.Settings()))
        SetMode(ShellMode::Value);
    else if (IsLabelPrefix(first) || std::isalpha(static_cast<unsigned char>(first)) || first == ' ')
        SetMode(ShellMode::Label);
    else
        SetMode(ShellMode::Undecided);
}

bool Shell::FinishEntry(SheetWindow& w)
{
    if (prompt_.Open) {
        PromptAccept();
        return true;
    }
    if (edit_.Pointing)
        return false;
    if (edit_.Text.empty() && !edit_.EditMode) {
        CancelEntry(w);
        return true;
    }
    RestoreContext(e_, w.Slot);
    e_.Err.Clear();
    EnterCell(e_, edit_.Text, w.Pane().Row(), w.Pane().Col());
    if (e_.Err.ErrorFlag) {
        e_.Err.Clear();
        edit_.Rejected = true;
        Beep();
        Refresh();
        return false;
    }
    edit_.Reset();
    SetMode(ShellMode::Ready);
    ShowCellInEditLine(w);
    RepaintSheet(w.Slot);
    Refresh();
    return true;
}

void Shell::CancelEntry(SheetWindow& w)
{
    edit_.Reset();
    SetMode(prompt_.Open ? ShellMode::Range : ShellMode::Ready);
    ShowCellInEditLine(w);
    Refresh();
}

void Shell::ShowCellInEditLine(SheetWindow& w)
{
    if (edit_.Active || !e_.Slots[w.Slot])
        return;
    RestoreContext(e_, w.Slot);
    edit_.SetText(CellContentsText(e_, FindCell(e_, w.Pane().Row(), w.Pane().Col())));
}

void Shell::StartPointing(SheetWindow& w)
{
    GridState& g = w.Pane();
    edit_.Pointing = true;
    edit_.PointText = edit_.Text;
    edit_.PointRow = g.Row();
    edit_.PointCol = g.Col();
    edit_.AbsMode = 0;
    g.CollapseSelection();
    SetMode(ShellMode::Point);
}

void Shell::StopPointing(SheetWindow& w, bool keepReference)
{
    if (!keepReference)
        edit_.SetText(edit_.PointText);
    edit_.Pointing = false;
    GridState& g = w.Pane();
    g.ReleaseAnchor();
    g.GoToCell(edit_.PointRow, edit_.PointCol);
    edit_.Caret = int(edit_.Text.size());
    UpdateTypedMode();
    view_->RepaintWindow(w);
}

// The reference pointed at, written with the absolute marks of the F4 count.
static std::string PointedReference(Engine& e, const GridState& g, int absMode)
{
    bool absCol = absMode == 3 || absMode == 1;
    bool absRow = absMode == 3 || absMode == 2;
    std::string text;
    if (g.Anchored()) {
        std::uint8_t corner = std::uint8_t((absRow ? 1 : 0) | (absCol ? 2 : 0));
        text = FormatRange(e, g.Selection(), std::uint8_t(corner | corner << 2), true);
    } else {
        text = FormatAddress(e, g.Row(), g.Col(), absCol, absRow);
    }
    if (text.size() > 20)
        text.resize(20);
    return text;
}

void Shell::PointerMoved(SheetWindow& w, int pane)
{
    if (refreshing_ || &w != active_)
        return;
    refreshing_ = true;
    GridState& g = w.Panes[pane];
    if (edit_.Pointing) {
        edit_.SetText(edit_.PointText + PointedReference(e_, g, edit_.AbsMode));
    } else if (prompt_.Open) {
        TRange sel = g.Selection();
        prompt_.Text = RangeIsBlock(sel) ? FormatRange(e_, sel) : FormatAddress(e_, g.Row(), g.Col());
        prompt_.Typed = false;
    } else {
        ShowCellInEditLine(w);
    }
    if (w.Synch && w.Split != SplitKind::None) {
        GridState& other = w.Panes[1 - pane];
        if (w.Split == SplitKind::Horizontal)
            other.SetToprow(g.Toprow());
        else
            other.SetLeftcol(g.Leftcol());
    }
    view_->RepaintWindow(w);
    Refresh();
    refreshing_ = false;
}

void Shell::CycleAbsMode(SheetWindow& w)
{
    if (!edit_.Pointing) {
        Refresh();
        return;
    }
    edit_.AbsMode = (edit_.AbsMode + 3) % 4;
    PointerMoved(w, w.ActivePane);
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

void Shell::CtrlShortcut(SheetWindow& w, int key)
{
    switch (key) {
    case 'B':
    case 'I':
    case 'U': {
        std::uint8_t bit = key == 'B' ? 1 : key == 'I' ? 2 : 4;
        TRange sel = w.Pane().Selection();
        RestoreContext(e_, w.Slot);
        TakeUndoSnapshot(e_);
        PCell first = FindCell(e_, sel.FirstRow, sel.FirstCol);
        bool on = !(first && (first->Style & bit));
        for (int r = sel.FirstRow; r <= sel.LastRow; ++r)
            for (int c = sel.FirstCol; c <= sel.LastCol; ++c)
                if (PCell cell = FindCell(e_, r, c))
                    cell->Style = std::uint8_t(on ? (cell->Style | bit) : (cell->Style & ~bit));
        e_.Cur->Modified = true;
        Repaint();
        return;
    }
    case 'C': Command("Clip1Click"); return;
    case 'X': Command("Cut1Click"); return;
    case 'V': Command("Paste1Click"); return;
    case 'D': Command("Delete1Click"); return;
    case 'Z': Command("UndoRedo1Click"); return;
    default: return;
    }
}

void Shell::SwitchPane(SheetWindow& w)
{
    if (w.Split != SplitKind::None) {
        w.ActivePane = 1 - w.ActivePane;
        PointerMoved(w, w.ActivePane);
        return;
    }
    Beep();
    // The places change hands; each pane keeps the size of its widget.
    GridState& shown = w.Panes[0];
    GridState& hidden = w.Panes[1];
    int width = shown.ViewportWidth(), height = shown.ViewportHeight();
    int hiddenWidth = hidden.ViewportWidth(), hiddenHeight = hidden.ViewportHeight();
    GridState held;
    held.CopySettings(shown);
    shown.CopySettings(hidden);
    hidden.CopySettings(held);
    shown.SetViewport(width, height);
    hidden.SetViewport(hiddenWidth, hiddenHeight);
    PointerMoved(w, 0);
}

void Shell::SplitWindow(SheetWindow& w, SplitKind kind)
{
    GridState& first = w.Panes[0];
    GridState& second = w.Panes[1];
    if (kind == SplitKind::None) {
        w.Split = SplitKind::None;
        w.ActivePane = 0;
        w.Synch = false;
        view_->RepaintWindow(w);
        return;
    }
    second.CopySettings(first);
    second.CollapseSelection();
    if (kind == SplitKind::Horizontal) {
        int y = first.RowTop(first.Row());
        w.SplitPos = y > 0 ? y : first.ViewportHeight() / 2;
        second.SetToprow(first.Row());
    } else {
        int next = std::min(first.Col() + 1, kLastCol);
        int x = first.ColumnLeft(next);
        w.SplitPos = x > 0 ? x : first.ViewportWidth() / 2;
        second.SetLeftcol(next);
        second.GoToCell(first.Row(), next);
    }
    w.Split = kind;
    view_->RepaintWindow(w);
}

// A press in a pane finishes a pending entry, then makes the pane the
// active one; false when the entry stays open.
bool Shell::PressInPane(SheetWindow& w, int pane)
{
    if (&w != active_)
        Activate(w);
    if (edit_.Active && !edit_.Pointing && !FinishEntry(w))
        return false;
    if (w.Split != SplitKind::None)
        w.ActivePane = pane;
    return true;
}

void Shell::CellPressed(SheetWindow& w, int pane, int row, int col, bool shift, bool rightButton)
{
    if (!PressInPane(w, pane))
        return;
    GridState& g = w.Pane();
    if (rightButton) {
        TRange s = g.Selection();
        bool inside = row >= s.FirstRow && row <= s.LastRow && col >= s.FirstCol && col <= s.LastCol;
        if (!inside)
            g.ClickCell(row, col);
        return;
    }
    if (shift)
        g.ExtendTo(row, col);
    else
        g.ClickCell(row, col);
}

void Shell::CellDragged(SheetWindow& w, int pane, int row, int col)
{
    if (&w != active_ || pane != w.ActivePane)
        return;
    GridState& g = w.Pane();
    if (row != g.Row() || col != g.Col())
        g.ExtendTo(row, col);
}

void Shell::ColumnHeaderPressed(SheetWindow& w, int pane, int col, bool shift)
{
    if (!PressInPane(w, pane))
        return;
    GridState& g = w.Pane();
    g.SelectColumns(shift ? g.Selection().FirstCol : col, col);
}

void Shell::RowHeaderPressed(SheetWindow& w, int pane, int row, bool shift)
{
    if (!PressInPane(w, pane))
        return;
    GridState& g = w.Pane();
    g.SelectRows(shift ? g.Selection().FirstRow : row, row);
}

void Shell::ColumnResized(SheetWindow& w, int col, int pixels)
{
    if (col < 0 || col > kLastCol)
        return;
    ResizeLayout(w, [&](SheetLayout& layout) {
        layout.ColWidths[col] = std::uint16_t(std::clamp(pixels * 100 / std::max(1, options_.Zoom), 0, 2000));
    });
}

void Shell::RowResized(SheetWindow& w, int row, int pixels)
{
    if (row < 0 || row > kLastRow)
        return;
    ResizeLayout(w, [&](SheetLayout& layout) {
        layout.RowHeights[row] = std::uint16_t(std::clamp(pixels * 100 / std::max(1, options_.Zoom), 0, 1000));
    });
}

// A new width or height, undoable on its own, shown in every window of the worksheet.
void Shell::ResizeLayout(SheetWindow& w, const std::function<void(SheetLayout&)>& change)
{
    RestoreContext(e_, w.Slot);
    SnapshotSizes(e_);
    change(e_.Cur->Layout);
    e_.Cur->Modified = true;
    RepaintSheet(w.Slot);
}

void Shell::TabClicked(SheetWindow& w, int tab)
{
    GridState& g = w.Pane();
    int rowsPerTab = e_.Slots[w.Slot]->Settings.RowsPerSheet;
    g.ReleaseAnchor();
    g.GoToCell(RowForTab(rowsPerTab, tab, g.Row()), g.Col());
}

void Shell::Scrolled(SheetWindow& w, int pane, int topRow, int leftCol)
{
    GridState& g = w.Panes[pane];
    g.SetToprow(topRow);
    g.SetLeftcol(leftCol);
    if (w.Synch && w.Split != SplitKind::None) {
        GridState& other = w.Panes[1 - pane];
        if (w.Split == SplitKind::Horizontal)
            other.SetToprow(g.Toprow());
        else
            other.SetLeftcol(g.Leftcol());
    }
    view_->RepaintWindow(w);
}

void Shell::EditLineClicked(int caret)
{
    if (!active_ || prompt_.Open)
        return;
    if (!edit_.Active)
        StartEdit(*active_);
    edit_.Caret = std::clamp(caret, 0, int(edit_.Text.size()));
    Refresh();
}

}  // namespace zt
