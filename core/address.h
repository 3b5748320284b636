#pragma once
#include <string>
#include <string_view>

#include "core/engine.h"

namespace zt {

// Letters a..z upper-cased, every other byte kept: the case rule of
// addresses and range names.
std::string UpperCase(std::string_view text);

std::string ColumnLetters(int col);
// Address text with a sheet prefix when there is more than one sheet; the
// row is first reduced to its low 13 bits.
std::string FormatAddress(const Engine& e, int row, int col, bool absCol = false, bool absRow = false);
// Column letters and the row within its sheet, no prefix, no "$".
std::string FormatSheetAddress(const Engine& e, int row, int col);
// "" for an undefined range, else the corners joined by ".."; cut to 20.
std::string FormatRange(const Engine& e, const TRange& r);
// With the absolute-marker nibble; forceSecond writes both corners of a single cell.
std::string FormatRange(const Engine& e, const TRange& r, std::uint8_t absNibble, bool forceSecond);

struct ParsedAddress {
    int Row = 0;
    int Col = 0;
    bool AbsCol = false;
    bool AbsRow = false;
};
// Text already upper-cased; sets ErrorFlag when the row part is not a
// number. A row that is not on the worksheet (row 0, beyond 8192, beyond
// its sheet, or in a sheet past the last) is never wrapped round: Row is
// then -1, which fails ValidCoord.
ParsedAddress ParseAddress(Engine& e, std::string_view text);

inline constexpr std::string_view kInvalidRange = "Invalid Range";
// Any case; RANGE, CURSOR, range names, corners joined by "..". A failure
// sets the error with its reason: kOutOfRange when a well-formed corner
// lies outside A1..IV8192, else kInvalidRange. The absolute flags of the
// last range parsed are left in *abs when given.
TRange ParseRange(Engine& e, std::string_view text, AbsFlags* abs = nullptr);
// The report of a failed ParseRange of `text`: its reason and the text.
std::string RangeFailure(const Engine& e, std::string_view text);

}  // namespace zt
