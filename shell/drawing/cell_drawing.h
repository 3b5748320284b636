#pragma once
#include <functional>
#include <string>
#include <vector>

#include "core/engine.h"
#include "core/palette.h"
#include "platform/canvas.h"

namespace zt {

// The window's alternate background, shown while its Shift+F6 switch is on.
inline constexpr ColorRef kAltBackground = 0xFFFF80;

// Everything the row painter needs besides the cells: the same routine draws
// on the screen (with the pointer and the selection) and on paper.
struct RowDrawContext {
    int Scale = 100;         // per cent; fonts and widths are scaled by it
    bool Printing = false;   // white background, no selection, print grid
    int GridLines = 2;       // bit 2: lines around each cell; bit 1: lines once for the row area
    bool PrintGrid = false;  // grid lines on paper
    bool ThreeD = false;     // raised cells
    bool AltBackground = false;  // kAltBackground instead of the worksheet's background
    TRange Selection = kUndefinedRange;  // screen only
    int CurRow = -1;         // the cell pointer; screen only
    int CurCol = -1;
    std::vector<std::string> Typefaces;  // a cell's Typeface indexes this list
    CanvasFont DefaultFont;              // the window's font (Typeface 255, FontSize 0)
    std::function<int(int col)> ColumnWidth;  // pixels at this scale
};

// Paints columns firstCol..lastCol of a row of the current worksheet. The
// first column's cell occupies firstCell; the others follow to its right.
void DrawRow(Engine& e, Canvas& canvas, const RowDrawContext& ctx, const CanvasRect& firstCell, int row,
             int firstCol, int lastCol);

}  // namespace zt
