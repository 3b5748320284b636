#pragma once
#include "core/cell_store.h"
#include "core/engine.h"
#include "files/wks_bytes.h"

namespace zt {

// The cells a save covers, row by row and in column order.
template <class F>
void ForEachSavedCell(Engine& e, const TRange& area, F f)
{
    for (int row = area.FirstRow; row <= area.LastRow; ++row)
        for (PCell c = FindFirstAtOrAfter(e, row, area.FirstCol); c && c->Col <= area.LastCol; c = NextCell(e, c))
            f(*c);
}

// The width byte of a column: its width in characters of 8 pixels; 255
// when it has the default width.
std::uint8_t ColumnWidthByte(const SheetLayout& layout, int col);
// The height byte of a row: its height in pixels; 255 when it has the default height.
std::uint8_t RowHeightByte(const SheetLayout& layout, int row);

// The records of the extension section, up to and including its end.
void WriteExtensionSection(Engine& e, ByteWriter& w, const TRange& area);

}  // namespace zt
