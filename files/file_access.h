#pragma once
// Whole-file writing for worksheet files, and the file-name rules: case
// kept for opening, ignored for comparing. Names are program text
// (Windows-1252); they reach the system as UTF-8.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zt {

// The backup name of a worksheet file. A name with the worksheet extension
// .WKS gets the backup extension in its place, its last letter replaced by
// "B" ("b" when that letter was lower-case): X.WKS is backed up as X.WKB.
// Any other name gets the backup extension appended, in the case of the
// name's last letter: budget as budget.wkb, V2 as V2.WKB.
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

struct WriteResult {
    WriteFailure Failure = WriteFailure::None;
    std::string Reason;  // why, in the system's words (program text)
};

// Writes the bytes under a temporary name in the folder of the file that
// `path` names (a symbolic link is followed, so that its target gets the new
// data and the link stays), flushes them to the disk and only then puts the
// file in place. Refused: a target that is no regular file,
// or one that is read-only. With keepBackup an existing file is first kept
// under its backup name, and no other file is removed but the temporary
// files of earlier saves of the same file that were killed before they
// finished. On failure the file that was there stays untouched and the
// temporary file is removed.
WriteResult WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, bool keepBackup);

}  // namespace zt
