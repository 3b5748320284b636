#include "platform/system_info.h"

#include <sys/utsname.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/codepage.h"

namespace zt {

bool OsVersionNumber(double& version)
{
    struct utsname u {};
    if (::uname(&u) != 0)
        return false;
    char* end = nullptr;
    long major = std::strtol(u.release, &end, 10);
    if (end == u.release)
        return false;
    long minor = *end == '.' ? std::strtol(end + 1, nullptr, 10) : 0;
    version = static_cast<double>(major) + static_cast<double>(minor) / 1000.0;
    return true;
}

bool CurrentDirectory(std::string& path)
{
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::current_path(ec);
    return !ec && Cp1252FromUtf8(dir.string(), path);
}

}  // namespace zt
