#include "app/desktop.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/no_display.h"
#include "app/window_loader.h"

namespace zt {

namespace {

bool DisplayAvailable()
{
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

std::filesystem::path ProgramDirectory(const char* argv0)
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        exe = std::filesystem::absolute(argv0, ec);
    return exe.parent_path();
}

}  // namespace

int StartDesktop(int argc, char** argv)
{
    std::filesystem::path dir = ProgramDirectory(argv[0]);
    std::string startup = argc >= 2 ? std::string(argv[1]) : (dir / "AUTOEXEC.WKS").string();
    if (!DisplayAvailable())
        return ShowWithoutDisplay(startup);
    return RunWindowLibrary(dir, argc, argv, startup);
}

}  // namespace zt
