#pragma once
#include <string>
#include <string_view>

#include "core/engine.h"
#include "formula/eval_machine.h"

namespace zt {

// Deeper nesting of evaluations (user functions calling themselves, nested
// formula texts) gives ERR.
inline constexpr int kMaxEvalDepth = 64;

// Evaluates a formula cell and stores its result; other kinds are left alone.
void EvaluateCell(Engine& e, PCell cell);

// The result of evaluating a formula given as text.
struct TextValue {
    double Number = 0;
    std::string Text;           // the string result, empty for numbers
    bool IsString = false;
    bool Error = false;         // ERR, or the text did not compile
    bool CompileFailed = false;
};

// Evaluates formula text once, in no cell; `compiled` says the text is
// already compiled code (bytes 0..L). The caller's error state is kept.
TextValue EvaluateText(Engine& e, std::string_view formula, bool compiled = false);

// Evaluates an expression as a user types it into a field: a text that
// does not begin like a formula (+ - ( @) is read with a + in front.
TextValue EvaluateTypedExpression(Engine& e, std::string_view text);

// Pushes the value of a cell (or of no cell) as the new top slot.
void LoadCellValue(EvalMachine& m, const TCell* cell);

// The handler table every evaluation dispatches through.
const HandlerTable& OpHandlers();

// Filled in by the modules that own the handlers.
void RegisterOperandHandlers(HandlerTable& t);
void RegisterOperatorHandlers(HandlerTable& t);

}  // namespace zt
