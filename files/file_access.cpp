#include "files/file_access.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/codepage.h"
#include "platform/system_error.h"

namespace zt {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kWorksheetExtension = ".wks";

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsLetter(char c) { return IsLower(c) || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::string BackupName(std::string_view path)
{
    std::string_view name = path.substr(path.find_last_of('/') + 1);
    std::string backup(path);
    // A name that is the extension alone is a hidden file without one.
    if (name.size() > kWorksheetExtension.size() &&
        SameFileName(name.substr(name.size() - kWorksheetExtension.size()), kWorksheetExtension)) {
        backup.back() = IsLower(backup.back()) ? 'b' : 'B';
        return backup;
    }
    auto last = std::find_if(name.rbegin(), name.rend(), IsLetter);
    backup += last != name.rend() && !IsLower(*last) ? ".WKB" : ".wkb";
    return backup;
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

constexpr int kMaxLinkHops = 40;  // as many as the system follows itself
// A temporary file is named ".NAME.ztb32-" and six random characters.
constexpr std::string_view kTemporaryTag = ".ztb32-";
constexpr std::size_t kTemporaryRandom = 6;

WriteResult Failed(WriteFailure how, int error) { return {how, SystemErrorText(error)}; }

fs::path FolderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

std::string TemporaryPrefix(const fs::path& target) { return "." + target.filename().string() + std::string(kTemporaryTag); }

// The file a save replaces: the path with the symbolic links it names
// followed, so that a link stays a link and its target gets the new data.
// 0, or the error that stopped the walk.
int FollowLinks(fs::path& path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec)))
            return 0;
        fs::path to = fs::read_symlink(path, ec);
        if (ec)
            return ec.value();
        path = to.is_absolute() ? to : path.parent_path() / to;
    }
    return ELOOP;
}

// Why an existing file must not be replaced; empty when it may be. A file
// without write permission is refused even where this process could
// replace it (its folder is writable, or it runs as root), as editors do.
std::string ReplaceRefusal(const fs::path& target, const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        return SystemErrorText(EISDIR);
    if (!S_ISREG(st.st_mode))
        return "not a regular file";
    if (::access(target.c_str(), W_OK) != 0)
        return SystemErrorText(errno);
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return SystemErrorText(EACCES);
    return {};
}

// Removes the temporary files that saves of the same file left behind when
// they were killed. A save holds a lock on its temporary file while it
// works, so one whose lock can be had belongs to no running save.
void RemoveLeftovers(const fs::path& target)
{
    const std::string prefix = TemporaryPrefix(target);
    std::error_code ec;
    for (fs::directory_iterator it(FolderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + kTemporaryRandom || !name.starts_with(prefix))
            continue;
        int fd = ::open(it->path().c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(it->path().c_str());
        ::close(fd);
    }
}

// A new temporary file beside the target, locked while the save works on
// it (where the file system has no locks, leftovers simply stay).
int CreateTemporary(const fs::path& target, std::string& temp)
{
    temp = (FolderOf(target) / (TemporaryPrefix(target) + std::string(kTemporaryRandom, 'X'))).string();
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd >= 0)
        ::flock(fd, LOCK_EX | LOCK_NB);
    return fd;
}

mode_t CurrentUmask()
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// 0, or the error that stopped the writing.
int WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return 0;
}

// Makes the renames inside a folder durable.
void SyncDirectory(const fs::path& dir)
{
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Keeps the file that is about to be replaced under its backup name, which
// is the only file removed for it. A hard link leaves the file itself in
// place until the new one takes its name. 0, or the error.
int KeepBackup(const fs::path& target)
{
    const std::string file = target.string();
    const std::string backup = BackupName(file);
    ::unlink(backup.c_str());
    if (::link(file.c_str(), backup.c_str()) == 0 || std::rename(file.c_str(), backup.c_str()) == 0)
        return 0;
    return errno;
}

}  // namespace

WriteResult WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, bool keepBackup)
{
    fs::path target = SystemPath(path);
    if (int error = FollowLinks(target))
        return Failed(WriteFailure::Write, error);
    struct stat old {};
    bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed) {
        std::string refusal = ReplaceRefusal(target, old);
        if (!refusal.empty())
            return {WriteFailure::Write, refusal};
    }
    RemoveLeftovers(target);
    std::string temp;
    int fd = CreateTemporary(target, temp);
    if (fd < 0)
        return Failed(WriteFailure::Write, errno);
    ::fchmod(fd, existed ? (old.st_mode & 07777) : (0666 & ~CurrentUmask()));

    int error = WriteAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    int closeError = ::close(fd) == 0 ? 0 : errno;
    if (error || closeError) {
        ::unlink(temp.c_str());
        return error ? Failed(WriteFailure::Write, error) : Failed(WriteFailure::Close, closeError);
    }
    if (existed && keepBackup)
        error = KeepBackup(target);
    if (error == 0 && std::rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error) {
        ::unlink(temp.c_str());
        return Failed(WriteFailure::Write, error);
    }
    SyncDirectory(FolderOf(target));
    return {};
}

}  // namespace zt
