#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "macro/macro_interpreter.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/file_dialogs.h"
#include "platform/key_injector.h"
#include "platform/keyboard_state.h"
#include "shell/control/shell.h"
#include "shell/control/shell_macro_host.h"

namespace zt {

class BatchView;

// Macros in batch mode: a window without widgets on the batch worksheet,
// keys played into it through a queue, and answers for the input commands
// taken from "answer TEXT" lines.
class BatchMacros {
public:
    BatchMacros(Engine& e, BatchView& view);
    ~BatchMacros();

    // The batch cursor and selection go into the window before a macro or
    // keys, and come back after, so that both kinds of commands agree.
    void TakeView();
    void GiveView();

    Shell& Window() { return shell_; }
    MacroInterpreter& Interpreter() { return interpreter_; }
    // Runs a macro with a fresh step budget: nobody can press Ctrl+Break in
    // batch mode, so a macro that loops forever is broken off after
    // kMacroStepBudget steps. Waiting counts against the budget too, a
    // step for each slice of a delay, and passes on a clock of its own.
    void RunAt(int row, int col);
    void RunText(const std::string& text);
    static constexpr long kMacroStepBudget = 2'000'000;
    // Plays keys written in macro notation ("abc~{DOWN 2}") into the window.
    void PlayKeys(const std::string& text);
    // Answers queued for the input commands; when none is queued, the
    // next input line is asked for one ("answer TEXT").
    std::deque<std::string>& Answers() { return answers_; }
    std::function<bool(std::string&)> NextInputAnswer;

private:
    bool NextAnswer(std::string& answer);
    void Drain();
    void CountStep();

    Engine& e_;
    BatchView& view_;
    ScriptedFileDialogs dialogs_;
    MemoryClipboard clipboard_;
    PlainKeyboardState keys_;
    Shell shell_;
    QueuedKeyInjector injector_;
    VirtualClock clock_;  // nobody watches a batch macro wait: its delays take no time
    ShellMacroHost host_;
    MacroInterpreter interpreter_;
    std::deque<std::string> answers_;
    long steps_ = 0;
};

}  // namespace zt
