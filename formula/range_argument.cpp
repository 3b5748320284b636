#include "formula/range_argument.h"

#include "formula/compiled_formula.h"
#include "formula/opcodes.h"

namespace zt {

bool SheetRangeArgument(EvalMachine& m, const EvalSlot& slot, TRange& r)
{
    int at = slot.PushedBy;
    if (at >= 2 && at < m.Code[0] && m.Code[at] == opExternalRef) {
        m.E.Err.ErrorFlag = true;
        return false;
    }
    r = GetRangeArgument(m, slot);
    return !m.E.Err.ErrorFlag;
}

bool AnyRangeArgument(EvalMachine& m, const EvalSlot& slot, RangeSource& source)
{
    source.Range = GetRangeArgument(m, slot);
    if (m.E.Err.ErrorFlag)
        return false;
    source.Slot = m.E.CurSlot;
    int at = slot.PushedBy;
    if (m.Code[at] == opExternalRef) {
        source.Slot = m.E.Files->ExternalSheetSlot(m.E, ReadExternalOperand(m.Code, at).Path);
        if (!source.Slot) {
            m.E.Err.ErrorFlag = true;
            return false;
        }
    }
    return true;
}

bool ReadRangeNumbers(Engine& e, const TRange& r, std::vector<double>& out)
{
    const int cols = r.LastCol - r.FirstCol + 1;
    out.assign(static_cast<std::size_t>(r.LastRow - r.FirstRow + 1) * cols, 0.0);
    for (int row = r.FirstRow; row <= r.LastRow; ++row) {
        double* base = out.data() + static_cast<std::size_t>(row - r.FirstRow) * cols;
        const TCell* c = FindFirstAtOrAfter(e, row, r.FirstCol);
        for (; c && c->Col <= r.LastCol; c = NextCell(e, c)) {
            std::uint8_t kind = c->Kind & 0x0F;
            if (kind & kfError) {
                if (IsNumericKind(kind))
                    return false;
                continue;
            }
            base[c->Col - r.FirstCol] = NumericValue(*c);
        }
    }
    return true;
}

bool CellNumber(Engine& e, int row, int col, double& value)
{
    value = 0;
    const TCell* c = FindFirstAtOrAfter(e, row, col);
    if (!c || c->Col != col)
        return true;
    if ((c->Kind & kfError) && IsNumericKind(c->Kind))
        return false;
    value = NumericValue(*c);
    return true;
}

}  // namespace zt
