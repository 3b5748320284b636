#pragma once

#include <filesystem>
#include <string>

namespace zt {

// Loads the window library from the program's directory and runs the window
// on the start-up worksheet. When the library cannot be loaded it says why on
// standard error and returns 1.
int RunWindowLibrary(const std::filesystem::path& programDir, int argc, char** argv, const std::string& startup);

}  // namespace zt
