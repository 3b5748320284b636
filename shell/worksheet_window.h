#pragma once
#include <QWidget>

#include "shell/control/shell.h"

class QScrollBar;
class QTabBar;

namespace zt {

class TGrid;

// A worksheet window: one or two grid panes, the sheet tabs, the split
// handle and the horizontal scroll bar.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2(Shell& shell, SheetWindow& window, QWidget* parent = nullptr);
    SheetWindow& Window() { return window_; }
    TGrid* Grid(int pane) { return grids_[pane]; }
    // Lays the panes out as the window's split says and repaints everything.
    void Sync();
    // The window is going away: nothing of it may be used any more.
    void Detach() { detached_ = true; }

signals:
    void ContextMenuWanted(QPoint globalPos);

protected:
    void resizeEvent(QResizeEvent*) override;
    void closeEvent(QCloseEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayoutPanes();
    void SyncTabs();

    Shell& shell_;
    SheetWindow& window_;
    TGrid* grids_[2];
    QTabBar* tabbar1_;
    QWidget* paintBox1_;
    QScrollBar* wscroll1_;
    bool syncing_ = false;
    bool detached_ = false;
};

}  // namespace zt
