#include "shell/grid.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "core/address.h"
#include "core/cell_store.h"
#include "platform/qt/qt_canvas.h"
#include "shell/drawing/cell_drawing.h"

namespace zt {

namespace {

constexpr int kEdgeSlack = 3;

// Runs of adjacent columns, so that each run is painted in one call.
std::vector<std::pair<int, int>> ColumnRuns(const std::vector<int>& cols)
{
    std::vector<std::pair<int, int>> runs;
    for (int c : cols) {
        if (!runs.empty() && runs.back().second + 1 == c)
            runs.back().second = c;
        else
            runs.emplace_back(c, c);
    }
    return runs;
}

}  // namespace

int VirtualKeyOf(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return vkF1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return vkBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vkTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vkReturn;
    case Qt::Key_Shift: return vkShift;
    case Qt::Key_Control: return vkControl;
    case Qt::Key_CapsLock: return vkCapital;
    case Qt::Key_Escape: return vkEscape;
    case Qt::Key_PageUp: return vkPrior;
    case Qt::Key_PageDown: return vkNext;
    case Qt::Key_End: return vkEnd;
    case Qt::Key_Home: return vkHome;
    case Qt::Key_Left: return vkLeft;
    case Qt::Key_Up: return vkUp;
    case Qt::Key_Right: return vkRight;
    case Qt::Key_Down: return vkDown;
    case Qt::Key_Insert: return vkInsert;
    case Qt::Key_Delete: return vkDelete;
    case Qt::Key_NumLock: return vkNumLock;
    case Qt::Key_ScrollLock: return vkScroll;
    case Qt::Key_Cancel: return vkCancel;
    default: return 0;
    }
}

TGrid::TGrid(Shell& shell, SheetWindow& window, int pane, QWidget* parent)
    : QWidget(parent), shell_(shell), window_(window), pane_(pane), vscroll_(new QScrollBar(Qt::Vertical, this))
{
    setObjectName(pane == 0 ? "Grid1" : "Grid2");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    vscroll_->setRange(0, kLastRow);
    vscroll_->setPageStep(20);
    connect(vscroll_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!syncing_)
            shell_.Scrolled(window_, pane_, value, State().Leftcol());
    });
}

void TGrid::Sync()
{
    GridState& g = State();
    g.SetViewport(width() - kRowHeaderWidth - kScrollWidth, height() - kHeaderHeight);
    syncing_ = true;
    vscroll_->setValue(g.Toprow());
    syncing_ = false;
    update();
}

void TGrid::resizeEvent(QResizeEvent*)
{
    vscroll_->setGeometry(width() - kScrollWidth, 0, kScrollWidth, height());
    Sync();
}

void TGrid::paintEvent(QPaintEvent*)
{
    Engine& e = shell_.Eng();
    if (!e.Slots[window_.Slot])
        return;
    RestoreContext(e, window_.Slot);
    QPainter p(this);
    PaintHeaders(p);
    PaintCells(p);
}

void TGrid::PaintHeaders(QPainter& p)
{
    GridState& g = State();
    const QColor face(0xC0, 0xC0, 0xC0);
    const QColor marked(0x80, 0x80, 0x80);
    int right = width() - kScrollWidth;
    p.fillRect(0, 0, right, kHeaderHeight, face);
    p.fillRect(0, 0, kRowHeaderWidth, height(), face);
    p.setPen(Qt::black);
    QFont font = p.font();
    font.setPointSize(std::max(6, 8 * g.Zoom() / 100));
    p.setFont(font);
    TRange sel = g.Selection();
    int x = kRowHeaderWidth;
    for (int c : g.VisibleColumns()) {
        int w = g.ColumnPixels(c);
        QRect r(x, 0, w, kHeaderHeight);
        if (c >= sel.FirstCol && c <= sel.LastCol)
            p.fillRect(r, marked);
        p.setPen(Qt::gray);
        p.drawLine(r.right(), 0, r.right(), kHeaderHeight - 1);
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter, QString::fromStdString(ColumnLetters(c)));
        x += w;
        if (x >= right)
            break;
    }
    int y = kHeaderHeight;
    int band = g.BandRows();
    for (int r : g.VisibleRows()) {
        int h = g.RowPixels(r);
        QRect rect(0, y, kRowHeaderWidth, h);
        if (r >= sel.FirstRow && r <= sel.LastRow)
            p.fillRect(rect, marked);
        p.setPen(Qt::gray);
        p.drawLine(0, rect.bottom(), kRowHeaderWidth - 1, rect.bottom());
        if (band < kLastRow + 1 && r % band == 0) {
            p.setPen(Qt::blue);
            p.drawLine(0, rect.top(), kRowHeaderWidth - 1, rect.top());
        }
        p.setPen(Qt::black);
        p.drawText(rect, Qt::AlignCenter, QString::number(r + 1));
        y += h;
        if (y >= height())
            break;
    }
}

void TGrid::PaintCells(QPainter& p)
{
    Engine& e = shell_.Eng();
    GridState& g = State();
    const Worksheet& ws = *e.Cur;
    QRect area(kRowHeaderWidth, kHeaderHeight, width() - kRowHeaderWidth - kScrollWidth, height() - kHeaderHeight);
    ColorRef back = window_.AltBackground ? kAltBackground : ws.Settings.BackColor & 0xFFFFFF;
    p.fillRect(area, ToQColor(back));
    p.setClipRect(area);

    RowDrawContext ctx;
    ctx.Scale = g.Zoom();
    ctx.GridLines = g.Grid;
    ctx.ThreeD = ws.Settings.ThreeD;
    ctx.AltBackground = window_.AltBackground;
    bool pointer = shell_.Active() == &window_ && window_.ActivePane == pane_;
    ctx.Selection = RangeIsBlock(g.Selection()) ? g.Selection() : kUndefinedRange;
    ctx.CurRow = pointer ? g.Row() : -1;
    ctx.CurCol = pointer ? g.Col() : -1;
    ctx.Typefaces = ws.Window.Typefaces;
    ctx.DefaultFont.Name = ws.Window.FontName;
    ctx.DefaultFont.PointSize = ws.Window.FontHeight;
    ctx.ColumnWidth = [&g](int col) { return g.ColumnPixels(col); };

    QtCanvas canvas(p);
    auto runs = ColumnRuns(g.VisibleColumns());
    int y = area.top();
    for (int row : g.VisibleRows()) {
        int h = g.RowPixels(row);
        int x = area.left();
        for (auto [first, last] : runs) {
            CanvasRect cell{x, y, x + g.ColumnPixels(first), y + h};
            DrawRow(e, canvas, ctx, cell, row, first, last);
            for (int c = first; c <= last; ++c)
                x += g.ColumnPixels(c);
        }
        y += h;
        if (y >= area.bottom())
            break;
    }
    if (g.HasTitles()) {
        p.setPen(QPen(Qt::black, 1));
        if (g.Fixrow2() >= 0) {
            int ty = area.top() + g.RowTop(g.Fixrow2()) + g.RowPixels(g.Fixrow2());
            p.drawLine(area.left(), ty, area.right(), ty);
        }
        if (g.Fixcol2() >= 0) {
            int tx = area.left() + g.ColumnLeft(g.Fixcol2()) + g.ColumnPixels(g.Fixcol2());
            p.drawLine(tx, area.top(), tx, area.bottom());
        }
    }
    if (drag_ == Drag::ColumnEdge || drag_ == Drag::RowEdge) {
        p.setClipping(false);
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        if (drag_ == Drag::ColumnEdge) {
            int ex = kRowHeaderWidth + g.ColumnLeft(dragIndex_) + dragSize_;
            p.drawLine(ex, 0, ex, height());
        } else {
            int ey = kHeaderHeight + g.RowTop(dragIndex_) + dragSize_;
            p.drawLine(0, ey, width(), ey);
        }
    }
}

int TGrid::ColumnEdgeAt(int x) const
{
    const GridState& g = window_.Panes[pane_];
    int edge = kRowHeaderWidth;
    for (int c : g.VisibleColumns()) {
        edge += g.ColumnPixels(c);
        if (std::abs(x - edge) <= kEdgeSlack)
            return c;
    }
    return -1;
}

int TGrid::RowEdgeAt(int y) const
{
    const GridState& g = window_.Panes[pane_];
    int edge = kHeaderHeight;
    for (int r : g.VisibleRows()) {
        edge += g.RowPixels(r);
        if (std::abs(y - edge) <= kEdgeSlack)
            return r;
        if (edge > height())
            break;
    }
    return -1;
}

void TGrid::mousePressEvent(QMouseEvent* ev)
{
    QPoint pos = ev->position().toPoint();
    bool shift = ev->modifiers() & Qt::ShiftModifier;
    bool right = ev->button() == Qt::RightButton;
    GridState& g = State();
    if (pos.y() < kHeaderHeight && pos.x() >= kRowHeaderWidth) {
        if (int c = ColumnEdgeAt(pos.x()); c >= 0 && !right) {
            drag_ = Drag::ColumnEdge;
            dragIndex_ = c;
            dragStart_ = pos.x();
            dragSize_ = g.ColumnPixels(c);
            return;
        }
        int row, col;
        if (g.CellAt(pos.x() - kRowHeaderWidth, 0, row, col))
            shell_.ColumnHeaderPressed(window_, pane_, col, shift);
        return;
    }
    if (pos.x() < kRowHeaderWidth && pos.y() >= kHeaderHeight) {
        if (int r = RowEdgeAt(pos.y()); r >= 0 && !right) {
            drag_ = Drag::RowEdge;
            dragIndex_ = r;
            dragStart_ = pos.y();
            dragSize_ = g.RowPixels(r);
            return;
        }
        int row, col;
        if (g.CellAt(0, pos.y() - kHeaderHeight, row, col))
            shell_.RowHeaderPressed(window_, pane_, row, shift);
        return;
    }
    int row, col;
    if (g.CellAt(pos.x() - kRowHeaderWidth, pos.y() - kHeaderHeight, row, col)) {
        shell_.CellPressed(window_, pane_, row, col, shift, right);
        if (!right)
            drag_ = Drag::Cells;
        else if (shell_.DraggingSelection())
            drag_ = Drag::Selection;
    }
}

void TGrid::mouseMoveEvent(QMouseEvent* ev)
{
    QPoint pos = ev->position().toPoint();
    switch (drag_) {
    case Drag::Cells: {
        int row, col;
        if (State().CellAt(pos.x() - kRowHeaderWidth, pos.y() - kHeaderHeight, row, col))
            shell_.CellDragged(window_, pane_, row, col);
        return;
    }
    case Drag::Selection:
        setCursor(Qt::DragMoveCursor);
        return;
    case Drag::ColumnEdge:
        dragSize_ = std::max(0, State().ColumnPixels(dragIndex_) + pos.x() - dragStart_);
        update();
        return;
    case Drag::RowEdge:
        dragSize_ = std::max(0, State().RowPixels(dragIndex_) + pos.y() - dragStart_);
        update();
        return;
    case Drag::None:
        break;
    }
    bool onEdge = (pos.y() < kHeaderHeight && ColumnEdgeAt(pos.x()) >= 0);
    bool onRowEdge = (pos.x() < kRowHeaderWidth && RowEdgeAt(pos.y()) >= 0);
    setCursor(onEdge ? Qt::SplitHCursor : onRowEdge ? Qt::SplitVCursor : Qt::ArrowCursor);
}

void TGrid::mouseReleaseEvent(QMouseEvent* ev)
{
    Drag was = drag_;
    drag_ = Drag::None;
    if (was == Drag::Selection) {
        setCursor(Qt::ArrowCursor);
        QPoint pos = ev->position().toPoint();
        int row, col;
        if (State().CellAt(pos.x() - kRowHeaderWidth, pos.y() - kHeaderHeight, row, col))
            shell_.SelectionDropped(window_, pane_, row, col);
    } else if (was == Drag::ColumnEdge)
        shell_.ColumnResized(window_, dragIndex_, dragSize_);
    else if (was == Drag::RowEdge)
        shell_.RowResized(window_, dragIndex_, dragSize_);
    update();
}

void TGrid::wheelEvent(QWheelEvent* ev)
{
    int steps = ev->angleDelta().y() / 40;
    if (steps == 0)
        return;
    GridState& g = State();
    shell_.Scrolled(window_, pane_, std::clamp(g.Toprow() - steps, 0, kLastRow), g.Leftcol());
}

void TGrid::contextMenuEvent(QContextMenuEvent* ev)
{
    if (ev->modifiers() & Qt::ShiftModifier)
        return;
    emit ContextMenuWanted(ev->globalPos());
}

}  // namespace zt
