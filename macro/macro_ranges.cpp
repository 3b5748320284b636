#include "commands/clipboard_transfer.h"
#include "commands/copy_range.h"
#include "commands/copy_values.h"
#include "commands/erase_range.h"
#include "commands/insert_delete.h"
#include "core/undo.h"
#include "macro/macro_interpreter.h"

namespace zt {

namespace {

// The special copy of each COPY... code.
int SpecialCopyType(char which)
{
    switch (which) {
    case 'f': return kCopyFormula;
    case 'v': return kCopyValue;
    case 't': return kCopyTranspose;
    case 's': return kCopyScale;
    default: return kCopyInvert;
    }
}

}  // namespace

void MacroInterpreter::RangeCommand(std::string_view code)
{
    if (code[1] == 'u') {
        Undo(e_);
        return;
    }
    MacroAddress first;
    if (!ReadTargetCell(first))
        return;
    TRange r = OrderedRange(first.Range);
    int rows = r.LastRow - r.FirstRow + 1;
    int cols = r.LastCol - r.FirstCol + 1;
    if (code.size() == 3 && code[1] == 'e') {
        Clipboard* clip = host_.MacroClipboard();
        if (!clip)
            return;
        if (code[2] == 'p')
            ClipboardPaste(e_, *clip, r.FirstRow, r.FirstCol);
        else
            ClipboardCopy(e_, *clip, r, code[2] == 't');
        return;
    }
    switch (code[1]) {
    case '3': EraseRange(e_, r); return;
    case '4': InsertColumns(e_, r.FirstCol, cols); return;
    case '5': DeleteColumns(e_, r.FirstCol, cols); return;
    case '6': InsertRows(e_, r.FirstRow, rows); return;
    case '7': DeleteRows(e_, r.FirstRow, rows); return;
    }
    MacroAddress second;
    if (!ReadTargetCell(second))
        return;
    if (code[1] == '1' || code[1] == '2') {
        CopyRange(e_, code[1] == '2', first.Range, second.Range);
        return;
    }
    int type = SpecialCopyType(code[2]);
    double factor = 1;
    if (type == kCopyScale) {
        MacroValue v = ReadValueArgument();
        if (!s_.MacroRunning)
            return;
        factor = v.Number;
    }
    CopyValues(e_, type, first.Range, second.Range, factor);
}

}  // namespace zt
