#pragma once
#include <cstdint>
#include <cstring>
#include <string>

#include "core/engine.h"

namespace zt {

// A reference inside compiled code: the target cell's heap address in bits
// 0..29, bit 30 absolute column, bit 31 absolute row; 0 names no cell.
using TCellLink = std::uint32_t;
inline constexpr TCellLink kLinkAbsCol = 0x40000000u;
inline constexpr TCellLink kLinkAbsRow = 0x80000000u;
inline constexpr TCellLink kLinkCellMask = 0x3FFFFFFFu;

// The relative form of a reference in files, on the clipboard and while
// copying: a column word and a row word, bit 15 set for relative.
inline constexpr std::uint16_t kRelFlag = 0x8000;
inline constexpr std::uint16_t kRelZeroWord = 0xFFFF;

// Compiled code is a short string: byte 0 holds L, the offset of the end
// marker, byte 1 is 0, the code runs from 2 to L-1 and byte L is opEnd.
inline constexpr int kMaxCodeLength = 240;

// The code of a formula cell, starting at its length byte; null when none.
inline std::uint8_t* CodeOf(const Engine& e, const TCell* cell)
{
    return cell ? e.Heap.At<std::uint8_t>(cell->Text) : nullptr;
}

bool IsWellFormed(const std::uint8_t* code);

// Bytes of operands after the opcode at `offset`, or -1 when they would
// reach the end marker or beyond (the walk then stops).
int OperandSize(const std::uint8_t* code, int offset);

// Bytes after opRangeFunction at `offset`: the cell or range reference
// that names its range, opcode included; -1 when that is not complete.
int RangeFunctionOperandSize(const std::uint8_t* code, int offset);

// Calls f(offset, opcode) for every opcode from offset 2 while the offset is
// below L; never reads at or past L. f returns false to stop.
template <class F>
void WalkFormula(const std::uint8_t* code, F f)
{
    int L = code[0];
    for (int pos = 2; pos < L;) {
        std::uint8_t op = code[pos];
        if (op == 3)
            return;
        int size = OperandSize(code, pos);
        if (size < 0 || !f(pos, op))
            return;
        pos += 1 + size;
    }
}

inline TCellLink ReadLinkWord(const std::uint8_t* at)
{
    TCellLink l;
    std::memcpy(&l, at, sizeof l);
    return l;
}
inline void WriteLinkWord(std::uint8_t* at, TCellLink l) { std::memcpy(at, &l, sizeof l); }

struct LinkTarget {
    PCell Cell = nullptr;
    int Row = -1;
    int Col = -1;
    bool AbsCol = false;
    bool AbsRow = false;
};
LinkTarget ReadLink(const Engine& e, TCellLink link);
TCellLink MakeLink(const Engine& e, const TCell* cell, bool absCol, bool absRow);

bool HasUserFunction(const std::uint8_t* code);

// The operand of the opExternalRef at offset: the rectangle as stored
// (corners not ordered) and the path of the other worksheet file.
struct ExternalOperand {
    TRange Range = kUndefinedRange;
    std::string Path;
};
ExternalOperand ReadExternalOperand(const std::uint8_t* code, int offset);

// Rewrites every link into the relative form seen from (row, col), and back.
// Linking creates the cells named; when the heap cannot hold them it changes
// nothing and returns false.
void UnlinkFormula(const Engine& e, std::uint8_t* code, int row, int col);
bool LinkFormula(Engine& e, std::uint8_t* code, int row, int col);
// The target of a link in the relative form seen from (row, col); Row is -1
// for a reference to no cell. Cell stays null: the form names no records.
LinkTarget ReadRelativeLink(const std::uint8_t* at, int row, int col);

// Registers (or unregisters) what the formula reads: it goes on the
// Dependents list of every cell it names and becomes a reader of every
// range it reads (core/dependencies.h). False, with ErrorFlag set, when the
// heap could not take a registration (those made stay).
bool LinkDependencies(Engine& e, PCell formula);
void UnlinkDependencies(Engine& e, PCell formula);

// Turns the formula's references to a cell about to vanish into zero links.
// When the heap cannot take what it reads then, it is parked and "Out of
// Memory" reported.
void DropReferences(Engine& e, PCell formula, PCell target);

// For a formula the heap cannot register: it goes off every list and back
// to the relative form, showing ERR. Naming no cell record, it can reach no
// freed cell; its text survives for the user to enter again.
void ParkFormula(Engine& e, PCell formula);

}  // namespace zt
