#pragma once

#include <string>

namespace zt {

// Without a display: says so, prints the rows of the start-up worksheet as
// its columns show them, and tells how to get the window or batch mode.
int ShowWithoutDisplay(const std::string& startup);

}  // namespace zt
