#include "commands/copy_cell.h"

#include <cstring>

#include "core/cell_store.h"
#include "formula/compiled_formula.h"

namespace zt {

namespace {

bool Fail(Engine& e, PCell t)
{
    if (t) {
        UnlinkDependencies(e, t);
        if ((t->Kind & 7) == ckStrFormula) {
            HeapAddr result = ReadStrResult(*t);
            FreeText(e, result);
        }
        FreeText(e, t->Text);
        t->Kind = ckBlank;
        ZeroValue(*t);
    }
    e.Err.Set(kCopyError);
    ReportPendingError(e);
    return false;
}

}  // namespace

void CopyAttributes(const TCell& from, TCell& to)
{
    to.Format = from.Format;
    to.Typeface = from.Typeface;
    to.FontSize = from.FontSize;
    to.Style = from.Style;
    to.Borders = from.Borders;
    to.Colors = from.Colors;
}

bool PositionProtected(Engine& e, int row, int col)
{
    if (!e.Settings().Protect)
        return false;
    PCell c = FindCell(e, row, col);
    return !c || (c->Format & kFormatProtected);
}

bool CopyCell(Engine& e, int fromRow, int fromCol, int toRow, int toCol)
{
    e.Err.Clear();
    if (fromRow == toRow && fromCol == toCol)
        return true;
    if (PositionProtected(e, toRow, toCol))
        return true;
    PCell s = FindCell(e, fromRow, fromCol);
    if (!s) {
        ClearCell(e, FindCell(e, toRow, toCol));
        return true;
    }
    PCell t = FindOrCreateCell(e, toRow, toCol);
    if (!t)
        return Fail(e, nullptr);
    ClearCell(e, t);

    // The walk marks and the unlinked mark belong to the source; an ERR
    // value travels with it.
    std::uint8_t kind = s->Kind & 7;
    t->Kind = s->Kind & (7 | kfError);
    // A string formula's value is the address of its result text, which
    // belongs to the source: the copy gets a text of its own.
    ZeroValue(*t);
    if (kind != ckStrFormula)
        std::memcpy(t->Value, s->Value, sizeof t->Value);
    else if (HeapAddr result = ReadStrResult(*s))
        WriteStrResult(*t, SetText(e, 0, TextOf(e, result)));
    CopyAttributes(*s, *t);
    if (!HasText(kind))
        return true;

    t->Text = SetText(e, 0, TextOf(e, s->Text));
    if (e.Err.ErrorFlag)
        return Fail(e, t);
    if (!IsFormulaKind(kind))
        return true;

    std::uint8_t* code = CodeOf(e, t);
    if (!(s->Kind & kfUnlinked))
        UnlinkFormula(e, code, fromRow, fromCol);
    if (!LinkFormula(e, code, toRow, toCol)) {
        t->Kind |= kfUnlinked;  // the code names no cells to unregister from
        return Fail(e, t);
    }
    if (!LinkDependencies(e, t))
        return Fail(e, t);
    return true;
}

}  // namespace zt
