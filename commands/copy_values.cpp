#include "commands/copy_values.h"

#include <cmath>
#include <string>
#include <vector>

#include "commands/copy_cell.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/cell_text.h"
#include "core/undo.h"
#include "formula/cell_contents.h"
#include "formula/recalc.h"

namespace zt {

namespace {

// What a source cell gives to a copy, read before any destination changes.
struct SourceCell {
    int RowOffset = 0;
    int ColOffset = 0;
    std::uint8_t Kind = ckBlank;
    std::string Entry;   // the entry text; for a string formula its result
    double Number = 0;
    bool Failed = false;  // an ERR value
    TCell Attributes{};
};

SourceCell ReadSource(Engine& e, PCell c, const TRange& s)
{
    SourceCell src;
    src.RowOffset = c->Row - s.FirstRow;
    src.ColOffset = c->Col - s.FirstCol;
    src.Kind = BaseKind(c->Kind);
    src.Entry = src.Kind == ckStrFormula ? LabelText(e, c) : CellContentsText(e, c);
    src.Number = NumericValue(*c);
    src.Failed = (c->Kind & kfError) != 0;
    src.Attributes = *c;
    return src;
}

// Writes one source cell at (row, col), skipping a protected position;
// false when an entry failed.
bool WriteCopy(Engine& e, int type, const SourceCell& src, int row, int col, double factor)
{
    e.Err.Clear();
    if (PositionProtected(e, row, col))
        return true;
    if (type == kCopyFormula) {
        if (!src.Entry.empty())
            EnterCell(e, src.Entry, row, col);
        if (e.Err.ErrorFlag)
            return false;
        if (PCell t = FindOrCreateCell(e, row, col))
            CopyAttributes(src.Attributes, *t);
        return !e.Err.ErrorFlag;
    }
    if (src.Kind == ckString) {
        EnterCell(e, src.Entry, row, col);
    } else if (src.Kind == ckStrFormula) {
        if (src.Entry.empty())
            return true;
        EnterCell(e, src.Entry, row, col);
        if (e.Err.ErrorFlag) {
            e.Err.Clear();
            EnterCell(e, std::string(1, e.Settings().Prefix) + src.Entry, row, col);
        }
    } else if (src.Kind != ckBlank) {
        double v = src.Number;
        bool failed = src.Failed;
        if (type == kCopyScale) {
            v *= factor;
        } else if (type == kCopyInvert) {
            failed = failed || v == 0;
            v = failed ? 0 : 1 / v;
        }
        if (failed || !std::isfinite(v))
            EnterCell(e, "@ERR", row, col);
        else
            StoreValue(e, row, col, v, false);
    }
    return !e.Err.ErrorFlag;
}

}  // namespace

bool CopyValues(Engine& e, int type, TRange source, TRange dest, double factor)
{
    if (!e.Cur || !RangeIsDefined(source) || !RangeIsDefined(dest))
        return false;
    TRange s = OrderedRange(source);
    TRange d = OrderedRange(dest);
    bool single = !RangeIsBlock(s);
    bool transpose = type == kCopyTranspose;
    int height = s.LastRow - s.FirstRow;
    int width = s.LastCol - s.FirstCol;
    if (transpose)
        std::swap(height, width);
    if (!single && !ValidCoord(d.FirstRow + height, d.FirstCol + width)) {
        ReportError(e, kCopyError);
        return false;
    }
    TakeUndoSnapshot(e);

    std::vector<SourceCell> cells;
    for (int row = s.FirstRow; row <= s.LastRow; ++row)
        for (PCell c = FindFirstAtOrAfter(e, row, s.FirstCol); c && c->Col <= s.LastCol; c = NextCell(e, c))
            cells.push_back(ReadSource(e, c, s));

    bool ok = true;
    TRange written = d;
    if (single) {
        for (int row = d.FirstRow; row <= d.LastRow && ok && !cells.empty(); ++row)
            for (int col = d.FirstCol; col <= d.LastCol && ok; ++col)
                ok = WriteCopy(e, type, cells.front(), row, col, factor);
    } else {
        written.LastRow = static_cast<std::int16_t>(d.FirstRow + height);
        written.LastCol = static_cast<std::int16_t>(d.FirstCol + width);
        for (const SourceCell& src : cells) {
            int dr = transpose ? src.ColOffset : src.RowOffset;
            int dc = transpose ? src.RowOffset : src.ColOffset;
            if (!(ok = WriteCopy(e, type, src, d.FirstRow + dr, d.FirstCol + dc, factor)))
                break;
        }
    }
    if (!ok)
        ReportPendingError(e);
    if (!e.Settings().ManualCalc)
        RecalcRange(e, written);
    return ok;
}

}  // namespace zt
