#include "macro/macro_interpreter.h"

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "formula/cell_contents.h"
#include "macro/macro_codes.h"
#include "macro/macro_translation.h"

namespace zt {
namespace {

// Keystrokes go to the host in batches of at most this many.
constexpr std::size_t kKeyBatchLimit = 100;

// Forwards to the engine's own notifier; an error message stops the macro,
// whoever reported it.
class MacroErrorWatch final : public Notify {
public:
    MacroErrorWatch(Notify* outer, bool& running) : outer_(outer), running_(running) {}

    void Beep() override
    {
        if (outer_)
            outer_->Beep();
    }
    void ShowMessage(std::string_view text) override
    {
        if (text.starts_with("Error:"))
            running_ = false;
        if (outer_)
            outer_->ShowMessage(text);
    }
    Answer Ask(std::string_view text, AskButtons buttons) override
    {
        return outer_ ? outer_->Ask(text, buttons) : Notify::Ask(text, buttons);
    }

private:
    Notify* outer_;
    bool& running_;
};

// Sets a flag for the lifetime of a scope, also when it is left by an exception.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

// Puts the error watch in front of the engine's notifier while a macro runs.
class NotifierScope {
public:
    NotifierScope(Engine& e, Notify* watch) : e_(e), outer_(e.Notifier) { e.Notifier = watch; }
    ~NotifierScope() { e_.Notifier = outer_; }
    NotifierScope(const NotifierScope&) = delete;
    NotifierScope& operator=(const NotifierScope&) = delete;

private:
    Engine& e_;
    Notify* outer_;
};

// While a macro runs, moving the cell it reads next carries it along.
class PositionScope {
public:
    PositionScope(Engine& e, MacroState& s) : e_(e)
    {
        e.MacroPositionShift = [&s](const TRange& block, int dRow, int dCol) {
            if (s.MacroRow >= block.FirstRow && s.MacroRow <= block.LastRow && s.MacroCol >= block.FirstCol &&
                s.MacroCol <= block.LastCol) {
                s.MacroRow += dRow;
                s.MacroCol += dCol;
            }
        };
    }
    ~PositionScope() { e_.MacroPositionShift = nullptr; }
    PositionScope(const PositionScope&) = delete;
    PositionScope& operator=(const PositionScope&) = delete;

private:
    Engine& e_;
};

}  // namespace

bool MacroInterpreter::RunMacroAt(int row, int col)
{
    if (!Start())
        return false;
    Run([&] { LoadMacroCell(row, col); });
    return true;
}

bool MacroInterpreter::RunMacroText(const std::string& text)
{
    if (!Start())
        return false;
    Run([&] {
        textLine_ = TranslateMacroText(e_, text, s_.ArgSeparator);
        textLine_ += kMacroFiller;
        s_.MacroLine = textLine_;
        s_.MacroRow = kMacroNoNextCell;
        s_.MacroPos = 1;
    });
    return true;
}

void MacroInterpreter::BreakMacro()
{
    if (!s_.MacroRunning)
        return;
    s_.MacroBreak = true;
    s_.MacroRunning = false;
    if (e_.Notifier)
        e_.Notifier->Beep();
}

void MacroInterpreter::StopMacro()
{
    s_.MacroRunning = false;
    s_.MacroBreak = false;
    s_.CallDepth = 0;
}

bool MacroInterpreter::Start()
{
    if (s_.MacroRunning || looping_) {
        if (e_.Notifier)
            e_.Notifier->Beep();
        return false;
    }
    e_.Err.Clear();
    s_.MacroRunning = true;
    s_.MacroBreak = false;
    s_.MacroSyntaxError = false;
    s_.MacroWaitKey = false;
    s_.KeyBatch.clear();
    // Whatever an earlier macro left on its stacks when it was stopped
    // inside a subroutine or a loop belongs to that macro.
    s_.CallDepth = 0;
    s_.ForCount = 0;
    textLine_.clear();
    return true;
}

void MacroInterpreter::Run(const std::function<void()>& begin)
{
    FlagScope looping(looping_);
    MacroErrorWatch watch(e_.Notifier, s_.MacroRunning);
    {
        NotifierScope notifier(e_, &watch);
        PositionScope position(e_, s_);
        host_.MacroStateChanged(true);
        begin();
        while (s_.MacroRunning) {
            char ch = NextMacroChar();
            if (ch == kMacroCommandMarker) {
                PlayKeyBatch();
                ExecuteCommand();
            } else if (ch != kMacroFiller) {
                if (s_.KeyBatch.size() >= kKeyBatchLimit)
                    PlayKeyBatch();
                s_.KeyBatch += ch;
            }
        }
        PlayKeyBatch();
        if (s_.MacroBreak)
            ReportError(e_, "Break! " + MacroCellAddress());
    }
    StopMacro();
    s_.StepMode = false;
    s_.MacroWaitKey = false;
    host_.MacroStateChanged(false);
}

void MacroInterpreter::LoadMacroCell(int row, int col)
{
    // A break typed meanwhile ends the macro here; the loop reports it.
    host_.ProcessEvents();
    if (!s_.MacroRunning)
        return;
    s_.MacroLine.clear();
    s_.MacroPos = 1;
    s_.MacroRow = row + 1;
    s_.MacroCol = col;
    PCell cell = row >= 0 && ValidCoord(row, col) ? FindCell(e_, row, col) : nullptr;
    if (!cell || BaseKind(cell->Kind) == ckBlank) {
        StopMacro();
        return;
    }
    std::string text = CellContentsText(e_, cell);
    if (s_.StepMode) {
        e_.Notifier->Beep();
        host_.ShowStep(FormatAddress(e_, row, col) + " : " + text);
        if (!WaitKey())
            return;
    }
    if (!text.empty() && IsLabelPrefix(text[0]))
        text.erase(0, 1);
    s_.MacroLine = TranslateMacroText(e_, text, s_.ArgSeparator);
    s_.MacroLine += kMacroFiller;
}

char MacroInterpreter::NextMacroChar()
{
    while (s_.MacroRunning) {
        if (s_.MacroPos > static_cast<int>(s_.MacroLine.size())) {
            LoadMacroCell(s_.MacroRow, s_.MacroCol);
            continue;
        }
        char ch = s_.MacroLine[s_.MacroPos - 1];
        ++s_.MacroPos;
        if (ch != kMacroFiller)
            return ch == '~' ? kMacroKeyEnter : ch;
    }
    return kMacroFiller;
}

void MacroInterpreter::PlayKeyBatch()
{
    if (s_.KeyBatch.empty() || playing_)
        return;
    FlagScope playing(playing_);
    std::string batch;
    batch.swap(s_.KeyBatch);
    host_.PlayKeys(batch);
}

void MacroInterpreter::Fail(std::string_view message)
{
    ReportError(e_, message);
    s_.MacroRunning = false;
}

void MacroInterpreter::SyntaxError()
{
    s_.MacroSyntaxError = true;
    Fail("Syntax Error:" + MacroCellAddress());
}

// The cell that is executing; the line of RunMacroText has no address.
std::string MacroInterpreter::MacroCellAddress() const
{
    int row = ExecutingRow();
    return row < 0 ? std::string() : FormatAddress(e_, row, s_.MacroCol);
}

}  // namespace zt
