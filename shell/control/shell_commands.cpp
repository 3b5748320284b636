// The menu commands, tool buttons and status panels of the main window,
// each under the name of its handler; and the range prompt they use.
#include <algorithm>
#include <cctype>
#include <map>

#include "commands/erase_range.h"
#include "commands/quick_graph.h"
#include "commands/speed_fill.h"
#include "commands/speed_sum.h"
#include "core/address.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "core/undo.h"
#include "files/worksheet_io.h"
#include "formula/recalc.h"
#include "formula/opcodes.h"
#include "graph/graph_def.h"
#include "macro/command_table.h"
#include "platform/file_dialogs.h"
#include "platform/keyboard_state.h"
#include "shell/control/menu_table.h"
#include "shell/control/shell.h"

namespace zt {

namespace {

using Handler = void (*)(Shell&, int tag);

}  // namespace

// Commands whose work belongs to tools not built yet say so plainly.
static const std::map<std::string_view, std::string_view>& UnavailableCommands()
{
    static const std::map<std::string_view, std::string_view> table = {
        {"PrintClick", "Print"}, {"spPrtClick", "Print"},
        {"Import1Click", "Import"}, {"Transfer1Click", "Export"},
        {"Comments1Click", "Doc Info"}, {"Status1Click", "Get Info"},
        {"FindReplace1Click", "Find/Replace"}, {"spFindClick", "Find/Replace"},
        {"Color1Click", "General"},
        {"Rowheight1Click", "Colwidth/Rowheight"}, {"Audit1Click", "Audit"},
        {"Table2Click", "External @ Table"}, {"Reset1Click", "External @ Reset"},
        {"Name1Click", "Range Name"}, {"Justify2Click", "Justify"},
        {"Format2Click", "Cell Properties"}, {"Properties1Click", "Properties"},
        {"Fill1Click", "Data"}, {"Add1Click", "Array"},
        {"Graph1Click", "Graph"}, {"View1Click", "Graph View"},
        {"Contents1Click", "Help"}, {"Tips1Click", "Tips"},
        {"spbtokClick", "User Button"},
        {"spdbtn4UpClick", "Sort"}, {"spdbtn4DownClick", "Sort"},
        {"spProperUpClick", "Upper/Proper"}, {"spProperDownClick", "Upper/Proper"},
    };
    return table;
}

static const std::map<std::string_view, Handler>& CommandTable()
{
    static const std::map<std::string_view, Handler> table = {
        {"NewClick", [](Shell& s, int) { s.NewWindow(); }},
        {"Exit1Click", [](Shell& s, int) { s.CloseAllAndExit(); }},
        {"Close1Click", [](Shell& s, int) {
             if (s.Active())
                 s.CloseWindow(*s.Active());
         }},
        {"CloseAll1Click", [](Shell& s, int) { s.CloseAll(); }},
        {"NewView1Click", [](Shell& s, int) { s.NewView(); }},
        {"Tile1Click", [](Shell& s, int) { s.Arrange("tile"); }},
        {"Cascade1Click", [](Shell& s, int) { s.Arrange("cascade"); }},
        {"ArrangeIcons1Click", [](Shell& s, int) { s.Arrange("icons"); }},
        {"Uplink1Click", [](Shell& s, int) {
             UpdateFileLinks(s.Eng());
             s.RepaintAll();
         }},
        {"UndoRedo1Click", [](Shell& s, int) {
             if (!s.Active())
                 return;
             Undo(s.Eng());
             s.RepaintAll();
         }},
        {"Delete1Click", [](Shell& s, int) { s.EraseSelection(); }},
        {"SpERASEClick", [](Shell& s, int) { s.EraseSelection(); }},
        {"Erase1Click", [](Shell& s, int) {
             if (!s.Active())
                 return;
             s.SpecifyRange("ERASE: Specify Range", [&s](const std::string& text) {
                 TRange r = s.RangeFromText(text);
                 if (RangeIsDefined(r))
                     EraseRange(s.Eng(), r);
                 s.RepaintAll();
             }, s.Active()->Pane().Selection());
         }},
        {"Value1Click", [](Shell& s, int tag) { s.SpecialCopyWithPrompts(tag); }},
        {"Copy1Click", [](Shell& s, int) { s.CopyDialog(); }},
        {"Copy2Click", [](Shell& s, int) { s.CopyWithPrompts(false); }},
        {"Move2Click", [](Shell& s, int) { s.CopyWithPrompts(true); }},
        {"Cut1Click", [](Shell& s, int) { s.CutOrCopy(true); }},
        {"Clip1Click", [](Shell& s, int) { s.CutOrCopy(false); }},
        {"spcutClick", [](Shell& s, int tag) { s.CutOrCopy(tag == 1); }},
        {"Paste1Click", [](Shell& s, int) { s.Paste(); }},
        {"InsPageClick", [](Shell& s, int) { s.ChangeStructure(Structure::PageBreak, true); }},
        {"InsRowClick", [](Shell& s, int) { s.ChangeStructure(Structure::InsertRows, true); }},
        {"InsColClick", [](Shell& s, int) { s.ChangeStructure(Structure::InsertColumns, true); }},
        {"Across1Click", [](Shell& s, int) { s.ChangeStructure(Structure::InsertRowsAcross, true); }},
        {"DelRowClick", [](Shell& s, int) { s.ChangeStructure(Structure::DeleteRows, true); }},
        {"DelColClick", [](Shell& s, int) { s.ChangeStructure(Structure::DeleteColumns, true); }},
        {"Across2Click", [](Shell& s, int) { s.ChangeStructure(Structure::DeleteRowsAcross, true); }},
        {"spdbtn2UpClick", [](Shell& s, int) { s.ChangeStructure(Structure::InsertRows, false); }},
        {"spdbtn2DownClick", [](Shell& s, int) { s.ChangeStructure(Structure::DeleteRows, false); }},
        {"spdbtn3UpClick", [](Shell& s, int) { s.ChangeStructure(Structure::InsertColumns, false); }},
        {"spdbtn3DownClick", [](Shell& s, int) { s.ChangeStructure(Structure::DeleteColumns, false); }},
        {"SpwordClick", [](Shell& s, int) {
             if (s.Active() && s.Eng().Settings().Protect)
                 s.Eng().Notifier->Beep();
             else
                 s.Unavailable("Word");
         }},
        {"Statusbar1Click", [](Shell& s, int tag) {
             ShellOptions& o = s.Options();
             bool& flag = tag == 1 ? o.QuickBar : tag == 2 ? o.MacroBar : o.StatusBar;
             flag = !flag;
         }},
        {"Horizontal1Click", [](Shell& s, int) { s.Split(SplitKind::Horizontal); }},
        {"Vertical1Click", [](Shell& s, int) { s.Split(SplitKind::Vertical); }},
        {"Clear3Click", [](Shell& s, int) { s.Split(SplitKind::None); }},
        {"Synch2Click", [](Shell& s, int) { s.SetSynch(true); }},
        {"Unsynch1Click", [](Shell& s, int) { s.SetSynch(false); }},
        {"Horizontal4Click", [](Shell& s, int tag) {
             if (SheetWindow* w = s.Active())
                 w->Pane().SetTitles(std::clamp(tag, 0, 3));
             s.RepaintAll();
         }},
        {"N251Click", [](Shell& s, int tag) {
             if (int percent = ZoomPercent(tag))
                 s.SetZoom(percent);
         }},
        {"Macro1Click", [](Shell& s, int) {
             if (s.MacroRunning)
                 return;
             s.MacroStepMode = true;
             s.AskMacroCell();
         }},
        {"SpMacroDoClick", [](Shell& s, int) { s.AskMacroCell(); }},
        {"spATClick", [](Shell& s, int tag) { s.PickFunction(tag == 1); }},
        {"sPsTEPClick", [](Shell& s, int) {
             // Steps a macro waiting in single-step mode, or starts one.
             if (!s.MacroRunning) {
                 s.Command("Macro1Click");
             } else if (s.MacroWaitingKey) {
                 s.MacroWaitingKey = false;
                 s.MacroKeyArrived = true;
                 s.MacroKey = 0;
             }
         }},
        {"Clear1Click", [](Shell& s, int) {
             Engine& e = s.Eng();
             if (!s.Active() || !e.Notifier)
                 return;
             if (e.Notifier->Ask("Clear All Graph Settings", AskButtons::YesNo) == Answer::Yes) {
                 ResetGraph(e.Cur->Graphs.Current);
                 e.Cur->Modified = true;
             }
         }},
        {"About1Click", [](Shell& s, int) {
             if (s.Eng().Notifier)
                 s.Eng().Notifier->ShowMessage("ZENTABULAR\rA spreadsheet of 256 columns by 8192 rows.");
         }},
        {"SpFillClick", [](Shell& s, int) {
             if (SheetWindow* w = s.Active()) {
                 SpeedFill(s.Eng(), w->Pane().Selection());
                 s.RepaintAll();
             }
         }},
        {"SpSumClick", [](Shell& s, int) {
             if (SheetWindow* w = s.Active()) {
                 SpeedSum(s.Eng(), w->Pane().Selection(), w->Pane().Row(), w->Pane().Col());
                 s.RepaintAll();
             }
         }},
        {"SpQgrClick", [](Shell& s, int) {
             if (SheetWindow* w = s.Active())
                 if (QuickGraph(s.Eng(), w->Pane().Selection()) > 0)
                     s.Unavailable("Graph View");
         }},
        {"SpLeftClick", [](Shell& s, int tag) { s.ApplyAlignment(tag); }},
        {"BoldClick", [](Shell& s, int tag) { s.ToggleStyle(tag); }},
        {"SpLockClick", [](Shell& s, int) {
             if (!s.Active())
                 return;
             s.Eng().Settings().Protect = !s.Eng().Settings().Protect;
             s.RepaintAll();
         }},
        {"PNINSClick", [](Shell& s, int tag) {
             if (tag == 23)
                 s.FlipEndMode();
             else if (s.Keys())
                 s.Keys()->Flip(tag);
         }},
        {"Panel7Click", [](Shell& s, int) {
             if (!s.Active())
                 return;
             bool& manual = s.Eng().Settings().ManualCalc;
             manual = !manual;
         }},
    };
    return table;
}

bool Shell::KnowsCommand(std::string_view handler) const
{
    // The boxes of the format tools carry a value; they reach the shell
    // through ApplyTypeface, ApplyFontSize, ApplyFormatSpec and ApplyColor.
    static constexpr std::string_view kValueTools[] = {"fontboxChange", "SizeboxChange", "FormatboxChange",
                                                        "clrcombo1Change"};
    if (std::find(std::begin(kValueTools), std::end(kValueTools), handler) != std::end(kValueTools))
        return true;
    return CommandTable().count(handler) || UnavailableCommands().count(handler) || handler == "Retr1Click" ||
           handler == "Save2Click" || handler == "SaveAs1Click" || handler == "Merge1Click" || handler == "N51Click";
}

bool Shell::Command(std::string_view handler, int tag)
{
    // A command finishes the entry being typed first, except the picker,
    // which adds to it.
    if (handler != "spATClick" && edit_.Active && active_ && !FinishEntry(*active_))
        return false;
    if (active_)
        RestoreContext(e_, active_->Slot);
    if (handler == "Retr1Click") {
        OpenWithDialog();
    } else if (handler == "Save2Click" || handler == "SaveAs1Click") {
        if (!active_)
            Beep();
        else if (handler == "Save2Click")
            SaveWindow(*active_);
        else
            SaveWindowAs(*active_);
    } else if (handler == "N51Click") {
        if (tag >= 0 && tag < int(recent_.size()))
            OpenFile(recent_[std::size_t(tag)]);
    } else if (handler == "Merge1Click") {
        MergeWithDialog();
    } else if (auto it = CommandTable().find(handler); it != CommandTable().end()) {
        it->second(*this, tag);
    } else if (auto na = UnavailableCommands().find(handler); na != UnavailableCommands().end()) {
        NotAvailable(na->second);
    } else {
        return false;
    }
    Refresh();
    return true;
}

// The file dialog of opening and merging: an existing worksheet file from
// the last worksheet folder.
FileDialogResult Shell::AskForWorksheet(const std::string& title, const std::string& filter)
{
    if (!platform_.Dialogs)
        return {};
    FileDialogRequest request;
    request.Title = title;
    request.Filter = filter;
    request.DefaultExt = "wks";
    request.InitialDir = options_.LastDir;
    request.MustExist = true;
    FileDialogResult answer = platform_.Dialogs->OpenFile(request);
    answer.Ok = answer.Ok && !answer.Path.empty();
    return answer;
}

void Shell::OpenWithDialog()
{
    FileDialogResult answer =
        AskForWorksheet("Open", "Worksheets (*.wks,*.wk1)|*.wks;*.wk1|Backups (*.wkb)|*.wkb|All Files|*.*");
    if (answer.Ok)
        OpenFile(answer.Path);
}

void Shell::MergeWithDialog()
{
    if (!active_)
        return;
    FileDialogResult answer =
        AskForWorksheet("Merge", "Worksheet (Merge Values)|*.wks;*.wkb|Worksheet (Merge Formulas)|*.wks;*.wkb");
    if (!answer.Ok)
        return;
    MergeDialogInput input{answer.Path, answer.FilterIndex == 2 ? 2 : 1, active_->Pane().Selection()};
    MergeRequest merge;
    if (!view_->ChooseMerge(input, merge))
        return;
    RestoreContext(e_, active_->Slot);
    MergeWorksheet(e_, answer.Path, merge);
    RepaintAll();
}

void Shell::EraseSelection()
{
    if (!active_)
        return;
    EraseRange(e_, active_->Pane().Selection());
    RepaintAll();
}

void Shell::CloseAllAndExit()
{
    if (CloseAll())
        view_->CloseMainWindow();
}

void Shell::Arrange(std::string_view how) { view_->ArrangeWindows(how); }

void Shell::RepaintAll()
{
    for (auto& w : windows_)
        view_->RepaintWindow(*w);
    Refresh();
}

void Shell::Unavailable(std::string_view what) { NotAvailable(what); }

void Shell::Split(SplitKind kind)
{
    if (active_)
        SplitWindow(*active_, kind);
}

void Shell::SetSynch(bool on)
{
    SheetWindow* w = active_;
    if (!w)
        return;
    w->Synch = on && w->Split != SplitKind::None;
    if (w->Synch)
        PointerMoved(*w, w->ActivePane);
}

void Shell::SetZoom(int percent)
{
    options_.Zoom = std::clamp(percent, 20, 200);
    for (auto& w : windows_)
        for (GridState& g : w->Panes)
            g.SetZoom(options_.Zoom);
    RepaintAll();
}

void Shell::FlipEndMode()
{
    endMode_ = !endMode_;
    Refresh();
}

void Shell::AskMacroCell()
{
    if (!active_ || MacroRunning)
        return;
    GridState& g = active_->Pane();
    SpecifyRange("MACRO: Specify Cell", [this](const std::string& text) {
        TRange r = RangeFromText(text);
        if (!RangeIsDefined(r))
            return;
        if (RunMacroAt)
            RunMacroAt(r.FirstRow, r.FirstCol);
        else
            NotAvailable("Macros");
    }, g.CursorRange(), true);
}

std::vector<std::string> Shell::PickerItems(bool macroMode)
{
    std::vector<std::string> items;
    if (macroMode) {
        for (const MacroCommand& c : MacroPickerCommands())
            items.emplace_back(c.Name);
        return items;
    }
    for (int op = 0; op <= kHighestFunction; ++op) {
        std::uint8_t cls = OpClass(std::uint8_t(op));
        std::string_view name = OpName(std::uint8_t(op));
        if (!name.empty() && std::isalpha(static_cast<unsigned char>(name[0])) && cls >= acArgs0 && cls <= acList)
            items.emplace_back(name);
    }
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    return items;
}

void Shell::PickFunction(bool macroMode)
{
    if (!edit_.Active || edit_.Pointing) {
        Beep();
        return;
    }
    std::string chosen;
    if (!view_->ChooseFromList("Function List", PickerItems(macroMode), chosen) || chosen.empty())
        return;
    char lead = macroMode ? '{' : '@';
    if (edit_.Text.empty() || edit_.Text.back() != lead)
        edit_.Insert(lead);
    edit_.Caret = int(edit_.Text.size());
    for (char ch : chosen)
        edit_.Insert(ch);
    Refresh();
}

bool Shell::RunMacroMessage(int col, int row)
{
    if (!ValidCoord(row, col) || MacroRunning || !active_)
        return false;
    Beep();
    if (RunMacroAt)
        RunMacroAt(row, col);
    else
        NotAvailable("Macros");
    return true;
}

TRange Shell::RangeFromText(const std::string& text)
{
    e_.Err.Clear();
    TRange r = ParseRange(e_, text);
    if (e_.Err.ErrorFlag || !RangeIsDefined(r)) {
        std::string failure = RangeFailure(e_, text);
        e_.Err.Clear();
        ReportError(e_, failure);
        return kUndefinedRange;
    }
    return r;
}

void Shell::GoToAnswer(const std::string& text)
{
    TRange r = RangeFromText(text);
    if (!active_ || !RangeIsDefined(r))
        return;
    GridState& g = active_->Pane();
    g.ReleaseAnchor();
    g.GoToCell(r.FirstRow, r.FirstCol);
}

void Shell::SpecifyRange(std::string caption, std::function<void(const std::string&)> accept, const TRange& def,
                         bool listNames)
{
    if (!active_) {
        Beep();
        return;
    }
    GridState& g = active_->Pane();
    prompt_ = RangePrompt{};
    prompt_.Open = true;
    prompt_.Caption = std::move(caption);
    prompt_.Accept = std::move(accept);
    prompt_.SavedSelection = g.Selection();
    TRange r = RangeIsDefined(def) ? def : g.CursorRange();
    prompt_.Text = RangeIsBlock(r) ? FormatRange(e_, r) : FormatAddress(e_, r.FirstRow, r.FirstCol);
    if (listNames) {
        for (int i = 1; i <= e_.Cur->Names.Count; ++i)
            prompt_.Choices.push_back(RangeNameAt(e_, i));
    }
    SetMode(ShellMode::Range);
}

void Shell::PromptAccept()
{
    if (!prompt_.Open)
        return;
    auto accept = std::move(prompt_.Accept);
    std::string text = prompt_.Text;
    prompt_ = RangePrompt{};
    SetMode(ShellMode::Ready);
    if (accept)
        accept(text);
    if (active_)
        ShowCellInEditLine(*active_);
    RepaintAll();
}

void Shell::PromptCancel()
{
    if (!prompt_.Open)
        return;
    if (active_) {
        GridState& g = active_->Pane();
        if (RangeIsBlock(g.Selection())) {
            g.CollapseSelection();
            PointerMoved(*active_, active_->ActivePane);
            return;
        }
    }
    TRange saved = prompt_.SavedSelection;
    prompt_ = RangePrompt{};
    SetMode(ShellMode::Ready);
    if (active_) {
        active_->Pane().SetSelection(saved);
        ShowCellInEditLine(*active_);
    }
    RepaintAll();
}

}  // namespace zt
