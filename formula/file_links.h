#pragma once
#include <string_view>

#include "core/engine.h"
#include "formula/eval_machine.h"

namespace zt {

// Hands a cell record of a linked worksheet file to the @LINK registry:
// every linked cell of that file whose sheet, row and column (counted with
// the current worksheet's rows per sheet) give (row, col) takes the value
// and counts as having one. Cells nobody linked are ignored.
void UpdateFileLink(Engine& e, std::string_view file, int row, int col, double value);
void UpdateFileLink(Engine& e, std::string_view file, int row, int col, std::string_view text);

// The handler of @LINK.
void RegisterFileLinks(HandlerTable& t);

}  // namespace zt
