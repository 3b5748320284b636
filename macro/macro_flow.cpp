#include <algorithm>

#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "macro/macro_interpreter.h"

namespace zt {
namespace {

// The longest single DELAY, and the slices it sleeps in so that a break
// ends it early.
constexpr unsigned long long kDelayLimitMs = 60000;
constexpr unsigned long long kDelaySliceMs = 50;

}  // namespace

bool MacroInterpreter::Push(int row, int col, int pos)
{
    if (s_.CallDepth >= kMacroCallLimit) {
        Fail("Stack Overflow, Nesting>20 ");
        return false;
    }
    s_.CallStack[s_.CallDepth++] = {static_cast<std::int16_t>(row), static_cast<std::int16_t>(col),
                                    static_cast<std::int16_t>(pos)};
    return true;
}

void MacroInterpreter::Jump(const MacroAddress& a) { LoadMacroCell(a.Range.FirstRow, a.Range.FirstCol); }

// A return point in the line of RunMacroText (its row is negative) goes
// back into that line; any other reloads its cell.
void MacroInterpreter::ResumeAt(const MacroReturnPoint& p)
{
    if (p.Row < 0) {
        s_.MacroLine = textLine_;
        s_.MacroRow = kMacroNoNextCell;
        s_.MacroCol = p.Col;
    } else {
        LoadMacroCell(p.Row, p.Col);
    }
    if (s_.MacroRunning)
        s_.MacroPos = p.Pos;
}

bool MacroInterpreter::Return()
{
    if (s_.CallDepth <= 0) {
        Fail("Stack Underflow, Level<1");
        return false;
    }
    ResumeAt(s_.CallStack[--s_.CallDepth]);
    return true;
}

void MacroInterpreter::CallCommand()
{
    MacroAddress a;
    if (ReadTargetCell(a) && Push(ExecutingRow(), s_.MacroCol, s_.MacroPos))
        Jump(a);
}

void MacroInterpreter::BranchCommand()
{
    MacroAddress a;
    if (ReadTargetCell(a))
        Jump(a);
}

// Only an existing return point becomes the outermost one again.
void MacroInterpreter::RestartCommand()
{
    if (s_.CallDepth > 0)
        s_.CallDepth = 1;
}

void MacroInterpreter::ExitCommand()
{
    if (s_.CallDepth > 0)
        --s_.CallDepth;
}

void MacroInterpreter::IfCommand()
{
    MacroValue v = ReadValueArgument();
    if (s_.MacroRunning && !(v.Number > 0))
        s_.MacroPos = static_cast<int>(s_.MacroLine.size()) + 1;
}

// The subroutine returns onto the WHILE itself, which then tests again.
void MacroInterpreter::WhileCommand()
{
    const int row = commandRow_;
    const int pos = commandPos_;
    MacroValue v = ReadValueArgument();
    MacroAddress a = ReadAddressArgument();
    if (!s_.MacroRunning || v.Number != 1)
        return;
    if (!a.Valid) {
        AddressError(a);
        return;
    }
    if (Push(row, s_.MacroCol, pos))
        Jump(a);
}

// A counter that cannot be written (protected, no memory) would never
// reach its end: the loop stops instead.
bool MacroInterpreter::StoreCounter(const MacroForLoop& loop, double value)
{
    StoreValue(e_, loop.Row, loop.Col, value);
    PCell cell = FindCell(e_, loop.Row, loop.Col);
    if (cell && IsNumericKind(cell->Kind) && NumericValue(*cell) == value)
        return true;
    Fail(e_.Err.OutOfMemory ? kOutOfMemory : kProtectedCell);
    return false;
}

void MacroInterpreter::ForCommand()
{
    MacroAddress counter = ReadAddressArgument();
    const std::int32_t start = ReadIntegerArgument();
    const std::int32_t end = ReadIntegerArgument();
    const std::int32_t step = ReadIntegerArgument();
    if (!s_.MacroRunning)
        return;
    if (!counter.Valid) {
        AddressError(counter);
        return;
    }
    if (s_.ForCount >= kMacroForLimit) {
        Fail("FOR LOOPS>5");
        return;
    }
    MacroForLoop& loop = s_.ForStack[s_.ForCount++];
    loop = {counter.Range.FirstRow, counter.Range.FirstCol, end, step};
    if (StoreCounter(loop, start))
        Push(ExecutingRow(), s_.MacroCol, s_.MacroPos);
}

// The body runs for start, start + step, ... up to and including end.
void MacroInterpreter::NextCommand()
{
    if (s_.ForCount < 1) {
        Fail("NEXT without FOR");
        return;
    }
    const MacroForLoop& loop = s_.ForStack[s_.ForCount - 1];
    PCell cell = FindCell(e_, loop.Row, loop.Col);
    const double x = cell ? NumericValue(*cell) : 0;
    const bool finished = loop.Step > 0 ? loop.End <= x : loop.End >= x;
    if (finished) {
        if (s_.CallDepth > 0)
            --s_.CallDepth;
        --s_.ForCount;
        return;
    }
    if (StoreCounter(loop, x + loop.Step) && Return())
        Push(ExecutingRow(), s_.MacroCol, s_.MacroPos);
}

void MacroInterpreter::OnErrorCommand()
{
    MacroAddress a = ReadAddressArgument();
    if (!s_.MacroRunning)
        return;
    if (a.Text == "NUL") {
        s_.ErrorTargetRow = -1;
    } else if (!a.Valid) {
        AddressError(a);
    } else {
        s_.ErrorTargetRow = a.Range.FirstRow;
        s_.ErrorTargetCol = a.Range.FirstCol;
    }
}

// Sleeps on the host's clock; the number of slices is bounded, so a clock
// that does not advance cannot hold the macro either.
void MacroInterpreter::DelayCommand()
{
    const std::int32_t ms = ReadIntegerArgument();
    if (!s_.MacroRunning || ms <= 0)
        return;
    const unsigned long long wait = std::min<unsigned long long>(ms, kDelayLimitMs);
    const unsigned long long start = host_.TickCount();
    for (unsigned long long slices = wait / kDelaySliceMs + 2; slices > 0 && s_.MacroRunning; --slices) {
        const unsigned long long now = host_.TickCount();
        const unsigned long long elapsed = now >= start ? now - start : 0;
        if (elapsed >= wait)
            return;
        host_.Sleep(static_cast<unsigned>(std::min(wait - elapsed, kDelaySliceMs)));
    }
}

void MacroInterpreter::BeepCommand() { e_.Notifier->Beep(); }

}  // namespace zt
