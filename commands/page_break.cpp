#include <string_view>

#include "commands/insert_delete.h"
#include "core/cell_entry.h"
#include "core/undo.h"

namespace zt {

namespace {

// The label that marks a page break for printing.
constexpr std::string_view kPageBreakMark = "|::";

}  // namespace

void InsertPageBreak(Engine& e, int row, int col)
{
    if (!e.Cur || !ValidCoord(row, col))
        return;
    // A command, not typing: it can be undone.
    TakeUndoSnapshot(e);
    EnterCell(e, kPageBreakMark, row, col);
}

}  // namespace zt
