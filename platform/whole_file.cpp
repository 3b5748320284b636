#include "platform/whole_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/codepage.h"

namespace zt {

namespace {

// Appends what is left to read, at most `room` bytes more: TooLarge when
// there is more, Open when reading fails.
ReadFailure ReadAll(int fd, std::vector<std::uint8_t>& bytes, std::uint64_t room)
{
    std::uint8_t block[8192];
    for (;;) {
        ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return ReadFailure::Open;
        if (n == 0)
            return ReadFailure::None;
        if (static_cast<std::uint64_t>(n) > room)
            return ReadFailure::TooLarge;
        room -= static_cast<std::uint64_t>(n);
        bytes.insert(bytes.end(), block, block + n);
    }
}

// The contents of an open file, when it is a regular one within the limit.
ReadFailure ReadOpenFile(int fd, std::vector<std::uint8_t>& bytes, std::uint64_t limit)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return ReadFailure::Open;
    if (!S_ISREG(st.st_mode))
        return ReadFailure::NotRegular;
    if (static_cast<std::uint64_t>(st.st_size) > limit)
        return ReadFailure::TooLarge;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    return ReadAll(fd, bytes, limit);
}

}  // namespace

ReadFailure ReadWholeFile(std::string_view name, std::vector<std::uint8_t>& bytes, std::uint64_t limit)
{
    bytes.clear();
    int fd = ::open(Utf8FromCp1252(name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return ReadFailure::Open;
    ReadFailure result = ReadOpenFile(fd, bytes, limit);
    ::close(fd);
    if (result != ReadFailure::None) {
        bytes.clear();
        bytes.shrink_to_fit();
    }
    return result;
}

std::string ReadFailureText(ReadFailure failure, std::string_view name)
{
    switch (failure) {
    case ReadFailure::None: return {};
    case ReadFailure::Open: return std::string(kUnableToOpen);
    case ReadFailure::NotRegular: return "Not a Regular File: " + std::string(name);
    case ReadFailure::TooLarge: return "File Too Large: " + std::string(name);
    }
    return {};
}

}  // namespace zt
