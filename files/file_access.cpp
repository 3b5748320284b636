#include "files/file_access.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/codepage.h"

namespace zt {

namespace fs = std::filesystem;

std::string BackupName(std::string_view path)
{
    std::string name(path);
    if (!name.empty())
        name.back() = std::islower(static_cast<unsigned char>(name.back())) ? 'b' : 'B';
    return name;
}

bool SameFileName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

namespace {

fs::path SystemPath(std::string_view name) { return fs::path(Utf8FromCp1252(name)); }

// The path as program text; `fallback` when it holds characters that code
// page lacks.
std::string ProgramText(const fs::path& p, std::string_view fallback)
{
    std::string text;
    return Cp1252FromUtf8(p.string(), text) ? text : std::string(fallback);
}

// The entry of dir whose name matches without regard to case; empty when none.
fs::path MatchInDirectory(const fs::path& dir, const std::string& name)
{
    std::error_code ec;
    for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (SameFileName(entry, name))
            return dir / entry;
    }
    return {};
}

// The existing path whose components match the absolute path without regard
// to case; the path itself when it exists or nothing matches.
fs::path MatchWithoutCase(const fs::path& given)
{
    std::error_code ec;
    if (fs::exists(given, ec))
        return given;
    fs::path found = given.root_path();
    for (const fs::path& part : given.relative_path()) {
        fs::path next = found / part;
        if (!fs::exists(next, ec)) {
            next = MatchInDirectory(found, part.string());
            if (next.empty())
                return given;
        }
        found = next;
    }
    return found;
}

}  // namespace

std::string AbsoluteFileName(std::string_view name)
{
    std::error_code ec;
    fs::path p = fs::absolute(SystemPath(name), ec);
    return ec ? std::string(name) : ProgramText(p.lexically_normal(), name);
}

std::string ResolveFileName(std::string_view name)
{
    fs::path given = SystemPath(name);
    std::error_code ec;
    if (!given.is_absolute())
        given = fs::current_path(ec) / given;
    return ProgramText(MatchWithoutCase(given), name);
}

namespace {

bool WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// Makes the renames inside a folder durable.
void SyncDirectory(const fs::path& dir)
{
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Keeps the file that is about to be replaced under the backup name. A hard
// link leaves the file itself in place until the new one takes its name.
bool KeepBackup(const std::string& path)
{
    std::string backup = BackupName(path);
    if (backup == path)
        return true;
    ::unlink(backup.c_str());
    return ::link(path.c_str(), backup.c_str()) == 0 || std::rename(path.c_str(), backup.c_str()) == 0;
}

}  // namespace

WriteFailure WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, bool keepBackup)
{
    fs::path target(path);
    std::string temp = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return WriteFailure::Write;
    struct stat old {};
    bool existed = ::stat(path.c_str(), &old) == 0;
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, existed ? (old.st_mode & 07777) : (0666 & ~mask));

    bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(temp.c_str());
        return written ? WriteFailure::Close : WriteFailure::Write;
    }
    if ((existed && S_ISREG(old.st_mode) && keepBackup && !KeepBackup(path)) || std::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return WriteFailure::Write;
    }
    SyncDirectory(target.parent_path());
    return WriteFailure::None;
}

}  // namespace zt
