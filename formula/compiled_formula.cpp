#include "formula/compiled_formula.h"

#include <algorithm>

#include "core/cell_store.h"
#include "core/dependencies.h"
#include "formula/opcodes.h"

namespace zt {

namespace {

// Length of a zero-terminated operand from `from`, including the 0 byte,
// stopping at L.
int StringOperand(const std::uint8_t* code, int from)
{
    int L = code[0];
    int end = from;
    while (end < L && code[end] != 0)
        ++end;
    return end < L ? end - from + 1 : end - from;
}

std::uint16_t ReadWord(const std::uint8_t* at)
{
    std::uint16_t w;
    std::memcpy(&w, at, sizeof w);
    return w;
}

void WriteWord(std::uint8_t* at, std::uint16_t w) { std::memcpy(at, &w, sizeof w); }

std::uint16_t RelWord(int target, int own, bool absolute)
{
    if (absolute)
        return static_cast<std::uint16_t>(target);
    return static_cast<std::uint16_t>(kRelFlag | ((target - own) & 0x3FFF));
}

int FromRelWord(std::uint16_t w, int own)
{
    int v = static_cast<std::int16_t>(w);
    if (w & kRelFlag)
        v += own;
    return v & 0x1FFF;
}

// Calls f(offset of a 4-byte link) for every link of every cell and range
// reference in the code.
template <class F>
void ForEachLink(const std::uint8_t* code, F f)
{
    WalkFormula(code, [&](int pos, std::uint8_t op) {
        if (op == opCellRef) {
            f(pos + 1);
        } else if (op == opRangeRef) {
            f(pos + 1);
            f(pos + 5);
        }
        return true;
    });
}

}  // namespace

bool IsWellFormed(const std::uint8_t* code)
{
    return code && code[0] < kMaxCodeLength && code[0] >= 2 && code[code[0]] == opEnd;
}

int OperandSize(const std::uint8_t* code, int offset)
{
    int L = code[0];
    int size = 0;
    switch (OpClass(code[offset])) {
    case opNumber: size = 8; break;
    case opCellRef: size = 4; break;
    case opRangeRef: size = 8; break;
    case opInteger: size = 2; break;
    case opString: size = StringOperand(code, offset + 1); break;
    case opExternalRef:
        if (offset + 9 > L)
            return -1;
        size = 8 + StringOperand(code, offset + 9);
        break;
    case acList:
    case acUser: size = 1; break;
    default: size = 0; break;
    }
    return offset + size < L ? size : -1;
}

int RangeFunctionOperandSize(const std::uint8_t* code, int offset)
{
    int at = offset + 1;
    if (at >= code[0] || (code[at] != opCellRef && code[at] != opRangeRef))
        return -1;
    int size = OperandSize(code, at);
    return size < 0 ? -1 : 1 + size;
}

LinkTarget ReadLink(const Engine& e, TCellLink link)
{
    LinkTarget t;
    HeapAddr a = link & kLinkCellMask;
    if (!e.Heap.Contains(a))
        return t;
    t.Cell = CellAt(e, a);
    t.Row = t.Cell->Row;
    t.Col = t.Cell->Col;
    t.AbsCol = link & kLinkAbsCol;
    t.AbsRow = link & kLinkAbsRow;
    return t;
}

TCellLink MakeLink(const Engine& e, const TCell* cell, bool absCol, bool absRow)
{
    if (!cell)
        return 0;
    return (AddrOf(e, cell) & kLinkCellMask) | (absCol ? kLinkAbsCol : 0) | (absRow ? kLinkAbsRow : 0);
}

bool HasUserFunction(const std::uint8_t* code)
{
    bool found = false;
    WalkFormula(code, [&](int, std::uint8_t op) {
        found = op == opUserFunction;
        return !found;
    });
    return found;
}

void UnlinkFormula(const Engine& e, std::uint8_t* code, int row, int col)
{
    ForEachLink(code, [&](int at) {
        LinkTarget t = ReadLink(e, ReadLinkWord(code + at));
        if (!t.Cell) {
            WriteWord(code + at, kRelZeroWord);
            WriteWord(code + at + 2, kRelZeroWord);
            return;
        }
        WriteWord(code + at, RelWord(t.Col, col, t.AbsCol));
        WriteWord(code + at + 2, RelWord(t.Row, row, t.AbsRow));
    });
}

LinkTarget ReadRelativeLink(const std::uint8_t* at, int row, int col)
{
    LinkTarget t;
    std::uint16_t colWord = ReadWord(at);
    std::uint16_t rowWord = ReadWord(at + 2);
    if (colWord == kRelZeroWord && rowWord == kRelZeroWord)
        return t;
    t.Row = FromRelWord(rowWord, row);
    t.Col = FromRelWord(colWord, col);
    t.AbsCol = !(colWord & kRelFlag);
    t.AbsRow = !(rowWord & kRelFlag);
    return t;
}

bool LinkFormula(Engine& e, std::uint8_t* code, int row, int col)
{
    // Every cell named must exist before any link is written, so that a
    // formula the heap cannot take stays whole in its relative form. A
    // reference beyond the worksheet's columns names no cell.
    bool made = true;
    bool savedFlag = e.Err.ErrorFlag;
    ForEachLink(code, [&](int at) {
        LinkTarget t = ReadRelativeLink(code + at, row, col);
        if (made && t.Row >= 0 && ValidCoord(t.Row, t.Col))
            made = FindOrCreateCell(e, t.Row, t.Col) != nullptr;
    });
    if (!made)
        return false;
    e.Err.ErrorFlag = savedFlag;
    ForEachLink(code, [&](int at) {
        LinkTarget t = ReadRelativeLink(code + at, row, col);
        PCell target = t.Row >= 0 && ValidCoord(t.Row, t.Col) ? FindCell(e, t.Row, t.Col) : nullptr;
        WriteLinkWord(code + at, MakeLink(e, target, t.AbsCol, t.AbsRow));
    });
    return true;
}

bool LinkDependencies(Engine& e, PCell formula)
{
    const std::uint8_t* code = CodeOf(e, formula);
    if (!code || (formula->Kind & kfUnlinked))
        return true;
    std::uint32_t stamp = NewLinkStamp(e);
    bool ok = true;
    WalkFormula(code, [&](int pos, std::uint8_t op) {
        if (op == opCellRef) {
            LinkTarget t = ReadLink(e, ReadLinkWord(code + pos + 1));
            ok = !t.Cell || LinkDependency(e, formula, t.Row, t.Col, true);
        } else if (op == opRangeRef) {
            PCell a = ReadLink(e, ReadLinkWord(code + pos + 1)).Cell;
            PCell b = ReadLink(e, ReadLinkWord(code + pos + 5)).Cell;
            ok = AddRangeReader(e, formula, a, b, stamp);
        }
        return ok;
    });
    return ok;
}

void UnlinkDependencies(Engine& e, PCell formula)
{
    const std::uint8_t* code = CodeOf(e, formula);
    if (!code || (formula->Kind & kfUnlinked))
        return;
    WalkFormula(code, [&](int pos, std::uint8_t op) {
        if (op == opCellRef)
            if (LinkTarget t = ReadLink(e, ReadLinkWord(code + pos + 1)); t.Cell)
                LinkDependency(e, formula, t.Row, t.Col, false);
        return true;
    });
    RemoveRangeReaders(e, formula);
}

void DropReferences(Engine& e, PCell formula, PCell target)
{
    std::uint8_t* code = CodeOf(e, formula);
    if (!code)
        return;
    TCellLink dead = AddrOf(e, target) & kLinkCellMask;
    bool refers = false;
    ForEachLink(code, [&](int at) { refers |= (ReadLinkWord(code + at) & kLinkCellMask) == dead; });
    if (!refers)
        return;
    // A range that lost a corner no longer reads its other cells.
    UnlinkDependencies(e, formula);
    ForEachLink(code, [&](int at) {
        if ((ReadLinkWord(code + at) & kLinkCellMask) == dead)
            WriteLinkWord(code + at, 0);
    });
    if (!LinkDependencies(e, formula)) {
        ParkFormula(e, formula);
        ReportError(e, kOutOfMemory);
    }
}

void ParkFormula(Engine& e, PCell formula)
{
    if (!(formula->Kind & kfUnlinked)) {
        UnlinkDependencies(e, formula);
        if (std::uint8_t* code = CodeOf(e, formula))
            UnlinkFormula(e, code, formula->Row, formula->Col);
    }
    if ((formula->Kind & 7) == ckStrFormula) {
        HeapAddr result = ReadStrResult(*formula);
        FreeText(e, result);
    }
    formula->Kind = ckFormula | kfUnlinked | kfError;
    WriteReal(*formula, -1.0);
}

ExternalOperand ReadExternalOperand(const std::uint8_t* code, int offset)
{
    ExternalOperand ref;
    const int L = code[0];
    int at = offset + 1;
    if (at + static_cast<int>(sizeof ref.Range) > L)
        return ref;
    std::memcpy(&ref.Range, code + at, sizeof ref.Range);
    for (at += sizeof ref.Range; at < L && code[at] != 0; ++at)
        ref.Path += static_cast<char>(code[at]);
    return ref;
}

}  // namespace zt
