#include "platform/file_info.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "platform/codepage.h"

namespace zt {

namespace {

bool IsHiddenName(const std::string& path)
{
    std::size_t slash = path.find_last_of('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    return base.size() > 1 && base[0] == '.' && base != "..";
}

bool CanOpenForReading(const std::string& path, const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        return false;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

std::string Summary(const struct stat& st)
{
    char when[32] = "";
    std::tm local{};
    if (localtime_r(&st.st_mtime, &local))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    char text[96];
    std::snprintf(text, sizeof text, "%lld bytes, %s", static_cast<long long>(st.st_size), when);
    return text;
}

}  // namespace

FileFacts InspectFile(std::string_view name)
{
    FileFacts f;
    std::string path = Utf8FromCp1252(name);
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return f;
    f.Exists = true;
    f.Size = static_cast<double>(st.st_size);
    f.CanOpen = CanOpenForReading(path, st);
    if (::access(path.c_str(), W_OK) != 0)
        f.Attributes |= kFileReadOnly;
    if (IsHiddenName(path))
        f.Attributes |= kFileHidden;
    if (S_ISDIR(st.st_mode))
        f.Attributes |= kFileDirectory;
    if (S_ISREG(st.st_mode))
        f.Attributes |= kFileArchive;
    f.Summary = Summary(st);
    return f;
}

}  // namespace zt
