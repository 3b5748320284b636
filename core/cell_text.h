#pragma once
#include <string>

#include "core/engine.h"

namespace zt {

// The text a cell shows where a plain string is needed: labels with their
// prefix, string results behind the default prefix, numbers in General
// width 20 with the cell's stored format.
std::string CellText(Engine& e, const TCell* cell);

// A label without its prefix, or a string formula's result.
std::string LabelText(Engine& e, const TCell* cell);

// One line of text for columns firstCol..lastCol of a row, each column as
// wide as its grid width / 8 + 2 characters.
std::string RenderRow(Engine& e, int row, int firstCol, int lastCol);

}  // namespace zt
