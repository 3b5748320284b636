#pragma once
#include <array>
#include <cstdint>

namespace zt {

// Column widths and row heights of a worksheet in pixels, as the grid holds
// them; the engine keeps them so that files, undo and text rendering can
// work without a window.
struct SheetLayout {
    static constexpr std::uint16_t kDefaultColumnWidth = 72;  // 9 characters of 8 pixels
    static constexpr std::uint16_t kDefaultRowHeight = 16;

    std::array<std::uint16_t, 256> ColWidths;
    std::array<std::uint16_t, 8192> RowHeights;

    SheetLayout()
    {
        ColWidths.fill(kDefaultColumnWidth);
        RowHeights.fill(kDefaultRowHeight);
    }

    // Width of a column in characters for text rendering.
    int ColumnChars(int col) const { return ColWidths[col] / 8 + 2; }
};

}  // namespace zt
