// The bars of the main window: quick buttons, the edit line with its mode
// indicator and range prompt, the status panels and format tools, and how
// they show the shell's state.
#include "shell/main_window.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_text.h"
#include "shell/drawing/cell_drawing.h"
#include "shell/grid.h"
#include "shell/worksheet_window.h"

namespace zt {

namespace {

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
                    swatch.fill(ToQColor(kPalette16[i]));
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

void TForm1::RefreshBars()
{
    if (refreshing_)
        return;
    refreshing_ = true;
    const ModeLook look = LookOf(shell_.Mode());
    pnMode_->setText(QString::fromLatin1(look.Text.data(), qsizetype(look.Text.size())));
    QPalette pal = pnMode_->palette();
    pal.setColor(QPalette::Window, ToQColor(kPalette16[look.Colors >> 4]));
    pal.setColor(QPalette::WindowText, ToQColor(kPalette16[look.Colors & 15]));
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
    // Single-step mode shows the macro cell in the caption.
    QString caption = shell_.StepCaption().empty() ? QString("ZENTABULAR") : ToQString(shell_.StepCaption());
    if (windowTitle() != caption)
        setWindowTitle(caption);

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


}  // namespace zt
