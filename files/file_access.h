#pragma once
// Whole-file reading and writing for worksheet files, and the file-name
// rules: case kept for opening, ignored for comparing.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zt {

// The backup name of a worksheet file: its last character replaced by "B"
// (lower-case when that character was), so X.WKS is backed up as X.WKB.
std::string BackupName(std::string_view path);

// Whether two file names are the same when case is ignored.
bool SameFileName(std::string_view a, std::string_view b);

// The file a name refers to: the name itself when it exists, else the
// path whose components match it without regard to case (names of other
// worksheets are stored upper-cased), else the name unchanged. A relative
// name is taken from the current directory.
std::string ResolveFileName(std::string_view name);

// The whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);

enum class WriteFailure { None, Write, Close };

// Writes the bytes under a temporary name in the same folder, flushes them
// to the disk and only then puts the file in place. With keepBackup an
// existing file is first renamed to its backup name. On failure the file
// that was there stays untouched and the temporary file is removed.
WriteFailure WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, bool keepBackup);

}  // namespace zt
