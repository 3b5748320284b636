#include <cstring>

#include "core/scoped_sheet.h"
#include "formula/compiled_formula.h"
#include "formula/evaluator.h"
#include "formula/opcodes.h"

namespace zt {

namespace {

// opNumber: push the 8-byte double that follows.
void OpNumber(EvalMachine& m)
{
    double v;
    std::memcpy(&v, m.Code + m.Pc, sizeof v);
    m.PushNumber(v);
}

// opInteger: push the signed 16-bit integer that follows.
void OpInteger(EvalMachine& m)
{
    std::int16_t v;
    std::memcpy(&v, m.Code + m.Pc, sizeof v);
    m.PushNumber(v);
}

// opString: push the characters up to the 0 byte (or the end of the code).
void OpString(EvalMachine& m)
{
    const char* s = reinterpret_cast<const char*>(m.Code + m.Pc);
    int L = m.Code[0];
    int n = 0;
    while (m.Pc + n < L && s[n] != 0)
        ++n;
    m.PushString({s, static_cast<std::size_t>(n)});
}

// opCellRef: push the value of the linked cell.
void OpCellRef(EvalMachine& m)
{
    LoadCellValue(m, ReadLink(m.E, ReadLinkWord(m.Code + m.Pc)).Cell);
}

// opRangeRef: push the value of the corner written after ".." and remember
// where the range is, for the functions that walk it. A range that has lost
// a corner (its rows or columns were deleted) is ERR, whichever corner went.
void OpRangeRef(EvalMachine& m)
{
    const TCell* before = ReadLink(m.E, ReadLinkWord(m.Code + m.Pc + 4)).Cell;
    LoadCellValue(m, before ? ReadLink(m.E, ReadLinkWord(m.Code + m.Pc)).Cell : nullptr);
    if (m.Sp > 0)
        m.Top().RangeOrigin = static_cast<std::uint8_t>(m.OpOffset);
}

// opExternalRef: push the value of the first corner in the other worksheet
// file (loaded on first use) and remember where the range is; a file that
// cannot be read gives a missing cell (ERR).
void OpExternalRef(EvalMachine& m)
{
    const ExternalOperand ref = ReadExternalOperand(m.Code, m.OpOffset);
    const TCell* cell = nullptr;
    if (int slot = m.E.Files->ExternalSheetSlot(m.E, ref.Path); slot && ValidCoord(ref.Range.FirstRow, ref.Range.FirstCol)) {
        ScopedSheet other(m.E, slot);
        cell = FindCell(m.E, ref.Range.FirstRow, ref.Range.FirstCol);
    }
    LoadCellValue(m, cell);
    if (m.Sp > 0)
        m.Top().RangeOrigin = static_cast<std::uint8_t>(m.OpOffset);
}

}  // namespace

void RegisterOperandHandlers(HandlerTable& t)
{
    t[opNumber] = OpNumber;
    t[opCellRef] = OpCellRef;
    t[opRangeRef] = OpRangeRef;
    t[opInteger] = OpInteger;
    t[opString] = OpString;
    t[opExternalRef] = OpExternalRef;
}

}  // namespace zt
