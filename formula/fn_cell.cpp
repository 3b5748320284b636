// @CELL and @CELLPT: attributes of a cell, chosen by a word of which the
// first three letters count.
#include <string>
#include <string_view>

#include "core/scoped_sheet.h"
#include "core/address.h"
#include "core/cell_store.h"
#include "core/number_format.h"
#include "formula/cell_contents.h"
#include "formula/function_support.h"
#include "formula/functions.h"
#include "formula/range_argument.h"

namespace zt {

namespace {

constexpr std::uint8_t opCellPt = 79, opCell = 108;

// The attribute words, three letters each, in the order of the enumeration.
constexpr std::string_view kAttributeWords = "ADDROWCOLCONTYPPREWIDFOR";
enum Attribute { atAddress, atRow, atCol, atContents, atType, atPrefix, atWidth, atFormat, atNone };

// The kind code reported for a position that holds no cell.
constexpr int kMissingKindCode = 6;

Attribute AttributeOf(std::string_view text)
{
    if (text.size() < 3)
        return atNone;
    std::string key = UpperCase(text.substr(0, 3));
    for (int i = 0; i < atNone; ++i)
        if (kAttributeWords.substr(3 * i, 3) == key)
            return static_cast<Attribute>(i);
    return atNone;
}

// Replaces the top n arguments, the first of which is the attribute word,
// by that attribute of the cell at (row, col). An unknown word is itself
// the result.
void CellAttribute(EvalMachine& m, int n, int row, int col)
{
    Engine& e = m.E;
    const EvalSlot& word = m.Arg(n - 1);
    bool error = word.Error;
    Attribute attribute = AttributeOf(m.SlotString(word));
    const TCell* cell = FindCell(e, row, col);
    switch (attribute) {
    case atAddress: ResultString(m, n, FormatAddress(e, row, col), false); break;
    case atRow: ResultNumber(m, n, row + 1, false); break;
    case atCol: ResultNumber(m, n, col + 1, false); break;
    case atContents: ResultString(m, n, CellContentsText(e, cell), false); break;
    case atType: ResultNumber(m, n, cell ? cell->Kind & 0x0F : kMissingKindCode, false); break;
    case atPrefix: ResultString(m, n, CellContentsText(e, cell).substr(0, 1), false); break;
    case atWidth: ResultNumber(m, n, e.View->ColumnWidth(e, col), false); break;
    case atFormat:
        ResultString(m, n, FormatCodeText(cell ? cell->Format : e.DefaultCell.Format, e.Settings().Protect), false);
        break;
    case atNone: m.Pop(n - 1); break;
    }
    m.Top().Error = m.Top().Error || error;
}

// @CELL(attribute, range): the first cell of the range, whose attributes
// are those of the worksheet holding it.
void Cell(EvalMachine& m)
{
    RangeSource source;
    if (!AnyRangeArgument(m, m.Top(), source)) {
        ResultError(m, 2);
        return;
    }
    ScopedSheet sheet(m.E, source.Slot);
    CellAttribute(m, 2, source.Range.FirstRow, source.Range.FirstCol);
}

// @CELLPT(attribute): the cell under the cell pointer.
void CellPt(EvalMachine& m)
{
    TRange r = m.E.View->CursorCell(m.E);
    if (!ValidCoord(r.FirstRow, r.FirstCol)) {
        ResultError(m, 1);
        return;
    }
    CellAttribute(m, 1, r.FirstRow, r.FirstCol);
}

}  // namespace

void RegisterCellFunctions(HandlerTable& t)
{
    t[opCell] = Cell;
    t[opCellPt] = CellPt;
}

}  // namespace zt
