#pragma once

namespace zt {

// The program without --batch: opens the window on the start-up worksheet
// (or the file named by the first argument) and runs until it closes.
// Without a display it says so, shows the start-up worksheet as text and
// returns. Qt is loaded only when a window opens.
int StartDesktop(int argc, char** argv);

}  // namespace zt
