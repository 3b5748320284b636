#pragma once
// Whole-file writing for worksheet files, and the file-name rules: case
// kept for opening, ignored for comparing. Names are program text
// (Windows-1252); they reach the system as UTF-8.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zt {

// The backup name of a worksheet file: its last character replaced by "B"
// (lower-case when that character was), so X.WKS is backed up as X.WKB.
std::string BackupName(std::string_view path);

// Whether two file names are the same when case is ignored.
bool SameFileName(std::string_view a, std::string_view b);

// The name made absolute against the current directory and normalised;
// the name unchanged when that cannot be had.
std::string AbsoluteFileName(std::string_view name);

// The file a name refers to: the name itself when it exists, else the
// path whose components match it without regard to case (names of other
// worksheets are stored upper-cased), else the name unchanged. A relative
// name is taken from the current directory.
std::string ResolveFileName(std::string_view name);

enum class WriteFailure { None, Write, Close };

// Writes the bytes under a temporary name in the same folder, flushes them
// to the disk and only then puts the file in place. With keepBackup an
// existing file is first renamed to its backup name. On failure the file
// that was there stays untouched and the temporary file is removed.
WriteFailure WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, bool keepBackup);

}  // namespace zt
