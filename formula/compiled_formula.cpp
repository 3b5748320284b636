#include "formula/compiled_formula.h"

#include <algorithm>

#include "core/cell_store.h"
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

// Calls f(row, col) for every cell a formula reads: single references and
// every cell of each range. f returns false to stop (the heap is full).
template <class F>
void ForEachReadCell(const Engine& e, const std::uint8_t* code, F f)
{
    WalkFormula(code, [&](int pos, std::uint8_t op) {
        if (op == opCellRef) {
            LinkTarget t = ReadLink(e, ReadLinkWord(code + pos + 1));
            return !t.Cell || f(t.Row, t.Col);
        }
        if (op == opRangeRef) {
            LinkTarget a = ReadLink(e, ReadLinkWord(code + pos + 1));
            LinkTarget b = ReadLink(e, ReadLinkWord(code + pos + 5));
            if (!a.Cell || !b.Cell)
                return true;
            for (int row = std::min(a.Row, b.Row); row <= std::max(a.Row, b.Row); ++row)
                for (int col = std::min(a.Col, b.Col); col <= std::max(a.Col, b.Col); ++col)
                    if (!f(row, col))
                        return false;
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

void LinkFormula(Engine& e, std::uint8_t* code, int row, int col)
{
    ForEachLink(code, [&](int at) {
        std::uint16_t colWord = ReadWord(code + at);
        std::uint16_t rowWord = ReadWord(code + at + 2);
        // The pair written for a reference to no cell stays a reference to no cell.
        if (colWord == kRelZeroWord && rowWord == kRelZeroWord) {
            WriteLinkWord(code + at, 0);
            return;
        }
        bool savedFlag = e.Err.ErrorFlag;
        PCell target = FindOrCreateCell(e, FromRelWord(rowWord, row), FromRelWord(colWord, col));
        if (!target)
            e.Err.ErrorFlag = savedFlag;
        WriteLinkWord(code + at, MakeLink(e, target, !(colWord & kRelFlag), !(rowWord & kRelFlag)));
    });
}

void LinkDependencies(Engine& e, PCell formula)
{
    const std::uint8_t* code = CodeOf(e, formula);
    if (!code || (formula->Kind & kfUnlinked))
        return;
    ForEachReadCell(e, code, [&](int row, int col) { return LinkDependency(e, formula, row, col, true); });
}

void UnlinkDependencies(Engine& e, PCell formula)
{
    const std::uint8_t* code = CodeOf(e, formula);
    if (!code || (formula->Kind & kfUnlinked))
        return;
    ForEachReadCell(e, code, [&](int row, int col) { return LinkDependency(e, formula, row, col, false); });
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
    LinkDependencies(e, formula);
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
