#pragma once
#include <string_view>

#include "core/engine.h"

namespace zt {

// What became of an entry's text: kept whole, or a label cut to the 240
// characters a cell holds.
enum class EntryText { Whole, LabelCut };

// Turns one line of typed text into the contents of a cell: a label, a
// number, a date or a formula. Failures set ErrorFlag; protection and
// address failures are reported. Text with a 0 byte ("Invalid
// Character") and a formula longer than 240 characters ("Formula Too
// Long") are refused, reported, before the cell changes; only a label is
// ever cut.
EntryText EnterCell(Engine& e, std::string_view text, int row, int col);

// Stores a number: ckInteger when whole and |value| < 32767, else ckReal.
void StoreNumber(PCell cell, double value);

// Writes a computed number into a cell, honouring protection, and
// recalculates its dependents unless the caller suspends that.
void StoreValue(Engine& e, int row, int col, double value, bool recalc = true);

// Character classes of entry, depending on the decimal-point character.
bool IsValueStart(char ch, const WorksheetSettings& s);
bool IsLabelPrefix(char ch);

// The standard decimal conversion of entry: the settings' decimal point,
// a leading "." completed with "0"; fails when anything is left over.
bool ParseEntryNumber(std::string_view text, char period, double& value);

}  // namespace zt
