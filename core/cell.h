#pragma once
#include <cstdint>
#include <cstring>

#include "core/page_heap.h"

namespace zt {

// Value kinds, the low three bits of TCell::Kind.
enum CellKind : std::uint8_t {
    ckStrFormula = 0,
    ckFormula = 1,
    ckReal = 2,
    ckInteger = 3,
    ckString = 4,
    ckBlank = 5,
};

// Flag bits of TCell::Kind.
inline constexpr std::uint8_t kfError = 0x08;
inline constexpr std::uint8_t kfUnlinked = 0x10;
inline constexpr std::uint8_t kfVisited = 0x20;
inline constexpr std::uint8_t kfQueued = 0x40;

inline constexpr std::uint8_t kKindMissing = 255;  // the kind of a cell that does not exist

// Bits of TCell::Format.
inline constexpr std::uint8_t kFormatProtected = 0x80;
inline constexpr std::uint8_t kFormatCodeMask = 0x7F;
inline constexpr std::uint8_t kFormatDefault = 0x7F;

// The cell record, 33 bytes, packed. Links are heap addresses.
#pragma pack(push, 1)
struct TCell {
    HeapAddr Next;
    HeapAddr Dependents;
    std::uint8_t Typeface;
    std::uint8_t FontSize;
    std::uint8_t Style;
    std::uint8_t Borders;
    std::uint32_t Colors;
    std::uint8_t Format;
    std::uint8_t Col;
    std::int16_t Row;
    HeapAddr Text;
    std::uint8_t Kind;
    std::uint8_t Value[8];
};

// One entry of a cell's Dependents list.
struct TDepLink {
    HeapAddr Cell;
    HeapAddr Next;
};
#pragma pack(pop)

static_assert(sizeof(TCell) == 33);
static_assert(sizeof(TDepLink) == 8);

using PCell = TCell*;

inline std::uint8_t KindOf(const TCell* c) { return c ? c->Kind : kKindMissing; }
inline std::uint8_t BaseKind(std::uint8_t kind) { return kind & 7; }

// The kind tests used everywhere; a missing cell (255) matches none.
inline bool HasText(std::uint8_t k) { k &= 7; return k == ckStrFormula || k == ckFormula || k == ckString; }
inline bool IsFormulaKind(std::uint8_t k) { k &= 7; return k == ckStrFormula || k == ckFormula; }
inline bool IsNumericKind(std::uint8_t k) { k &= 7; return k == ckFormula || k == ckReal || k == ckInteger; }
inline bool IsLabelOrStrFormula(std::uint8_t k) { k &= 7; return k == ckStrFormula || k == ckString; }
inline bool IsLabelKind(std::uint8_t k) { return k != kKindMissing && (k & 7) == ckString; }
inline bool HasError(const TCell* c) { return c && (c->Kind & kfError); }

inline double ReadReal(const TCell& c)
{
    double d;
    std::memcpy(&d, c.Value, sizeof d);
    return d;
}
inline void WriteReal(TCell& c, double d) { std::memcpy(c.Value, &d, sizeof d); }
inline std::int16_t ReadInteger(const TCell& c)
{
    std::int16_t i;
    std::memcpy(&i, c.Value, sizeof i);
    return i;
}
inline void WriteInteger(TCell& c, std::int16_t i)
{
    std::memset(c.Value, 0, sizeof c.Value);
    std::memcpy(c.Value, &i, sizeof i);
}
inline HeapAddr ReadStrResult(const TCell& c)
{
    HeapAddr a;
    std::memcpy(&a, c.Value, sizeof a);
    return a;
}
inline void WriteStrResult(TCell& c, HeapAddr a)
{
    std::memset(c.Value, 0, sizeof c.Value);
    std::memcpy(c.Value, &a, sizeof a);
}
inline void ZeroValue(TCell& c) { std::memset(c.Value, 0, sizeof c.Value); }

// The number a numeric cell holds (integer or double slot); 0 otherwise.
inline double NumericValue(const TCell& c)
{
    switch (c.Kind & 7) {
    case ckInteger: return ReadInteger(c);
    case ckReal:
    case ckFormula: return ReadReal(c);
    default: return 0.0;
    }
}

}  // namespace zt
