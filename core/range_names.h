#pragma once
#include <string>
#include <string_view>

#include "core/engine.h"

namespace zt {

// The range-name table of the current worksheet. Names are held upper-case,
// at most 12 characters, sorted byte by byte, at most 240 of them.

inline constexpr std::string_view kTooManyRangeNames = "Too Many Range Names";
inline constexpr std::string_view kInvalidRangeName = "Invalid Range Name";
inline constexpr std::string_view kRangeNameTooLong = "Range Name Too Long";

// The form a name is stored and compared in: upper-case. It is never cut,
// so a name longer than 12 characters matches no entry.
std::string RangeNameKey(std::string_view name);

// Entry number (1-based) when found, else minus the insertion position.
int FindRangeName(const Engine& e, std::string_view name, int low, int high);
int FindRangeName(const Engine& e, std::string_view name);
// position is the insertion point FindRangeName reported for the name.
// False (with ErrorFlag) when the table is full, the name is empty, holds
// a 0 byte, is longer than 12 characters (kRangeNameTooLong), already
// present or not at position, or the record cannot be had.
bool AddRangeName(Engine& e, std::string_view name, const TRange& range, int position);
bool DeleteRangeName(Engine& e, std::string_view name);
bool SetRangeName(Engine& e, std::string_view name, const TRange& range);

std::string RangeNameAt(const Engine& e, int entry);
TRange RangeOfName(const Engine& e, int entry);
void SetRangeOfName(Engine& e, int entry, const TRange& range);

void BuildRangeNames(Engine& e, const TRange& range);
void TableRangeNames(Engine& e, int topRow, int col);

// Frees every name record.
void FreeRangeNames(Engine& e);

}  // namespace zt
