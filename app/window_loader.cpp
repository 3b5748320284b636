#include "app/window_loader.h"

#include <dlfcn.h>
#include <iostream>

#include "app/window_entry.h"

namespace zt {

int RunWindowLibrary(const std::filesystem::path& programDir, int argc, char** argv, const std::string& startup)
{
    std::filesystem::path library = programDir / ZT_WINDOW_LIBRARY;
    // Never closed: Qt cannot be unloaded safely, and the process ends with the window.
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto entry = handle ? reinterpret_cast<WindowEntry>(dlsym(handle, kWindowEntryName)) : nullptr;
    if (!entry) {
        std::cerr << "ztb32: the window cannot start: " << dlerror() << "\n"
                  << "Batch mode (ztb32 --batch) works without it.\n";
        return 1;
    }
    return entry(argc, argv, startup.c_str(), programDir.c_str());
}

}  // namespace zt
