#pragma once
#include <cstdint>

namespace zt {

inline constexpr int kRows = 8192;
inline constexpr int kCols = 256;

// A rectangle of cells; FirstCol -1 means undefined.
struct TRange {
    std::int16_t FirstCol = -1;
    std::int16_t FirstRow = 0;
    std::int16_t LastCol = 0;
    std::int16_t LastRow = 0;

    friend bool operator==(const TRange&, const TRange&) = default;
};

inline constexpr TRange kUndefinedRange{};

// The four absolute markers of a parsed range.
struct AbsFlags {
    bool FirstCol = false;
    bool FirstRow = false;
    bool LastCol = false;
    bool LastRow = false;

    // Packed for printing: bit 0 first row, 1 first column, 2 last row, 3 last column.
    std::uint8_t Nibble() const
    {
        return std::uint8_t((FirstRow ? 1 : 0) | (FirstCol ? 2 : 0) | (LastRow ? 4 : 0) | (LastCol ? 8 : 0));
    }
};

inline bool RangeIsDefined(const TRange& r) { return r.FirstCol != -1; }
inline bool RangeIsBlock(const TRange& r) { return r.FirstCol != r.LastCol || r.FirstRow != r.LastRow; }
inline void CollapseRange(TRange& r)
{
    r.LastCol = r.FirstCol;
    r.LastRow = r.FirstRow;
}
inline void UndefineRange(TRange& r) { r = kUndefinedRange; }
inline bool ValidCoord(int row, int col) { return (row & ~0x1FFF) == 0 && (col & ~0xFF) == 0; }

// The range with each pair of corners in ascending order.
inline TRange OrderedRange(TRange r)
{
    if (r.FirstCol > r.LastCol) { auto t = r.FirstCol; r.FirstCol = r.LastCol; r.LastCol = t; }
    if (r.FirstRow > r.LastRow) { auto t = r.FirstRow; r.FirstRow = r.LastRow; r.LastRow = t; }
    return r;
}

}  // namespace zt
