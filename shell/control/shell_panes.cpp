// The panes of a worksheet window: switching and splitting them, the mouse
// in them, column and row sizes, sheet tabs and scrolling.
#include <algorithm>

#include "commands/copy_cell.h"
#include "commands/copy_range.h"
#include "core/cell_store.h"
#include "core/undo.h"
#include "shell/control/shell.h"

namespace zt {

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
    grab_ = SelectionGrab{};
    if (rightButton) {
        TRange s = OrderedRange(g.Selection());
        bool inside = row >= s.FirstRow && row <= s.LastRow && col >= s.FirstCol && col <= s.LastCol;
        if (!inside)
            g.ClickCell(row, col);
        else if (shift)
            grab_ = SelectionGrab{true, row, col};
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

void Shell::SelectionDropped(SheetWindow& w, int pane, int row, int col)
{
    SelectionGrab grab = grab_;
    grab_ = SelectionGrab{};
    if (!grab.Active || &w != active_ || pane != w.ActivePane || (row == grab.Row && col == grab.Col))
        return;
    GridState& g = w.Pane();
    TRange from = OrderedRange(g.Selection());
    int toRow = from.FirstRow + row - grab.Row;
    int toCol = from.FirstCol + col - grab.Col;
    if (!ValidCoord(toRow, toCol)) {
        ReportError(e_, kCopyError);
        return;
    }
    RestoreContext(e_, w.Slot);
    TRange to{std::int16_t(toCol), std::int16_t(toRow), std::int16_t(toCol), std::int16_t(toRow)};
    if (!CopyRange(e_, true, from, to))
        return;
    g.ReleaseAnchor();
    g.GoToCell(toRow, toCol);
    g.ExtendTo(toRow + from.LastRow - from.FirstRow, toCol + from.LastCol - from.FirstCol);
    PointerMoved(w, pane);
    RepaintSheet(w.Slot);
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

// Synchronised panes scroll along with the one that moved: rows for a
// horizontal split, columns for a vertical one.
void Shell::FollowPane(SheetWindow& w, int pane)
{
    if (!w.Synch || w.Split == SplitKind::None)
        return;
    const GridState& g = w.Panes[pane];
    GridState& other = w.Panes[1 - pane];
    if (w.Split == SplitKind::Horizontal)
        other.SetToprow(g.Toprow());
    else
        other.SetLeftcol(g.Leftcol());
}

void Shell::Scrolled(SheetWindow& w, int pane, int topRow, int leftCol)
{
    GridState& g = w.Panes[pane];
    g.SetToprow(topRow);
    g.SetLeftcol(leftCol);
    FollowPane(w, pane);
    view_->RepaintWindow(w);
}

}  // namespace zt
