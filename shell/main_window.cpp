#include "shell/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "core/address.h"
#include "dialogs/merge_dialog.h"
#include "platform/qt/qt_text.h"
#include "shell/drawing/cell_drawing.h"
#include "shell/grid.h"
#include "shell/worksheet_window.h"

namespace zt {

namespace {

QColor PaletteColor(int index)
{
    ColorRef c = kPalette16[index & 15];
    return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF));
}

const char* const kPaletteNames[16] = {"Black", "Navy", "Green", "Teal", "Maroon", "Purple", "Olive", "Silver",
                                       "Grey", "Blue", "Lime", "Aqua", "Red", "Fuchsia", "Yellow", "White"};

// Short labels of the quick buttons, which carry no pictures.
QString ButtonLabel(const BarControl& c)
{
    static const std::map<std::string_view, const char*> labels = {
        {"spsave", "Save"}, {"spcut", "Cut"}, {"spcopyo", "Paste"}, {"sppaste", "Copy"}, {"SpERASE", "Erase"},
        {"SpFill", "Fill"}, {"SpSum", "@Sum"}, {"spPrt", "Print"}, {"spdbtn2", "Row"}, {"spdbtn3", "Col"},
        {"spdbtn4", "Sort"}, {"spAT", "@"}, {"SpMc", "{"}, {"SpLeft", "Left"}, {"SpCenter", "Center"},
        {"SpRight", "Right"}, {"Spword", "Word"}, {"spbtok", "User"}, {"sPsTEP", "Step"}, {"spFind", "Find"},
        {"SpLock", "Lock"}, {"SpMacroDo", "Macro"}, {"SpQgr", "Graph"}, {"spProper", "Aa"}, {"spopen", "Open"},
    };
    auto it = labels.find(c.Name);
    return it != labels.end() ? QString(it->second) : ToQString(c.Caption.empty() ? c.Name : c.Caption);
}

}  // namespace

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

void TForm1::BuildQuickBar()
{
    panel4_ = new QToolBar("Panel4", this);
    panel4_->setObjectName("Panel4");
    addToolBar(Qt::TopToolBarArea, panel4_);
    bool first = true;
    for (const ControlGroup& group : QuickButtonGroups()) {
        if (!first)
            panel4_->addSeparator();
        first = false;
        for (const BarControl& c : group.Controls) {
            auto add = [&](const QString& label, std::string_view handler, const QString& name) {
                auto* b = new QToolButton(panel4_);
                b->setObjectName(name);
                b->setText(label);
                b->setToolTip(ToQString(c.Hint));
                b->setAutoRaise(true);
                std::string h(handler);
                connect(b, &QToolButton::clicked, this, [this, h, tag = c.Tag] { shell_.Command(h, tag); });
                QAction* a = panel4_->addWidget(b);
                a->setVisible(!(c.Flags & kControlHidden));
                if (c.Flags & kControlWhileTyping)
                    typingOnly_.push_back(b);
            };
            QString name = ToQString(c.Name);
            if (c.IsTwoWay()) {
                add(ButtonLabel(c) + QString::fromUtf8("\xE2\x96\xB2"), c.Handler, name + "Up");
                add(ButtonLabel(c) + QString::fromUtf8("\xE2\x96\xBC"), c.DownHandler, name + "Down");
            } else {
                add(ButtonLabel(c), c.Handler, name);
            }
        }
    }
}

void TForm1::BuildEditLine()
{
    addToolBarBreak();
    panel2_ = new QToolBar("Panel2", this);
    panel2_->setObjectName("Panel2");
    panel2_->setMovable(false);
    addToolBar(Qt::TopToolBarArea, panel2_);
    pnMode_ = new QLabel("READY", panel2_);
    pnMode_->setObjectName("PnMode");
    pnMode_->setAlignment(Qt::AlignCenter);
    pnMode_->setMinimumWidth(64);
    pnMode_->setAutoFillBackground(true);
    panel2_->addWidget(pnMode_);
    gauge1_ = new QProgressBar(panel2_);
    gauge1_->setObjectName("Gauge1");
    gauge1_->setMaximumWidth(120);
    panel2_->addWidget(gauge1_)->setVisible(false);
    address_ = new QLabel(panel2_);
    address_->setObjectName("Address");
    address_->setMinimumWidth(90);
    address_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel2_->addWidget(address_);
    edit1_ = new QLineEdit(panel2_);
    edit1_->setObjectName("Edit1");
    edit1_->setContextMenuPolicy(Qt::NoContextMenu);
    edit1_->setDragEnabled(false);
    connect(edit1_, &QLineEdit::cursorPositionChanged, this, [this](int, int now) {
        if (!refreshing_)
            shell_.EditLineClicked(now);
    });
    editAction_ = panel2_->addWidget(edit1_);
    prompt1_ = new QWidget(panel2_);
    prompt1_->setObjectName("prompt1");
    auto* layout = new QHBoxLayout(prompt1_);
    layout->setContentsMargins(4, 0, 0, 0);
    promptCaption_ = new QLabel(prompt1_);
    promptBox_ = new QComboBox(prompt1_);
    promptBox_->setEditable(true);
    promptBox_->setMinimumWidth(200);
    layout->addWidget(promptCaption_);
    layout->addWidget(promptBox_, 1);
    connect(promptBox_, &QComboBox::activated, this, [this](int index) {
        std::string text;
        if (!refreshing_ && FromQString(promptBox_->itemText(index), text))
            shell_.PromptPicked(text);
    });
    promptAction_ = panel2_->addWidget(prompt1_);
    promptAction_->setVisible(false);
}

void TForm1::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("Panel1");
    for (const ControlGroup& group : StatusBarGroups()) {
        for (const BarControl& c : group.Controls) {
            std::string handler(c.Handler);
            QString name = ToQString(c.Name);
            if (group.Name == "Panel6") {
                auto* b = new QPushButton(ToQString(c.Caption), bar);
                b->setObjectName(name);
                b->setFlat(true);
                b->setAutoFillBackground(true);
                b->setFixedWidth(56);
                connect(b, &QPushButton::clicked, this, [this, handler, tag = c.Tag] { shell_.Command(handler, tag); });
                bar->addPermanentWidget(b);
                if (c.Name == "Panel7")
                    panel7_ = b;
                else
                    keyPanels_[c.Tag] = b;
                continue;
            }
            if (c.Name == "Bold" || c.Name == "Italic" || c.Name == "Under") {
                int i = c.Name == "Bold" ? 0 : c.Name == "Italic" ? 1 : 2;
                auto* b = new QToolButton(bar);
                b->setObjectName(name);
                b->setText(i == 0 ? "B" : i == 1 ? "I" : "U");
                QFont f = b->font();
                f.setBold(i == 0);
                f.setItalic(i == 1);
                f.setUnderline(i == 2);
                b->setFont(f);
                b->setCheckable(true);
                connect(b, &QToolButton::clicked, this, [this, tag = c.Tag] { shell_.Command("BoldClick", tag); });
                styleButtons_[i] = b;
                bar->addWidget(b);
                continue;
            }
            auto* box = new QComboBox(bar);
            box->setObjectName(name);
            box->setToolTip(ToQString(c.Hint));
            bar->addWidget(box);
            if (c.Name == "fontbox") {
                QStringList families = QFontDatabase::families();
                families.sort(Qt::CaseInsensitive);
                box->addItems(families);
                connect(box, &QComboBox::activated, this, [this, box](int) {
                    std::string face;
                    if (!refreshing_ && FromQString(box->currentText(), face))
                        shell_.ApplyTypeface(face);
                });
                fontbox_ = box;
            } else if (c.Name == "Sizebox") {
                box->setEditable(true);
                for (int size : kFontSizes)
                    box->addItem(QString::number(size));
                box->setCurrentIndex(4);
                connect(box, &QComboBox::activated, this, [this](int index) {
                    if (!refreshing_)
                        shell_.ApplyFontSize(index + 1);
                });
                sizebox_ = box;
            } else if (c.Name == "Formatbox") {
                for (const std::string& f : shell_.Options().SpeedFormats)
                    box->addItem(ToQString(f.substr(f.find(',') + 1)));
                box->setCurrentIndex(0);
                connect(box, &QComboBox::activated, this, [this](int index) {
                    const auto& formats = shell_.Options().SpeedFormats;
                    if (!refreshing_ && index >= 0 && index < int(formats.size()))
                        shell_.ApplyFormatSpec(formats[std::size_t(index)]);
                });
                formatbox_ = box;
            } else {
                bool background = c.Tag == 1;
                box->addItem("Default");
                for (int i = 0; i < 16; ++i) {
                    QPixmap swatch(12, 12);
                    swatch.fill(PaletteColor(i));
                    box->addItem(QIcon(swatch), kPaletteNames[i]);
                }
                connect(box, &QComboBox::activated, this, [this, background](int index) {
                    if (!refreshing_)
                        shell_.ApplyColor(background, index - 1);
                });
                colorBoxes_[background ? 0 : 1] = box;
            }
        }
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

void TForm1::RefreshBars()
{
    if (refreshing_)
        return;
    refreshing_ = true;
    const ModeLook look = LookOf(shell_.Mode());
    pnMode_->setText(QString::fromLatin1(look.Text.data(), qsizetype(look.Text.size())));
    QPalette pal = pnMode_->palette();
    pal.setColor(QPalette::Window, PaletteColor(look.Colors >> 4));
    pal.setColor(QPalette::WindowText, PaletteColor(look.Colors & 15));
    pnMode_->setPalette(pal);

    const EditLine& edit = shell_.Edit();
    edit1_->setText(ToQString(edit.Text));
    edit1_->setCursorPosition(edit.Caret);
    QPalette editPal = edit1_->palette();
    editPal.setColor(QPalette::Text, edit.Rejected ? Qt::red : Qt::black);
    edit1_->setPalette(editPal);
    address_->setText(ToQString(shell_.AddressText()));

    const RangePrompt& prompt = shell_.Prompt();
    promptAction_->setVisible(prompt.Open);
    editAction_->setVisible(!prompt.Open);
    if (prompt.Open) {
        promptCaption_->setText(ToQString(prompt.Caption));
        promptBox_->clear();
        for (const std::string& choice : prompt.Choices)
            promptBox_->addItem(ToQString(choice));
        promptBox_->setEditText(ToQString(prompt.Text));
    }

    for (auto& [tag, button] : keyPanels_) {
        bool on = tag == 23 ? shell_.EndMode() : keys_.IsToggled(tag);
        QPalette p = button->palette();
        if (tag == 23) {
            p.setColor(QPalette::Button, on ? Qt::black : QColor(0xC0, 0xC0, 0xC0));
            p.setColor(QPalette::ButtonText, on ? QColor(0xC0, 0xC0, 0xC0) : Qt::black);
        } else {
            p.setColor(QPalette::ButtonText, on ? Qt::black : QColor(0x80, 0x80, 0x80));
        }
        button->setPalette(p);
    }
    if (panel7_)
        panel7_->setText(shell_.AutoRecalc() ? "Auto" : "Manual");
    for (QWidget* w : typingOnly_)
        w->setEnabled(edit.Active);

    const ShellOptions& o = shell_.Options();
    panel4_->setVisible(o.QuickBar);
    tbarmenu1_->setVisible(o.MacroBar);
    statusBar()->setVisible(o.StatusBar);
    panel4_->setEnabled(!shell_.Windows().empty());
    RefreshRecentFiles();
    RefreshFormatTools();
    if (windowTitle().isEmpty())
        setWindowTitle("ZENTABULAR");

    SheetWindow* active = shell_.Active();
    if (edit.Active && !edit.Pointing)
        edit1_->setFocus();
    else if (active)
        if (TForm2* form = FormOf(*active))
            form->Grid(active->ActivePane)->setFocus();
    refreshing_ = false;
}

void TForm1::RefreshRecentFiles()
{
    const auto& recent = shell_.RecentFiles();
    QMenu* more = findChild<QMenu*>("Mhist");
    for (int i = 0; i < int(recentActions_.size()); ++i) {
        QAction* a = recentActions_[std::size_t(i)];
        bool used = i < int(recent.size());
        a->setVisible(used);
        if (used)
            a->setText(QString("&%1 %2").arg(i + 1).arg(ToQString(recent[std::size_t(i)])));
    }
    if (more)
        more->menuAction()->setVisible(recent.size() > 5);
}

void TForm1::RefreshFormatTools()
{
    CellLook look = shell_.CurrentLook();
    styleButtons_[0]->setChecked(look.Bold);
    styleButtons_[1]->setChecked(look.Italic);
    styleButtons_[2]->setChecked(look.Underline);
    QString face = ToQString(look.Typeface);
    if (fontbox_->findText(face) < 0)
        fontbox_->addItem(face);
    fontbox_->setCurrentText(face);
    sizebox_->setEditText(ToQString(look.Size));
    colorBoxes_[0]->setCurrentIndex(look.Background + 1);
    colorBoxes_[1]->setCurrentIndex(look.Foreground + 1);
    edit1_->setReadOnly(!look.Editable);
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
    KeyEvent key{VirtualKeyOf(k->key()), bool(mods & Qt::ShiftModifier), bool(mods & Qt::ControlModifier), false};
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
