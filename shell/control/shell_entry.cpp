// Typing an entry in the edit line, and pointing at cells while a formula
// is typed.
#include <algorithm>
#include <cctype>

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "formula/cell_contents.h"
#include "shell/control/shell.h"

namespace zt {

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
    FollowPane(w, pane);
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
