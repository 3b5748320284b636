#include "shell/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QListWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
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
#include "dialogs/copy_dialog.h"
#include "dialogs/merge_dialog.h"
#include "platform/qt/qt_text.h"
#include "shell/grid.h"
#include "shell/worksheet_window.h"

namespace zt {

TForm1::TForm1(Engine& e, QWidget* parent)
    : QMainWindow(parent), notify_(this), dialogs_(this), shell_(e, ShellPlatform{&dialogs_, &clipboard_, &keys_}),
      e_(e), macroHost_(shell_, injector_, clock_), macro_(e, macroHost_), mdi_(new QMdiArea(this))
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
    ConnectMacros();
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

// Macros start from the event loop (a key handler or a dialog must finish
// first); their keys travel as posted key events, and their waits and
// dialogs are the window's.
void TForm1::ConnectMacros()
{
    shell_.RunMacroAt = [this](int row, int col) {
        QTimer::singleShot(25, this, [this, row, col] {
            macro_.State().StepMode = shell_.MacroStepMode;
            shell_.MacroStepMode = false;
            macro_.RunMacroAt(row, col);
        });
    };
    shell_.BreakMacro = [this] { macro_.BreakMacro(); };
    macroHost_.Pump = [this] {
        QElapsedTimer waited;
        waited.start();
        do
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        while (injector_.Pending() && waited.elapsed() < 2000);
    };
    macroHost_.AwaitKey = [this](char& key) { return AwaitMacroKey(key); };
    macroHost_.AskText = [this](const std::string& prompt, std::string& answer) {
        bool ok = false;
        QString text = QInputDialog::getText(this, ToQString(prompt), "Input?", QLineEdit::Normal, QString(), &ok);
        return ok && FromQString(text, answer);
    };
    macroHost_.AskMenu = [this](const std::vector<std::string>& items, const std::vector<std::string>& hints,
                                const std::string& title) { return AskMacroMenu(items, hints, title); };
    macroHost_.Wait = [](unsigned ms) { QThread::msleep(ms); };
}

bool TForm1::AwaitMacroKey(char& key)
{
    shell_.MacroKeyArrived = false;
    shell_.MacroWaitingKey = true;
    while (!shell_.MacroKeyArrived && macro_.Running() && !macro_.State().MacroBreak && isVisible())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    shell_.MacroWaitingKey = false;
    key = shell_.MacroKey;
    return shell_.MacroKeyArrived;
}

// The macro menu: its items in a list, each one's description shown as it
// is chosen; Enter picks, Escape gives the item after the last.
int TForm1::AskMacroMenu(const std::vector<std::string>& items, const std::vector<std::string>& hints,
                         const std::string& title)
{
    QDialog menu(this, Qt::Tool);
    menu.setObjectName("TMmenu");
    menu.setWindowTitle(title.empty() ? QString("Menu") : ToQString(title));
    auto* layout = new QVBoxLayout(&menu);
    auto* list = new QListWidget(&menu);
    list->setObjectName("ttabmenu");
    auto* hint = new QLabel(&menu);
    for (const std::string& item : items)
        list->addItem(ToQString(item));
    connect(list, &QListWidget::currentRowChanged, hint, [hint, &hints](int row) {
        hint->setText(row >= 0 && row < int(hints.size()) ? ToQString(hints[std::size_t(row)]) : QString());
    });
    connect(list, &QListWidget::itemActivated, &menu, &QDialog::accept);
    layout->addWidget(list);
    layout->addWidget(hint);
    list->setCurrentRow(0);
    if (menu.exec() != QDialog::Accepted || list->currentRow() < 0)
        return int(items.size()) + 1;
    return list->currentRow() + 1;
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

void TForm1::ShowBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool TForm1::ChooseCopy(CopyDialogFields& fields)
{
    Tcopydlg dialog(fields, this);
    bool ok = dialog.exec() == QDialog::Accepted;
    if (ok)
        fields = dialog.Fields();
    return ok;
}

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

bool TForm1::ChooseFromList(const std::string& title, const std::vector<std::string>& items, std::string& chosen)
{
    QStringList list;
    for (const std::string& item : items)
        list << ToQString(item);
    bool ok = false;
    QString pick = QInputDialog::getItem(this, ToQString(title), QString(), list, 0, false, &ok);
    return ok && FromQString(pick, chosen);
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
