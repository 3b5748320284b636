#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine.h"
#include "shell/control/edit_line.h"
#include "platform/key_event.h"
#include "shell/control/mode_indicator.h"
#include "shell/control/sheet_window.h"
#include "shell/control/shell_view.h"

namespace zt {

class FileDialogs;
struct FileDialogResult;
class Clipboard;
class KeyboardState;

// The platform services the shell uses besides the engine's notifier.
struct ShellPlatform {
    FileDialogs* Dialogs = nullptr;
    Clipboard* Clip = nullptr;
    KeyboardState* Keys = nullptr;
};

// The range prompt: a caption naming the command, the range text, and what
// to do with the answer.
struct RangePrompt {
    bool Open = false;
    std::string Caption;
    std::string Text;
    bool Typed = false;  // the user typed into the text since the pointer last moved
    std::vector<std::string> Choices;  // range names offered for picking
    std::function<void(const std::string&)> Accept;
    TRange SavedSelection = kUndefinedRange;
};

// The row and column commands of the Insert and Delete menus.
enum class Structure { InsertRows, DeleteRows, InsertColumns, DeleteColumns, InsertRowsAcross, DeleteRowsAcross, PageBreak };

// Program-wide switches of the main window.
struct ShellOptions {
    bool QuickBar = true;     // Q
    bool MacroBar = true;     // M
    bool StatusBar = true;    // S
    bool CtrlShortcuts = true;  // Ctrl+B, Ctrl+C ... in the grid
    int Zoom = 100;
    int HistorySize = 5;
    std::string LastDir;
    // The speed formats: a format text, a comma and the name shown.
    std::vector<std::string> SpeedFormats{"F2,Fixed", "S2,Science", "M2,Comma", "G,General", "P2,Percent",
                                          "E2,Eng", "C2,Currency", "D0,YY:MM:DD", "X,Text"};
};

// What the format tools show for the cell under the pointer.
struct CellLook {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    std::string Typeface;  // the window's font when the cell has none of its own
    std::string Size;      // followed by " *" when it is the window's default
    int Background = -1;   // palette index, -1 default
    int Foreground = -1;
    bool Editable = true;
};

// The behaviour of the main window and its worksheet windows, without any
// widget: modes, the edit line, the range prompt, the keys and the mouse of
// the grid, and every menu command. Widgets and macros drive it alike.
class Shell {
public:
    Shell(Engine& e, ShellPlatform platform);
    ~Shell();

    void SetView(ShellView* view) { view_ = view ? view : &noView_; }
    // The selection and pointer of the active window become what the words
    // RANGE and CURSOR of formulas mean.
    void InstallEngineView();
    void SetFileDialogs(FileDialogs* dialogs) { platform_.Dialogs = dialogs; }
    Engine& Eng() { return e_; }

    // Windows.
    SheetWindow* Active();
    const SheetWindow* Active() const { return active_; }
    const std::vector<std::unique_ptr<SheetWindow>>& Windows() const { return windows_; }
    SheetWindow* NewWindow();  // null when no worksheet slot is free
    // A window on a worksheet that is already open (batch mode's worksheet).
    SheetWindow* WindowOnSheet(int slot);
    bool OpenFile(const std::string& path);  // a second window when already open
    void Activate(SheetWindow& w);
    bool CloseWindow(SheetWindow& w);  // false when the user kept it open
    bool CloseAll();
    SheetWindow* NewView();

    // Keys and characters as the main window receives them.
    void KeyDown(const KeyEvent& key);
    void KeyUp(const KeyEvent& key);
    void KeyPress(char ch);
    // Mouse in a pane of the active window.
    void CellPressed(SheetWindow& w, int pane, int row, int col, bool shift, bool rightButton);
    void CellDragged(SheetWindow& w, int pane, int row, int col);
    // Shift and the right button pressed inside the selection pick it up;
    // letting go over a cell moves it there, the grabbed cell landing on it.
    bool DraggingSelection() const { return grab_.Active; }
    void SelectionDropped(SheetWindow& w, int pane, int row, int col);
    void ColumnHeaderPressed(SheetWindow& w, int pane, int col, bool shift);
    void RowHeaderPressed(SheetWindow& w, int pane, int row, bool shift);
    void ColumnResized(SheetWindow& w, int col, int pixels);
    void RowResized(SheetWindow& w, int row, int pixels);
    void TabClicked(SheetWindow& w, int tab);
    void Scrolled(SheetWindow& w, int pane, int topRow, int leftCol);
    // The edit line clicked: edit the current cell with the caret there.
    void EditLineClicked(int caret);

    // Menu commands and buttons by handler name and tag.
    bool Command(std::string_view handler, int tag = 0);
    bool KnowsCommand(std::string_view handler) const;

    // The range prompt.
    void SpecifyRange(std::string caption, std::function<void(const std::string&)> accept, const TRange& def,
                      bool listNames = false);
    void PromptAccept();
    void PromptCancel();
    const RangePrompt& Prompt() const { return prompt_; }

    // Pieces of the commands, also used by the command table.
    void OpenWithDialog();
    void MergeWithDialog();
    void EraseSelection();
    // Copy and move through the two range prompts.
    void CopyWithPrompts(bool move);
    // The Copy dialog, and the special copies of the hidden Range > Copy
    // menu (tag 0 value, 1 transpose, 2 scale, 3 invert, 4 formula).
    void CopyDialog();
    void SpecialCopyWithPrompts(int tag);
    // Edit cut, copy and paste on the selection.
    void CutOrCopy(bool cut);
    void Paste();
    // An insertion or deletion, on a range asked for or on the selection.
    void ChangeStructure(Structure what, bool prompt);
    void CloseAllAndExit();
    void Arrange(std::string_view how);
    void RepaintAll();
    void Unavailable(std::string_view what);
    void Split(SplitKind kind);
    void SetSynch(bool on);
    void SetZoom(int percent);
    void FlipEndMode();
    void AskMacroCell();
    void GoToAnswer(const std::string& text);
    // A range typed or pointed in the prompt; undefined (and reported) when it is not one.
    TRange RangeFromText(const std::string& text);

    // The format tools, applied to the selection.
    void ToggleStyle(int bit);
    void ApplyAlignment(int alignment);  // 1 left, 2 right, 3 centre
    void ApplyTypeface(const std::string& name);
    void ApplyFontSize(int sizeIndex);  // 1..10, 0 for the window's default
    void ApplyFormatSpec(const std::string& item);  // a speed-format item: "F2,Fixed"
    void ApplyColor(bool background, int paletteIndex);  // -1 for the default
    CellLook CurrentLook();
    // The "Function List": the @ functions, or in macro mode the macro
    // command names; the choice is appended to the entry after "@" or "{".
    static std::vector<std::string> PickerItems(bool macroMode);
    void PickFunction(bool macroMode);
    // A range name picked from the prompt's list.
    void PromptPicked(const std::string& text);

    // What the bars show.
    ShellMode Mode() const { return mode_; }
    const EditLine& Edit() const { return edit_; }
    bool EndMode() const { return endMode_; }
    bool AutoRecalc() const;
    const ShellOptions& Options() const { return options_; }
    ShellOptions& Options() { return options_; }
    const std::vector<std::string>& RecentFiles() const { return recent_; }
    std::string AddressText() const;
    KeyboardState* Keys() { return platform_.Keys; }
    Clipboard* Clip() { return platform_.Clip; }

    // A macro to start at a cell (Ctrl+letter or the message from another
    // instance); macros come with their interpreter.
    std::function<void(int row, int col)> RunMacroAt;
    std::function<void()> BreakMacro;  // Ctrl+Break
    bool MacroRunning = false;
    bool MacroStepMode = false;  // the next macro starts in single-step mode
    // A macro waiting for a key takes the next character typed in a grid.
    bool MacroWaitingKey = false;
    bool MacroKeyArrived = false;
    char MacroKey = 0;
    void SetMacroRunning(bool running);
    // Single-step mode: "Step" in the mode indicator, the cell in the caption.
    void ShowMacroStep(const std::string& caption);
    const std::string& StepCaption() const { return stepCaption_; }
    // The message of another start asking for the macro at a cell: refused
    // (false) for a cell off the worksheet, while a macro runs, or with no
    // worksheet window open.
    bool RunMacroMessage(int col, int row);

private:
    void SetMode(ShellMode m);
    void Refresh();
    void Repaint();
    void Beep();
    void NotAvailable(std::string_view what);
    void AddRecent(const std::string& path);
    void LoadIntoWindow(SheetWindow& w, const std::string& path);
    bool SaveWindow(SheetWindow& w);
    bool SaveWindowAs(SheetWindow& w);
    int WindowsOnSlot(int slot) const;
    void ConnectPane(SheetWindow& w, int pane);
    // Takes a new window in, connects its panes, shows and activates it.
    SheetWindow& AddWindow(std::unique_ptr<SheetWindow> w);

    // Grid keys, the edit line and pointing.
    void GridKeyDown(SheetWindow& w, const KeyEvent& key);
    void EditKeyDown(SheetWindow& w, const KeyEvent& key);
    void GridChar(SheetWindow& w, char ch);
    void StartEntry(SheetWindow& w, char first);
    void StartEdit(SheetWindow& w);
    bool FinishEntry(SheetWindow& w);  // EditExit; false when the entry stays open
    void CancelEntry(SheetWindow& w);
    void StartPointing(SheetWindow& w);
    void StopPointing(SheetWindow& w, bool keepReference);
    void PointerMoved(SheetWindow& w, int pane);
    void UpdateTypedMode();
    void EndMove(SheetWindow& w, int key);
    void CycleAbsMode(SheetWindow& w);
    void ShowCellInEditLine(SheetWindow& w);
    void CtrlShortcut(int key);
    void SplitWindow(SheetWindow& w, SplitKind kind);
    bool PressInPane(SheetWindow& w, int pane);
    void FollowPane(SheetWindow& w, int pane);
    void ResizeLayout(SheetWindow& w, const std::function<void(SheetLayout&)>& change);
    void RepaintSheet(int slot);  // every window on the worksheet
    FileDialogResult AskForWorksheet(const std::string& title, const std::string& filter);
    void SwitchPane(SheetWindow& w);

    Engine& e_;
    ShellPlatform platform_;
    ShellView noView_;
    ShellView* view_ = &noView_;
    std::vector<std::unique_ptr<SheetWindow>> windows_;
    SheetWindow* active_ = nullptr;
    ShellMode mode_ = ShellMode::Ready;
    EditLine edit_;
    RangePrompt prompt_;
    bool endMode_ = false;
    bool refreshing_ = false;
    int untitledCount_ = 0;
    ShellOptions options_;
    std::vector<std::string> recent_;
    std::string stepCaption_;
    struct SelectionGrab {
        bool Active = false;
        int Row = 0;
        int Col = 0;
    } grab_;
};

}  // namespace zt
