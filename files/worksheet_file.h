#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/engine.h"
#include "core/range.h"

namespace zt {

// How a worksheet file is taken into the current worksheet.
enum class ReadMode : std::uint8_t {
    Replace,     // retrieve: cells and settings into an empty worksheet
    Merge,       // cells of the file (or of a part of it) placed at a target cell
    ValuesOnly,  // merge, formulas arriving as their values
    Link,        // only cell values, handed to the file-link table
};

// How merged cells combine with the cells already there.
enum class MergeAction : std::uint8_t { Replace = 1, Sum = 2, Difference = 3 };

struct ReadOptions {
    ReadMode Mode = ReadMode::Replace;
    MergeAction Action = MergeAction::Replace;
    std::int16_t TargetCol = 0;  // merge: where the first source cell lands
    std::int16_t TargetRow = 0;
    std::string Source;         // merge: a range text ("A1..C5") or a range name; empty = all
    bool LinkAfterRead = true;  // link the formulas read (clear to leave them unlinked)
    std::string LinkFile;       // link mode: the file-link table entry the values go to
};

// Ok is false when the bytes are no worksheet file ("Invalid WKS File!"),
// when a cell lies outside the worksheet ("Out of Range") or when memory
// ran short ("Out of Memory/File may be truncated"); the cells read before
// stay. Bytes that end before a section's end record leave Ok set but set
// Truncated and the message "File may be truncated".
struct ReadResult {
    bool Ok = true;
    std::string Error;  // empty, or the message the user is shown
    int Cells = 0;      // cells created or updated
    int Records = 0;    // records read, both sections
    int Skipped = 0;    // records left out because they do not fit their type or place
    bool Truncated = false;
    bool HasExtension = false;
};

// The worksheet (extract == nullptr) or the cells of one range of it as the
// bytes of a worksheet file, appended to `out`.
void WriteWorksheetFile(Engine& e, std::vector<std::uint8_t>& out, const TRange* extract);

// Takes the bytes of a worksheet file into the current worksheet.
ReadResult ReadWorksheetFile(Engine& e, std::span<const std::uint8_t> bytes, const ReadOptions& options);

// Links every formula still in the form a file holds (kfUnlinked), in row
// order. A formula whose code is damaged becomes @ERR, marked kfError; one
// the heap cannot take stays in the file's form showing ERR. False when any
// could not be taken. ReadWorksheetFile calls it unless told not to, and
// then fails with the low-memory message.
bool LinkReadFormulas(Engine& e);

// One line "NAME: A1..B2" per range name stored in the file, in file order.
std::vector<std::string> ListFileRangeNames(const Engine& e, std::span<const std::uint8_t> bytes);

// True when the bytes begin like a worksheet file.
bool IsWorksheetFile(std::span<const std::uint8_t> bytes);

}  // namespace zt
