#pragma once
#include <QWidget>

#include "shell/control/shell.h"

class QScrollBar;

namespace zt {

// One pane of a worksheet window: column and row headers, the cells, the
// vertical scroll bar. It paints what its GridState says and forwards the
// mouse to the shell; the keys reach the shell through the main window.
class TGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeaderHeight = 18;
    static constexpr int kRowHeaderWidth = 40;
    static constexpr int kScrollWidth = 16;

    TGrid(Shell& shell, SheetWindow& window, int pane, QWidget* parent = nullptr);
    GridState& State() { return window_.Panes[pane_]; }
    // Brings the scroll bar and the viewport in line with the state and repaints.
    void Sync();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void contextMenuEvent(QContextMenuEvent*) override;

signals:
    void ContextMenuWanted(QPoint globalPos);

private:
    enum class Drag { None, Cells, ColumnEdge, RowEdge, Selection };
    void PaintHeaders(class QPainter& p);
    void PaintCells(class QPainter& p);
    int ColumnEdgeAt(int x) const;  // the column whose right edge is under x, or -1
    int RowEdgeAt(int y) const;

    Shell& shell_;
    SheetWindow& window_;
    int pane_;
    QScrollBar* vscroll_;
    Drag drag_ = Drag::None;
    int dragIndex_ = -1;
    int dragStart_ = 0;
    int dragSize_ = 0;
    bool syncing_ = false;
};

// Qt's key to the program's virtual key number; 0 for a key the program
// only sees as a character.
int VirtualKeyOf(int qtKey);

}  // namespace zt
