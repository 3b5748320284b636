// The one symbol the window library exports; everything else in it, the
// engine included, stays hidden so that it cannot bind to ztb32's own copy.
#include <type_traits>

#include "app/gui_desktop.h"
#include "app/window_entry.h"

extern "C" __attribute__((visibility("default"))) int ztb32_window_main(int argc, char** argv, const char* startup,
                                                                        const char* programDir)
{
    return zt::RunDesktop(argc, argv, startup, programDir);
}

static_assert(std::is_same_v<decltype(&ztb32_window_main), zt::WindowEntry>);
