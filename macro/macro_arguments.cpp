#include <cmath>

#include "core/address.h"
#include "formula/evaluator.h"
#include "macro/macro_codes.h"
#include "macro/macro_interpreter.h"

namespace zt {
namespace {

constexpr double kIntegerLimit = 2147483647.0;

// Rounded to the nearest integer; beyond the 32-bit range the nearest
// bound, and no number at all counts as 0.
std::int32_t SaturatedInteger(double value)
{
    if (std::isnan(value))
        return 0;
    value = std::round(value);
    if (value >= kIntegerLimit)
        return static_cast<std::int32_t>(kIntegerLimit);
    if (value <= -kIntegerLimit)
        return -static_cast<std::int32_t>(kIntegerLimit);
    return static_cast<std::int32_t>(value);
}

}  // namespace

// The characters up to the Enter that ends the argument; an argument may
// run on into the next cell of the column.
std::string MacroInterpreter::ReadRawArgument()
{
    std::string arg;
    for (;;) {
        char ch = NextMacroChar();
        if (ch == kMacroKeyEnter || ch == kMacroFiller)
            return arg;
        if (arg.size() < std::size_t(kMacroLineLength))
            arg += ch;
    }
}

std::string MacroInterpreter::ReadStringArgument() { return StringValueOf(ReadRawArgument()); }

// Text that does not read as a formula by itself is taken as one with "+"
// in front, so a quoted text gives its string.
std::string MacroInterpreter::StringValueOf(const std::string& text)
{
    TextValue v = EvaluateTypedExpression(e_, text);
    return v.IsString && !v.Error && !v.CompileFailed ? v.Text : std::string();
}

MacroValue MacroInterpreter::ReadValueArgument()
{
    MacroValue v;
    v.Text = ReadRawArgument();
    const std::string upper = UpperCase(v.Text);
    if (upper == "TRUE" || upper == "FALSE") {
        v.Number = upper == "TRUE" ? 1 : 0;
        return v;
    }
    const bool signed_ = !v.Text.empty() && (v.Text[0] == '+' || v.Text[0] == '-');
    TextValue t = EvaluateText(e_, signed_ ? v.Text : "+" + v.Text);
    if (t.Error || t.CompileFailed) {
        v.Failed = true;
        return v;
    }
    v.Number = t.Number;
    if (t.IsString) {
        v.IsString = true;
        v.Text = t.Text;
    }
    return v;
}

std::int32_t MacroInterpreter::ReadIntegerArgument() { return SaturatedInteger(ReadValueArgument().Number); }

MacroAddress MacroInterpreter::ReadAddressArgument()
{
    MacroAddress a;
    a.Text = UpperCase(ReadRawArgument());
    e_.Err.Clear();
    if (a.Text.empty() || a.Text == "CURSOR")
        a.Range = host_.CursorCell();
    else
        a.Range = ParseRange(e_, a.Text);
    a.Valid = !e_.Err.ErrorFlag && RangeIsDefined(a.Range) && ValidCoord(a.Range.FirstRow, a.Range.FirstCol);
    a.OutOfRange = e_.Err.ErrorFlag && e_.Err.ErrorText == kOutOfRange;
    return a;
}

void MacroInterpreter::AddressError(const MacroAddress& a)
{
    if (a.OutOfRange)
        Fail(std::string(kOutOfRange) + ": " + a.Text);
    else
        SyntaxError();
}

bool MacroInterpreter::ReadTargetCell(MacroAddress& a)
{
    a = ReadAddressArgument();
    if (!s_.MacroRunning)
        return false;
    if (!a.Valid) {
        AddressError(a);
        return false;
    }
    return true;
}

}  // namespace zt
