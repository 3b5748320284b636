#pragma once

#include <filesystem>
#include <string>

namespace zt {

// Starts the window on the start-up worksheet, or an empty one when that
// file does not exist, and runs until the main window closes. The user
// functions come from ZTB32.USR in the program's directory. A second start
// hands over to the running instance and returns at once.
int RunDesktop(int argc, char** argv, const std::string& startup, const std::filesystem::path& programDir);

}  // namespace zt
