#include "shell/control/grid_state.h"

#include <algorithm>

namespace zt {

void GridState::SetViewport(int width, int height)
{
    viewW_ = std::max(0, width);
    viewH_ = std::max(0, height);
}

void GridState::SetZoom(int percent) { zoom_ = std::clamp(percent, 10, 400); }

int GridState::ColumnPixels(int col) const
{
    int w = layout_ ? layout_->ColWidths[std::clamp(col, 0, kLastCol)] : SheetLayout::kDefaultColumnWidth;
    return w * zoom_ / 100;
}

int GridState::RowPixels(int row) const
{
    int h = layout_ ? layout_->RowHeights[std::clamp(row, 0, kLastRow)] : SheetLayout::kDefaultRowHeight;
    return h * zoom_ / 100;
}

int GridState::TitleHeight() const
{
    int h = 0;
    for (int r = fixRow1_; fixRow2_ >= 0 && r <= fixRow2_; ++r)
        h += RowPixels(r);
    return h;
}

int GridState::TitleWidth() const
{
    int w = 0;
    for (int c = fixCol1_; fixCol2_ >= 0 && c <= fixCol2_; ++c)
        w += ColumnPixels(c);
    return w;
}

int GridState::Nrows() const
{
    int room = viewH_ - TitleHeight();
    int n = 0;
    for (int r = top_; r <= kLastRow; ++r) {
        room -= RowPixels(r);
        if (room < 0)
            break;
        ++n;
    }
    return n;
}

int GridState::Ncols() const
{
    int room = viewW_ - TitleWidth();
    int n = 0;
    for (int c = left_; c <= kLastCol; ++c) {
        room -= ColumnPixels(c);
        if (room < 0)
            break;
        ++n;
    }
    return n;
}

void GridState::SetToprow(int row)
{
    int top = std::clamp(row, FirstScrollRow(), kLastRow);
    if (top == top_)
        return;
    top_ = top;
    if (Events.OnChangeTop)
        Events.OnChangeTop(top_);
}

void GridState::SetLeftcol(int col) { left_ = std::clamp(col, FirstScrollCol(), kLastCol); }

void GridState::Beep() const
{
    if (Events.Beep)
        Events.Beep();
}

void GridState::Changed()
{
    if (Events.OnChange)
        Events.OnChange(row_, col_);
}

void GridState::ScrollIntoView()
{
    if (row_ >= FirstScrollRow()) {
        if (row_ < top_) {
            SetToprow(row_);
        } else if (row_ >= top_ + std::max(1, Nrows())) {
            int room = viewH_ - TitleHeight();
            int top = row_;
            while (top > FirstScrollRow() && room - RowPixels(top) - RowPixels(top - 1) >= 0) {
                room -= RowPixels(top);
                --top;
            }
            SetToprow(top);
        }
    }
    if (col_ >= FirstScrollCol()) {
        if (col_ < left_) {
            SetLeftcol(col_);
        } else if (col_ >= left_ + std::max(1, Ncols())) {
            int room = viewW_ - TitleWidth();
            int left = col_;
            while (left > FirstScrollCol() && room - ColumnPixels(left) - ColumnPixels(left - 1) >= 0) {
                room -= ColumnPixels(left);
                --left;
            }
            SetLeftcol(left);
        }
    }
}

void GridState::GoToCell(int row, int col)
{
    if (PointerClick)
        Beep();
    int r = std::clamp(row, MinRow(), kLastRow);
    int c = std::clamp(col, MinCol(), kLastCol);
    if (r != row || c != col)
        Beep();
    row_ = r;
    col_ = c;
    if (anchored_) {
        sel_ = TRange{std::int16_t(std::min(anchorCol_, col_)), std::int16_t(std::min(anchorRow_, row_)),
                      std::int16_t(std::max(anchorCol_, col_)), std::int16_t(std::max(anchorRow_, row_))};
    } else {
        sel_ = TRange{std::int16_t(col_), std::int16_t(row_), std::int16_t(col_), std::int16_t(row_)};
    }
    ScrollIntoView();
    Changed();
}

void GridState::ClickCell(int row, int col)
{
    if (anchored_ && shiftAnchor_)
        ReleaseAnchor();
    GoToCell(row, col);
}

void GridState::ExtendTo(int row, int col)
{
    if (!anchored_ && Select) {
        anchored_ = true;
        shiftAnchor_ = true;
        anchorRow_ = row_;
        anchorCol_ = col_;
    }
    GoToCell(row, col);
}

bool GridState::MovementKey(const KeyEvent& key)
{
    bool ctrl = key.Ctrl && !IgCtrl;
    int screenCols = std::max(1, Ncols());
    int screenRows = std::max(1, Nrows());
    int row = row_, col = col_;
    bool extends = key.Shift;
    switch (key.Key) {
    case vkTab:
        extends = false;
        col += key.Shift ? -screenCols : screenCols;
        SetLeftcol(left_ + (key.Shift ? -screenCols : screenCols));
        break;
    case vkBigRight:
        col += screenCols;
        SetLeftcol(left_ + screenCols);
        break;
    case vkBigLeft:
        col -= screenCols;
        SetLeftcol(left_ - screenCols);
        break;
    case vkPrior:
    case vkNext: {
        int step = ctrl ? BandRows() : screenRows;
        if (key.Key == vkPrior)
            step = -step;
        row += step;
        SetToprow(top_ + step);
        break;
    }
    case vkHome:
        row = 0;
        col = 0;
        break;
    case vkLeft:
        if (col == 0) {
            Changed();
            return true;
        }
        col = ctrl ? std::max(0, col - screenCols) : col - 1;
        break;
    case vkRight:
        col += ctrl ? screenCols : 1;
        break;
    case vkUp:
        --row;
        break;
    case vkDown:
        ++row;
        break;
    default:
        return false;
    }
    if (extends && Select) {
        if (!anchored_) {
            anchored_ = true;
            shiftAnchor_ = true;
            anchorRow_ = row_;
            anchorCol_ = col_;
        }
    } else if (anchored_ && shiftAnchor_) {
        anchored_ = false;
        shiftAnchor_ = false;
    }
    // One step past an edge reaches GoToCell, which brings it back with a beep.
    GoToCell(std::clamp(row, -1, kLastRow + 1), std::clamp(col, -1, kLastCol + 1));
    return true;
}

void GridState::SetAnchor()
{
    anchored_ = true;
    shiftAnchor_ = false;
    anchorRow_ = row_;
    anchorCol_ = col_;
    sel_ = TRange{std::int16_t(col_), std::int16_t(row_), std::int16_t(col_), std::int16_t(row_)};
}

void GridState::ReleaseAnchor()
{
    anchored_ = false;
    shiftAnchor_ = false;
}

void GridState::CollapseSelection()
{
    ReleaseAnchor();
    sel_ = TRange{std::int16_t(col_), std::int16_t(row_), std::int16_t(col_), std::int16_t(row_)};
}

void GridState::SetSelection(const TRange& r)
{
    if (!RangeIsDefined(r))
        return;
    sel_ = TRange{std::int16_t(std::clamp<int>(std::min(r.FirstCol, r.LastCol), 0, kLastCol)),
                  std::int16_t(std::clamp<int>(std::min(r.FirstRow, r.LastRow), 0, kLastRow)),
                  std::int16_t(std::clamp<int>(std::max(r.FirstCol, r.LastCol), 0, kLastCol)),
                  std::int16_t(std::clamp<int>(std::max(r.FirstRow, r.LastRow), 0, kLastRow))};
}

void GridState::SelectColumns(int first, int last)
{
    ReleaseAnchor();
    first = std::clamp(first, 0, kLastCol);
    last = std::clamp(last, 0, kLastCol);
    col_ = std::min(first, last);
    ScrollIntoView();
    SetSelection(TRange{std::int16_t(first), 0, std::int16_t(last), std::int16_t(kLastRow)});
    Changed();
}

void GridState::SelectRows(int first, int last)
{
    ReleaseAnchor();
    first = std::clamp(first, 0, kLastRow);
    last = std::clamp(last, 0, kLastRow);
    row_ = std::min(first, last);
    ScrollIntoView();
    SetSelection(TRange{0, std::int16_t(first), std::int16_t(kLastCol), std::int16_t(last)});
    Changed();
}

void GridState::SetTitles(int mode, int row, int col)
{
    if (mode == 0) {
        if (!HasTitles())
            return;
        fixRow1_ = fixRow2_ = fixCol1_ = fixCol2_ = -1;
        top_ = titleTop_;
        left_ = titleLeft_;
        if (Events.OnChangeTop)
            Events.OnChangeTop(top_);
        Changed();
        return;
    }
    row = std::clamp(row, 0, kLastRow - 1);
    col = std::clamp(col, 0, kLastCol - 1);
    if (!HasTitles()) {
        titleTop_ = top_;
        titleLeft_ = left_;
    }
    if (mode & 1) {
        fixRow1_ = std::min(top_, row);
        fixRow2_ = row;
        top_ = row + 1;
    }
    if (mode & 2) {
        fixCol1_ = std::min(left_, col);
        fixCol2_ = col;
        left_ = col + 1;
    }
    if (Events.OnChangeTop)
        Events.OnChangeTop(top_);
    Changed();
}

void GridState::SetPages(int pages)
{
    if (pages > 0)
        pages_ = std::min(pages, kLastRow + 1);
}

std::vector<int> GridState::VisibleRows() const
{
    std::vector<int> rows;
    int room = viewH_;
    for (int r = fixRow1_; fixRow2_ >= 0 && r <= fixRow2_; ++r) {
        rows.push_back(r);
        room -= RowPixels(r);
    }
    for (int r = top_; r <= kLastRow && room > 0; ++r) {
        rows.push_back(r);
        room -= RowPixels(r);
    }
    return rows;
}

std::vector<int> GridState::VisibleColumns() const
{
    std::vector<int> cols;
    int room = viewW_;
    for (int c = fixCol1_; fixCol2_ >= 0 && c <= fixCol2_; ++c) {
        cols.push_back(c);
        room -= ColumnPixels(c);
    }
    for (int c = left_; c <= kLastCol && room > 0; ++c) {
        cols.push_back(c);
        room -= ColumnPixels(c);
    }
    return cols;
}

int GridState::RowTop(int row) const
{
    int y = 0;
    for (int r : VisibleRows()) {
        if (r == row)
            return y;
        y += RowPixels(r);
    }
    return -1;
}

int GridState::ColumnLeft(int col) const
{
    int x = 0;
    for (int c : VisibleColumns()) {
        if (c == col)
            return x;
        x += ColumnPixels(c);
    }
    return -1;
}

bool GridState::CellAt(int x, int y, int& row, int& col) const
{
    if (x < 0 || y < 0)
        return false;
    bool found = false;
    int top = 0;
    for (int r : VisibleRows()) {
        int h = RowPixels(r);
        if (y < top + h) {
            row = r;
            found = true;
            break;
        }
        top += h;
    }
    if (!found)
        return false;
    int left = 0;
    for (int c : VisibleColumns()) {
        int w = ColumnPixels(c);
        if (x < left + w) {
            col = c;
            return true;
        }
        left += w;
    }
    return false;
}

void GridState::CopySettings(const GridState& other)
{
    GridEvents events = std::move(Events);
    const SheetLayout* layout = layout_;
    *this = other;
    Events = std::move(events);
    layout_ = layout;
}

}  // namespace zt
