#include "shell/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QToolBar>

#include "core/address.h"
#include "dialogs/merge_dialog.h"
#include "platform/qt/qt_text.h"
#include "shell/grid.h"
#include "shell/worksheet_window.h"

namespace zt {

TForm1::TForm1(Engine& e, QWidget* parent)
    : QMainWindow(parent), notify_(this), dialogs_(this), shell_(e, ShellPlatform{&dialogs_, &clipboard_, &keys_}),
      e_(e), mdi_(new QMdiArea(this))
{
    setObjectName("TForm1");
    setWindowTitle("ZENTABULAR");
    e_.Notifier = &notify_;
    mdi_->setObjectName("MdiArea");
    mdi_->setBackground(QBrush(QColor(0x80, 0x80, 0x80)));
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        if (!sub)
            return;
        for (const auto& w : shell_.Windows()) {
            auto it = subWindows_.find(w.get());
            if (it != subWindows_.end() && it->second == sub) {
                if (shell_.Active() != w.get())
                    shell_.Activate(*w);
                return;
            }
        }
    });
    BuildMenus();
    BuildQuickBar();
    BuildEditLine();
    BuildStatusBar();
    tbarmenu1_ = new QToolBar("Toolbar", this);
    tbarmenu1_->setObjectName("tbarmenu1");
    addToolBar(Qt::BottomToolBarArea, tbarmenu1_);
    shell_.SetView(this);
    shell_.InstallEngineView();
    qApp->installEventFilter(this);
    resize(1024, 720);
    RefreshBars();
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
    shell_.SetView(nullptr);
    e_.Notifier = nullptr;
}

void TForm1::SetFileDialogs(FileDialogs* dialogs) { shell_.SetFileDialogs(dialogs ? dialogs : &dialogs_); }

TForm2* TForm1::FormOf(const SheetWindow& w) const
{
    auto it = subWindows_.find(&w);
    return it == subWindows_.end() ? nullptr : qobject_cast<TForm2*>(it->second->widget());
}

void TForm1::BuildMenus()
{
    for (const MenuItem& top : MainMenu()) {
        if (top.IsSubmenu()) {
            QMenu* menu = menuBar()->addMenu(ToQString(top.Caption));
            menu->setObjectName(ToQString(top.Name.empty() ? top.Caption : top.Name));
            AddMenuItems(menu, top.Items);
            if (top.Caption == "&File") {
                menu->addSeparator();
                QMenu* more = nullptr;
                for (int i = 0; i < kRecentFileItems; ++i) {
                    if (i == 5) {
                        more = menu->addMenu("More");
                        more->setObjectName("Mhist");
                        more->menuAction()->setVisible(false);
                    }
                    QAction* a = (more ? more : menu)->addAction(QString());
                    a->setObjectName(QString("N5%1").arg(i + 1));
                    a->setVisible(false);
                    connect(a, &QAction::triggered, this, [this, i] { shell_.Command("N51Click", i); });
                    recentActions_.push_back(a);
                }
            }
        } else {
            QAction* a = menuBar()->addAction(ToQString(top.Caption));
            std::string handler(top.Handler);
            connect(a, &QAction::triggered, this, [this, handler, tag = top.Tag] { shell_.Command(handler, tag); });
        }
    }
    popup_ = new QMenu(this);
    popup_->setObjectName("PopupMenu1");
    AddMenuItems(popup_, PopupMenu());
}

void TForm1::AddMenuItems(QMenu* menu, std::span<const MenuItem> items)
{
    QActionGroup* radio = nullptr;
    for (const MenuItem& item : items) {
        if (item.IsSeparator()) {
            menu->addSeparator();
            continue;
        }
        if (item.IsSubmenu()) {
            QMenu* sub = menu->addMenu(ToQString(item.Caption));
            sub->menuAction()->setVisible(!(item.Flags & kItemHidden));
            AddMenuItems(sub, item.Items);
            continue;
        }
        QAction* a = menu->addAction(ToQString(item.Caption));
        if (!item.Name.empty())
            a->setObjectName(ToQString(item.Name));
        a->setVisible(!(item.Flags & kItemHidden));
        if (item.Flags & kItemRadio) {
            if (!radio)
                radio = new QActionGroup(menu);
            radio->addAction(a);
            a->setCheckable(true);
            a->setChecked(item.Flags & kItemChecked);
        }
        if (!item.Shortcut.empty() && !(item.Flags & kItemKeyShownOnly))
            a->setShortcut(QKeySequence(ToQString(item.Shortcut)));
        if (item.Flags & kItemNeedsClipboardText)
            connect(menu, &QMenu::aboutToShow, a, [this, a] { a->setEnabled(clipboard_.HasText()); });
        std::string handler(item.Handler);
        connect(a, &QAction::triggered, this, [this, handler, tag = item.Tag] { shell_.Command(handler, tag); });
    }
}

void TForm1::WindowOpened(SheetWindow& w)
{
    auto* form = new TForm2(shell_, w);
    connect(form, &TForm2::ContextMenuWanted, this, [this](QPoint at) { popup_->exec(at); });
    QMdiSubWindow* sub = mdi_->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(ToQString(w.Caption));
    int offset = 16 * int(subWindows_.size());
    subWindows_[&w] = sub;
    QSize room = mdi_->viewport()->size();
    sub->setGeometry(offset, offset, std::max(320, room.width() - offset), std::max(200, room.height() - offset));
    sub->show();
    panel4_->setEnabled(true);
}

void TForm1::WindowClosing(SheetWindow& w)
{
    auto it = subWindows_.find(&w);
    if (it == subWindows_.end())
        return;
    QMdiSubWindow* sub = it->second;
    subWindows_.erase(it);
    if (auto* form = qobject_cast<TForm2*>(sub->widget()))
        form->Detach();
    sub->hide();
    sub->deleteLater();
    if (subWindows_.empty())
        panel4_->setEnabled(false);
}

void TForm1::WindowActivated(SheetWindow& w)
{
    auto it = subWindows_.find(&w);
    if (it == subWindows_.end())
        return;
    if (mdi_->activeSubWindow() != it->second)
        mdi_->setActiveSubWindow(it->second);
    RepaintWindow(w);
}

void TForm1::RepaintWindow(SheetWindow& w)
{
    auto it = subWindows_.find(&w);
    if (it == subWindows_.end())
        return;
    it->second->setWindowTitle(ToQString(w.Caption));
    if (auto* form = qobject_cast<TForm2*>(it->second->widget()))
        form->Sync();
}

void TForm1::OpenMainMenu()
{
    if (!menuBar()->actions().isEmpty())
        menuBar()->setActiveAction(menuBar()->actions().first());
}

void TForm1::ArrangeWindows(std::string_view how)
{
    if (how == "cascade")
        mdi_->cascadeSubWindows();
    else
        mdi_->tileSubWindows();
}

void TForm1::CloseMainWindow() { close(); }

bool TForm1::ChooseMerge(const MergeDialogInput& input, MergeRequest& out)
{
    MergeDialogSetup setup = SetUpMergeDialog(e_, input.Mode == 2 ? MergeMode::Formulas : MergeMode::Values, input.File);
    if (RangeIsDefined(input.Selection))
        setup.Target = FormatAddress(e_, input.Selection.FirstRow, input.Selection.FirstCol);
    TMergeDlg dialog(e_, setup, this);
    setEnabled(false);
    dialog.setEnabled(true);
    bool ok = dialog.exec() == QDialog::Accepted && dialog.Choice();
    setEnabled(true);
    if (ok)
        out = dialog.Choice()->Request;
    return ok;
}

bool TForm1::RoutesKeysOf(QObject* watched) const
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget())
        return false;
    for (QWidget* own : {static_cast<QWidget*>(fontbox_), static_cast<QWidget*>(sizebox_),
                         static_cast<QWidget*>(formatbox_), static_cast<QWidget*>(colorBoxes_[0]),
                         static_cast<QWidget*>(colorBoxes_[1])})
        if (own && (widget == own || own->isAncestorOf(widget)))
            return false;
    return true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QMainWindow::eventFilter(watched, event);
    if (!RoutesKeysOf(watched))
        return false;
    auto* k = static_cast<QKeyEvent*>(event);
    Qt::KeyboardModifiers mods = k->modifiers();
    if (mods & Qt::AltModifier)
        return false;
    // Keys Qt has no name for (a screen width left or right, played by
    // macros) arrive with the program's own key number as their native key.
    int vk = VirtualKeyOf(k->key());
    if (vk == 0 && (k->nativeVirtualKey() == vkBigRight || k->nativeVirtualKey() == vkBigLeft))
        vk = int(k->nativeVirtualKey());
    KeyEvent key{vk, bool(mods & Qt::ShiftModifier), bool(mods & Qt::ControlModifier), false};
    if (event->type() == QEvent::KeyRelease) {
        if (!k->isAutoRepeat() && key.Key)
            shell_.KeyUp(key);
        return true;
    }
    if (key.Key)
        shell_.KeyDown(key);
    QString text = k->text();
    if (!text.isEmpty() && !key.Ctrl) {
        std::string chars;
        if (!FromQString(text, chars)) {
            notify_.Beep();
            return true;
        }
        for (char ch : chars)
            if (static_cast<unsigned char>(ch) >= 32 || ch == '\b')
                shell_.KeyPress(ch);
    }
    return true;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (shell_.CloseAll())
        event->accept();
    else
        event->ignore();
}

}  // namespace zt
