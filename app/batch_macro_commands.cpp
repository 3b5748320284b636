#include "app/batch_macro_commands.h"

#include <string>

#include "app/batch.h"
#include "app/batch_args.h"
#include "app/batch_macros.h"

namespace zt {

// macro ADDR: runs the macro that starts at the cell until it ends.
void CmdMacro(BatchSession& s, std::string_view rest)
{
    int row, col;
    if (!ArgCell(s, Trim(rest), row, col))
        return;
    BatchMacros& m = s.Macros();
    m.TakeView();
    m.RunAt(row, col);
    m.GiveView();
}

// macrotext TEXT: runs one line of macro text, as a macro button does.
void CmdMacroText(BatchSession& s, std::string_view rest)
{
    BatchMacros& m = s.Macros();
    m.TakeView();
    m.RunText(std::string(rest));
    m.GiveView();
}

// keys TEXT: types keys written as in macros ("12~{DOWN}") into the window.
void CmdKeys(BatchSession& s, std::string_view rest)
{
    BatchMacros& m = s.Macros();
    m.TakeView();
    m.PlayKeys(std::string(rest));
    m.GiveView();
}

// answer TEXT: an answer for a later input command of a macro.
void CmdAnswer(BatchSession& s, std::string_view rest) { s.Macros().Answers().emplace_back(rest); }

}  // namespace zt
