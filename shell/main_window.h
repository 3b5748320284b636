#pragma once
#include <QMainWindow>
#include <map>
#include <vector>

#include "macro/macro_interpreter.h"
#include "platform/keyboard_state.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_key_injector.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_notify.h"
#include "shell/control/menu_table.h"
#include "shell/control/shell.h"
#include "shell/control/shell_macro_host.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QPushButton;
class QToolBar;
class QToolButton;

namespace zt {

class TForm2;

// The main window: the frame of the worksheet windows, the menus, the
// quick buttons, the edit line with its mode indicator and range prompt,
// and the status panels. What the commands do is the shell's.
class TForm1 : public QMainWindow, public ShellView {
    Q_OBJECT
public:
    explicit TForm1(Engine& e, QWidget* parent = nullptr);
    ~TForm1() override;

    Shell& Controller() { return shell_; }
    MacroInterpreter& Macros() { return macro_; }
    QMdiArea* MdiArea() { return mdi_; }
    TForm2* FormOf(const SheetWindow& w) const;
    // File dialogs and questions can be replaced, for tests and scripts.
    void SetFileDialogs(FileDialogs* dialogs);

    // ShellView
    void WindowOpened(SheetWindow& w) override;
    void WindowClosing(SheetWindow& w) override;
    void WindowActivated(SheetWindow& w) override;
    void RepaintWindow(SheetWindow& w) override;
    void RefreshBars() override;
    void OpenMainMenu() override;
    void ArrangeWindows(std::string_view how) override;
    void CloseMainWindow() override;
    bool ChooseMerge(const MergeDialogInput& input, MergeRequest& out) override;
    bool ChooseCopy(CopyDialogFields& fields) override;
    void ShowBusy(bool busy) override;
    bool ChooseFromList(const std::string& title, const std::vector<std::string>& items,
                        std::string& chosen) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void AddMenuItems(QMenu* menu, std::span<const MenuItem> items);
    void BuildQuickBar();
    void BuildEditLine();
    void BuildStatusBar();
    void RefreshRecentFiles();
    void RefreshFormatTools();
    bool RoutesKeysOf(QObject* watched) const;
    void ConnectMacros();
    bool AwaitMacroKey(char& key);
    int AskMacroMenu(const std::vector<std::string>& items, const std::vector<std::string>& hints,
                     const std::string& title);

    QtNotify notify_;
    QtFileDialogs dialogs_;
    QtClipboard clipboard_;
    PlainKeyboardState keys_;
    Shell shell_;
    Engine& e_;
    QtKeyInjector injector_;
    QtClock clock_;
    ShellMacroHost macroHost_;
    MacroInterpreter macro_;

    QMdiArea* mdi_;
    std::map<const SheetWindow*, QMdiSubWindow*> subWindows_;
    QToolBar* panel4_ = nullptr;
    QToolBar* panel2_ = nullptr;
    QToolBar* tbarmenu1_ = nullptr;
    QLabel* pnMode_ = nullptr;
    QProgressBar* gauge1_ = nullptr;
    QLabel* address_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    QWidget* prompt1_ = nullptr;
    QAction* editAction_ = nullptr;    // shows or hides Edit1 in its bar
    QAction* promptAction_ = nullptr;  // shows or hides prompt1 in its bar
    QLabel* promptCaption_ = nullptr;
    QComboBox* promptBox_ = nullptr;
    std::map<int, QPushButton*> keyPanels_;
    QPushButton* panel7_ = nullptr;
    QToolButton* styleButtons_[3] = {};
    QComboBox* fontbox_ = nullptr;
    QComboBox* sizebox_ = nullptr;
    QComboBox* formatbox_ = nullptr;
    QComboBox* colorBoxes_[2] = {};
    std::vector<QWidget*> typingOnly_;
    std::vector<QAction*> recentActions_;
    QMenu* popup_ = nullptr;
    bool refreshing_ = false;
};

}  // namespace zt
