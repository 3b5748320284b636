#include "shell/worksheet_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTabBar>
#include <algorithm>

#include "shell/grid.h"

namespace zt {

namespace {

constexpr int kBarHeight = 20;
constexpr int kHandleWidth = 10;
constexpr int kSplitterGap = 4;

}  // namespace

TForm2::TForm2(Shell& shell, SheetWindow& window, QWidget* parent)
    : QWidget(parent), shell_(shell), window_(window), tabbar1_(new QTabBar(this)), paintBox1_(new QWidget(this)),
      wscroll1_(new QScrollBar(Qt::Horizontal, this))
{
    setObjectName("TForm2");
    for (int p = 0; p < 2; ++p) {
        grids_[p] = new TGrid(shell, window, p, this);
        connect(grids_[p], &TGrid::ContextMenuWanted, this, &TForm2::ContextMenuWanted);
    }
    tabbar1_->setObjectName("tabbar1");
    tabbar1_->setShape(QTabBar::RoundedSouth);
    tabbar1_->setDrawBase(false);
    tabbar1_->setExpanding(false);
    connect(tabbar1_, &QTabBar::currentChanged, this, [this](int tab) {
        if (!syncing_ && tab >= 0)
            shell_.TabClicked(window_, tab);
    });
    paintBox1_->setObjectName("PaintBox1");
    paintBox1_->setToolTip("Split Window");
    paintBox1_->setCursor(Qt::SizeAllCursor);
    paintBox1_->setAutoFillBackground(true);
    QPalette pal = paintBox1_->palette();
    pal.setBrush(QPalette::Window, QBrush(Qt::darkGray, Qt::Dense4Pattern));
    paintBox1_->setPalette(pal);
    paintBox1_->installEventFilter(this);
    wscroll1_->setObjectName("wscroll1");
    wscroll1_->setRange(0, kLastCol);
    connect(wscroll1_, &QScrollBar::valueChanged, this, [this](int col) {
        if (!syncing_)
            shell_.Scrolled(window_, window_.ActivePane, window_.Pane().Toprow(), col);
    });
    Sync();
}

void TForm2::resizeEvent(QResizeEvent*) { Sync(); }

void TForm2::LayoutPanes()
{
    int h = std::max(0, height() - kBarHeight);
    int w = width();
    grids_[1]->setVisible(window_.Split != SplitKind::None);
    switch (window_.Split) {
    case SplitKind::None:
        grids_[0]->setGeometry(0, 0, w, h);
        break;
    case SplitKind::Horizontal: {
        int top = std::clamp(window_.SplitPos + TGrid::kHeaderHeight, TGrid::kHeaderHeight, std::max(TGrid::kHeaderHeight, h - 40));
        grids_[0]->setGeometry(0, 0, w, top);
        grids_[1]->setGeometry(0, top + kSplitterGap, w, std::max(0, h - top - kSplitterGap));
        break;
    }
    case SplitKind::Vertical: {
        int left = std::clamp(window_.SplitPos + TGrid::kRowHeaderWidth + TGrid::kScrollWidth,
                              TGrid::kRowHeaderWidth, std::max(TGrid::kRowHeaderWidth, w - 60));
        grids_[0]->setGeometry(0, 0, left, h);
        grids_[1]->setGeometry(left + kSplitterGap, 0, std::max(0, w - left - kSplitterGap), h);
        break;
    }
    }
    int tabsWidth = w / 2;
    tabbar1_->setGeometry(0, h, tabsWidth, kBarHeight);
    paintBox1_->setGeometry(tabsWidth, h, kHandleWidth, kBarHeight);
    wscroll1_->setGeometry(tabsWidth + kHandleWidth, h, std::max(0, w - tabsWidth - kHandleWidth), kBarHeight);
}

void TForm2::SyncTabs()
{
    Engine& e = shell_.Eng();
    if (!e.Slots[window_.Slot])
        return;
    int rowsPerTab = e.Slots[window_.Slot]->Settings.RowsPerSheet;
    int count = TabCount(rowsPerTab);
    while (tabbar1_->count() > count)
        tabbar1_->removeTab(tabbar1_->count() - 1);
    while (tabbar1_->count() < count)
        tabbar1_->addTab(QString::fromStdString(TabCaption(tabbar1_->count())));
    tabbar1_->setCurrentIndex(TabOfRow(rowsPerTab, window_.Pane().Toprow()));
}

void TForm2::Sync()
{
    if (detached_)
        return;
    syncing_ = true;
    LayoutPanes();
    SyncTabs();
    wscroll1_->setValue(window_.Pane().Leftcol());
    for (TGrid* g : grids_)
        if (g->isVisible() || g == grids_[0])
            g->Sync();
    syncing_ = false;
}

void TForm2::closeEvent(QCloseEvent* ev)
{
    if (detached_ || shell_.CloseWindow(window_))
        ev->accept();
    else
        ev->ignore();
}

// Dragging the split handle splits the window where it is let go: above
// the bar into two panes one above the other, along it side by side.
bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != paintBox1_ || event->type() != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    QPoint at = mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    int paneHeight = height() - kBarHeight;
    if (at.y() < paneHeight - kBarHeight) {
        shell_.Split(SplitKind::Horizontal);
        window_.SplitPos = std::max(0, at.y() - TGrid::kHeaderHeight);
    } else {
        shell_.Split(SplitKind::Vertical);
        window_.SplitPos = std::max(0, at.x() - TGrid::kRowHeaderWidth);
    }
    Sync();
    return true;
}

}  // namespace zt
