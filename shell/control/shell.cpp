#include "shell/control/shell.h"

#include <algorithm>
#include <filesystem>

#include "core/address.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "files/file_access.h"
#include "files/worksheet_file.h"
#include "files/worksheet_io.h"
#include "platform/file_dialogs.h"

namespace zt {

namespace {

constexpr int kMaxWindows = 255;

std::string FileNameOnly(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

std::string DirectoryOf(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string();
}

// The selection and cell pointer of the active window, for the words
// RANGE and CURSOR and for the cell functions.
class ShellEngineView : public ViewHooks {
public:
    explicit ShellEngineView(Shell& shell) : shell_(shell) {}
    TRange Selection(const Engine&) const override
    {
        const SheetWindow* w = shell_.Active();
        return w ? w->Pane().Selection() : kUndefinedRange;
    }
    TRange CursorCell(const Engine&) const override
    {
        const SheetWindow* w = shell_.Active();
        if (!w)
            return TRange{0, 0, 0, 0};
        const GridState& g = w->Pane();
        return g.CursorRange();
    }
    std::string WindowCaption(const Engine& e) const override
    {
        const SheetWindow* w = shell_.Active();
        return w ? w->Caption : ViewHooks::WindowCaption(e);
    }

private:
    Shell& shell_;
};

}  // namespace

Shell::Shell(Engine& e, ShellPlatform platform) : e_(e), platform_(platform) {}

void Shell::InstallEngineView() { e_.View = std::make_unique<ShellEngineView>(*this); }

Shell::~Shell() = default;

SheetWindow* Shell::Active() { return active_; }

void Shell::Beep()
{
    if (e_.Notifier)
        e_.Notifier->Beep();
}

void Shell::NotAvailable(std::string_view what)
{
    if (e_.Notifier)
        e_.Notifier->ShowMessage(std::string(what) + ": this command is not available yet");
}

void Shell::SetMode(ShellMode m)
{
    mode_ = m;
    view_->RefreshBars();
}

void Shell::Refresh() { view_->RefreshBars(); }

void Shell::Repaint()
{
    if (active_)
        view_->RepaintWindow(*active_);
}

void Shell::RepaintSheet(int slot)
{
    for (auto& w : windows_)
        if (w->Slot == slot)
            view_->RepaintWindow(*w);
}

int Shell::WindowsOnSlot(int slot) const
{
    return int(std::count_if(windows_.begin(), windows_.end(), [slot](const auto& w) { return w->Slot == slot; }));
}

void Shell::ConnectPane(SheetWindow& w, int pane)
{
    GridState& g = w.Panes[pane];
    g.SetLayout(&e_.Slots[w.Slot]->Layout);
    g.SetZoom(options_.Zoom);
    g.Events.Beep = [this] { Beep(); };
    g.Events.OnChange = [this, &w, pane](int, int) { PointerMoved(w, pane); };
    g.Events.OnChangeTop = [this, &w](int) { view_->RepaintWindow(w); };
}

SheetWindow& Shell::AddWindow(std::unique_ptr<SheetWindow> w)
{
    SheetWindow& ref = *w;
    windows_.push_back(std::move(w));
    ConnectPane(ref, 0);
    ConnectPane(ref, 1);
    view_->WindowOpened(ref);
    Activate(ref);
    return ref;
}

SheetWindow* Shell::NewWindow()
{
    if (windows_.size() >= std::size_t(kMaxWindows)) {
        Beep();
        return nullptr;
    }
    std::string name = "UNTITLED" + std::to_string(++untitledCount_);
    int slot = OpenSheet(e_, name);
    if (!slot) {
        ReportError(e_, "Out of Memory");
        return nullptr;
    }
    auto w = std::make_unique<SheetWindow>();
    w->Slot = slot;
    w->Caption = name;
    w->Untitled = true;
    for (GridState& g : w->Panes)
        g.SetPages((kLastRow + 1) / EffectiveRowsPerTab(e_.Slots[slot]->Settings.RowsPerSheet));
    return &AddWindow(std::move(w));
}

SheetWindow* Shell::WindowOnSheet(int slot)
{
    if (slot < 1 || slot > kMaxSheetSlots || !e_.Slots[slot] || windows_.size() >= std::size_t(kMaxWindows))
        return nullptr;
    if (WindowsOnSlot(slot) > 0)
        OpenSheet(e_, e_.Slots[slot]->Name);
    auto w = std::make_unique<SheetWindow>();
    w->Slot = slot;
    w->Caption = e_.Slots[slot]->Name;
    w->Untitled = e_.Slots[slot]->FilePath.empty();
    return &AddWindow(std::move(w));
}

void Shell::SetMacroRunning(bool running)
{
    MacroRunning = running;
    MacroWaitingKey = false;
    for (auto& w : windows_)
        for (GridState& g : w->Panes)
            g.IgCtrl = running;
    if (!running) {
        stepCaption_.clear();
        if (mode_ == ShellMode::Step)
            SetMode(edit_.Active ? ShellMode::Edit : ShellMode::Ready);
    }
    Refresh();
}

void Shell::ShowMacroStep(const std::string& caption)
{
    stepCaption_ = caption;
    SetMode(ShellMode::Step);
}

void Shell::Activate(SheetWindow& w)
{
    if (active_ && active_ != &w) {
        if (edit_.Active)
            FinishEntry(*active_);
        // The release of a Ctrl held now reaches the other window.
        active_->CtrlHeld = false;
        active_->CtrlMacroName.clear();
    }
    active_ = &w;
    RestoreContext(e_, w.Slot);
    view_->WindowActivated(w);
    ShowCellInEditLine(w);
    Refresh();
}

bool Shell::OpenFile(const std::string& path)
{
    std::string file = ResolveFileName(path);
    std::vector<std::uint8_t> bytes;
    if (!ReadWorksheetBytes(e_, file, bytes))
        return false;
    options_.LastDir = DirectoryOf(file);
    std::string name = WorksheetNameOf(file);
    for (auto& w : windows_) {
        if (e_.Slots[w->Slot] && e_.Slots[w->Slot]->Name == name) {
            Activate(*w);
            return NewView() != nullptr;
        }
    }
    int untitled = untitledCount_;
    SheetWindow* w = NewWindow();
    untitledCount_ = untitled;
    if (!w)
        return false;
    LoadIntoWindow(*w, file);
    AddRecent(file);
    return true;
}

void Shell::LoadIntoWindow(SheetWindow& w, const std::string& path)
{
    RestoreContext(e_, w.Slot);
    bool ok = RetrieveWorksheet(e_, path);
    Worksheet& ws = *e_.Slots[w.Slot];
    if (!ws.FilePath.empty()) {
        w.Caption = FileNameOnly(ws.FilePath);
        w.Untitled = false;
    }
    w.MustAskName = ws.FilePath.empty();
    const WindowModel& m = ws.Window;
    for (int p = 0; p < 2; ++p) {
        GridState& g = w.Panes[p];
        g.SetPages((kLastRow + 1) / EffectiveRowsPerTab(ws.Settings.RowsPerSheet));
        g.SetToprow(m.Panes[p].TopRow);
        g.SetLeftcol(m.Panes[p].LeftCol);
        g.GoToCell(m.Panes[p].CursorRow, m.Panes[p].CursorCol);
    }
    w.Split = m.HSplit ? SplitKind::Horizontal : m.VSplit ? SplitKind::Vertical : SplitKind::None;
    w.Synch = m.Synchronized;
    w.ActivePane = w.Split == SplitKind::None ? 0 : std::min<int>(m.ActivePane, 1);
    ws.Modified = false;
    view_->RepaintWindow(w);
    ShowCellInEditLine(w);
    if (ok && RunMacroAt) {
        int entry = FindRangeName(e_, "AUTOEXEC");
        if (entry > 0) {
            TRange r = RangeOfName(e_, entry);
            Beep();
            RunMacroAt(r.FirstRow, r.FirstCol);
        }
    }
}

// The window's panes go into the worksheet so that the file keeps them.
static void StoreWindowModel(Engine& e, SheetWindow& w)
{
    WindowModel& m = e.Slots[w.Slot]->Window;
    for (int p = 0; p < 2; ++p) {
        const GridState& g = w.Panes[p];
        m.Panes[p].TopRow = std::uint16_t(g.Toprow());
        m.Panes[p].LeftCol = std::uint16_t(g.Leftcol());
        m.Panes[p].CursorRow = std::uint16_t(g.Row());
        m.Panes[p].CursorCol = std::uint16_t(g.Col());
    }
    m.HSplit = w.Split == SplitKind::Horizontal;
    m.VSplit = w.Split == SplitKind::Vertical;
    m.Synchronized = w.Synch;
    m.ActivePane = std::uint8_t(w.ActivePane);
}

bool Shell::SaveWindow(SheetWindow& w)
{
    Worksheet& ws = *e_.Slots[w.Slot];
    if (w.Untitled || w.MustAskName || ws.FilePath.empty())
        return SaveWindowAs(w);
    RestoreContext(e_, w.Slot);
    StoreWindowModel(e_, w);
    bool ok = SaveWorksheet(e_, ws.FilePath);
    RestoreContext(e_, active_ ? active_->Slot : w.Slot);
    Refresh();
    return ok;
}

bool Shell::SaveWindowAs(SheetWindow& w)
{
    if (!platform_.Dialogs)
        return false;
    Worksheet& ws = *e_.Slots[w.Slot];
    FileDialogRequest request;
    request.Title = "ZENTABULAR SAVE AS...";
    request.Filter = "Worksheets(*.WKS)|*.Wk?";
    request.DefaultExt = "WKS";
    request.InitialDir = options_.LastDir;
    request.FileName = ws.FilePath.empty() ? w.Caption : ws.FilePath;
    request.ConfirmOverwrite = true;
    FileDialogResult answer = platform_.Dialogs->SaveFile(request);
    if (!answer.Ok || answer.Path.empty())
        return false;
    std::string path = WithDefaultExtension(answer.Path, request.DefaultExt);
    RestoreContext(e_, w.Slot);
    StoreWindowModel(e_, w);
    bool ok = SaveWorksheet(e_, path);
    RestoreContext(e_, active_ ? active_->Slot : w.Slot);
    if (!ok)
        return false;
    options_.LastDir = DirectoryOf(ws.FilePath);
    // Every view of the worksheet now carries its name.
    for (auto& other : windows_) {
        if (other->Slot != w.Slot)
            continue;
        other->Untitled = false;
        other->MustAskName = false;
        other->Caption = FileNameOnly(ws.FilePath);
        view_->RepaintWindow(*other);
    }
    AddRecent(ws.FilePath);
    Refresh();
    return true;
}

void Shell::AddRecent(const std::string& path)
{
    recent_.erase(std::remove(recent_.begin(), recent_.end(), path), recent_.end());
    recent_.push_back(path);
    int limit = std::clamp(options_.HistorySize, 1, 10);
    while (int(recent_.size()) > limit)
        recent_.erase(recent_.begin());
    Refresh();
}

bool Shell::CloseWindow(SheetWindow& w)
{
    if (prompt_.Open) {
        Beep();
        return false;
    }
    Worksheet& ws = *e_.Slots[w.Slot];
    if (WindowsOnSlot(w.Slot) == 1 && ws.Modified && e_.Notifier) {
        Answer a = e_.Notifier->Ask("Save Worksheet \r" + w.Caption + "?", AskButtons::YesNoCancel);
        if (a == Answer::Cancel)
            return false;
        if (a == Answer::Yes && !SaveWindow(w))
            return false;
    }
    if (active_ == &w && edit_.Active)
        CancelEntry(w);
    view_->WindowClosing(w);
    std::uint16_t heapNo = ws.HeapNo;
    CloseSheet(e_, heapNo);
    auto it = std::find_if(windows_.begin(), windows_.end(), [&w](const auto& p) { return p.get() == &w; });
    bool wasActive = active_ == &w;
    windows_.erase(it);
    if (wasActive) {
        active_ = nullptr;
        if (!windows_.empty()) {
            Activate(*windows_.back());
        } else {
            e_.Cur = nullptr;
            e_.CurSlot = 0;
            edit_.Reset();
            SetMode(ShellMode::Ready);
        }
    } else if (active_) {
        RestoreContext(e_, active_->Slot);
    }
    Refresh();
    return true;
}

bool Shell::CloseAll()
{
    while (!windows_.empty())
        if (!CloseWindow(*windows_.back()))
            return false;
    return true;
}

SheetWindow* Shell::NewView()
{
    if (!active_)
        return nullptr;
    if (windows_.size() >= std::size_t(kMaxWindows)) {
        Beep();
        return nullptr;
    }
    SheetWindow& from = *active_;
    OpenSheet(e_, e_.Slots[from.Slot]->Name);
    auto w = std::make_unique<SheetWindow>();
    w->Slot = from.Slot;
    w->Caption = from.Caption;
    w->Untitled = from.Untitled;
    w->MustAskName = from.MustAskName;
    w->Split = from.Split;
    w->Synch = from.Synch;
    w->ActivePane = from.ActivePane;
    for (int p = 0; p < 2; ++p)
        w->Panes[p].CopySettings(from.Panes[p]);
    return &AddWindow(std::move(w));
}

std::string Shell::AddressText() const
{
    if (!active_)
        return {};
    TRange sel = active_->Pane().Selection();
    if (RangeIsBlock(sel))
        return FormatRange(e_, sel);
    return FormatAddress(e_, active_->Pane().Row(), active_->Pane().Col());
}

bool Shell::AutoRecalc() const { return !(e_.Cur ? e_.Cur->Settings.ManualCalc : e_.Defaults.ManualCalc); }

}  // namespace zt
