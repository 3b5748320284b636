#include "app/batch_macros.h"

#include "app/batch.h"
#include "macro/macro_key_events.h"
#include "macro/macro_translation.h"

namespace zt {

BatchMacros::BatchMacros(Engine& e, BatchView& view)
    : e_(e), view_(view), shell_(e, ShellPlatform{&dialogs_, &clipboard_, &keys_}),
      host_(shell_, injector_, clock_), interpreter_(e, host_)
{
    shell_.WindowOnSheet(e.CurSlot);
    host_.Pump = [this] {
        Drain();
        CountStep();
    };
    host_.AwaitKey = [this](char& key) {
        std::string answer;
        if (!NextAnswer(answer) || answer.empty())
            return false;
        key = answer.front();
        return true;
    };
    host_.AskText = [this](const std::string&, std::string& answer) { return NextAnswer(answer); };
    host_.Wait = [this](unsigned ms) {
        clock_.Advance(ms);
        CountStep();
    };
    shell_.RunMacroAt = [this](int row, int col) {
        interpreter_.State().StepMode = shell_.MacroStepMode;
        shell_.MacroStepMode = false;
        RunAt(row, col);
    };
    shell_.BreakMacro = [this] { interpreter_.BreakMacro(); };
}

BatchMacros::~BatchMacros() = default;

void BatchMacros::CountStep()
{
    if (++steps_ == kMacroStepBudget)
        interpreter_.BreakMacro();
}

void BatchMacros::Drain()
{
    injector_.Drain([this](const InjectedKey& key) { DeliverToShell(shell_, key); });
}

bool BatchMacros::NextAnswer(std::string& answer)
{
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
        return true;
    }
    return NextInputAnswer && NextInputAnswer(answer);
}

void BatchMacros::RunAt(int row, int col)
{
    steps_ = 0;
    interpreter_.RunMacroAt(row, col);
}

void BatchMacros::RunText(const std::string& text)
{
    steps_ = 0;
    interpreter_.RunMacroText(text);
}

void BatchMacros::TakeView()
{
    SheetWindow* w = shell_.Active();
    if (!w || w->Slot != e_.CurSlot)
        w = shell_.WindowOnSheet(e_.CurSlot);
    if (!w)
        return;
    GridState& g = w->Pane();
    g.ReleaseAnchor();
    g.GoToCell(view_.Cursor.FirstRow, view_.Cursor.FirstCol);
    if (RangeIsDefined(view_.Selected))
        g.SetSelection(view_.Selected);
}

void BatchMacros::GiveView()
{
    SheetWindow* w = shell_.Active();
    if (!w)
        return;
    const GridState& g = w->Pane();
    view_.Cursor = g.CursorRange();
    if (RangeIsBlock(g.Selection()))
        view_.Selected = g.Selection();
}

void BatchMacros::PlayKeys(const std::string& text)
{
    PlayKeyBatch(injector_, TranslateKeyText(e_, text));
    Drain();
}

}  // namespace zt
