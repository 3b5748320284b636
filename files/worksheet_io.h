#pragma once
// The file operations around the worksheet file: retrieve, save, extract,
// merge and the refresh of file links. Each works on the current worksheet
// and reports its failures itself (ReportError); the result says whether
// it succeeded.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine.h"
#include "files/wks_records.h"
#include "files/worksheet_file.h"
#include "platform/whole_file.h"

namespace zt {

inline constexpr std::string_view kInvalidWorksheetFile = "Invalid WKS File!";
inline constexpr std::string_view kUnableToWrite = "Unable to WRITE";
inline constexpr std::string_view kUnableToClose = "Unable to CLOSE file";

// The most bytes a worksheet can write for one cell: a formula record with
// the longest code (cell header, value, code size, code), the record of its
// string result and its attribute record, each behind a 4-byte header.
inline constexpr std::uint64_t kMaxCellFileBytes = (4 + kCellHeaderSize + 8 + 2 + (kMaxCellText - 1)) +
                                                   (4 + kCellHeaderSize + kMaxCellText + 1) + (4 + 12);
// A reader accepts no file larger than a worksheet can make: every cell of
// the grid at its largest, and 4 MiB for the names, graphs, sizes and
// settings, which come to well under one.
inline constexpr std::uint64_t kMaxWorksheetFileBytes = std::uint64_t(kRows) * kCols * kMaxCellFileBytes + (4u << 20);

// The bytes of a worksheet file; false, and the reason reported, when the
// file cannot be read or is no worksheet file.
bool ReadWorksheetBytes(Engine& e, std::string_view file, std::vector<std::uint8_t>& bytes);

// The name a worksheet is known by: its file's absolute path, upper-cased.
std::string WorksheetNameOf(std::string_view path);

// Replaces the current worksheet by the file: its cells, names and
// settings. The worksheet then carries the file's name and is unmodified.
bool RetrieveWorksheet(Engine& e, std::string_view path);

// Saves the whole worksheet under path, the previous file kept as its
// backup. On success the worksheet carries that name and is unmodified; on
// failure the file on disk, the name and the modified flag stay as they were.
bool SaveWorksheet(Engine& e, std::string_view path);

// Saves the cells of one range as a file of their own, starting at A1.
bool ExtractRange(Engine& e, const TRange& r, std::string_view path);

struct MergeRequest {
    bool ValuesOnly = true;
    MergeAction Action = MergeAction::Replace;
    int TargetRow = 0;
    int TargetCol = 0;
    std::string Source;  // a range address or a range name of the file; empty = every cell
};

// The options of a merge given as a macro's option text: formulas when its
// first three characters hold an F, the action from R, S or D.
void ApplyMergeOptionText(MergeRequest& m, std::string_view text);

// Takes the cells of the file into the current worksheet at the target
// cell, then recalculates from the cell cursor to the end of the worksheet.
bool MergeWorksheet(Engine& e, std::string_view path, const MergeRequest& m);

// Reads every file of the file-link table and hands its cell values to the
// formulas that link to them, then recalculates every worksheet. A file
// that cannot be read gives no values and no message.
void UpdateFileLinks(Engine& e);

}  // namespace zt
