#pragma once
#include <string_view>

namespace zt {

class BatchSession;

// style RANGE WORD...: typeface, size, style, alignment, colours and borders of cells.
void CmdStyle(BatchSession& s, std::string_view rest);
// tabs ROWS: the rows of one sheet tab (0 or 8192: a single sheet).
void CmdTabs(BatchSession& s, std::string_view rest);

}  // namespace zt
