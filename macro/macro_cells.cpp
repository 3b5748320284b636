#include "core/cell_entry.h"
#include "formula/recalc.h"
#include "macro/macro_interpreter.h"

namespace zt {

// A number is stored as it is; a string, or a text that did not evaluate,
// is entered as if typed.
void MacroInterpreter::LetCommand()
{
    MacroAddress a;
    if (!ReadTargetCell(a))
        return;
    MacroValue v = ReadValueArgument();
    if (!s_.MacroRunning)
        return;
    if (v.IsString || v.Failed)
        EnterCell(e_, v.Text, a.Range.FirstRow, a.Range.FirstCol);
    else
        StoreValue(e_, a.Range.FirstRow, a.Range.FirstCol, v.Number);
}

void MacroInterpreter::GotoCommand()
{
    MacroAddress a;
    if (ReadTargetCell(a))
        host_.GoToCell(a.Range.FirstRow, a.Range.FirstCol, false);
}

void MacroInterpreter::RecalcCommand()
{
    MacroAddress a;
    if (ReadTargetCell(a))
        RecalcRange(e_, OrderedRange(a.Range));
}

}  // namespace zt
