#pragma once
// Reading a file whole. Its name is program text (Windows-1252) and reaches
// the system as UTF-8.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zt {

inline constexpr std::string_view kUnableToOpen = "Unable to Open File";

// Why a file could not be read.
enum class ReadFailure {
    None,
    Open,        // missing, not permitted, or unreadable
    NotRegular,  // a directory, a device, a pipe: nothing a reader should wait on or drain
    TooLarge,    // more bytes than the reader accepts
};

// The whole file into `bytes`, when it is a regular file of at most
// `limit` bytes. Opening never waits, so a pipe without a writer is
// refused at once, and reading stops at the limit even when the file grows.
ReadFailure ReadWholeFile(std::string_view name, std::vector<std::uint8_t>& bytes, std::uint64_t limit);

// What the user is told: "Unable to Open File", or the refusal with the name.
std::string ReadFailureText(ReadFailure failure, std::string_view name);

}  // namespace zt
