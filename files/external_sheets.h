#pragma once
// The worksheets that formulas of other worksheets read through external
// references ("[file]A1").
#include <string_view>

#include "core/engine.h"

namespace zt {

// The slot of the worksheet file named by path: an open worksheet of that
// name, else one loaded for an earlier reference, else the file read (cell
// values only, at their own positions) into a new slot that stays loaded.
// 0 when the file cannot be read. The current worksheet stays current.
int ExternalSheetSlot(Engine& e, std::string_view path);

// Lets the formula engine reach other worksheet files through the hooks.
void InstallFileHooks(Engine& e);


}  // namespace zt
