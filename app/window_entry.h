#pragma once

// The window lives in a shared library beside ztb32, so that batch mode
// starts without loading Qt. That library exports one C function, found by
// this name, with this signature; it runs the window as RunDesktop does.
namespace zt {

inline constexpr const char* kWindowEntryName = "ztb32_window_main";
using WindowEntry = int (*)(int argc, char** argv, const char* startup, const char* programDir);

}  // namespace zt
