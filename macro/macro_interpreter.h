#pragma once
#include <array>
#include <cstdint>
#include <fstream>
#include <memory>
#include <functional>
#include <string>
#include <string_view>

#include "core/engine.h"
#include "macro/macro_host.h"

namespace zt {

inline constexpr int kMacroCallLimit = 20;
inline constexpr int kMacroForLimit = 5;
inline constexpr int kMacroFileSlots = 6;
// MacroRow while the line of RunMacroText executes: no cell follows.
inline constexpr int kMacroNoNextCell = -2;

struct MacroReturnPoint {
    std::int16_t Row = 0;
    std::int16_t Col = 0;
    std::int16_t Pos = 1;
};

struct MacroForLoop {
    std::int32_t Row = 0;
    std::int32_t Col = 0;
    std::int32_t End = 0;
    std::int32_t Step = 1;
};

// Everything the interpreter keeps between steps; one per program.
struct MacroState {
    bool MacroRunning = false;
    bool MacroBreak = false;
    bool MacroSyntaxError = false;
    std::string MacroLine;  // the translated current cell and one filler character
    int MacroPos = 1;       // 1-based index of the next character
    int MacroRow = 0;       // the next cell to load; -2 when no cell follows
    int MacroCol = 0;
    std::array<MacroReturnPoint, kMacroCallLimit> CallStack{};
    int CallDepth = 0;
    std::array<MacroForLoop, kMacroForLimit> ForStack{};
    int ForCount = 0;
    int ErrorTargetRow = -1;
    int ErrorTargetCol = 0;
    bool MacroWaitKey = false;
    char MacroLastKey = 0;
    bool StepMode = false;
    std::string KeyBatch;
    std::array<std::shared_ptr<std::fstream>, kMacroFileSlots> MacroFiles{};  // stay open across macros
    std::int32_t MacroIOResult = 0;
    char ArgSeparator = ',';
};

// The text a macro stops with when it needs a key press or an answer that
// the host cannot give (no window, no scripted input).
inline constexpr std::string_view kMacroWaitsForInput = "Macro Waits For Input";
// The first words of a command the interpreter cannot execute yet.
inline constexpr std::string_view kMacroNotAvailable = "Macro command not available yet: ";

// A value argument: the number, or the string it gave (then IsString), or
// Failed when it did not evaluate (the value then counts as 0).
struct MacroValue {
    double Number = 0;
    std::string Text;
    bool IsString = false;
    bool Failed = false;
};

// An address argument: the upper-cased text and the range it names; Valid
// is false when the text did not parse, OutOfRange when it was a
// well-formed address outside the worksheet.
struct MacroAddress {
    std::string Text;
    TRange Range;
    bool Valid = false;
    bool OutOfRange = false;
};

// The interpreter of macros stored in cells of the current worksheet.
//
// While a macro runs, the engine's notifier is wrapped so that any error
// reported ("Error:" ...), by the interpreter or by the cell operations a
// macro performs, stops the macro.
class MacroInterpreter {
public:
    MacroInterpreter(Engine& e, MacroHost& host) : e_(e), host_(host) {}

    // Runs the macro that starts at a cell until it stops. Refused (false,
    // with a beep) while another macro runs.
    bool RunMacroAt(int row, int col);
    // Runs one line of macro text (a macro button).
    bool RunMacroText(const std::string& text);
    void BreakMacro();
    void StopMacro();
    bool Running() const { return s_.MacroRunning; }
    MacroState& State() { return s_; }

private:
    // The interpreter proper (macro_interpreter.cpp).
    bool Start();
    void Run(const std::function<void()>& begin);
    void LoadMacroCell(int row, int col);
    char NextMacroChar();
    void PlayKeyBatch();
    void Fail(std::string_view message);
    void SyntaxError();
    std::string MacroCellAddress() const;
    int ExecutingRow() const { return s_.MacroRow - 1; }

    // Dispatch (macro_dispatch.cpp).
    void ExecuteCommand();
    void NotAvailable(std::string_view code);

    // Arguments (macro_arguments.cpp).
    std::string ReadRawArgument();
    std::string ReadStringArgument();
    std::string StringValueOf(const std::string& text);
    MacroValue ReadValueArgument();
    std::int32_t ReadIntegerArgument();
    MacroAddress ReadAddressArgument();
    // Stops the macro over an address that did not parse: "Out of Range"
    // for one outside the worksheet, else the syntax error.
    void AddressError(const MacroAddress& a);
    // The address of a command that needs one; AddressError when it did
    // not parse.
    bool ReadTargetCell(MacroAddress& a);

    // Control flow (macro_flow.cpp).
    bool Push(int row, int col, int pos);
    bool StoreCounter(const MacroForLoop& loop, double value);
    void Jump(const MacroAddress& a);
    void ResumeAt(const MacroReturnPoint& p);
    bool Return();
    void CallCommand();
    void BranchCommand();
    void RestartCommand();
    void ExitCommand();
    void IfCommand();
    void WhileCommand();
    void ForCommand();
    void NextCommand();
    void OnErrorCommand();
    void DelayCommand();
    void BeepCommand();

    // The macro menu (macro_menu.cpp).
    void MenuBranchCommand();

    // Input and cell values (macro_input.cpp, macro_cells.cpp).
    bool WaitKey();
    void PauseCommand();
    void GetKeyCommand();
    void InputCommand(bool asLabel);
    void LetCommand();
    // File commands (macro_files.cpp).
    void FileCommand(char which);
    std::string ReadTextValue();
    void GotoCommand();
    void RecalcCommand();
    // Range, copy and row and column commands (macro_ranges.cpp).
    void RangeCommand(std::string_view code);

    Engine& e_;
    MacroHost& host_;
    MacroState s_;
    std::string textLine_;     // the line of RunMacroText, for returns into it
    int commandRow_ = 0;       // where the marker of the executing command stands
    int commandPos_ = 1;
    bool looping_ = false;     // the execution loop is on the stack
    bool playing_ = false;     // a key batch is being played
};

}  // namespace zt
