#include "formula/cell_contents.h"

#include <string>

#include "core/cell_store.h"
#include "formula/compiled_formula.h"
#include "formula/format_number.h"
#include "formula/formula_display.h"

namespace zt {

std::string CellContentsText(const Engine& e, const TCell* cell)
{
    switch (KindOf(cell) & 7) {
    case ckStrFormula:
    case ckFormula:
        if (cell->Kind & kfUnlinked)
            return FormulaToText(e, CodeOf(e, cell), CodeOrigin{cell->Row, cell->Col});
        return FormulaToText(e, CodeOf(e, cell));
    case ckReal: return FormatNumber(ReadReal(*cell), e.Settings().Period);
    case ckInteger: return std::to_string(ReadInteger(*cell));
    case ckString: return std::string(TextOf(e, cell->Text));
    default: return {};
    }
}

}  // namespace zt
