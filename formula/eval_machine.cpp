#include "formula/eval_machine.h"

#include <cmath>
#include <cstring>

#include "formula/compiled_formula.h"
#include "formula/format_number.h"
#include "formula/opcodes.h"

namespace zt {

bool EvalMachine::Push()
{
    if (Sp >= kStackSlots) {
        Fault = true;
        return false;
    }
    EvalSlot& s = Stack[++Sp];
    s.Value = 0;
    s.Type = stNumber;
    s.Error = false;
    s.Text = 0;
    s.RangeOrigin = 0;
    s.PushedBy = static_cast<std::uint8_t>(OpOffset);
    return true;
}

void EvalMachine::PushNumber(double v)
{
    if (Push())
        Top().Value = v;
}

void EvalMachine::PushString(std::string_view s)
{
    if (Push())
        SetString(Top(), s);
}

void EvalMachine::SetString(EvalSlot& slot, std::string_view s)
{
    if (s.size() > kMaxShortString)
        s = s.substr(0, kMaxShortString);
    slot.Value = 0;
    slot.Type = stString;
    if (PoolFill + 1 + static_cast<int>(s.size()) >= kStringPoolSize) {
        // A full pool cannot hold the string: the value is ERR, not an empty text.
        slot.Error = true;
        slot.Text = 0;
        slot.Type = stNumber;
        return;
    }
    slot.Text = static_cast<std::uint16_t>(PoolFill);
    Pool[PoolFill] = static_cast<char>(s.size());
    if (!s.empty())
        std::memcpy(Pool.data() + PoolFill + 1, s.data(), s.size());
    PoolFill += 1 + static_cast<int>(s.size());
}

void EvalMachine::SetNumber(EvalSlot& slot, double v)
{
    Release(slot);
    slot.Value = v;
    slot.Type = stNumber;
}

std::string_view EvalMachine::SlotString(const EvalSlot& slot) const
{
    if (slot.Type != stString)
        return {};
    return {Pool.data() + slot.Text + 1, static_cast<unsigned char>(Pool[slot.Text])};
}

void EvalMachine::Release(EvalSlot& slot)
{
    if (slot.Type != stString)
        return;
    int end = slot.Text + 1 + static_cast<unsigned char>(Pool[slot.Text]);
    if (end == PoolFill)
        PoolFill = slot.Text;
}

std::string EvalMachine::ValueAsText(EvalSlot& slot)
{
    if (slot.Type == stString) {
        std::string s(SlotString(slot));
        Release(slot);
        return s;
    }
    if (slot.Type == stMissing)
        return {};
    return FormatNumber(slot.Value, E.Settings().Period);
}

void EvalMachine::Pop(int n)
{
    for (int i = 0; i < n && Sp > 0; ++i)
        Release(Stack[Sp--]);
}

std::int16_t ToInt16(double x)
{
    if (!(std::fabs(x) < 2147483647.0))
        return 1;
    auto n = static_cast<std::int64_t>(std::nearbyint(x));
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(n & 0xFFFF));
}

TRange GetRangeArgument(EvalMachine& m, const EvalSlot& slot)
{
    const std::uint8_t* code = m.Code;
    int at = slot.PushedBy;
    TRange r;
    bool ok = at >= 2 && at < code[0];
    if (ok && code[at] == opCellRef && at + 5 <= code[0]) {
        LinkTarget t = ReadLink(m.E, ReadLinkWord(code + at + 1));
        ok = t.Cell != nullptr;
        r = TRange{std::int16_t(t.Col), std::int16_t(t.Row), std::int16_t(t.Col), std::int16_t(t.Row)};
    } else if (ok && code[at] == opRangeRef && at + 9 <= code[0]) {
        LinkTarget a = ReadLink(m.E, ReadLinkWord(code + at + 1));
        LinkTarget b = ReadLink(m.E, ReadLinkWord(code + at + 5));
        ok = a.Cell && b.Cell;
        r = TRange{std::int16_t(b.Col), std::int16_t(b.Row), std::int16_t(a.Col), std::int16_t(a.Row)};
    } else if (ok && code[at] == opExternalRef && at + 9 <= code[0]) {
        std::memcpy(&r, code + at + 1, sizeof r);
        ok = ValidCoord(r.FirstRow, r.FirstCol) && ValidCoord(r.LastRow, r.LastCol);
    } else {
        ok = false;
    }
    if (!ok) {
        m.E.Err.ErrorFlag = true;
        return kUndefinedRange;
    }
    return OrderedRange(r);
}

}  // namespace zt
