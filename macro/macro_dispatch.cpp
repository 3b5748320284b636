#include <algorithm>

#include "macro/command_table.h"
#include "macro/macro_codes.h"
#include "macro/macro_interpreter.h"

namespace zt {
namespace {

// A command character that needs a second one to name the command.
bool IsCommandGroup(char ch)
{
    std::span<const MacroCommand> table = MacroCommands();
    return std::any_of(table.begin(), table.end(), [ch](const MacroCommand& c) {
        std::string_view code = c.Code();
        return code.size() == 3 && code[0] == kMacroCommandMarker && code[1] == ch;
    });
}

// The first name of the table with that code; empty when none has it.
std::string_view CommandName(std::string_view code)
{
    std::span<const MacroCommand> table = MacroCommands();
    auto it = std::find_if(table.begin(), table.end(), [code](const MacroCommand& c) { return c.Code() == code; });
    return it == table.end() ? std::string_view() : it->Name;
}

}  // namespace

void MacroInterpreter::ExecuteCommand()
{
    // The marker has just been read; WHILE comes back to it.
    commandRow_ = ExecutingRow();
    commandPos_ = s_.MacroPos - 1;
    host_.ProcessEvents();
    std::string code(1, kMacroCommandMarker);
    code += NextMacroChar();
    if (s_.MacroRunning && IsCommandGroup(code[1]))
        code += NextMacroChar();
    if (!s_.MacroRunning)
        return;
    if (code.size() == 3) {
        if (code[1] == kMacroFilePrefix)
            FileCommand(code[2]);
        else if (code[1] == '?' && code[2] == '0')
            PauseCommand();
        else if (code[1] == '?' && code[2] == '1')
            GetKeyCommand();
        else if (code[1] == 'c' || code[1] == 'e')
            RangeCommand(code);
        else
            NotAvailable(code);
        return;
    }
    switch (code[1]) {
    case 'C':
    case 'Z': CallCommand(); break;
    case 'G': BranchCommand(); break;
    case 'R': Return(); break;
    case 'H': RestartCommand(); break;
    case 'J': ExitCommand(); break;
    case 'Q': StopMacro(); break;
    case 'I': IfCommand(); break;
    case 'W': WhileCommand(); break;
    case kMacroCmdFor: ForCommand(); break;
    case kMacroCmdNext: NextCommand(); break;
    case '9': OnErrorCommand(); break;
    case 'M': MenuBranchCommand(); break;
    case kMacroCmdDelay: DelayCommand(); break;
    case 'B': BeepCommand(); break;
    case 'U': host_.ProcessEvents(); break;
    case 'L': InputCommand(true); break;
    case 'N': InputCommand(false); break;
    case 'E': LetCommand(); break;
    case '@': GotoCommand(); break;
    case kMacroCmdCursorDown: {
        TRange at = host_.CursorCell();
        host_.GoToCell(at.FirstRow + 1, at.FirstCol, true);
        break;
    }
    case 'x': host_.SetAnchor(ReadIntegerArgument() == 1); break;
    case 'K': RecalcCommand(); break;
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case 'u': RangeCommand(code); break;
    // INRANGE does nothing; its arguments follow as keystrokes.
    case '.': break;
    // CLRSCR, GOTOXY and BREAKOFF have names but no handler.
    case 'S':
    case 'X':
    case ']': SyntaxError(); break;
    default: NotAvailable(code);
    }
}

// Codes of the table that this interpreter does not execute stop the macro
// naming the command; codes outside the table are syntax errors.
void MacroInterpreter::NotAvailable(std::string_view code)
{
    std::string_view name = CommandName(code);
    if (name.empty())
        SyntaxError();
    else
        Fail(std::string(kMacroNotAvailable) + std::string(name));
}

}  // namespace zt
