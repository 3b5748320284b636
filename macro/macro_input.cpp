#include "core/cell_entry.h"
#include "macro/macro_interpreter.h"

namespace zt {

// One key press for the macro. A host that cannot give one stops the macro
// rather than leave it waiting for ever.
bool MacroInterpreter::WaitKey()
{
    s_.MacroWaitKey = true;
    char key = 0;
    const bool got = host_.WaitForKey(key);
    s_.MacroWaitKey = false;
    if (!s_.MacroRunning)
        return false;
    if (!got) {
        Fail(kMacroWaitsForInput);
        return false;
    }
    s_.MacroLastKey = key;
    return true;
}

void MacroInterpreter::PauseCommand() { WaitKey(); }

void MacroInterpreter::GetKeyCommand()
{
    MacroAddress a;
    if (!ReadTargetCell(a) || !WaitKey())
        return;
    EnterCell(e_, std::string{e_.Settings().Prefix, s_.MacroLastKey}, a.Range.FirstRow, a.Range.FirstCol);
}

// The prompt is a formula when it reads like one or is quoted; the answer
// goes into the cell as typed, or as a label.
void MacroInterpreter::InputCommand(bool asLabel)
{
    std::string prompt = ReadRawArgument();
    if (!s_.MacroRunning)
        return;
    if (!prompt.empty() && (prompt[0] == '"' || IsValueStart(prompt[0], e_.Settings())))
        prompt = StringValueOf(prompt);
    std::string answer;
    const bool got = host_.InputText(prompt, answer);
    if (!s_.MacroRunning)
        return;
    if (!got) {
        Fail(kMacroWaitsForInput);
        return;
    }
    MacroAddress a;
    if (!ReadTargetCell(a))
        return;
    if (asLabel)
        answer.insert(answer.begin(), e_.Settings().Prefix);
    EnterCell(e_, answer, a.Range.FirstRow, a.Range.FirstCol);
}

}  // namespace zt
