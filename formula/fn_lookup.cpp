// Functions that read ranges and look values up in tables. Range arguments
// are read through the reference that pushed them; any other argument where
// a range belongs is ERR. Offsets that would leave the range are ERR too:
// a lookup never reads outside the rectangle its formula names.
#include <string>
#include <vector>

#include "core/scoped_sheet.h"
#include "core/address.h"
#include "core/cell_store.h"
#include "core/cell_text.h"
#include "formula/evaluator.h"
#include "formula/function_support.h"
#include "formula/functions.h"
#include "formula/range_argument.h"

namespace zt {

namespace {

constexpr std::uint8_t opVTable = 85, opHTable = 90, opIndex = 98, opCols = 99, opRows = 100, opS = 111, opN = 112,
                       opCellAt = 115, opHTerp = 124, opVTerp = 125, opPSum = 140;

int Width(const TRange& r) { return r.LastCol - r.FirstCol + 1; }
int Height(const TRange& r) { return r.LastRow - r.FirstRow + 1; }

// Replaces the top n arguments by the value of a cell: its number, a label
// without its prefix, a string result; no cell or a blank cell gives 0.
void ResultFromCell(EvalMachine& m, int n, const TCell* cell, bool argError)
{
    if (HasError(cell)) {
        ResultError(m, n);
        return;
    }
    if (IsLabelOrStrFormula(KindOf(cell)))
        ResultString(m, n, LabelText(m.E, cell), false);
    else
        ResultNumber(m, n, cell ? NumericValue(*cell) : 0, false);
    m.Top().Error = m.Top().Error || argError;
}

// The number of a numeric cell that is not ERR.
bool NumberInCell(const TCell* cell, double& v)
{
    if (!IsNumericKind(KindOf(cell)) || HasError(cell))
        return false;
    v = NumericValue(*cell);
    return true;
}

// @COLS(range), @ROWS(range): only the shape counts, so a reference into
// another worksheet file will do.
void ColsOrRows(EvalMachine& m)
{
    TRange r = GetRangeArgument(m, m.Top());
    if (!RangeIsDefined(r)) {
        ResultError(m, 1);
        return;
    }
    ResultNumber(m, 1, m.Op == opCols ? Width(r) : Height(r), false);
}

// @S(range), @N(range): the first cell as a string or as a number.
void SOrN(EvalMachine& m)
{
    RangeSource source;
    if (!AnyRangeArgument(m, m.Top(), source)) {
        ResultError(m, 1);
        return;
    }
    ScopedSheet sheet(m.E, source.Slot);
    const TCell* cell = FindCell(m.E, source.Range.FirstRow, source.Range.FirstCol);
    if (HasError(cell))
        ResultError(m, 1);
    else if (m.Op == opS)
        ResultString(m, 1, LabelText(m.E, cell), false);
    else
        ResultNumber(m, 1, cell ? NumericValue(*cell) : 0, false);
}

// @INDEX(range, column, row): 1-based offsets from the first cell. They
// must stay inside the range; a cell beyond it is ERR, not silently read.
void Index(EvalMachine& m)
{
    RangeSource source;
    const TRange& r = source.Range;
    int col = 0, row = 0;
    bool inside = AnyRangeArgument(m, m.Arg(2), source) && SmallIntArg(m.Arg(1).Value, col) &&
                  SmallIntArg(m.Arg(0).Value, row) && col >= 1 && col <= Width(r) && row >= 1 && row <= Height(r);
    if (!inside) {
        ResultError(m, 3);
        return;
    }
    ScopedSheet sheet(m.E, source.Slot);
    const TCell* cell = FindCell(m.E, r.FirstRow + row - 1, r.FirstCol + col - 1);
    ResultFromCell(m, 3, cell, m.Arg(1).Error || m.Arg(0).Error);
}

// Where the walk along the keys of a table stopped: the last numeric key
// not greater than x, and the first key greater than x (-1 when none).
struct KeyWalk {
    int Match = -1;
    double MatchKey = 0;
    int End = -1;
    double EndKey = 0;
    bool BadKey = false;  // an ERR key: where x belongs cannot be told
};

KeyWalk WalkKeys(EvalMachine& m, const TRange& r, bool vertical, double x)
{
    KeyWalk w;
    int last = vertical ? r.LastRow : r.LastCol;
    for (int i = vertical ? r.FirstRow : r.FirstCol; i <= last; ++i) {
        const TCell* cell = vertical ? FindCell(m.E, i, r.FirstCol) : FindCell(m.E, r.FirstRow, i);
        if (!IsNumericKind(KindOf(cell)))
            continue;
        if (HasError(cell)) {
            w.BadKey = true;
            return w;
        }
        double key = NumericValue(*cell);
        if (key > x) {
            w.End = i;
            w.EndKey = key;
            return w;
        }
        w.Match = i;
        w.MatchKey = key;
    }
    return w;
}

// @VTABLE, @HTABLE (x, range, offset) and their interpolating forms
// @VTERP, @HTERP: keys down the first column (or along the first row),
// results `offset` columns right (rows below) in the same range.
void Table(EvalMachine& m)
{
    bool vertical = m.Op == opVTable || m.Op == opVTerp;
    bool interpolate = m.Op == opVTerp || m.Op == opHTerp;
    const EvalSlot& xs = m.Arg(2);
    const EvalSlot& offsetSlot = m.Arg(0);
    double x = xs.Value;
    RangeSource source;
    const TRange& r = source.Range;
    int offset = 0;
    bool ok = !xs.Error && !offsetSlot.Error && AnyRangeArgument(m, m.Arg(1), source) &&
              SmallIntArg(offsetSlot.Value, offset) && offset >= 0 && offset < (vertical ? Width(r) : Height(r));
    // The table may be in another worksheet file.
    ScopedSheet sheet(m.E, source.Slot);
    KeyWalk w;
    if (ok)
        w = WalkKeys(m, r, vertical, x);
    if (!ok || w.BadKey || w.Match < 0) {
        ResultError(m, 3);
        return;
    }
    auto resultCell = [&](int i) {
        return vertical ? FindCell(m.E, i, r.FirstCol + offset) : FindCell(m.E, r.FirstRow + offset, i);
    };
    if (!interpolate) {
        ResultFromCell(m, 3, resultCell(w.Match), false);
        return;
    }
    double y1 = 0, y2 = 0;
    if (!NumberInCell(resultCell(w.Match), y1)) {
        ResultError(m, 3);
    } else if (w.End < 0) {
        // Past the last key only an exact hit has a value.
        if (x == w.MatchKey)
            ResultNumber(m, 3, y1, false);
        else
            ResultError(m, 3);
    } else if (!NumberInCell(resultCell(w.End), y2)) {
        ResultError(m, 3);
    } else {
        ResultFinite(m, 3, y1 + (x - w.MatchKey) * (y2 - y1) / (w.EndKey - w.MatchKey));
    }
}

// @PSUM(range1, range2): the sum of the products of corresponding cells of
// two rectangles of one shape, each possibly in another worksheet file.
// Only existing cells of the first range can add anything, but an ERR
// anywhere in either makes the sum ERR.
void PSum(EvalMachine& m)
{
    RangeSource first, second;
    const TRange& a = first.Range;
    const TRange& b = second.Range;
    if (!AnyRangeArgument(m, m.Arg(1), first) || !AnyRangeArgument(m, m.Arg(0), second) || Width(a) != Width(b) ||
        Height(a) != Height(b)) {
        ResultError(m, 2);
        return;
    }
    // The cells of the first range are collected before the second range's
    // worksheet is made current: the two may lie in different files.
    struct Factor {
        int Row, Col;
        double Value;
    };
    Engine& e = m.E;
    bool error = false;
    std::vector<Factor> factors;
    {
        ScopedSheet sheet(e, first.Slot);
        ForEachCellInRange(e, a, [&](PCell c) {
            error = error || HasError(c);
            factors.push_back({c->Row - a.FirstRow, c->Col - a.FirstCol, NumericValue(*c)});
        });
    }
    double sum = 0;
    {
        ScopedSheet sheet(e, second.Slot);
        ForEachCellInRange(e, b, [&](PCell c) { error = error || HasError(c); });
        for (const Factor& f : factors)
            if (const TCell* d = FindCell(e, b.FirstRow + f.Row, b.FirstCol + f.Col))
                sum += f.Value * NumericValue(*d);
    }
    if (error)
        ResultError(m, 2);
    else
        ResultFinite(m, 2, sum);
}

// The cell an address text names: plain addresses only, no range names,
// written as the program writes them (A1, C:B10; no leading zeros).
bool AddressCell(Engine& e, const std::string& text, int& row, int& col)
{
    std::string upper = UpperCase(text);
    ParsedAddress a = ParseAddress(e, upper);
    if (e.Err.ErrorFlag || !ValidCoord(a.Row, a.Col))
        return false;
    std::erase(upper, '$');
    row = a.Row;
    col = a.Col;
    return upper == FormatAddress(e, row, col) || upper == FormatSheetAddress(e, row, col);
}

// @@(text): the value of the cell at the address; a position without a
// cell reads as a blank one.
void CellAt(EvalMachine& m)
{
    bool error = m.Top().Error;
    int row = 0, col = 0;
    if (error || !AddressCell(m.E, ArgText(m, 0), row, col)) {
        ResultError(m, 1);
        return;
    }
    m.Pop(1);
    if (const TCell* cell = FindCell(m.E, row, col))
        LoadCellValue(m, cell);
    else
        m.PushString({});
}

}  // namespace

void RegisterLookupFunctions(HandlerTable& t)
{
    t[opCols] = ColsOrRows;
    t[opRows] = ColsOrRows;
    t[opS] = SOrN;
    t[opN] = SOrN;
    t[opIndex] = Index;
    t[opVTable] = Table;
    t[opHTable] = Table;
    t[opVTerp] = Table;
    t[opHTerp] = Table;
    t[opPSum] = PSum;
    t[opCellAt] = CellAt;
}

}  // namespace zt
