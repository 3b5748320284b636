#pragma once

namespace zt {

// Starts the window on the start-up worksheet (or the file named by the
// first argument) and runs until the main window closes. Without a display
// it says so, shows the start-up worksheet as text and returns.
int RunDesktop(int argc, char** argv);

}  // namespace zt
